#include <gtest/gtest.h>

#include "gameservices/entities/Team.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameshow/Menu.h"
#include "tests/gameshow/PageTestSetup.h"
#include "tests/support/PopupPress.h"

using namespace GameShow;
using GameServices::Entities::BaseTeamMember;
using GameServices::Widget::Popup;

namespace {

const char* const kLayouts[] = {"gameshowpopupmenu.xaml", "gameshowpopupprompt.xaml", "gameshowpopupnotice.xaml",
                                "gameshowpopupwait.xaml"};

// The sample game-show popups in a game folder, a screen manager of its own and the players'
// team with four members, the first three connected.
class InGameMenu : public ::testing::Test {
protected:
    InGameMenu() {
        GameServices::Bridge::FileSystem::Destroy();
        GameServices::Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
        pagetest::CopySample(dir, "-xml/global/gameshowpopups.xml", "global/gameshowpopups.xml");
        for (const char* layout : kLayouts)
            pagetest::CopySample(dir, std::string("-xml/screen/") + layout, std::string("screens/") + layout);
        screens.LoadPopups();
        auto* team = new GameServices::Entities::Team;
        registry.AddTeam(team, GameServices::KorvoGame::TeamRegistry::kPlayersTeamId);
        for (int i = 0; i < 4; ++i) {
            auto* member = new BaseTeamMember;
            member->m_Active = i < 3;
            registry.AddMember(member);
            team->m_Members.push_back(member);
            members.push_back(member);
        }
        manager.SetTeamRegistry(&registry);
        manager.ReturnToMainMenuConfirmed.AddDelegate(&counters[0].delegate);
        manager.ProfileDeleteConfirmed.AddDelegate(&counters[1].delegate);
        manager.QuitConfirmed.AddDelegate(&counters[2].delegate);
        manager.QuitCancelled.AddDelegate(&counters[3].delegate);
        visibility.journal = &journal;
        manager.PopupVisibilityChanged.AddDelegate(&visibility);
        log.Clear();
    }
    ~InGameMenu() override { GameServices::Bridge::FileSystem::Destroy(); }

    struct Counter {
        void Hit() { journal->push_back(name); }
        const char* name;
        std::vector<std::string>* journal;
        FDelegate<Counter> delegate{this, &Counter::Hit};
    };
    struct Visibility : IDelegateParam<bool> {
        void Invoke(bool shown) override { journal->push_back(shown ? "shown" : "hidden"); }
        std::vector<std::string>* journal;
    };
    std::string Open() const {
        std::string names;
        for (Popup* popup : screens.GetOpenPopups())
            names += std::string(popup->Name.c_str()) + " ";
        return names;
    }
    std::string Locks() const {
        std::string flags;
        for (const BaseTeamMember* member : members)
            flags += member->m_Locked ? 'L' : '-';
        return flags;
    }
    // Journal entries since the last call, and the button sounds played (each is reported,
    // no level runs).
    std::string Take() {
        std::string text;
        for (const std::string& entry : journal)
            text += entry + " ";
        journal.clear();
        for (size_t n = pagetest::Count(log, AudioManager::kButtonPressSound); n > 0; --n)
            text += "sound ";
        log.Clear();
        return text;
    }

    TempDir dir;
    LogCapture log;
    GameServices::Widget::ScreenManager screens;
    GameServices::KorvoGame::TeamRegistry registry;
    std::vector<BaseTeamMember*> members;
    std::vector<std::string> journal;
    Counter counters[4] = {
        {"return", &journal}, {"delete", &journal}, {"quit", &journal}, {"quit-cancel", &journal}};
    Visibility visibility;
    CompositionManager manager{&screens};
};

}  // namespace

