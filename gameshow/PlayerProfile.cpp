#include "gameshow/PlayerProfile.h"

#include "engine/core/AGLog.h"
#include "engine/core/NumberText.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::Utilities::ISerialization;
namespace KG = GameServices::KorvoGame;

namespace {

// Appends {id, name} unless the list has an entry of that name.
template <typename Entry, typename Part>
void Unlock(GameServices::Utilities::SerializableVector<Entry>* lists, u32 category, const Part& part) {
    if (category >= 4) {
        AGReport("Unlocked part category %u is out of range", category);
        return;
    }
    GameServices::Utilities::SerializableVector<Entry>& list = lists[category];
    for (const Entry& entry : list)
        if (entry.Name == part.Name)
            return;
    Entry entry;
    entry.Id = part.Id;
    entry.Name = part.Name;
    list.push_back(entry);
}

template <typename Part>
void ApplyEntry(const KG::sAppearance_KorvoCity::Entry& entry, Part& part) {
    part.Name = entry.Name;
    part.Customizable = entry.Customizable;
}

}  // namespace

PlayerProfile::PlayerProfile() : Id(PlayerProfileManager::Instance()->NextProfileId()) {}

void PlayerProfile::Serialize(ISerialization& serialization) {
    BaseSavedGame::Serialize(serialization);
    serialization.SerializeUInt("Score", Score, 0);
    serialization.SerializeInt("Id", Id, 0);
    serialization.SerializeString("ThumbnailFilename", ThumbnailFilename, TString<char>());
    serialization.SerializeObject("Appearance", AvatarDescription, true);
    if (isUsed)
        ApplyDescription();
    // Only written: the name is derived from the number, so what a file says is dropped.
    TString<char> appearanceFile = TString<char>("Appearance") + FormatInt(Id) + ".xml";
    serialization.SerializeString("AppearanceFilename", appearanceFile, appearanceFile);
    serialization.SerializeObject("UnlockedAnatomyParts", UnlockedAnatomyParts, true);
    serialization.SerializeObject("UnlockedOutfitParts", UnlockedOutfitParts, true);
    SerializeAttributes(serialization);
}

void PlayerProfile::Clear() {
    for (auto& list : UnlockedAnatomyParts.Parts)
        list.Clear();
    for (auto& list : UnlockedOutfitParts.Parts)
        list.Clear();
    ClearAttributes();
}

void PlayerProfile::UnlockAnatomyPart(u32 category, const KG::AnatomyPart& part) {
    Unlock(UnlockedAnatomyParts.Parts, category, part);
}

void PlayerProfile::UnlockOutfitPart(u32 category, const KG::OutfitPart& part) {
    Unlock(UnlockedOutfitParts.Parts, category, part);
}

void PlayerProfile::ApplyDescription() {
    Appearance.Name = AvatarDescription.Name;
    for (u32 t = 0; t < KG::NB_OUTFIT_PART_TYPE; ++t)
        ApplyEntry(AvatarDescription.OutfitParts[t], Appearance.OutfitParts[t]);
    for (u32 t = 0; t < KG::NB_ANATOMY_PART_TYPE; ++t)
        ApplyEntry(AvatarDescription.AnatomyParts[t], Appearance.AnatomyParts[t]);
    // An unknown assembly is reported by the lookup and leaves the live one.
    KG::CharacterAssemblyManager::Instance()->FindCharacterAssembly(AvatarDescription.CharacterAssemblyId,
                                                                     Appearance.Assembly);
}

Settings::Settings() {
    CurrentSavedGame = -1;
    VoiceVolume = 50;
    SoundEffectsVolume = 50;
    MusicVolume = 50;
    Version = 1;
    m_DefaultLooks.reserve(kDefaultLookCount);
    for (const char* look : kDefaultLookNames)
        m_DefaultLooks.emplace_back(TString<char>("Thumbnail_") + look + ".png", TString<char>(look) + ".xml");
}

void Settings::Serialize(ISerialization& serialization) {
    BaseSavedSettings::Serialize(serialization);
    SerializeAttributes(serialization);
}

void Settings::Clear() {
    BaseSavedSettings::Clear();
    ClearAttributes();
}

}  // namespace GameShow
