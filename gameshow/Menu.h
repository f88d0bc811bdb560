#pragma once
// The game mode of the menus ("GameShowMenu"): while its level is loaded the menu behaviours
// replace the game's, two menu characters are pooled and the composition manager updates
// every frame; once the level runs every connected player has the menu's cursor, and
// devices connecting or being lost move it. The first start of the menus also loads the
// wardrobe catalogues, the profiles, the default looks and the popups, once per run.
#include "engine/core/FDelegate.h"
#include "gameservices/bridge/IDeviceSystem.h"
#include "gameservices/minigame/BaseMiniGame.h"

namespace GameServices::Entities {
class BaseTeamMember;
}

namespace GameShow {

class CompositionManager;

class Menu : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "GameShowMenu";
    static constexpr const char* kBehaviorsFile = "GameShowBehaviors.xml";
    static constexpr const char* kCharacterKind = "MenuCharacter";
    static constexpr u32 kCharacterPool = 2;
    // The cursors' component level and its cursors by member number (every level holds both;
    // the menu uses the first).
    static constexpr const char* kCursorLevel = "PlayerCursors";
    static constexpr const char* kCursorNames[2] = {"PlayerCursor0", "PlayerCursor1"};
    static constexpr const char* kCursorName = kCursorNames[0];

    // The pages' manager is the game's unless given.
    explicit Menu(CompositionManager* manager = nullptr);
    ~Menu() override;

    // Menu characters, behaviours, the composition manager as a module, team actions off,
    // then the level file.
    void LoadLevel(bool reload) override;
    // The base start, one device, the cursors of the active players, the device listeners.
    void InitializeLevel() override;
    // The first start's loads, skipped once the profiles are loaded.
    void OnLevelStarted() override;
    // Undoes LoadLevel and InitializeLevel, then the base clean-up.
    void CleanupLevel() override;

    // The member and the level's "PlayerCursor0" take each other; the cursor is shown with
    // the level's active camera. A missing cursor is reported once per level start.
    void CreatePlayerCursor(GameServices::Entities::BaseTeamMember* member);
    // The member whose index is the device id gets the cursor; an id without a member is
    // ignored.
    void OnNewDevice(GameServices::Bridge::DeviceInfos& infos);
    // The member's cursor is reset and hidden.
    void OnMemberDisconnected(GameServices::Entities::BaseTeamMember* member);

    bool GetReload() const { return m_Reload; }

private:
    CompositionManager& Manager() const;
    // Once per level start for each kind of missing lookup.
    void ReportOnce(u32 bit, const char* message, const char* name);
    void RemoveDeviceListeners();

    CompositionManager* m_Manager;
    FDelegateParam<Menu, GameServices::Bridge::DeviceInfos&> m_NewDevice{this, &Menu::OnNewDevice};
    FDelegateParam<Menu, GameServices::Entities::BaseTeamMember*> m_MemberLost{this, &Menu::OnMemberDisconnected};
    bool m_Reload = false;
    u32 m_Reported = 0;
};

}  // namespace GameShow
