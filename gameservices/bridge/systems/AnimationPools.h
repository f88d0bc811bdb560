#pragma once
// The life of the animation bridge: its pools, made at game start and destroyed at game end,
// the per-frame animation step of the current level and the level's animation clean-up.
#include <vector>

#include "engine/core/AGTypes.h"
#include "gameservices/bridge/systems/EngineAnimations.h"
#include "gameservices/entities/Factory.h"
#include "gameservices/game/BehaviorActionSkin.h"

class AGController;

namespace GameServices::Entities {
class Entity;
class Set;
}  // namespace GameServices::Entities

namespace GameServices::Bridge {

class EntityAnimations;

// Null outside CreateEngineAnimationFactories .. DestroyEngineAnimationFactories.
struct AnimationFactories {
    KorvoGame::Factory<EntityAnimations>* m_Entities = nullptr;
    KorvoGame::Factory<EngineAnimationSkin>* m_Skins = nullptr;
    KorvoGame::Factory<EngineAnimationModel>* m_Models = nullptr;
    KorvoGame::Factory<EngineAnimationTexture>* m_Textures = nullptr;
    KorvoGame::Factory<EngineAnimationUV>* m_UVs = nullptr;
    KorvoGame::Factory<EngineAnimationCamera>* m_Cameras = nullptr;
    KorvoGame::Factory<AnimationHandler>* m_Handlers = nullptr;
};
AnimationFactories& GetAnimationFactories();

// An object of the pool, or null (reported) when the pool is exhausted or was not made.
template <typename T>
T* TakeFrom(KorvoGame::Factory<T>* pool) {
    if (!pool) {
        AGReport("The animation pools are not made");
        return nullptr;
    }
    return pool->Alloc();
}
template <typename T>
void GiveBackTo(KorvoGame::Factory<T>* pool, T* object) {
    if (pool && object)
        pool->Free(object);
}

// A key removal asked for while keys were firing, applied after the pass.
struct PendingKeyRemoval {
    Entities::Entity* m_Entity = nullptr;
    AnimationKey m_Key;
    MiniGame::BehaviorActionSkin m_Skin;
    TString<char> m_Name;
};
enum AnimationKind : u32 { kSkinKind, kModelKind, kTextureKind, kUVKind, kCameraKind, kAnimationKinds };
// Null before CreateEngineAnimationFactories.
std::vector<PendingKeyRemoval>* GetPendingKeyRemovals(AnimationKind kind);
// Runs the queued removals (UV, texture, model, skin, camera), then empties the queues.
void ApplyPendingKeyRemovals();

// The bridge's controllers: made with the engine defaults and kept in one list until game
// end, or until released.
AGController* NewAnimationController();
// A controller not in the list is left alone.
void ReleaseAnimationController(AGController* controller);
u32 GetAnimationControllerCount();

void CreateEngineAnimationFactories();
void DestroyEngineAnimationFactories();
// Publish and withdraw the animation services of behaviours (the widget animation pools
// belong to the game-mode framework, which knows widgets).
void CreateEntityAnimationFactories();
void DestroyEntityAnimationFactories();
// Each unpaused frame with the level ready, after rendering, audio and video: visible and
// active props and characters advance by elapsedMs and fire their keys, active cameras fire
// theirs, component levels the same.
void UpdateAnimations(Entities::Set* set, u32 elapsedMs);
// Level end: every entity's animations given back, component levels included.
void CleanupAnimations(Entities::Set* set);

}  // namespace GameServices::Bridge
