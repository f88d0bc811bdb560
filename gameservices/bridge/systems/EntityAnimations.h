#pragma once
// The animation control of level entities: start, restart, re-time and stop an entity's
// skin, model, texture, UV and camera animations, attach frame keys and answer end frames.
// Every operation works on the entity's record under "ANIMATIONS_ENTITY_DATA"; failures
// are reported and do nothing more.
#include <vector>

#include "engine/core/TString.h"
#include "gameservices/bridge/systems/EngineAnimations.h"
#include "gameservices/game/EntityAnimationServices.h"

class AGController;

namespace GameServices::Entities {
class Entity;
}

namespace GameServices::Bridge {

class EntityAnimations {
public:
    EngineAnimationModel* m_Model = nullptr;
    EngineAnimationCamera* m_Camera = nullptr;
    std::vector<EngineAnimationSkin*> m_Skins;
    std::vector<EngineAnimationTexture*> m_Textures;
    std::vector<EngineAnimationUV*> m_UVs;
    // Holds the camera animation as well; key firing walks this list.
    std::vector<EngineAnimationCamera*> m_Cameras;
};

EntityAnimations* GetEntityAnimations(const Entities::Entity& entity);

// Play modes 0 and 1 hold (controller mode 1); 3..6 pass as they are; others are reported
// and hold.
u32 ConvertPlayMode(i32 playMode);
// Places playback (start frame forward, the controller's end frame backward; -1 leaves it),
// stores a speed of 0 or more, and times the controller at 30 frames per second.
void ApplyPlayMode(AGController& controller, i32 playMode, f32 speed, i32 startFrame, i32 endFrame);

using MiniGame::BehaviorActionSkin;
using Entities::Entity;

void SetSkinAnimation(Entity& entity, const BehaviorActionSkin& skin, const TString<char>& name, f32 blendTime,
                      i32 playMode, f32 speed, i32 startFrame, i32 endFrame);
void SetModelAnimation(Entity& entity, const TString<char>& name, i32 playMode, f32 speed, i32 startFrame,
                       i32 endFrame);
void SetTextureAnimation(Entity& entity, const TString<char>& name, i32 playMode, f32 speed, i32 startFrame,
                         i32 endFrame);
void SetUVAnimation(Entity& entity, const TString<char>& name, i32 playMode, f32 speed, i32 startFrame,
                    i32 endFrame);
void SetCameraAnimation(Entity& entity, i32 playMode, f32 speed, i32 startFrame, i32 endFrame);

void ReplaySkinAnimation(Entity& entity, const BehaviorActionSkin& skin, i32 playMode, i32 startFrame,
                         i32 endFrame);
void ReplayModelAnimation(Entity& entity, i32 playMode, i32 startFrame, i32 endFrame);
void ReplayTextureAnimation(Entity& entity, const TString<char>& name, i32 playMode, i32 startFrame, i32 endFrame);
void ReplayUVAnimation(Entity& entity, const TString<char>& name, i32 playMode, i32 startFrame, i32 endFrame);
void ReplayCameraAnimation(Entity& entity, i32 playMode, i32 startFrame, i32 endFrame);

void SetSkinAnimationSpeed(Entity& entity, const BehaviorActionSkin& skin, f32 speed);
void SetModelAnimationSpeed(Entity& entity, f32 speed);
void SetTextureAnimationSpeed(Entity& entity, const TString<char>& name, f32 speed);
void SetUVAnimationSpeed(Entity& entity, const TString<char>& name, f32 speed);
void SetCameraAnimationSpeed(Entity& entity, f32 speed);

void AddSkinAnimationKey(Entity& entity, const BehaviorActionSkin& skin, const AnimationKey& key);
void AddModelAnimationKey(Entity& entity, const AnimationKey& key);
void AddTextureAnimationKey(Entity& entity, const TString<char>& name, const AnimationKey& key);
void AddUVAnimationKey(Entity& entity, const TString<char>& name, const AnimationKey& key);
void AddCameraAnimationKey(Entity& entity, const AnimationKey& key);
// While keys are firing the removal is queued and applied after the pass.
void RemoveSkinAnimationKey(Entity& entity, const BehaviorActionSkin& skin, const AnimationKey& key);
void RemoveModelAnimationKey(Entity& entity, const AnimationKey& key);
void RemoveTextureAnimationKey(Entity& entity, const TString<char>& name, const AnimationKey& key);
void RemoveUVAnimationKey(Entity& entity, const TString<char>& name, const AnimationKey& key);
void RemoveCameraAnimationKey(Entity& entity, const AnimationKey& key);

// The end frame of the animation's controller (0, reported, when missing); the camera's
// answers one less.
i32 GetSkinAnimationEndFrame(Entity& entity, const BehaviorActionSkin& skin);
i32 GetModelAnimationEndFrame(Entity& entity);
i32 GetTextureAnimationEndFrame(Entity& entity, const TString<char>& name);
i32 GetUVAnimationEndFrame(Entity& entity, const TString<char>& name);
i32 GetCameraAnimationEndFrame(Entity& entity);

// Key firing of every animation of the entity: skins, model, textures, UVs, cameras.
void FireEntityAnimationKeys(EntityAnimations& record);
// Every engine animation of the record released and the lists emptied; models driven by
// released controllers and resources let go of them first.
void ReleaseEntityAnimations(Entity& entity, EntityAnimations& record);

// What the behaviours play through: the operations above by animation kind.
class EntityAnimationServices : public KorvoGame::IEntityAnimation {
public:
    void Start(Entity& entity, const KorvoGame::AnimationTarget& target, f32 transitionTime, i32 playMode,
               f32 rate, i32 startFrame, i32 endFrame) override;
    void Replay(Entity& entity, const KorvoGame::AnimationTarget& target, i32 playMode, i32 startFrame,
                i32 endFrame) override;
    void SetSpeed(Entity& entity, const KorvoGame::AnimationTarget& target, f32 speed) override;
    i32 GetEndFrame(Entity& entity, const KorvoGame::AnimationTarget& target) override;
    void AddKey(Entity& entity, const KorvoGame::AnimationTarget& target, i32 frame, IDelegate* listener) override;
    void RemoveKey(Entity& entity, const KorvoGame::AnimationTarget& target, i32 frame,
                   IDelegate* listener) override;
};

}  // namespace GameServices::Bridge
