#include "gameshow/CompositionManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "gameservices/widget/Screen.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionBase.h"
#include "gameshow/MenuScreen.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/TrackWriter.h"

using namespace GameShow;
using GameServices::Widget::Label;
using GameServices::Widget::Panel;
using GameServices::Widget::Widget;

namespace {

// A page that counts its initializations and the time it is updated for.
class TestPage : public CompositionBase {
public:
    void Initialize(Panel* screenPanel, const TString<char>& name) override {
        ++initialized;
        found = FindRootPanel(screenPanel, name);
    }
    void Update(u32 elapsedMs) override { updated += elapsedMs; }

    u32 initialized = 0;
    u32 updated = 0;
    bool found = false;
};

const char* const kPages[] = {"compositionMainMenu", "compositionOptions", "compositionAwards"};

// The menu screen with a root panel per page (at distinct positions) and the shared widgets;
// the slide lasts 10 frames at 100 frames a second when `withSlide`.
class PageSwitch : public ::testing::Test {
protected:
    explicit PageSwitch(bool withSlide = true) {
        if (withSlide) {
            using authoring::Track;
            package.Writer().Add(CompositionBase::kSlideAnimation, TypeKey::PrscAnimation,
                                 authoring::PrscAnimationBytes(10, 100, Track::Vec2().Key(0, {-800, 0}).Key(9, {0, 0}),
                                                               Track::Float(), Track::Vec2(), Track::Color(),
                                                               Track::UV()));
        }
        package.Mount();
        screen.m_RootPanel = new Panel("MenuScreen");
        for (int i = 0; i < 3; ++i) {
            auto* panel = new Panel(kPages[i]);
            panel->SetPositionXY(10.0f * (i + 1), 20.0f * (i + 1));
            screen.m_RootPanel->AddChild(panel);
            manager.RegisterComposition(kPages[i], &pages[i]);
        }
        for (const char* name : {"playerName", "playerScore"})
            screen.m_RootPanel->AddChild(new Label(name));
        auto* bar = new Panel("ProfileBar");
        screen.m_RootPanel->AddChild(bar);
        bar->AddChild(new Panel("TagPanel"));
        bar->AddChild(new GameServices::Widget::Button("WardrobeButton"));
        manager.Initialize(&screen);
        manager.NotifyScreenEnter();
        main().OnActivate(true);
    }

    TestPage& main() { return pages[0]; }
    TestPage& options() { return pages[1]; }
    TestPage& awards() { return pages[2]; }
    static bool Shown(const TestPage& page) { return page.GetRootPanel()->Visible; }
    // The widgets' clocks step, then the manager.
    void Frame(u32 ms = 16) {
        game.flow.Update(ms);
        manager.Update(ms);
    }
    // Frames until the manager is idle; their count.
    int FramesToIdle() {
        int frames = 0;
        while ((manager.GetEnteringComposition() || manager.GetLeavingComposition()) && frames < 100) {
            Frame();
            ++frames;
        }
        return frames;
    }

    widget_test::TestGame game;
    drawtest::TestPackage package;
    LogCapture log;
    GameServices::Widget::Screen screen;
    TestPage pages[3];
    CompositionManager manager{nullptr};
};

class PageSwitchWithoutSlide : public PageSwitch {
protected:
    PageSwitchWithoutSlide() : PageSwitch(false) {}
};

}  // namespace


// Pages start hidden and parked, and only visible pages are updated; a switch to a name with no
// page ends idle with no page visible and adds no entry.
TEST_F(PageSwitch, AnUnregisteredTargetEndsIdleThePlayerInfoShowsTheScoreAndPagesWithoutRootPanelStayInert) {
    EXPECT_TRUE(main().initialized == 1 && options().initialized == 1 && awards().initialized == 1 && main().found);
    EXPECT_TRUE(!Shown(options()) && !Shown(awards()) && options().GetRootPanel()->m_X == CompositionBase::kParkedPosition);
    Frame(40);
    EXPECT_TRUE(main().updated == 40u && options().updated == 0u);
    // Shown, the entering page lets its slide go; a paused game holds the switches.
    manager.SetNextComposition(&main(), "compositionOptions");
    FramesToIdle();
    EXPECT_TRUE(Shown(options()) && !options().GetRootPanel()->m_Animation && manager.IsPausable());
    manager.SetNextComposition(&options(), "compositionMultiSelectAvatar");
    EXPECT_TRUE(options().IsTransitionRunning()) << "the leaving page slides out";
    FramesToIdle();
    EXPECT_FALSE(Shown(main()) || Shown(options()) || Shown(awards()));
    EXPECT_TRUE(log.Contains("no page named compositionMultiSelectAvatar") &&
                manager["compositionMultiSelectAvatar"] == nullptr && manager.GetCompositions().size() == 3u)
        << "the lookup adds no entry";
    // A switch from no page is refused.
    manager.SetNextComposition(nullptr, "compositionOptions");
    EXPECT_EQ(manager.GetLeavingComposition(), nullptr);

    // The menu screen initializes its pages on the layout it loads, tells them once, on its first
    // frame, that the screen is entered (with the music), and has them let go when it unloads.
    struct EnteredPage : TestPage {
        void OnScreenEnter() override { ++entered; }
        int entered = 0;
    } page;
    CompositionManager hosted{nullptr};
    hosted.RegisterComposition("compositionOptions", &page);
    auto menu = std::make_unique<MenuScreen>(&hosted);
    menu->m_RootPanel = new Panel(MenuScreen::kLayoutName);
    auto* panel = new Panel("compositionOptions");
    menu->m_RootPanel->AddChild(panel);
    menu->onLoad();
    EXPECT_TRUE(page.GetRootPanel() == panel && menu->IsFirstShowPending());
    log.Clear();
    Frame();
    Frame();
    EXPECT_TRUE(!menu->IsFirstShowPending() && page.entered == 1 && log.Contains(AudioManager::kMenuMusic));
    menu->onUnload();
    EXPECT_TRUE(page.GetRootPanel() == nullptr && !menu->IsLoaded());
    // Destroyed while loaded, it has them let go as well.
    menu->m_RootPanel = new Panel(MenuScreen::kLayoutName);
    menu->m_RootPanel->AddChild(new Panel("compositionOptions"));
    menu->onLoad();
    menu.reset();
    EXPECT_EQ(page.GetRootPanel(), nullptr);
}

