#pragma once
// Applies looks to characters: keeps each character's pooled Appearance under the key
// "Appearance" of its VolatileData and hands the part names to the avatar rendering.
#include "gameservices/game/Appearance.h"

namespace GameServices::Entities {
class Character;
class Set;
}  // namespace GameServices::Entities

namespace GameServices::KorvoGame {

class IAvatarRendering;

class CharacterManager {
public:
    static CharacterManager* Instance();
    // Deletes the singleton (game end); the next Instance() makes a fresh one.
    static void Destroy();
    virtual ~CharacterManager() = default;
    CharacterManager(const CharacterManager&) = delete;
    CharacterManager& operator=(const CharacterManager&) = delete;

    // The rendering system (borrowed). Without one, looks are kept but no avatar is drawn.
    void SetAvatarRendering(IAvatarRendering* rendering) { m_Rendering = rendering; }
    IAvatarRendering* GetAvatarRendering() const { return m_Rendering; }

    // Reads the named avatar description and applies it (ApplyAppearance). A character that
    // has a look already is reported and gets the new one all the same.
    void LoadAppearance(const TString<char>& name, Entities::Character& character);
    // SetAppearance, then builds the avatar, sets Activate and calls Initialize. A character
    // that has a look already is reported and gets the new one all the same.
    void ApplyAppearance(const Appearance& appearance, Entities::Character& character);
    // Copies the look into the character's pooled Appearance (taken from the pool when it
    // has none), gives the avatar rendering the part names (avatar order: head, left eye,
    // right eye, hairstyle, top, bottom, footwear, eyewear) and clears Synchronize. False,
    // with nothing changed, when the pool is exhausted.
    bool SetAppearance(Entities::Character& character, const Appearance& appearance);
    // False, reported, when the character has no look.
    bool GetAppearance(const Entities::Character& character, Appearance& out) const;
    // Gives the avatar back and the character's Appearance to its pool.
    void RemoveAppearance(Entities::Character& character);
    // RemoveAppearance for every character of the set and of its component levels, nested
    // ones included.
    void RemoveAppearances(Entities::Set& set);

    // One outfit entry of the character's look; false, reported, without a look.
    bool GetOutfitPart(u32 outfitType, const Entities::Character& character, OutfitPart& out) const;
    // Replaces a customizable outfit entry and the avatar's part name, so the avatar picks
    // it up at its next update. Reported, changing nothing, when the character has no look,
    // the entry is not customizable or the avatar has no render record.
    void SetOutfitPart(const OutfitPart& part, Entities::Character& character, u32 outfitType);
    // The same on the hairstyle, the one anatomy part the game changes.
    bool GetAnatomyPart(const Entities::Character& character, AnatomyPart& out) const;
    void SetAnatomyPart(const AnatomyPart& part, Entities::Character& character);

private:
    CharacterManager() = default;
    void Apply(const Appearance& appearance, Entities::Character& character);

    IAvatarRendering* m_Rendering = nullptr;
};

}  // namespace GameServices::KorvoGame
