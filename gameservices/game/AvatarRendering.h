#pragma once
// What the character manager needs of the avatar rendering: the avatar's render record, and
// the operations that hand a record to a character, build its avatar and give it back. The
// rendering system implements IAvatarRendering; until it exists the stand-in keeps the
// records and tracks which avatars are built.
#include <map>
#include <memory>
#include <set>

#include "engine/core/TString.h"

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

class StandInAvatarRendering : public IAvatarRendering {
public:
    static StandInAvatarRendering* Instance();

    void SetRenderableAvatarData(Entities::Character& character,
                                 const Bridge::RenderableAvatarData& data) override;
    // Reports "call RenderingSystem::Cleanup(..) before!" for an avatar built already.
    void InitializeAvatar(Entities::Character& character) override;
    void CleanupAvatar(Entities::Character& character) override;

    bool IsAvatarBuilt(const Entities::Character& character) const;

private:
    StandInAvatarRendering() = default;

    // By entity id; pooled characters live as long as the process, like this object.
    std::map<u32, std::unique_ptr<Bridge::RenderableAvatarData>> m_Records;
    std::set<u32> m_Built;
};

}  // namespace GameServices::KorvoGame