TEST_F(PageSwitchWithoutSlide, WithoutTheSlideTheSwitchStillShowsTheNextPage) {
    manager.SetNextComposition(&main(), "compositionAwards");
    EXPECT_TRUE(!main().IsTransitionRunning() && FramesToIdle() <= 2);
    EXPECT_TRUE(!Shown(main()) && Shown(awards()) && awards().GetRootPanel()->m_X == 30.0f &&
                !awards().GetRootPanel()->Synchronize && !main().GetRootPanel()->Synchronize);
    // A page with the profile bar, shown, stops the tag panel's synchronization.
    manager.m_TagPanel->Synchronize = true;
    awards().OnActivateWithProfileBar(true);
    EXPECT_FALSE(manager.m_TagPanel->Synchronize);

    // The profile bar shows the name and the score, as money grouped by thousands or plain; a
    // profile shown on the avatar shows its score as money in the game's bar.
    const std::tuple<u32, bool, const char*> rows[] = {
        {0, true, "$0"}, {999, true, "$999"}, {1000, true, "$1,000"}, {4000000000u, true, "$4,000,000,000"},
        {123456, true, "$123,456"}, {12345, false, "12345"}};
    auto text = [](Widget* label) { return std::string(static_cast<Label*>(label)->m_TextStyle.m_Text.c_str()); };
    for (const auto& [score, money, shown] : rows) {
        manager.SetPlayerInfo("ANNA", score, money);
        EXPECT_EQ(text(manager.m_PlayerNameLabel) + " " + text(manager.m_PlayerScoreLabel), std::string("ANNA ") + shown);
    }
    CompositionManager::Instance().Initialize(&screen);
    PlayerProfile profile;
    profile.Score = 2500;
    PlayerProfileManager::Instance()->ShowProfileOnAvatar(&profile);
    EXPECT_EQ(text(manager.m_PlayerScoreLabel), "$2,500");
    CompositionManager::Instance().Initialize(nullptr);
    PlayerProfileManager::Destroy();

    // A page without a root panel is reported and stays inert.
    TestPage missing;
    manager.RegisterComposition("compositionCredits", &missing);
    manager.RegisterComposition("compositionNothing", nullptr);
    EXPECT_EQ(manager.GetCompositions().size(), 4u);
    manager.InitializeCompositions();
    EXPECT_TRUE(log.Contains("Component Root Panel not found : compositionCredits"));
    EXPECT_FALSE(missing.GetRootPanel() || missing.found || missing.AcceptsInput() || missing.IsTransitionRunning());
    missing.OnBackToMainMenu();
    EXPECT_EQ(manager.GetLeavingComposition(), nullptr);
    // Switched to, it ends at once and nothing is visible.
    manager.SetNextComposition(&main(), "compositionCredits");
    FramesToIdle();
    EXPECT_FALSE(Shown(main()) || missing.updated);
    // Unregistered from the screen, the shared widgets are forgotten with the pages' panels.
    manager.UninitializeCompositions();
    EXPECT_FALSE(main().GetRootPanel() || manager.m_PlayerNameLabel || manager.m_PlayerScoreLabel ||
                 manager.m_WardrobeButton || manager.m_TagPanel);
    manager.InitializeCompositions();  // the screen is forgotten too
    // A page is forgotten only under its own name; a leaving page forgotten stops leaving.
    manager.SetNextComposition(&main(), "compositionAwards");
    manager.UnregisterComposition("compositionOptions", &missing);
    manager.UnregisterComposition("compositionCredits", &missing);
    EXPECT_TRUE(!main().GetRootPanel() && manager["compositionOptions"] == &options() &&
                manager["compositionCredits"] == nullptr && manager.GetLeavingComposition() == &main());
    manager.UnregisterComposition("compositionMainMenu", &main());
    EXPECT_EQ(manager.GetLeavingComposition(), nullptr);
}

