#pragma once
// What the game services need of the collision and rendering systems. Each system
// implements its interface and publishes itself with SetInstance.
#include "engine/core/AGSingleton.h"
#include "engine/core/AGVec3.h"

namespace GameServices::Entities {
class Camera;
class Depictors;
class Entity;
class Prop;
}  // namespace GameServices::Entities

namespace GameServices::Bridge {

// What the collision system found for one pair; shared by every test and only valid during
// the onCollision call.
struct CollisionResult {
    Entities::Entity* m_Other = nullptr;
    u8 m_DetailTested = 0;
    u8 m_DetailHit = 0;
    AGVec3 m_Normal;
    AGVec3 m_Penetration;
};

// An object the collision system tests against the scene each update.
class ICollidable {
public:
    virtual ~ICollidable() = default;
    // Once per hit.
    virtual void onCollision(CollisionResult* result) = 0;
    virtual AGVec3 GetCollidablePosition() const = 0;
    virtual AGVec3 GetCollidableScale() const = 0;
    // Degrees.
    virtual f32 GetCollidableRotationX() const = 0;
    virtual f32 GetCollidableRotationY() const = 0;
    virtual f32 GetCollidableRotationZ() const = 0;
    virtual u32 GetCollidableId() const = 0;
    // Where the owner keeps its collision object.
    virtual Entities::Depictors& GetCollidableDepictors() = 0;
    // The world matrix: row vectors, translation in elements 12 to 14.
    virtual void GetCollidableTransform(f32 (&matrix)[16]) const = 0;
    // False skips the object for this update.
    virtual bool IsCollisionActive() const = 0;
};

class ICollisionSystem : public AGSingleton<ICollisionSystem> {
public:
    // Takes part in the collision tests from the next update on.
    virtual void RegisterCollidable(ICollidable* collidable) = 0;
    // Removal during the collision update is queued.
    virtual void UnregisterCollidable(ICollidable* collidable) = 0;
};

class IRenderingSystem : public AGSingleton<IRenderingSystem> {
public:
    // The screen point unprojected through the camera and met with the plane at depth.
    virtual AGVec3 ScreenToWorld(const Entities::Camera& camera, f32 x, f32 y, f32 depth) = 0;
    // Pushes the prop's opacity, visibility and world matrix to its engine objects.
    virtual void UpdatePropRenderable(Entities::Prop& prop) = 0;
};

}  // namespace GameServices::Bridge
