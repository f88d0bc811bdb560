// The program's context started headless on the sample data (with the program's graphics
// start-up, as the avatar's animations need): the menus as a player meets them on a first start
// and with a saved profile.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "game/QZ2011GameContext.h"
#include "gameservices/entities/Character.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/MatchHarness.h"

namespace {

using GameShow::CompositionManager;
using match::RecordEntry;

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

}  // namespace

// A first start shows the look page, a saved profile the main menu; the context reads the awards
// with the profiles and grants them again on a profile's selection.
TEST(MenuStart, AFirstStartShowsTheLookPageAndASavedProfileTheMainMenuAndItsAwards) {
    for (bool savedProfile : {false, true}) {
        GraphicsStartup graphics;
        match::MatchHarness harness;
        if (savedProfile)
            harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0, false);
        ASSERT_TRUE(harness.Start(7)) << harness.Failure();
        ASSERT_TRUE(ReachMenus(harness));
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        EXPECT_EQ(std::tuple(profiles->GetCurrentSlot(), PageShown("compositionMainMenu"),
                             PageShown("compositionBasicLook")),
                  std::tuple(savedProfile ? 0 : -1, savedProfile, !savedProfile));
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
