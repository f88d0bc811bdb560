// The program's context started headless on the sample data (with the program's graphics
// start-up, as the avatar's animations need): the menus as a player meets them on a first start
// and with a saved profile, and what entering, leaving and entering the menus again loads, makes
// and leaves behind; the cursors and devices; the music's start.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/FDelegate.h"
#include "game/QZ2011GameContext.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/EntityFactory.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/MatchHarness.h"

namespace {

using GameServices::Entities::BaseTeamMember;
using GameShow::CompositionManager;
using match::RecordEntry;
namespace KG = GameServices::KorvoGame;

// Steps until the menu screen has shown itself and no page switch runs.
bool ReachMenus(match::MatchHarness& harness) {
    GameShow::MenuScreen& screen = harness.Context().GetMenuScreen();
    CompositionManager& pages = CompositionManager::Instance();
    for (int frame = 0; frame < 600; ++frame) {
        harness.Step(16);
        if (screen.IsLoaded() && !screen.IsFirstShowPending() && !pages.GetEnteringComposition() &&
            !pages.GetLeavingComposition())
            return true;
    }
    return false;
}

bool PageShown(const char* name) {
    GameShow::CompositionBase* page = CompositionManager::Instance().FindComposition(name);
    return page && page->GetRootPanel() && page->GetRootPanel()->Visible;
}

// Log lines telling of a file or a widget that is not there.
std::vector<std::string> MissingThings(const match::MatchHarness& harness) {
    std::vector<std::string> missing;
    for (const std::string& line : harness.Lines({RecordEntry::Kind::Log}))
        for (const char* sign : {"can not find", "not found", "Can not read", "cannot", "Cannot", "missing", "Missing",
                                 "No such", "can not read", "no character", "no component", "no player cursor", "Failed to load",
                                 "Can't find", "Can not listen", "Invalid", "neither", "doesn't exist"})
            if (line.find(sign) != std::string::npos) {
                missing.push_back(line);
                break;
            }
    return missing;
}

struct Counter {
    void Hit() { ++count; }
    int count = 0;
    FDelegate<Counter> delegate{this, &Counter::Hit};
};

bool ManagerIsAModule(QZ2011GameContext& context) {
    const auto& modules = context.GetModules();
    return std::find(modules.begin(), modules.end(), &CompositionManager::Instance()) != modules.end();
}

u32 MenuCharactersInUse() {
    auto* pool = GameServices::Entities::GameEntityFactory::Instance()->GetFactory(GameShow::Menu::kCharacterKind);
    return pool ? pool->GetUsedCount() : 99;
}

struct Listeners {
    size_t frame, device, lost;
    bool operator==(const Listeners&) const = default;
};

Listeners Count(QZ2011GameContext& context) {
    return {context.GetGameFlowManager()->GetFrameEvent().Count(),
            KG::TeamActionManager::GetFreeDeviceConnectedEvent().Count(),
            KG::TeamActionManager::GetMemberDeviceLostEvent().Count()};
}

size_t LinesWith(const match::MatchHarness& harness, const std::string& text) {
    size_t n = 0;
    for (const std::string& line : harness.Lines({match::RecordEntry::Kind::Log}))
        n += line.find(text) != std::string::npos;
    return n;
}

}  // namespace

