#include "gameservices/bridge/systems/CollisionSystem.h"

#include <algorithm>
#include <set>
#include <vector>

#include "engine/core/AGLog.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSprite.h"
#include "gameservices/bridge/ICollisionSystem.h"
#include "gameservices/bridge/systems/CollisionObject.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"

namespace GameServices::Bridge {

using Entities::ComponentLevel;
using Entities::Entity;
using Entities::Set;
using Entities::VolatileDataKeys::kCOLLISION_DATA;
using Entities::VolatileDataKeys::kCOLLISION_OBJECT;
using Entities::VolatileDataKeys::kENGINE_DATA_MODEL;
using Entities::VolatileDataKeys::kENGINE_DATA_SPRITE;

namespace {

struct Registry {
    std::vector<ICollidable*> collidables;
    std::vector<ICollidable*> pending;
    bool updating = false;
};

CollisionPools s_pools;
Registry* s_registry = nullptr;
std::vector<CollisionData*>* s_issued = nullptr;
CollisionResult s_result;

// What the game services reach through their interface.
class PublishedRegistry : public ICollisionSystem {
public:
    void RegisterCollidable(ICollidable* collidable) override { CollisionSystem::RegisterCollidable(collidable); }
    void UnregisterCollidable(ICollidable* collidable) override {
        CollisionSystem::UnregisterCollidable(collidable);
    }
};
PublishedRegistry s_published;

template <typename T>
void CreatePool(KorvoGame::Factory<T>*& pool, const char* key, const char* name) {
    if (!pool)
        pool = new KorvoGame::Factory<T>(name, KorvoGame::GetFactoryCapacity(key));
}

template <typename T>
void DestroyPool(KorvoGame::Factory<T>*& pool) {
    delete pool;
    pool = nullptr;
}

template <typename T>
void ResetPool(KorvoGame::Factory<T>* pool) {
    if (pool)
        pool->ResetAll();
}

CollisionObject* ObjectOf(Entities::Depictors& depictors) {
    auto it = depictors.m_Map.find(kCOLLISION_OBJECT);
    return it == depictors.m_Map.end() ? nullptr : static_cast<CollisionObject*>(it->second);
}

// The entity's object: shapes and object back to their pools, the key taken off.
void ReleaseObject(Entity& entity) {
    auto it = entity.Depictors.m_Map.find(kCOLLISION_OBJECT);
    if (it == entity.Depictors.m_Map.end())
        return;
    auto* object = static_cast<CollisionObject*>(it->second);
    entity.Depictors.m_Map.erase(it);
    if (!object)
        return;
    object->ReleaseShapes();
    if (!object->m_Shared)
        delete object;
    else if (s_pools.objects)
        s_pools.objects->Free(object);
}

template <typename Placed>
ShapePlacement PlacementOf(const Placed& entity, Matrix44& world) {
    entity.UpdateWorldMatrix(world);
    return ShapePlacement{AGVec3{world[12], world[13], world[14]}, entity.GetScale(), entity.GetRotationX(),
                          entity.GetRotationY(), entity.GetRotationZ()};
}

template <typename Placed>
void InitializeAll(const std::vector<Placed*>& entities) {
    for (Placed* entity : entities) {
        Matrix44 world;
        if (entity)
            CollisionSystem::InitializeEntity(*entity, PlacementOf(*entity, world));
    }
}

// One collidable against the collidable entities of a list; refresh moves their shapes.
template <typename Placed>
void TestAgainst(ICollidable& collidable, const CollisionObject& object, const std::vector<Placed*>& entities,
                 bool refresh, const char* missing) {
    for (Placed* entity : entities) {
        if (!entity || !entity->Activate || !entity->IsCollidable() || entity->Id == collidable.GetCollidableId())
            continue;
        CollisionObject* other = ObjectOf(entity->Depictors);
        if (!other) {
            AGReport("%s%s", missing, entity->Name.c_str());
            continue;
        }
        if (refresh) {
            Matrix44 world;
            const ShapePlacement placement = PlacementOf(*entity, world);
            for (CollisionShape* shape : {other->GetBoundary(), other->GetDetail()}) {
                if (!shape)
                    continue;
                shape->SetTransform(world);
                shape->SetScale(placement.scale);
            }
            other->Update(placement);
        }
        s_result = CollisionResult{};
        s_result.m_Other = entity;
        if (CollisionObject::Collide(object, *other, s_result))
            collidable.onCollision(&s_result);
    }
}

// Every set of the tree, the 3D-viewport components included when all is set.
template <typename Visit>
void WalkTree(Set& set, bool all, const Visit& visit) {
    visit(set);
    for (ComponentLevel* component : set.m_ComponentLevels)
        if (component && (all || component->m_LoadingMode != ComponentLevel::kLoadIn3DViewport))
            WalkTree(*component, all, visit);
}

}  // namespace

CollisionPools& CollisionSystem::Pools() { return s_pools; }

void CollisionSystem::Startup() {
    if (!s_registry)
        s_registry = new Registry();
    if (!s_issued)
        s_issued = new std::vector<CollisionData*>();
    CreatePool(s_pools.data, "FactoryCollisionData", "CollisionDataFactory");
    CreatePool(s_pools.objects, "FactoryCollisionObject", "CollisionObjectFactory");
    CreatePool(s_pools.circles, "FactoryCollisionShapeCircle", "CollisionShapeCircleFactory");
    CreatePool(s_pools.spheres, "FactoryCollisionShapeSphere", "CollisionShapeSphereFactory");
    CreatePool(s_pools.rectangles, "FactoryCollisionShapeRectangle", "CollisionShapeRectangleFactory");
    CreatePool(s_pools.boxes, "FactoryCollisionShapeBox", "CollisionShapeBoxFactory");
    CreatePool(s_pools.models, "FactoryCollisionShapeModel", "CollisionShapeModel");
    ICollisionSystem::SetInstance(&s_published);
}

void CollisionSystem::Shutdown() {
    if (ICollisionSystem::Get() == &s_published)
        ICollisionSystem::SetInstance(nullptr);
    DestroyPool(s_pools.data);
    // Objects first: they give their shapes back to the shape pools.
    DestroyPool(s_pools.objects);
    DestroyPool(s_pools.circles);
    DestroyPool(s_pools.spheres);
    DestroyPool(s_pools.rectangles);
    DestroyPool(s_pools.boxes);
    DestroyPool(s_pools.models);
    delete s_issued;
    s_issued = nullptr;
    delete s_registry;
    s_registry = nullptr;
}

void CollisionSystem::SetCollisionData(Entity& entity, const CollisionData& data) {
    CollisionData* record = entity.VolatileDatas.GetCollisionData();
    if (!record) {
        record = Take(s_pools.data);
        if (!record)
            return;
        entity.VolatileDatas.Set(kCOLLISION_DATA, record);
        if (s_issued)
            s_issued->push_back(record);
    }
    *record = data;
}

void CollisionSystem::Initialize(Set* set) {
    if (!set)
        return;
    WalkTree(*set, false, [](Set& level) {
        InitializeAll(level.m_SetElements);
        InitializeAll(level.m_Props);
    });
}

void CollisionSystem::InitializeEntity(Entity& entity, const ShapePlacement& placement) {
    const CollisionData* data = entity.VolatileDatas.GetCollisionData();
    const RenderableModelData* renderable = entity.VolatileDatas.GetRenderableModelData();
    if (!data || !renderable ||
        (renderable->m_RenderableKind != RenderableModelData::kModel &&
         renderable->m_RenderableKind != RenderableModelData::kSprite))
        return;
    const bool isModel = renderable->m_RenderableKind == RenderableModelData::kModel;
    auto* model = entity.VolatileDatas.GetAs<AGModel>(kENGINE_DATA_MODEL);
    auto* sprite = entity.VolatileDatas.GetAs<AGSprite>(kENGINE_DATA_SPRITE);
    if (isModel ? !model : !sprite) {
        AGReport("The Entity doesn't have a geometry, call RenderingSystem::Initialize(..) before!");
        return;
    }
    CollisionObject* object = Take(s_pools.objects);
    if (!object)
        return;
    const i32 boundary = ParseShapeType(data->m_BoundaryShape);
    const i32 detail = ParseShapeType(data->m_EntityShape);
    if (isModel)
        object->BuildFromModel(boundary, detail, model, placement, data->m_BoundaryScale,
                               AGVec3{data->m_BoundaryOffsetX, data->m_BoundaryOffsetY, data->m_BoundaryOffsetZ});
    else
        object->BuildFromSprite(boundary, detail, sprite, placement, data->m_BoundaryScale, data->m_BoundaryOffsetX,
                                data->m_BoundaryOffsetY);
    // A second initialisation gives the earlier object back.
    ReleaseObject(entity);
    entity.Depictors.m_Map[kCOLLISION_OBJECT] = object;
}

void CollisionSystem::RegisterCollidable(ICollidable* collidable) {
    if (s_registry)
        s_registry->collidables.push_back(collidable);
}

void CollisionSystem::UnregisterCollidable(ICollidable* collidable) {
    if (!s_registry)
        return;
    if (s_registry->updating) {
        s_registry->pending.push_back(collidable);
        return;
    }
    auto& list = s_registry->collidables;
    auto it = std::find(list.begin(), list.end(), collidable);
    if (it != list.end())
        list.erase(it);
}

void CollisionSystem::Update(Set* set) {
    if (!s_registry || !set)
        return;
    s_registry->updating = true;
    // By index: the list may not grow while it is walked, but a callback must not be able
    // to leave a dangling iterator either.
    for (size_t i = 0; i < s_registry->collidables.size(); ++i) {
        ICollidable* collidable = s_registry->collidables[i];
        CollisionObject* object = collidable ? ObjectOf(collidable->GetCollidableDepictors()) : nullptr;
        if (!object || !collidable->IsCollisionActive())
            continue;
        Matrix44 world;
        collidable->GetCollidableTransform(world);
        const AGVec3 scale = collidable->GetCollidableScale();
        AGVec3 position = collidable->GetCollidablePosition();
        for (CollisionShape* shape : {object->GetBoundary(), object->GetDetail()}) {
            if (!shape)
                continue;
            shape->SetTransform(world);
            shape->SetScale(scale);
        }
        if (const CollisionShape* boundary = object->GetBoundary()) {
            const AGVec3& offset = boundary->GetOffset();
            position = AGVec3{position.x + offset.x, position.y + offset.y, position.z + offset.z};
        }
        object->Update(ShapePlacement{position, scale, collidable->GetCollidableRotationX(),
                                      collidable->GetCollidableRotationY(), collidable->GetCollidableRotationZ()});
        const bool refresh = i == 0;
        TestAgainst(*collidable, *object, set->m_SetElements, refresh,
                    "The SetElement doesn't have a Collision info, call CollisionSystem::Initialize(..) before!");
        TestAgainst(*collidable, *object, set->m_Props, refresh,
                    "The Prop doesn't have a Collision info, call CollisionSystem::Initialize(..) before!");
    }
    s_registry->updating = false;
    std::vector<ICollidable*> pending;
    pending.swap(s_registry->pending);
    for (ICollidable* collidable : pending)
        UnregisterCollidable(collidable);
}

void CollisionSystem::Cleanup(Set* set) {
    if (set) {
        // Every loading mode: an entity must not keep a record that the pool hands out again.
        const std::set<CollisionData*> issued = s_issued ? std::set<CollisionData*>(s_issued->begin(), s_issued->end())
                                                         : std::set<CollisionData*>();
        auto clean = [&issued](Entity* entity) {
            if (!entity)
                return;
            ReleaseObject(*entity);
            if (issued.count(entity->VolatileDatas.GetCollisionData()))
                entity->VolatileDatas.Remove(kCOLLISION_DATA);
        };
        WalkTree(*set, true, [&clean](Set& level) {
            std::for_each(level.m_SetElements.begin(), level.m_SetElements.end(), clean);
            std::for_each(level.m_Props.begin(), level.m_Props.end(), clean);
            std::for_each(level.m_Characters.begin(), level.m_Characters.end(), clean);
        });
    }
    if (!s_issued)
        return;
    for (CollisionData* record : *s_issued)
        if (s_pools.data)
            s_pools.data->Free(record);
    s_issued->clear();
}

void CollisionSystem::Reset() {
    if (s_registry) {
        s_registry->collidables.clear();
        s_registry->pending.clear();
    }
    ResetPool(s_pools.objects);
    ResetPool(s_pools.circles);
    ResetPool(s_pools.spheres);
    ResetPool(s_pools.rectangles);
    ResetPool(s_pools.boxes);
    ResetPool(s_pools.models);
}

}  // namespace GameServices::Bridge
