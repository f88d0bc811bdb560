// The program's context started headless on the sample data: the menus come up as a player
// meets them on a first start and with a saved profile, and the main menu owns the window's
// close button and focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/PCApplicationImpl.h"
#include "game/QZ2011GameContext.h"
#include "gameservices/entities/Character.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"
#include "gameservices/entities/Set.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "platform/window/TestWindowBackend.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/MatchHarness.h"
#include "tests/support/PopupPress.h"

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

bool PopupOpen(const char* name) {
    for (GameServices::Widget::Popup* popup : GameServices::Widget::ScreenManager::Instance().GetOpenPopups())
        if (popup->Name == name)
            return true;
    return false;
}

void Deliver(PCApplicationImpl& application) {
    platform::window::Message message;
    while (application.GetWindow()->PollMessage(message))
        application.DispatchMessage(message);
}

}  // namespace

TEST(MenuStart, AFirstStartShowsTheLookPageAndASavedProfileTheMainMenu) {
    const struct {
        bool savedProfile;
        const char* shown;
        const char* hidden;
    } cases[] = {{false, "compositionBasicLook", "compositionMainMenu"},
                 {true, "compositionMainMenu", "compositionBasicLook"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.savedProfile ? "saved profile" : "first start");
        GraphicsStartup graphics;
        match::MatchHarness harness;
        if (c.savedProfile)
            harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0, false);
        ASSERT_TRUE(harness.Start(7)) << harness.Failure();
        ASSERT_TRUE(ReachMenus(harness));
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        EXPECT_TRUE(profiles->IsLoaded());
        EXPECT_EQ(profiles->GetCurrentSlot(), c.savedProfile ? 0 : -1);
        EXPECT_TRUE(PageShown(c.shown));
        EXPECT_FALSE(PageShown(c.hidden));
        GameServices::Entities::Character* avatar = profiles->FindAvatarCharacter("MenuAvatar");
        ASSERT_NE(avatar, nullptr);
        EXPECT_TRUE(avatar->Visible);
        EXPECT_EQ(MissingThings(harness), std::vector<std::string>());

    }
}

TEST(MenuStart, TheWindowClosesOnlyAfterTheQuitPromptIsConfirmed) {
    for (bool savedProfile : {true, false}) {
        SCOPED_TRACE(savedProfile ? "main menu" : "first-start look page");
        GraphicsStartup graphics;
        match::MatchHarness harness;
        if (savedProfile)
            harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0, false);
        ASSERT_TRUE(harness.Start(7)) << harness.Failure();
        PCApplicationImpl& application = *harness.Application();
        harness.Context().GetMainMenuPage().SetApplication(&application);
        ASSERT_TRUE(ReachMenus(harness));
        auto request = [&] {
            platform::window::Message close;
            close.kind = platform::window::MessageKind::CloseRequest;
            application.DispatchMessage(close);
        };
        // Asked and cancelled: the window stays and may be asked again.
        request();
        EXPECT_TRUE(application.HasWindow());
        EXPECT_TRUE(PopupOpen("VerifyQuit"));
        PressPopupButton("VerifyQuit", "Cancel");
        Deliver(application);
        EXPECT_TRUE(application.HasWindow());
        EXPECT_FALSE(harness.Context().GetMainMenuPage().IsQuitPromptShown());
        // Focus: lost pauses, regained resumes.
        for (auto kind : {platform::window::MessageKind::Deactivate, platform::window::MessageKind::Activate}) {
            platform::window::Message message;
            message.kind = kind;
            application.DispatchMessage(message);
            EXPECT_EQ(harness.Context().IsPaused(), kind == platform::window::MessageKind::Deactivate);
        }
        request();
        EXPECT_TRUE(application.HasWindow());
        PressPopupButton("VerifyQuit", "Confirm");
        Deliver(application);
        EXPECT_FALSE(application.HasWindow());
        // The click of "Cancel" found its sound.
        harness.Step(16);
        GameServices::Entities::Set* menus = harness.Context().GetMenuMode().GetSet();
        ASSERT_NE(menus, nullptr);
        EXPECT_NE(menus->FindAudioAsset(GameShow::AudioManager::kButtonPressSound), nullptr);
        EXPECT_EQ(MissingThings(harness), std::vector<std::string>());
    }
}

TEST(MenuStart, TheContextReadsTheAwardsWithTheProfilesAndGrantsThemAgainOnSelection) {
    for (bool savedProfile : {false, true}) {
        SCOPED_TRACE(savedProfile ? "saved profile" : "first start");
        GraphicsStartup graphics;
        match::MatchHarness harness;
        if (savedProfile)
            harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0, false);
        ASSERT_TRUE(harness.Start(7)) << harness.Failure();
        ASSERT_TRUE(ReachMenus(harness));
        QZ2011GameContext& context = harness.Context();
        GameShow::AwardsComposition& awards = context.GetAwardsPage();
        EXPECT_EQ(awards.GetAwardList().MetaAwards.size(), 5u);
        context.NotifyAwardUnlocked("70s Pro", true);
        EXPECT_STREQ(context.GetUnlockedAwardName().c_str(), "70s Pro");
        EXPECT_EQ(awards.GetUnlockedCount(), 1u);
        if (!savedProfile)
            continue;
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
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