// A first start shows the look page, a saved profile the main menu; the context reads the awards
// with the profiles and grants them again on a profile's selection.
TEST(MenuStart, AFirstStartShowsTheLookPageAndASavedProfileTheMainMenuAndItsAwards) {
    for (bool savedProfile : {false, true}) {
        SCOPED_TRACE(savedProfile ? "saved profile" : "first start");
        GraphicsStartup graphics;
        match::MatchHarness harness;
        if (savedProfile)
            harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0, false);
        ASSERT_TRUE(harness.Start(7)) << harness.Failure();
        ASSERT_TRUE(ReachMenus(harness));
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        EXPECT_TRUE(profiles->IsLoaded());
        EXPECT_EQ(profiles->GetCurrentSlot(), savedProfile ? 0 : -1);
        EXPECT_EQ(PageShown("compositionMainMenu"), savedProfile);
        EXPECT_EQ(PageShown("compositionBasicLook"), !savedProfile);
        GameServices::Entities::Character* avatar = profiles->FindAvatarCharacter("MenuAvatar");
        ASSERT_NE(avatar, nullptr);
        EXPECT_TRUE(avatar->Visible);
        EXPECT_EQ(MissingThings(harness), std::vector<std::string>());

        QZ2011GameContext& context = harness.Context();
        GameShow::AwardsComposition& awards = context.GetAwardsPage();
        EXPECT_EQ(awards.GetAwardList().MetaAwards.size(), 5u);
        context.NotifyAwardUnlocked("70s Pro", true);
        EXPECT_STREQ(context.GetUnlockedAwardName().c_str(), "70s Pro");
        EXPECT_EQ(awards.GetUnlockedCount(), 1u);
        if (!savedProfile)
            continue;
        profiles->SelectProfile(0);
        EXPECT_EQ(awards.GetUnlockedCount(), 0u);
        // A profile change grants again what player 0's profile has earned, as not new.
        profiles->AssignPlayer(0, 0);
        GameShow::SetAchievementFlag(0, "unlockWin25Matches70");
        context.m_UnlockedAwardName = "";
        profiles->SelectProfile(0);
        EXPECT_EQ(awards.GetUnlockedCount(), 1u);
        EXPECT_STREQ(context.GetUnlockedAwardName().c_str(), "70s Pro");
    }
}

// The music starts with the menu screen's first processing after each layout load.
TEST(MenuMode, TheFirstStartLoadsOnceAndEveryEntryRemakesOnlyTheLevelsOwnParts) {
    GraphicsStartup graphics;
    match::MatchHarness harness;
    ASSERT_TRUE(harness.Start(3)) << harness.Failure();
    QZ2011GameContext& context = harness.Context();
    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    Counter loads;
    profiles->GetProfilesLoadedEvent().AddDelegate(&loads.delegate);
    EXPECT_FALSE(ManagerIsAModule(context));

    GameShow::MenuScreen& screen = context.GetMenuScreen();
    int loadedAt = -1, musicAt = -1;
    for (int frame = 0; frame < 600 && musicAt < 0; ++frame) {
        harness.Step(16);
        GameServices::Entities::Set* set = context.GetMenuMode().GetSet();
        loadedAt = loadedAt < 0 && screen.IsLoaded() ? frame : loadedAt;
        musicAt = set && set->FindAudioAsset(GameShow::AudioManager::kMenuMusic) ? frame : -1;
    }
    // The screen loads in the frame's screen step; its first processing later in that frame
    // starts the music, and no frame before had any.
    ASSERT_GE(loadedAt, 0);
    EXPECT_EQ(musicAt, loadedAt);
    ASSERT_TRUE(ReachMenus(harness));
    EXPECT_EQ(loads.count, 1);
    EXPECT_EQ(CompositionManager::Instance().m_PopupState, CompositionManager::kPopupNone);
    EXPECT_TRUE(ManagerIsAModule(context));
    EXPECT_EQ(MenuCharactersInUse(), 1u) << "the avatar, out of a pool of two";
    const Listeners inMenus = Count(context);

    ASSERT_TRUE(harness.LeaveLevel()) << harness.Failure();
    EXPECT_FALSE(ManagerIsAModule(context));
    EXPECT_EQ(MenuCharactersInUse(), 0u);
    // The menu mode's listeners and the main-menu page's go with the menus.
    EXPECT_EQ(KG::TeamActionManager::GetFreeDeviceConnectedEvent().Count(), inMenus.device - 2);
    EXPECT_EQ(KG::TeamActionManager::GetMemberDeviceLostEvent().Count(), inMenus.lost - 2);

    // Back to the menus: the once-only loads stay done, and the menus take one device again.
    CompositionManager::Instance().m_PopupState = CompositionManager::kPopupMenu;
    KG::DeviceManager* devices = context.GetDeviceManager();
    ASSERT_NE(devices, nullptr);
    devices->SetDeviceRange(2, 2);
    ASSERT_TRUE(context.GetGameFlowManager()->SetNextLevel(GameShow::Menu::kLevelName, nullptr, true));
    ASSERT_TRUE(ReachMenus(harness));
    EXPECT_EQ(loads.count, 1);
    EXPECT_EQ(CompositionManager::Instance().m_PopupState, CompositionManager::kPopupMenu);
    EXPECT_TRUE(ManagerIsAModule(context));
    EXPECT_EQ(MenuCharactersInUse(), 1u);
    EXPECT_EQ(Count(context), inMenus);
    EXPECT_EQ(devices->GetMinimum() * 10 + devices->GetMaximum(), 11u);
    CompositionManager::Instance().m_PopupState = CompositionManager::kPopupNone;
    profiles->GetProfilesLoadedEvent().RemoveDelegate(&loads.delegate);
    // Loaded again, the screen waits for its next processing to start the music again.
    screen.onUnload();
    screen.onLoad();
    EXPECT_TRUE(screen.IsFirstShowPending());
    harness.Step(16);
    EXPECT_FALSE(screen.IsFirstShowPending());
}

