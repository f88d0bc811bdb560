#pragma once
// The animation services that play an entity's skin, model, texture, UV and camera
// animations. The bridge implements them and publishes the instance; behaviours reach the
// entity's animations only through this interface.
#include "engine/core/AGSingleton.h"
#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameservices/game/BehaviorActionSkin.h"

namespace GameServices::Entities {
class Entity;
}

namespace GameServices::KorvoGame {

// Which animation of the entity a call addresses: the kind (0 skin, 1 model, 2 texture,
// 3 UV, 4 camera), the skin for kind 0, and the animation (kinds 0 and 1) or material
// (kinds 2 and 3) name.
struct AnimationTarget {
    i32 kind = -1;
    const MiniGame::BehaviorActionSkin* skin = nullptr;
    TString<char> name;
};

class IEntityAnimation : public AGSingleton<IEntityAnimation> {
public:
    // Frames are signed; -1 means that no frame is given. rate is -1.0 for the entity
    // animations and 1.0 for the camera's; transitionTime is used by skin animations only.
    virtual void Start(Entities::Entity& entity, const AnimationTarget& target, f32 transitionTime,
                       i32 playMode, f32 rate, i32 startFrame, i32 endFrame) = 0;
    virtual void Replay(Entities::Entity& entity, const AnimationTarget& target, i32 playMode,
                        i32 startFrame, i32 endFrame) = 0;
    virtual void SetSpeed(Entities::Entity& entity, const AnimationTarget& target, f32 speed) = 0;
    // The last frame of the entity's current animation of the target's kind.
    virtual i32 GetEndFrame(Entities::Entity& entity, const AnimationTarget& target) = 0;
    // The delegate runs when the animation passes the frame.
    virtual void AddKey(Entities::Entity& entity, const AnimationTarget& target, i32 frame,
                        IDelegate* listener) = 0;
    virtual void RemoveKey(Entities::Entity& entity, const AnimationTarget& target, i32 frame,
                           IDelegate* listener) = 0;
};

}  // namespace GameServices::KorvoGame
