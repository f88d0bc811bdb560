#pragma once
// The records of the profiles document: one PlayerProfile per profile slot and one Settings
// for the whole document.
#include <array>
#include <vector>

#include "engine/core/BaseSavedGame.h"
#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/CharacterAssemblyRecords.h"
#include "gameshow/CustomAttribute.h"

namespace GameShow {

class PlayerProfile : public GameServices::KorvoGame::BaseSavedGame, public CustomAttributeDecorator {
public:
    // Draws the next profile number (PlayerProfileManager::NextProfileId); the document
    // renumbers its slots itself.
    PlayerProfile();
    PlayerProfile(const PlayerProfile& other) = default;
    PlayerProfile& operator=(const PlayerProfile& other) = default;
    ~PlayerProfile() override = default;

    // isUsed, SavedGameName, Score, Id, ThumbnailFilename, Appearance (the description);
    // for a used slot the description is then put on the live appearance; then
    // AppearanceFilename (written as "Appearance<Id>.xml", ignored when read), the unlocked
    // parts and the four attribute lists.
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;
    // Empties the unlocked parts and the attributes; the number, score, thumbnail, avatar and
    // name stay.
    void Clear() override;

    // Append {id, name} of the part to the list of that category (0 to 3) unless an entry of
    // that name is there; a category out of range is reported.
    void UnlockAnatomyPart(u32 category, const GameServices::KorvoGame::AnatomyPart& part);
    void UnlockOutfitPart(u32 category, const GameServices::KorvoGame::OutfitPart& part);

    // The description's names and flags on the live appearance, with the character assembly
    // of the description's assembly id; part ids are not copied.
    void ApplyDescription();

    // The profile's number; the document keeps it equal to the slot index.
    i32 Id = 0;
    TString<char> ThumbnailFilename;
    // What characters are dressed from; not saved itself.
    GameServices::KorvoGame::Appearance Appearance;
    // The saved avatar description.
    GameServices::KorvoGame::sAppearance_KorvoCity AvatarDescription;
    GameServices::KorvoGame::sAnatomy_KorvoCity UnlockedAnatomyParts;
    GameServices::KorvoGame::sWardRobe_KorvoCity UnlockedOutfitParts;
    u32 Score = 0;
};

// One of the looks offered for a new profile.
class DefaultLook {
public:
    DefaultLook(const TString<char>& thumbnail, const TString<char>& appearance)
        : ThumbnailFilename(thumbnail), AppearanceFilename(appearance) {}
    virtual ~DefaultLook() = default;

    TString<char> ThumbnailFilename;
    TString<char> AppearanceFilename;
};

class Settings : public GameServices::KorvoGame::BaseSavedSettings,
                 public CustomAttributeDecorator,
                 public CustomAttributeDecoratorManager {
public:
    static constexpr u32 kDefaultLookCount = 12;
    // The default looks' keys: two male and two female looks, three times. Each look's file is
    // "<key>.xml" and its picture "Thumbnail_<key>.png".
    static constexpr std::array<const char*, kDefaultLookCount> kDefaultLookNames = {
        "AppearanceMale01", "AppearanceMale02", "AppearanceFemale01", "AppearanceFemale02",
        "AppearanceMale03", "AppearanceMale04", "AppearanceFemale03", "AppearanceFemale04",
        "AppearanceMale05", "AppearanceMale06", "AppearanceFemale05", "AppearanceFemale06",
    };

    // No current slot (-1), volumes 50, version 1, the twelve default looks.
    Settings();

    // The base fields, then the four attribute lists; the default looks are not saved.
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;
    // Volumes 50 and no attributes; the version, current slot and default looks stay.
    void Clear() override;

    const std::vector<DefaultLook>& GetDefaultLooks() const { return m_DefaultLooks; }

private:
    std::vector<DefaultLook> m_DefaultLooks;
};

}  // namespace GameShow
