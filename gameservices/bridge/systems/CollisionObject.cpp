#include "gameservices/bridge/systems/CollisionObject.h"

#include "engine/core/AGLog.h"
#include "gameservices/bridge/systems/CollisionSystem.h"

namespace GameServices::Bridge {

namespace {

void NoBoundary() { AGReport("A CollisionObject must have a boundary shape !!!"); }
void ModelBoundary() { AGReport("The boundary shape can't be the model itself !!!"); }

template <typename T>
void GiveBack(KorvoGame::Factory<T>* pool, CollisionShape* shape) {
    if (pool)
        pool->Free(static_cast<T*>(shape));
}

void GiveBackShape(CollisionShape* shape) {
    if (!shape)
        return;
    CollisionPools& pools = CollisionSystem::Pools();
    switch (shape->GetType()) {
    case kShapeCircle:
        return GiveBack(pools.circles, shape);
    case kShapeSphere:
        return GiveBack(pools.spheres, shape);
    case kShapeRectangle:
        return GiveBack(pools.rectangles, shape);
    case kShapeBox:
        return GiveBack(pools.boxes, shape);
    case kShapeModel:
        return GiveBack(pools.models, shape);
    default:
        return;
    }
}

// A shape of the type built from the model; null when the pool is exhausted or the model
// gives nothing to build from (the shape goes straight back).
template <typename T>
T* BuildShape(KorvoGame::Factory<T>* pool, AGModel* model, const ShapePlacement& placement, f32 boundaryScale,
              const AGVec3& offset) {
    T* shape = CollisionSystem::Take(pool);
    if (shape && !shape->BuildFromModel(model, placement, boundaryScale, offset)) {
        pool->Free(shape);
        return nullptr;
    }
    return shape;
}

}  // namespace

void CollisionObject::BuildFromModel(i32 boundaryType, i32 detailType, AGModel* model,
                                     const ShapePlacement& placement, f32 boundaryScale, const AGVec3& offset) {
    m_BoundaryType = boundaryType;
    m_DetailType = detailType;
    CollisionPools& pools = CollisionSystem::Pools();
    switch (boundaryType) {
    case kShapeCircle:
        m_Boundary = BuildShape(pools.circles, model, placement, boundaryScale, offset);
        break;
    case kShapeSphere:
        m_Boundary = BuildShape(pools.spheres, model, placement, boundaryScale, offset);
        break;
    case kShapeRectangle:
        m_Boundary = BuildShape(pools.rectangles, model, placement, boundaryScale, offset);
        break;
    case kShapeBox:
        m_Boundary = BuildShape(pools.boxes, model, placement, boundaryScale, offset);
        break;
    case kShapeModel:
        ModelBoundary();
        break;
    default:
        NoBoundary();
        break;
    }
    switch (detailType) {
    case kShapeCircle:
        AGReport("The Collision Circle is not implemented yet !!!");
        break;
    case kShapeRectangle:
        AGReport("The Collision Rectangle is not implemented yet !!!");
        break;
    case kShapeSphere:
        m_Detail = BuildShape(pools.spheres, model, placement, 1.0f, AGVec3{});
        break;
    case kShapeBox:
        m_Detail = BuildShape(pools.boxes, model, placement, 1.0f, AGVec3{});
        break;
    case kShapeModel:
        if (!model) {
            AGReport("The AGModel is null, can't generate the Collision Model !!!");
        } else if (CollisionShapeModel* shape = CollisionSystem::Take(pools.models)) {
            shape->SetModel(model);
            m_Detail = shape;
        }
        break;
    default:
        break;
    }
}

void CollisionObject::BuildFromSprite(i32 boundaryType, i32 detailType, AGSprite* sprite,
                                      const ShapePlacement& placement, f32 boundaryScale, f32 offsetX,
                                      f32 offsetY) {
    m_BoundaryType = boundaryType;
    m_DetailType = detailType;
    switch (boundaryType) {
    case kShapeCircle:
        AGReport("The Boudary shape Circle on a sprite is not implemented yet !!!");
        break;
    case kShapeSphere:
        AGReport("The Boudary shape Sphere on a sprite is not implemented yet !!!");
        break;
    case kShapeRectangle: {
        KorvoGame::Factory<CollisionShapeRectangle>* pool = CollisionSystem::Pools().rectangles;
        CollisionShapeRectangle* shape = CollisionSystem::Take(pool);
        if (shape && !shape->BuildFromSprite(sprite, placement, boundaryScale, offsetX, offsetY))
            pool->Free(shape), shape = nullptr;
        m_Boundary = shape;
        break;
    }
    case kShapeBox:
        AGReport("The Boudary shape Box on a sprite is not implemented yet !!!");
        break;
    case kShapeModel:
        ModelBoundary();
        break;
    default:
        NoBoundary();
        break;
    }
    static const char* const details[] = {"Circle", "Spheree", "Rectangle", "Box", "Model"};
    if (detailType >= kShapeCircle && detailType <= kShapeModel)
        AGReport("The Collision %s is not implemented yet !!!", details[detailType - 1]);
}

void CollisionObject::Update(const ShapePlacement& placement) {
    if (m_Boundary)
        m_Boundary->Update(placement);
    if (m_Detail)
        m_Detail->Update(placement);
}

void CollisionObject::ReleaseShapes() {
    GiveBackShape(m_Boundary);
    GiveBackShape(m_Detail);
    m_Boundary = nullptr;
    m_Detail = nullptr;
}

}  // namespace GameServices::Bridge
