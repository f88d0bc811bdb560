#pragma once
// What the game services need of the collision and rendering systems. Each system
// implements its interface and publishes itself with SetInstance.
#include "engine/core/AGSingleton.h"
#include "engine/core/AGVec3.h"

namespace GameServices::Entities {
class Camera;
class Entity;
class Prop;
}  // namespace GameServices::Entities

namespace GameServices::Bridge {

// An object the collision system tests against the scene each update.
class ICollidable {
public:
    virtual ~ICollidable() = default;
    virtual AGVec3 GetCollidablePosition() const = 0;
    virtual AGVec3 GetCollidableScale() const = 0;
    // Degrees about X, Y and Z.
    virtual AGVec3 GetCollidableRotation() const = 0;
    virtual u32 GetCollidableId() const = 0;
    virtual Entities::Entity* GetCollidableEntity() = 0;
    // The entity it collided with, or null.
    virtual void SetCollisionResult(Entities::Entity* entity) = 0;
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