TEST_F(InGameMenu, ToggleReturnPromptAndButtonsFollowTheirStates) {
    manager.ToggleInGameMenu();  // inert until the popups are loaded
    EXPECT_TRUE(manager.m_PopupState == CompositionManager::kPopupNotReady && manager.m_ToggleGate == -1);
    EXPECT_EQ(Open() + Take(), "");
    manager.LoadPopups();
    EXPECT_TRUE(log.Lines().empty());
    for (size_t i = 0; i < members.size(); ++i)
        members[i]->m_Locked = i % 2 == 0;  // "L-L-"
    struct Step {
        const char* popup;   // null: the menu key
        const char* button;
        i32 state;
        const char* open;
        const char* events;
        const char* locks;
    } steps[] = {
        {nullptr, nullptr, 0, "InGameMenu ", "shown ", "-LL-"},
        {nullptr, nullptr, 2, "", "hidden ", "L-L-"},
        {nullptr, nullptr, 0, "InGameMenu ", "shown ", "-LL-"},
        {"InGameMenu", "ReturnMainMenu", 1, "InGameReturnPrompt ", "sound ", "-LL-"},
        // The toggle closes the prompt and gives the cursors back without confirming.
        {nullptr, nullptr, 2, "", "hidden ", "L-L-"},
        {nullptr, nullptr, 0, "InGameMenu ", "shown ", "-LL-"},
        {"InGameMenu", "ReturnMainMenu", 1, "InGameReturnPrompt ", "sound ", "-LL-"},
        {"InGameReturnPrompt", "Cancel", 0, "InGameMenu ", "sound ", "-LL-"},
        {"InGameMenu", "ResumeGame", 2, "", "hidden sound ", "L-L-"},
        {nullptr, nullptr, 0, "InGameMenu ", "shown ", "-LL-"},
        {"InGameMenu", "ReturnMainMenu", 1, "InGameReturnPrompt ", "sound ", "-LL-"},
        {"InGameReturnPrompt", "Confirm", 2, "", "return sound ", "L-L-"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(&step - steps);
        if (step.popup)
            PressPopupButton(screens, step.popup, step.button);
        else
            manager.ToggleInGameMenu();
        EXPECT_EQ(manager.m_PopupState, step.state);
        EXPECT_EQ(Open(), step.open);
        EXPECT_EQ(Take(), step.events);
        EXPECT_EQ(Locks(), step.locks);
    }
    EXPECT_EQ(manager.m_ToggleGate, 0);
}

// A new device of a player asks the menu level for that player's cursor; a level without the
// cursors, or without the cursor, is reported once each.
TEST_F(InGameMenu, ANewDeviceOfAPlayerTakesTheMenuCursor) {
    struct CursorMenu : Menu {
        using Menu::Menu;
        using Menu::m_Set;
    };
    GameServices::Entities::Set level{Menu::kLevelName};
    GameServices::Entities::ComponentLevel cursors{Menu::kCursorLevel};
    level.m_ComponentLevels.push_back(&cursors);
    GameServices::MiniGame::BaseGame game;
    auto* team = new GameServices::Entities::Team;
    auto* member = new BaseTeamMember;
    game.GetTeamRegistry()->AddTeam(team, GameServices::KorvoGame::TeamRegistry::kPlayersTeamId);
    game.GetTeamRegistry()->AddMember(member);
    team->m_Members.push_back(member);
    CursorMenu menu(&manager);
    log.Clear();
    for (bool withCursors : {false, false, true, true}) {
        menu.m_Set = withCursors ? &level : nullptr;
        for (i32 device : {1, 0}) {
            GameServices::Bridge::DeviceInfos infos{device, nullptr};
            menu.OnNewDevice(infos);
        }
    }
    EXPECT_EQ(pagetest::Count(log, "has no component level") + pagetest::Count(log, "has no player cursor"), 2u);
    EXPECT_TRUE(log.Contains("has no player cursor"));
    GameServices::KorvoGame::CollisionCursor cursor{Menu::kCursorName};
    cursors.m_Props.push_back(&cursor);
    GameServices::Bridge::DeviceInfos first{0, nullptr};
    menu.OnNewDevice(first);
    EXPECT_TRUE(member->m_Entity == &cursor && cursor.GetMember() == member && cursor.Visible);
    cursor.Reset();

    // Loading the level preloads the looks' parts; the clean-up undoes the load.
    menu.m_Set = nullptr;
    menu.LoadLevel(false);
    EXPECT_TRUE(GameServices::KorvoGame::CharacterAssemblyManager::Instance()->IsPreloaded());
    menu.CleanupLevel();
    GameServices::KorvoGame::CharacterAssemblyManager::Destroy();
}
