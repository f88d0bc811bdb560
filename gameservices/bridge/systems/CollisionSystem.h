#pragma once
// The collision side of the bridge: per-level collision objects for the described set elements
// and props, and the per-frame tests of the registered collidables against them.
#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "gameservices/bridge/systems/CollisionShapes.h"
#include "gameservices/entities/Factory.h"
#include "gameservices/game/RenderableModelData.h"

namespace GameServices::Entities {
class Entity;
class Set;
}  // namespace GameServices::Entities

namespace GameServices::Bridge {

class CollisionObject;
class ICollidable;

// The seven pools; null outside Startup .. Shutdown.
struct CollisionPools {
    KorvoGame::Factory<CollisionData>* data = nullptr;
    KorvoGame::Factory<CollisionObject>* objects = nullptr;
    KorvoGame::Factory<CollisionShapeCircle>* circles = nullptr;
    KorvoGame::Factory<CollisionShapeSphere>* spheres = nullptr;
    KorvoGame::Factory<CollisionShapeRectangle>* rectangles = nullptr;
    KorvoGame::Factory<CollisionShapeBox>* boxes = nullptr;
    KorvoGame::Factory<CollisionShapeModel>* models = nullptr;
};

class CollisionSystem {
public:
    // Game start and end: the pools and the collidable registry. A second Startup keeps the
    // pools it finds.
    static void Startup();
    static void Shutdown();
    // While the level file is read: the entity's record, taken from its pool on first use,
    // takes the description's values.
    static void SetCollisionData(Entities::Entity& entity, const CollisionData& data);
    // Level start: a collision object for every described entity of the set and of its
    // component levels, but those shown in a 3D viewport.
    static void Initialize(Entities::Set* set);
    static void InitializeEntity(Entities::Entity& entity, const ShapePlacement& placement);
    // No duplicate check. Removal while the tests run is applied after them.
    static void RegisterCollidable(ICollidable* collidable);
    static void UnregisterCollidable(ICollidable* collidable);
    // Each unpaused frame with the level ready: every registered collidable against the
    // collidable set elements and props of the set (not of its component levels).
    static void Update(Entities::Set* set);
    // Level end: the set tree's collision objects and every issued record given back, and
    // the record's key taken off every entity of the tree.
    static void Cleanup(Entities::Set* set);
    // The registry emptied and the object and shape pools made new.
    static void Reset();

    static CollisionPools& Pools();
    // The next object of the pool; null (reported) when the pool is missing or exhausted.
    template <typename T>
    static T* Take(KorvoGame::Factory<T>* pool) {
        if (pool)
            return pool->Alloc();
        AGReport("The collision pools are not created");
        return nullptr;
    }
};

}  // namespace GameServices::Bridge