TEST(MenuMode, CursorsFollowMembersAndDevicesAndMissingOnesAreReportedOnce) {
    GraphicsStartup graphics;
    match::MatchHarness harness;
    ASSERT_TRUE(harness.Start(3)) << harness.Failure();
    QZ2011GameContext& context = harness.Context();
    const std::vector<BaseTeamMember*> members = context.GetTeamRegistry()->GetTeam()->m_Members;
    ASSERT_EQ(members.size(), 2u);
    members[0]->m_Active = 1;
    members[1]->m_Active = 0;
    ASSERT_TRUE(ReachMenus(harness));
    GameShow::Menu& menu = context.GetMenuMode();
    GameServices::Entities::ComponentLevel* cursors = menu.GetSet()->FindComponentLevel("PlayerCursors");
    auto* cursor = dynamic_cast<KG::CollisionCursor*>(cursors ? cursors->FindProp("PlayerCursor0") : nullptr);
    ASSERT_NE(cursor, nullptr);
    // The active member only.
    EXPECT_EQ(members[0]->m_Entity, cursor);
    EXPECT_EQ(members[1]->m_Entity, nullptr);
    EXPECT_EQ(cursor->GetMember(), members[0]);
    EXPECT_TRUE(cursor->Visible);

    // A lost device hides the cursor; a device of a member's index brings it back; ids without
    // a member change nothing.
    menu.OnMemberDisconnected(members[0]);
    EXPECT_FALSE(cursor->Visible);
    for (int id : {-1, 2, 99}) {
        GameServices::Bridge::DeviceInfos infos;
        infos.m_DeviceId = id;
        menu.OnNewDevice(infos);
    }
    EXPECT_FALSE(cursor->Visible);
    EXPECT_EQ(members[1]->m_Entity, nullptr);
    GameServices::Bridge::DeviceInfos second;
    second.m_DeviceId = 1;
    menu.OnNewDevice(second);
    EXPECT_TRUE(cursor->Visible);
    EXPECT_EQ(cursor->GetMember(), members[1]);
    EXPECT_EQ(members[1]->m_Entity, cursor);

    // Without the menu level there is no cursor to give or hide: each is said once.
    ASSERT_TRUE(harness.LeaveLevel()) << harness.Failure();
    const size_t before = LinesWith(harness, "PlayerCursors");
    for (int i = 0; i < 3; ++i) {
        menu.CreatePlayerCursor(members[0]);
        menu.OnMemberDisconnected(members[0]);
        menu.OnMemberDisconnected(nullptr);
    }
    harness.Step(16);
    EXPECT_EQ(LinesWith(harness, "PlayerCursors") - before, 2u);
}
