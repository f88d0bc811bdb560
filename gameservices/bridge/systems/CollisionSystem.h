#pragma once
// The collision side of the bridge: per-level collision objects for the described set elements
// and props, and the per-frame tests of the registered collidables against them.
#include "engine/core/AGTypes.h"

namespace GameServices::Entities {
class Set;
}

namespace GameServices::Bridge {

class CollisionSystem {
public:
    // Game start and end: the pools and the collidable registry.
    static void Startup();
    static void Shutdown();
    // Level start: a collision object for every described entity of the set.
    static void Initialize(Entities::Set* set);
    // Each unpaused frame with the level ready.
    static void Update(Entities::Set* set);
    // Level end: the set's collision records and objects given back, then the registry emptied.
    static void Cleanup(Entities::Set* set);
    static void Reset();
};

}  // namespace GameServices::Bridge
