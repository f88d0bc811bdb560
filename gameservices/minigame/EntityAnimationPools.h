#pragma once
// The pools of the widget animation records, made at game start with their capacities from
// the runtime parameters and destroyed at game end.
#include "gameservices/entities/Factory.h"
#include "gameservices/minigame/EntityController.h"

namespace GameServices::MiniGame {

// Null outside CreateEntityControllerPools .. DestroyEntityControllerPools.
struct EntityControllerPools {
    KorvoGame::Factory<EntityAnimationStoryboard>* m_Storyboards = nullptr;
    KorvoGame::Factory<EntityAnimation>* m_Animations = nullptr;
    KorvoGame::Factory<EntityAnimationKeyFrame>* m_KeyFrames = nullptr;
    KorvoGame::Factory<EntityController>* m_Controllers = nullptr;
};
EntityControllerPools& GetEntityControllerPools();

// Pools already made are kept.
void CreateEntityControllerPools();
void DestroyEntityControllerPools();
// The controller goes back to its pool with its storyboard, the storyboard's animations and
// their key frames.
void ReleaseEntityController(EntityController* controller);

}  // namespace GameServices::MiniGame
