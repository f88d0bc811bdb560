#include "gameservices/bridge/systems/AnimationPools.h"

namespace GameServices::Bridge {

void CreateEngineAnimationFactories() {}
void DestroyEngineAnimationFactories() {}
void CreateEntityAnimationFactories() {}
void DestroyEntityAnimationFactories() {}
void UpdateAnimations(Entities::Set*, u32) {}
void CleanupAnimations(Entities::Set*) {}

}  // namespace GameServices::Bridge
