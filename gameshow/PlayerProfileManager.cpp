#include "gameshow/PlayerProfileManager.h"

#include <algorithm>

#include "engine/core/AGLog.h"
#include "engine/core/XmlWriter.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/SavedGameManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameshow/CompositionManager.h"

namespace GameShow {

namespace KG = GameServices::KorvoGame;
using GameServices::Entities::BaseTeamMember;
using GameServices::Entities::Character;
using GameServices::MiniGame::BaseGame;

namespace {

PlayerProfileManager* g_Manager = nullptr;

constexpr i32 kDefaultProfileCount = 4;

// The name up to its last ".", the whole name without one.
TString<char> WithoutExtension(const TString<char>& name) {
    for (u32 i = name.Length(); i > 0; --i)
        if (name[i - 1] == '.')
            return name.SubString(0, i - 1);
    return name;
}

// Dresses the character in a copy of the look and rebuilds its avatar; false when the
// character could not take the look.
bool Dress(Character& character, const KG::Appearance& appearance) {
    KG::CharacterManager* characters = KG::CharacterManager::Instance();
    // An avatar already built (the menus entered again) is cleaned up before the new one.
    characters->RemoveAppearance(character);
    if (!characters->SetAppearance(character, appearance))
        return false;
    if (KG::IAvatarRendering* rendering = characters->GetAvatarRendering())
        rendering->InitializeAvatar(character);
    return true;
}

}  // namespace

PlayerProfileManager* PlayerProfileManager::Instance() {
    if (!g_Manager)
        g_Manager = new PlayerProfileManager();
    return g_Manager;
}

void PlayerProfileManager::Destroy() {
    delete g_Manager;
    g_Manager = nullptr;
}

PlayerProfileManager::PlayerProfileManager() = default;

PlayerProfileManager::~PlayerProfileManager() {
    if (m_Subscribed) {
        KG::TeamActionManager::GetFreeDeviceConnectedEvent().RemoveDelegate(&m_DeviceDelegate);
        KG::TeamActionManager::GetMemberDeviceLostEvent().RemoveDelegate(&m_MemberDelegate);
    }
    delete m_Document;
}

void PlayerProfileManager::Initialize() {
    if (!m_Document)
        m_Document = new Document();
    if (!m_Subscribed) {
        KG::TeamActionManager::GetFreeDeviceConnectedEvent().AddDelegate(&m_DeviceDelegate);
        KG::TeamActionManager::GetMemberDeviceLostEvent().AddDelegate(&m_MemberDelegate);
        m_Subscribed = true;
    }
}

i32 PlayerProfileManager::GetProfileCount() {
    i32 count = kDefaultProfileCount;
    KG::RuntimeParameters::Instance()->GetParameter(&count, "Game", "NbProfiles");
    return std::max(count, 1);
}

i32 PlayerProfileManager::NextProfileId() {
    ++m_Counter;
    if (m_Counter >= GetProfileCount())
        m_Counter = 0;
    return m_Counter;
}

void PlayerProfileManager::LoadProfiles() {
    if (!m_Document)
        m_Document = new Document();
    m_Players.clear();
    m_LoadedSlots.clear();
    const i32 count = GetProfileCount();
    bool loaded = false;
    if (KG::SavedGameManager* saves = Saves()) {
        saves->SetVersion(m_Version);
        loaded = saves->LoadSavedGame(m_Document, u32(count));
        // The file as read, or the fresh document just written in place of a missing one.
        m_SavedText = saves->IsSavingEnabled() ? DocumentText() : std::string();
    } else {
        AGReport("There is no saved-game manager to load the profiles with");
    }
    if (loaded) {
        for (i32 slot = 0; slot < count; ++slot)
            if (m_Document->IsUsedSlot(slot))
                AddLoadedProfile(m_Document->GetSavedGameAt(slot));
        const i32 current = GetCurrentSlot();
        if (current != -1)
            m_Players[0] = current;
    } else {
        m_Document->GetSettings().CurrentSavedGame = -1;
    }
    m_Loaded = true;
    m_ProfilesLoaded.Fire();
}

void PlayerProfileManager::AddLoadedProfile(PlayerProfile* profile) {
    if (!profile || !m_Document || m_Document->GetSavedGameAt(profile->Id) != profile) {
        AGReport("Only a profile of the profiles document can be loaded");
        return;
    }
    if (std::find(m_LoadedSlots.begin(), m_LoadedSlots.end(), profile->Id) != m_LoadedSlots.end())
        return;
    if (i32(m_LoadedSlots.size()) < GetProfileCount())
        m_LoadedSlots.push_back(profile->Id);
}

PlayerProfile* PlayerProfileManager::GetProfile(i32 playerId) {
    auto it = m_Players.find(playerId);
    PlayerProfile* profile = it != m_Players.end() && m_Document ? m_Document->GetSavedGameAt(it->second) : nullptr;
    if (!profile)
        AGReport("No profile was found assigned to player id = %d", playerId);
    return profile;
}

void PlayerProfileManager::SelectProfile(i32 slot) {
    if (!GetSlot(slot))
        return;
    m_ProfileChosen = true;
    m_Document->GetSettings().CurrentSavedGame = slot;
    m_Players[0] = slot;
    WriteSavedGame();
    m_ProfileSelected.Fire();
}

void PlayerProfileManager::AssignPlayer(i32 playerId, i32 slot) {
    if (GetSlot(slot))
        m_Players[playerId] = slot;
}

void PlayerProfileManager::DeleteProfile(i32 id) {
    PlayerProfile* profile = GetSlot(id);
    if (!profile)
        return;
    if (m_Loaded) {
        profile->isUsed = false;
        WriteSavedGame();
    }
    auto loaded = std::find(m_LoadedSlots.begin(), m_LoadedSlots.end(), id);
    if (loaded != m_LoadedSlots.end()) {
        profile->Score = 0;
        profile->Clear();
        m_LoadedSlots.erase(loaded);
    }
    WriteSavedGame();
}

PlayerProfile* PlayerProfileManager::CreateProfile(const KG::Appearance& appearance, const TString<char>& name) {
    if (!m_Document) {
        AGReport("No profiles document to create a profile in");
        return nullptr;
    }
    // Every slot used: the saved-game manager would hand back slot 0 as it is, and the
    // profile playing there would lose its look and name.
    i32 slot = 0;
    while (slot < i32(m_Document->GetSavedGameCount()) && m_Document->IsUsedSlot(slot))
        ++slot;
    PlayerProfile* profile = m_Document->GetSavedGameAt(slot);
    if (!profile) {
        AGReport("No saved game slot available");
        return nullptr;
    }
    if (KG::SavedGameManager* saves = Saves())
        saves->ReserveFreeSlot(name);
    // The same slot, also when the saved-game manager does not hold this document yet.
    profile->isUsed = true;
    profile->SavedGameName = name;
    profile->Appearance = appearance;
    // Writing the save applies the description back onto the live look.
    profile->AvatarDescription.Describe(appearance);
    profile->ThumbnailFilename = TString<char>("Thumbnail_") + WithoutExtension(appearance.Name) + ".png";
    return profile;
}

void PlayerProfileManager::PreloadDefaultLooks() {
    m_DefaultLooks.clear();
    const Settings defaults;
    const Settings& settings = m_Document ? m_Document->GetSettings() : defaults;
    for (const DefaultLook& look : settings.GetDefaultLooks()) {
        DefaultLookAppearance entry;
        KG::AppearanceManager::Instance()->LoadAvatarDescription(look.AppearanceFilename, entry.appearance);
        entry.thumbnail = look.ThumbnailFilename;
        m_DefaultLooks.push_back(entry);
    }
}

KG::Appearance PlayerProfileManager::GetDefaultLook(u32 index) const {
    if (index >= m_DefaultLooks.size()) {
        AGReport("There is no default look %u", index);
        return KG::Appearance();
    }
    return m_DefaultLooks[index].appearance;
}

Character* PlayerProfileManager::FindAvatarCharacter(const TString<char>& name) {
    m_AvatarName = name;
    GameServices::Entities::Set* level = Level();
    return level ? level->FindCharacter(name) : nullptr;
}

KG::Appearance* PlayerProfileManager::GetAvatarAppearance() {
    GameServices::Entities::Set* level = Level();
    Character* avatar = level ? level->FindCharacter(m_AvatarName) : nullptr;
    return avatar ? avatar->VolatileDatas.GetAppearance() : nullptr;
}

void PlayerProfileManager::ShowProfileOnAvatar(PlayerProfile* profile) {
    if (!profile) {
        AGReport("No profile to show on the avatar");
        return;
    }
    const KG::Appearance look = profile->Appearance;
    if (Character* avatar = FindAvatarCharacter(kAvatarName)) {
        if (Dress(*avatar, look)) {
            avatar->Initialize();
            avatar->SetVisible(true);
        }
    } else {
        AGReport("There is no character %s to show the profile on", kAvatarName);
    }
    ShowPlayerInfo(*profile);
}

void PlayerProfileManager::BuildCharacterFromProfile(i32 playerId, Character* character) {
    PlayerProfile* profile = GetProfile(playerId);
    if (!profile || !character)
        return;
    Dress(*character, profile->Appearance);
}

void PlayerProfileManager::GetUnlockedNames(bool anatomy, u32 category, i32 slot, std::vector<TString<char>>& names) {
    names.clear();
    PlayerProfile* profile = GetSlot(slot);
    if (!profile)
        return;
    if (category >= 4) {
        AGReport("Unlocked part category %u is out of range", category);
        return;
    }
    if (anatomy) {
        for (const KG::sAnatomyPart_KorvoCity& part : profile->UnlockedAnatomyParts.Parts[category])
            names.push_back(WithoutExtension(part.Name));
    } else {
        for (const KG::sOutFitPart_KorvoCity& part : profile->UnlockedOutfitParts.Parts[category])
            names.push_back(WithoutExtension(part.Name));
    }
}

void PlayerProfileManager::GetUnlockedAnatomyPartNames(u32 category, i32 slot, std::vector<TString<char>>& names) {
    GetUnlockedNames(true, category, slot, names);
}

void PlayerProfileManager::GetUnlockedOutfitPartNames(u32 category, i32 slot, std::vector<TString<char>>& names) {
    GetUnlockedNames(false, category, slot, names);
}

void PlayerProfileManager::OnDeviceConnected(GameServices::Bridge::DeviceInfos& infos) {
    KG::TeamRegistry* registry = Teams();
    GameServices::Entities::Team* team = registry && !registry->GetMembers().empty() ? registry->GetTeam() : nullptr;
    const i32 id = infos.m_DeviceId;
    if (!team || id < 0 || size_t(id) >= team->m_Members.size() || !team->m_Members[size_t(id)])
        return;
    BaseTeamMember* member = team->m_Members[size_t(id)];
    member->m_Active = 1;
    if (KG::TeamActionManager* teamActions = TeamActions())
        teamActions->SetMember(id, member);
    member->m_DeviceId = id;
}

void PlayerProfileManager::OnTeamMemberRemoved(BaseTeamMember* member) {
    if (!member)
        return;
    member->m_Active = 0;
    if (KG::TeamActionManager* teamActions = TeamActions())
        teamActions->DisconnectMember(member);
}

Settings* PlayerProfileManager::GetSettings() { return m_Document ? &m_Document->GetSettings() : nullptr; }

PlayerProfile* PlayerProfileManager::GetSlot(i32 slot) {
    PlayerProfile* profile = m_Document ? m_Document->GetSavedGameAt(slot) : nullptr;
    if (!profile)
        AGReport("There is no profile slot %d", slot);
    return profile;
}

i32 PlayerProfileManager::GetCurrentSlot() {
    if (!m_Document)
        return -1;
    const i32 current = m_Document->GetSettings().CurrentSavedGame;
    return m_Document->IsUsedSlot(current) ? current : -1;
}

std::vector<PlayerProfile*> PlayerProfileManager::GetLoadedProfiles() {
    std::vector<PlayerProfile*> profiles;
    for (i32 slot : m_LoadedSlots)
        if (PlayerProfile* profile = m_Document ? m_Document->GetSavedGameAt(slot) : nullptr)
            profiles.push_back(profile);
    return profiles;
}

i32 PlayerProfileManager::GetPlayerSlot(i32 playerId) const {
    auto it = m_Players.find(playerId);
    return it != m_Players.end() ? it->second : -1;
}

void PlayerProfileManager::AddIntegerAttributeName(const char* name) { AddAttribute(name ? name : ""); }

bool PlayerProfileManager::HasAttribute(const char* name) const {
    return CustomAttributeDecoratorManager::HasAttribute(TString<char>(name ? name : ""));
}

void PlayerProfileManager::GetAttributeValue(const char* name, int& value) const {
    if (m_Document && name)
        m_Document->GetSettings().GetAttribute<int>(name, value);
}

void PlayerProfileManager::SetAttributeValue(const char* name, int value) {
    if (!m_Document || !name) {
        AGReport("No profiles document to keep %s in", name ? name : "");
        return;
    }
    m_Document->GetSettings().SetAttribute<int>(name, value);
}

void PlayerProfileManager::WriteSavedGame() {
    ++m_WriteCount;
    if (KG::SavedGameManager* saves = Saves())
        if (saves->WriteSavedGame())
            m_SavedText = DocumentText();
}

bool PlayerProfileManager::HasUnsavedChanges() {
    KG::SavedGameManager* saves = Saves();
    if (!m_Loaded || !m_Document || !saves || !saves->IsSavingEnabled())
        return false;
    const std::string text = DocumentText();
    return text.empty() || text != m_SavedText;
}

void PlayerProfileManager::SaveUnsavedChanges() {
    if (HasUnsavedChanges())
        WriteSavedGame();
}

std::string PlayerProfileManager::DocumentText() {
    KG::SavedGameManager* saves = Saves();
    if (!m_Document || !saves || saves->GetSaveSize() <= KG::SavedGameManager::kHeaderSize)
        return {};
    std::string text(saves->GetSaveSize() - KG::SavedGameManager::kHeaderSize, '\0');
    u32 length = u32(text.size());
    GameServices::Utilities::XmlWriter writer;
    if (!writer.WriteText(*m_Document, text.data(), length))
        return {};
    text.resize(length);
    return text;
}

KG::SavedGameManager* PlayerProfileManager::Saves() const {
    if (m_Services.saves)
        return m_Services.saves;
    BaseGame* game = BaseGame::Current();
    return game ? game->GetSavedGameManager() : nullptr;
}

KG::TeamRegistry* PlayerProfileManager::Teams() const {
    if (m_Services.teams)
        return m_Services.teams;
    BaseGame* game = BaseGame::Current();
    return game ? game->GetTeamRegistry() : nullptr;
}

KG::TeamActionManager* PlayerProfileManager::TeamActions() const {
    if (m_Services.teamActions)
        return m_Services.teamActions;
    BaseGame* game = BaseGame::Current();
    return game ? game->GetTeamActionManager() : nullptr;
}

GameServices::Entities::Set* PlayerProfileManager::Level() const {
    if (m_Services.level)
        return m_Services.level;
    BaseGame* game = BaseGame::Current();
    return game ? game->GetCurrentLevel() : nullptr;
}

void PlayerProfileManager::ShowPlayerInfo(const PlayerProfile& profile) {
    CompositionManager::Instance().SetPlayerInfo(profile.SavedGameName, profile.Score, true);
}

namespace {

// The profile of the player, with the key checked against the declared names: an undeclared
// key is reported and still used. Null, reported once, without a profile.
PlayerProfile* AchievementProfile(i32 playerId, const TString<char>& name) {
    PlayerProfileManager* manager = PlayerProfileManager::Instance();
    PlayerProfile* profile = manager->GetProfile(playerId);
    if (profile && !manager->HasAttribute(name))
        AGReport("This achievement doesn't exist.");
    return profile;
}

}  // namespace

bool GetAchievementValue(i32 playerId, const TString<char>& name, int& value) {
    PlayerProfile* profile = AchievementProfile(playerId, name);
    return profile && GetAttributeValue(name, profile->IntAttributes, value);
}

void SetAchievementValue(i32 playerId, const TString<char>& name, int value) {
    if (PlayerProfile* profile = AchievementProfile(playerId, name))
        SetAttributeValue(profile->IntAttributes, name, value);
}

bool GetAchievementFlag(i32 playerId, const TString<char>& name, bool& value) {
    PlayerProfile* profile = AchievementProfile(playerId, name);
    return profile && GetAttributeValue(name, profile->BoolAttributes, value);
}

void SetAchievementFlag(i32 playerId, const TString<char>& name) {
    if (PlayerProfile* profile = AchievementProfile(playerId, name))
        SetAttributeValue(profile->BoolAttributes, name);
}

}  // namespace GameShow
