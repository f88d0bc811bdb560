#pragma once
// Engine animations: what ties one animation of an entity to the engine (a controller that
// keeps time and frame, the resource it plays, and the keys fired as playback passes their
// frames). Skin animations pose a skeleton and cross-fade between two animations.
#include <vector>

#include "engine/core/FHandler.h"
#include "engine/core/TString.h"
#include "gameservices/bridge/systems/Avatar.h"
#include "gameservices/entities/GameObject.h"

class AGController;
class AGMaterial;
class AGModelAnimation;
class AGSkinAnimation;

namespace GameServices::MiniGame {
class BehaviorActionSkin;
}

namespace GameServices::Bridge {

class EntityAnimations;

// One key: the delegates to call when playback passes the frame. Armed keys may fire.
class AnimationHandler {
public:
    u32 m_Frame = 0;
    FHandler m_Event;
    bool m_Armed = true;
};

struct AnimationKey {
    u32 m_Frame = 0;
    IDelegate* m_Delegate = nullptr;
};

class EngineAnimationBase : public Entities::GameObject {
public:
    virtual bool IsA(u32 classId) const;

    AGController* m_Controller = nullptr;
    std::vector<AnimationHandler*> m_Keys;
};

class EngineAnimationSkin : public EngineAnimationBase {
public:
    bool IsA(u32 classId) const override;

    // Copies the key, names the animation and loads skeleton, animation and controller from
    // the folder of the file kind and owner name.
    void Setup(u32 fileKind, const TString<char>& ownerName, const AvatarSkin& key,
               const TString<char>& animationName, f32 blendTime);
    void StartCrossFade(const TString<char>& animationName, f32 blendTime);
    void CancelCrossFade();
    // The incoming animation becomes the current one. The current controller keeps its
    // identity (models driven by it keep a valid pointer) and takes the incoming one's state.
    void FinishCrossFade();
    // The controller that playback follows: the incoming one during a cross-fade.
    AGController* ActiveController() const;
    // Pose step of one frame; dt only times the cross-fade.
    void Update(u32 dt);
    // Everything loaded goes back; the keys are cleared.
    void Release();

    TString<char> m_FolderPath;
    AvatarSkin m_Key;
    TString<char> m_CurrentName;
    AGSkinAnimation* m_Current = nullptr;
    f32 m_BlendTime = 0.0f;
    u32 m_BlendElapsed = 0;
    TString<char> m_IncomingName;
    AGSkinAnimation* m_Incoming = nullptr;
    AGController* m_IncomingController = nullptr;
};

class EngineAnimationModel : public EngineAnimationBase {
public:
    bool IsA(u32 classId) const override;

    TString<char> m_FolderPath;
    TString<char> m_AnimationName;
    AGModelAnimation* m_Animation = nullptr;
};

class EngineAnimationTexture : public EngineAnimationBase {
public:
    bool IsA(u32 classId) const override;

    TString<char> m_Name;
};

class EngineAnimationUV : public EngineAnimationBase {
public:
    bool IsA(u32 classId) const override;

    TString<char> m_Name;
};

// Plays the engine camera's own controller.
class EngineAnimationCamera : public EngineAnimationBase {};

// The key of a skin description: "all" (first) expands to the eight model types, reported
// when other types follow it. False for an empty list.
bool MakeAvatarSkinKey(const MiniGame::BehaviorActionSkin& skin, AvatarSkin& key);
EngineAnimationSkin* FindSkinAnimation(EntityAnimations& record, const AvatarSkin& key);
EngineAnimationTexture* FindTextureAnimation(EntityAnimations& record, const TString<char>& name);
EngineAnimationUV* FindUVAnimation(EntityAnimations& record, const TString<char>& name);
// Each of these gives null, with the pool's report, when its pool is exhausted.
EngineAnimationSkin* AddSkinAnimation(EntityAnimations& record, u32 fileKind, const TString<char>& ownerName,
                                      const AvatarSkin& key, const TString<char>& animationName, f32 blendTime);
EngineAnimationModel* AddModelAnimation(EntityAnimations& record, const TString<char>& modelName,
                                        const TString<char>& animationName);
// A controller for the material's first texture slot that steps textures (or, for UV, the
// first that does not), timed like the slot's own and attached to it. Null when the
// material has no such slot with a controller.
AGController* MakeSlotController(AGMaterial& material, bool stepSlot);
EngineAnimationTexture* AddTextureAnimation(EntityAnimations& record, AGController* controller,
                                            const TString<char>& name);
EngineAnimationUV* AddUVAnimation(EntityAnimations& record, AGController* controller, const TString<char>& name);
EngineAnimationCamera* CreateCameraAnimation();

// Keys: delegates at one frame share one key, called in the order they were added.
void AddKey(EngineAnimationBase& animation, const AnimationKey& key);
void RemoveKey(EngineAnimationBase& animation, const AnimationKey& key);
void ClearKeys(EngineAnimationBase& animation);
// One firing pass: forward play fires a key once playback is within one frame of it,
// backward play at or below it, a stopped animation fires every armed key once.
// Removals asked for during the pass take effect after it.
void FireAnimationKeys(EngineAnimationBase& animation);
bool AreKeysFiring();

// Release of one engine animation of each kind; each goes back to its pool.
void ReleaseSkinAnimation(EngineAnimationSkin* animation);
void ReleaseModelAnimation(EngineAnimationModel* animation);
void ReleaseTextureAnimation(EngineAnimationTexture* animation);
void ReleaseUVAnimation(EngineAnimationUV* animation);
void ReleaseCameraAnimation(EngineAnimationCamera* animation);

}  // namespace GameServices::Bridge
