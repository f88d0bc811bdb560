#pragma once
// What the character manager needs of the avatar rendering: the avatar's render record, and
// the operations that hand a record to a character, build its avatar and give it back. The
// rendering system implements IAvatarRendering and installs itself in the character manager.
#include "engine/core/TString.h"
#include "gameservices/game/BehaviorActionSkin.h"

namespace GameServices::Entities {
class Character;
}

namespace GameServices::Bridge {

// Avatar part indexes: head, left eye, right eye, hairstyle, top, bottom, footwear, eyewear.
inline constexpr u32 kNbAvatarParts = 8;

class RenderableAvatarData {
public:
    virtual ~RenderableAvatarData() = default;

    // Set once a description has been given; the avatar is only built when set.
    u8 m_Changed = 0;
    TString<char> m_DataPath;
    // One model file name per avatar part; empty means no model for that part.
    TString<char> m_PartNames[kNbAvatarParts];
    // Set once the part models match the names; clearing it makes the next update re-check
    // every part.
    u8 m_Built = 0;
    // 0 when a skin animation is described (started when the avatar is built), -1 for none.
    i32 m_SkinAnimationType = -1;
    TString<char> m_AnimationName;
    MiniGame::BehaviorActionSkin m_Skin;
    // Copied with the description.
    u8 m_SecondFlag = 0;
};

}  // namespace GameServices::Bridge

namespace GameServices::KorvoGame {

class IAvatarRendering {
public:
    virtual ~IAvatarRendering() = default;
    // Copies the description into the character's own record under "RENDERABLE_AVATAR_DATA"
    // (made when missing) and marks it changed.
    virtual void SetRenderableAvatarData(Entities::Character& character,
                                         const Bridge::RenderableAvatarData& data) = 0;
    // Builds the avatar from a changed description.
    virtual void InitializeAvatar(Entities::Character& character) = 0;
    // Gives the avatar and its record back; the character's key goes.
    virtual void CleanupAvatar(Entities::Character& character) = 0;
};

}  // namespace GameServices::KorvoGame
