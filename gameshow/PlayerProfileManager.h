#pragma once
// The game's entry to player profiles: owns the profiles document, loads it once, keeps the
// used profiles, maps player ids to profile slots, creates, selects and deletes profiles,
// keeps the default looks, dresses characters from profiles and binds connecting devices to
// team members. Its declared names are the game's attribute-name registry. It is also the
// question bank's player settings (the settings' integer attributes) and save writer.
//
// Profiles are addressed by slot index everywhere (a profile's Id equals its slot); a slot
// outside the document, or -1, is reported and nothing is read or written for it.
#include <map>
#include <string>
#include <vector>

#include "engine/core/FDelegate.h"
#include "engine/core/FHandler.h"
#include "gameservices/bridge/IDeviceSystem.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/SavedFile.h"
#include "questions/QuestionServices.h"

namespace GameServices::Entities {
class BaseTeamMember;
class Character;
class Set;
}  // namespace GameServices::Entities

namespace GameServices::KorvoGame {
class SavedGameManager;
class TeamActionManager;
class TeamRegistry;
}  // namespace GameServices::KorvoGame

namespace GameShow {

class PlayerProfileManager : public CustomAttributeDecoratorManager,
                             public QZ2011::IPlayerSettings,
                             public QZ2011::ISavedGameWriter {
public:
    using Document = GameServices::KorvoGame::SavedFile<PlayerProfile, Settings>;

    // The game services the manager works through. A null entry means the running game's.
    struct Services {
        GameServices::KorvoGame::SavedGameManager* saves = nullptr;
        GameServices::KorvoGame::TeamRegistry* teams = nullptr;
        GameServices::KorvoGame::TeamActionManager* teamActions = nullptr;
        GameServices::Entities::Set* level = nullptr;
    };

    // The default-look appearances, in the settings' order.
    struct DefaultLookAppearance {
        GameServices::KorvoGame::Appearance appearance;
        TString<char> thumbnail;
    };

    static constexpr const char* kAvatarName = "MenuAvatar";

    // The single manager, built on first use.
    static PlayerProfileManager* Instance();
    // Deletes the manager (game end, tests); the next Instance() builds a fresh one.
    static void Destroy();

    PlayerProfileManager();
    ~PlayerProfileManager() override;
    PlayerProfileManager(const PlayerProfileManager&) = delete;
    PlayerProfileManager& operator=(const PlayerProfileManager&) = delete;

    // Builds the document when missing and follows the global device-connected and
    // member-lost events. Called once by the game context's initialization.
    void Initialize();
    // 0, 1, ..., NbProfiles - 1, then 0 again.
    i32 NextProfileId();
    // Loads the save into the document for NbProfiles slots (a missing save is rebuilt and
    // written; a corrupt one is put to the player and leaves no slot); on success the used
    // slots become the loaded profiles and player 0 plays the current slot, on failure there
    // is no current slot. Then loaded, and the profiles-loaded event.
    void LoadProfiles();
    // Appends a profile of the document to the loaded profiles while fewer than NbProfiles.
    void AddLoadedProfile(PlayerProfile* profile);
    // The profile the player plays with; null, reported, when none.
    PlayerProfile* GetProfile(i32 playerId);
    // The slot becomes current, player 0 plays it, the save is written, then the
    // profile-selected event.
    void SelectProfile(i32 slot);
    // The slot is marked unused and its loaded profile cleared and dropped; written twice.
    void DeleteProfile(i32 id);
    // The first free slot, named, with the look as its live appearance and description and
    // "Thumbnail_<look name without extension>.png"; null, reported, without a free slot.
    PlayerProfile* CreateProfile(const GameServices::KorvoGame::Appearance& appearance, const TString<char>& name);
    // Reads the appearance of every default look of the settings.
    void PreloadDefaultLooks();
    // A copy of the default look's appearance; an empty one, reported, for an index out of
    // range.
    GameServices::KorvoGame::Appearance GetDefaultLook(u32 index) const;
    // Remembers the name as the avatar's and finds that character in the current level.
    GameServices::Entities::Character* FindAvatarCharacter(const TString<char>& name);
    // The look held by the avatar character; null without one.
    GameServices::KorvoGame::Appearance* GetAvatarAppearance();
    // Dresses the menu avatar in the profile's look (reported and skipped without a menu
    // avatar), then shows the profile's name.
    void ShowProfileOnAvatar(PlayerProfile* profile);
    // Dresses the character in the look of the player's profile.
    void BuildCharacterFromProfile(i32 playerId, GameServices::Entities::Character* character);
    // The names (without extension) of the unlocked parts of one category (0 to 3) of the
    // profile in a slot, in list order.
    void GetUnlockedAnatomyPartNames(u32 category, i32 slot, std::vector<TString<char>>& names);
    void GetUnlockedOutfitPartNames(u32 category, i32 slot, std::vector<TString<char>>& names);
    // The team member whose index is the device id takes that device; an id with no member is
    // ignored.
    void OnDeviceConnected(GameServices::Bridge::DeviceInfos& infos);
    // The member goes inactive and its device slot is freed.
    void OnTeamMemberRemoved(GameServices::Entities::BaseTeamMember* member);

    FHandler& GetProfilesLoadedEvent() { return m_ProfilesLoaded; }
    FHandler& GetProfileSelectedEvent() { return m_ProfileSelected; }

    // The document (null before Initialize) and its parts.
    Document* GetSavedFile() { return m_Document; }
    // Null before Initialize.
    Settings* GetSettings();
    // The profile of a document slot; null, reported, outside the document.
    PlayerProfile* GetSlot(i32 slot);
    // The current slot when it names a used slot of the document, else -1.
    i32 GetCurrentSlot();
    std::vector<PlayerProfile*> GetLoadedProfiles();
    // The slot a player plays; -1 when none.
    i32 GetPlayerSlot(i32 playerId) const;
    // Empties the player map; then a player plays a slot (a slot outside the document is
    // reported and not mapped).
    void ClearPlayers() { m_Players.clear(); }
    void AssignPlayer(i32 playerId, i32 slot);
    // The number of profile slots ("Game", "NbProfiles").
    static i32 GetProfileCount();

    bool IsLoaded() const { return m_Loaded; }
    bool IsProfileChosen() const { return m_ProfileChosen; }
    const TString<char>& GetAvatarName() const { return m_AvatarName; }
    u32 GetPlayerCount() const { return m_PlayerCount; }
    void SetPlayerCount(u32 count) { m_PlayerCount = count; }
    const std::vector<DefaultLookAppearance>& GetDefaultLookAppearances() const { return m_DefaultLooks; }
    // The document version the saved-game manager expects (1 unless set).
    void SetVersion(u32 version) { m_Version = version; }
    u32 GetVersion() const { return m_Version; }
    void SetServices(const Services& services) { m_Services = services; }
    // How many writes of the save the manager has asked for.
    u32 GetWriteCount() const { return m_WriteCount; }

    // The registry.
    using CustomAttributeDecoratorManager::HasAttribute;

    // QZ2011::IPlayerSettings: names are declared in the registry; values are the settings'
    // integer attributes.
    void AddIntegerAttributeName(const char* name) override;
    bool HasAttribute(const char* name) const override;
    void GetAttributeValue(const char* name, int& value) const override;
    void SetAttributeValue(const char* name, int value) override;
    // QZ2011::ISavedGameWriter: writes the save through the saved-game manager.
    void WriteSavedGame() override;
    // Whether the profiles document holds something the save file does not: it differs from
    // the document last loaded or written (false before the profiles are loaded and while
    // saving is off).
    bool HasUnsavedChanges();
    // Writes the save when the document holds something unsaved.
    void SaveUnsavedChanges();

private:
    GameServices::KorvoGame::SavedGameManager* Saves() const;
    GameServices::KorvoGame::TeamRegistry* Teams() const;
    GameServices::KorvoGame::TeamActionManager* TeamActions() const;
    GameServices::Entities::Set* Level() const;
    void ShowPlayerInfo(const PlayerProfile& profile);
    void GetUnlockedNames(bool anatomy, u32 category, i32 slot, std::vector<TString<char>>& names);
    // The document as the save file would hold its text; empty when it cannot be printed.
    std::string DocumentText();

    // Player id -> slot.
    std::map<i32, i32> m_Players;
    Document* m_Document = nullptr;
    u32 m_Version = 1;
    std::vector<DefaultLookAppearance> m_DefaultLooks;
    i32 m_Counter = -1;
    // Slots of the loaded profiles.
    std::vector<i32> m_LoadedSlots;
    bool m_Loaded = false;
    FHandler m_ProfilesLoaded;
    FHandler m_ProfileSelected;
    FDelegateParam<PlayerProfileManager, GameServices::Bridge::DeviceInfos&> m_DeviceDelegate{
        this, &PlayerProfileManager::OnDeviceConnected};
    FDelegateParam<PlayerProfileManager, GameServices::Entities::BaseTeamMember*> m_MemberDelegate{
        this, &PlayerProfileManager::OnTeamMemberRemoved};
    bool m_Subscribed = false;
    TString<char> m_AvatarName = kAvatarName;
    bool m_ProfileChosen = false;
    u32 m_PlayerCount = 0;
    u32 m_WriteCount = 0;
    // The document's text as last loaded from or written to the save file.
    std::string m_SavedText;
    Services m_Services;
};

// The achievements of a player's profile: counters in its integer attributes, flags in its
// boolean ones. A key missing from the declared names reports "This achievement doesn't
// exist." and is read or written all the same. Without a profile for the player nothing is
// read or written (reported). The getters leave the value untouched and give false when the
// key is absent.
bool GetAchievementValue(i32 playerId, const TString<char>& name, int& value);
void SetAchievementValue(i32 playerId, const TString<char>& name, int value);
bool GetAchievementFlag(i32 playerId, const TString<char>& name, bool& value);
// Flags are only ever set.
void SetAchievementFlag(i32 playerId, const TString<char>& name);

}  // namespace GameShow
