#pragma once
// The life of the animation bridge: its pools, made at game start and destroyed at game end,
// the per-frame animation step of the current level and the level's animation clean-up.
#include "engine/core/AGTypes.h"

namespace GameServices::Entities {
class Set;
}

namespace GameServices::Bridge {

void CreateEngineAnimationFactories();
void DestroyEngineAnimationFactories();
void CreateEntityAnimationFactories();
void DestroyEntityAnimationFactories();
// Each unpaused frame with the level ready, after rendering, audio and video.
void UpdateAnimations(Entities::Set* set, u32 elapsedMs);
// Level end: every entity's animations given back.
void CleanupAnimations(Entities::Set* set);

}  // namespace GameServices::Bridge
