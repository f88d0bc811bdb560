#pragma once
// The collision body of an entity, kept in its depictors: a boundary shape that decides
// whether two bodies touch and an optional detail shape that describes the contact. Shapes
// come from the collision system's pools and go back there.
#include "gameservices/bridge/ICollisionSystem.h"
#include "gameservices/bridge/systems/CollisionShapes.h"
#include "gameservices/entities/EntityComponents.h"

namespace GameServices::Bridge {

class CollisionObject : public Entities::Depictor {
public:
    CollisionObject() { m_Shared = 1; }
    ~CollisionObject() override { ReleaseShapes(); }

    // Boundary 1-4 from the model's vertices; detail 2 or 4 likewise at boundary scale 1 and
    // no offset, 5 the model itself. Unsupported choices are reported and build nothing.
    void BuildFromModel(i32 boundaryType, i32 detailType, AGModel* model, const ShapePlacement& placement,
                        f32 boundaryScale, const AGVec3& offset);
    // Only a rectangle boundary; every other choice, and every detail shape, is reported.
    void BuildFromSprite(i32 boundaryType, i32 detailType, AGSprite* sprite, const ShapePlacement& placement,
                         f32 boundaryScale, f32 offsetX, f32 offsetY);
    void Update(const ShapePlacement& placement);
    // Both shapes back to their pools.
    void ReleaseShapes();

    // Whether the boundaries of a and b touch; when both carry a detail shape the detail
    // test fills the result. An object without a boundary is reported and never collides.
    static bool Collide(const CollisionObject& a, const CollisionObject& b, CollisionResult& result);

    CollisionShape* GetBoundary() const { return m_Boundary; }
    CollisionShape* GetDetail() const { return m_Detail; }
    i32 GetBoundaryType() const { return m_BoundaryType; }
    i32 GetDetailType() const { return m_DetailType; }

private:
    CollisionShape* m_Boundary = nullptr;
    CollisionShape* m_Detail = nullptr;
    i32 m_BoundaryType = kShapeNone;
    i32 m_DetailType = kShapeNone;
};

// By pair code (first type x 1000 + second type): distance tests for circles and spheres,
// overlap tests for rectangles and boxes; a sphere and a box never touch; other pairs are
// reported.
bool TestBoundaryShapes(const CollisionShape& first, const CollisionShape& second);
// Sphere-sphere and sphere-model contacts; other pairs are reported.
bool TestDetailShapes(const CollisionShape& first, const CollisionShape& second, CollisionResult& result);

}  // namespace GameServices::Bridge
