#include "gameservices/bridge/systems/CollisionSystem.h"

namespace GameServices::Bridge {

void CollisionSystem::Startup() {}
void CollisionSystem::Shutdown() {}
void CollisionSystem::Initialize(Entities::Set*) {}
void CollisionSystem::Update(Entities::Set*) {}
void CollisionSystem::Cleanup(Entities::Set*) {}
void CollisionSystem::Reset() {}

}  // namespace GameServices::Bridge
