// The way from the program's opening into a match, headless and through the test window's
// input only: the splash's click, the main menu's single-player button, the decade and the
// difficulty, the tutorial's skip, and the match level of the choice.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/core/Crc32Hash.h"
#include "engine/core/PCApplicationImpl.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "game/rules/QZ11Game.h"
#include "gameshow/CompositionManager.h"
#include "platform/window/TestWindowBackend.h"
#include "tests/support/OpeningLevels.h"

namespace {

using GameShow::CompositionManager;

class WayIntoMatch : public ::testing::Test {
protected:
    QZ2011GameContext& Context() { return harness.Context(); }
    bool StepUntil(const std::function<bool()>& done, u32 limitMs = 20000) {
        return opening::StepUntil(harness, done, limitMs);
    }
    void Inject(platform::window::MessageKind kind, int32_t x, int32_t y) {
        platform::window::Message message;
        message.kind = kind;
        message.x = x;
        message.y = y;
        static_cast<platform::window::TestBackend*>(harness.Application()->GetWindow())->Inject(message);
        opening::Step(harness);
    }
    // The pointer moved to the widget's centre, a left press and release there.
    void Click(GameServices::Widget::Widget* widget) {
        ASSERT_NE(widget, nullptr);
        const GameServices::Widget::HitRectangle& hit = widget->m_Hit;
        const int32_t x = int32_t(hit.x + (hit.minX + hit.maxX) / 2), y = int32_t(hit.y + (hit.minY + hit.maxY) / 2);
        using Kind = platform::window::MessageKind;
        for (Kind kind : {Kind::MouseMove, Kind::ButtonDown, Kind::ButtonUp})
            Inject(kind, x, y);
    }
    // The page is shown and no page change runs.
    bool PageSettled(const char* name) {
        CompositionManager& pages = CompositionManager::Instance();
        GameShow::CompositionBase* page = pages.FindComposition(name);
        return page && page->GetRootPanel() && page->GetRootPanel()->Visible && page->AcceptsInput() &&
               !pages.GetEnteringComposition() && !pages.GetLeavingComposition();
    }
    void ClickOnPage(const char* page, const char* button) {
        ASSERT_TRUE(StepUntil([&] { return PageSettled(page); })) << page;
        GameShow::CompositionBase* composition = CompositionManager::Instance().FindComposition(page);
        Click(GameServices::Widget::Widget::FindChild(
            button, static_cast<GameServices::Widget::Panel*>(composition->GetRootPanel())));
    }

    // No video player: the opening goes on past the videos it cannot play.
    match::MatchHarness harness;
};

}  // namespace

TEST_F(WayIntoMatch, FromTheSplashThroughTheMenusAndTheTutorialIntoTheNinetiesHardMatch) {
    // Long sequences: the match's first one is still playing when it is looked at. The first
    // narration outlasts the test: only the skip ends the tutorial.
    harness.UseRealScreen(20000);
    harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0, false);
    harness.AddSound("tutorialflow0", 30000);
    ASSERT_TRUE(harness.Start(3)) << harness.Failure();
    ASSERT_TRUE(opening::AddOpeningLevels(harness.Home(), Context()));
    // What the menus are to choose starts out otherwise.
    Context().m_TwoPlayers = 1;

    auto* startup = opening::ScreenOf<QZ2011::ScreenStartup>();
    bool asked = false;
    ASSERT_TRUE(StepUntil([&] {
        asked = asked || opening::RequestLevel(Context(), "LevelStartup");
        return asked && startup->IsLoaded();
    }));
    ASSERT_TRUE(StepUntil([&] { return startup->m_Splash && startup->m_Splash->Visible; }, 8000));
    ASSERT_NO_FATAL_FAILURE(Click(startup->m_Splash));
    EXPECT_EQ(opening::Requested(Context()), "GameShowMenu");

    ASSERT_NO_FATAL_FAILURE(ClickOnPage(CompositionManager::kMainMenu, "singlePlayerButton"));
    ASSERT_NO_FATAL_FAILURE(ClickOnPage("compositionDecadeSelector", "Button90s"));
    ASSERT_NO_FATAL_FAILURE(ClickOnPage("compositionDifficultySelector", "HardButton"));
    auto* tutorial = opening::ScreenOf<QZ2011::ScreenTutorial>();
    ASSERT_TRUE(StepUntil([&] { return tutorial->IsLoaded(); }));
    EXPECT_EQ(opening::Requested(Context()), "QZ11_Tutorial_90");
    opening::Step(harness);
    EXPECT_EQ(tutorial->m_State, QZ2011::ScreenTutorial::kIntroductionStep);

    harness.PressKey(0x71);  // F2: the skip
    EXPECT_EQ(opening::Requested(Context()), "QZ11_Game_Level_File_1_90");
    GameShow::SequenceManager* sequences = Context().GetSequenceManager();
    ASSERT_TRUE(StepUntil([&] { return harness.Match().GetSet() && sequences->GetCurrentSequence(); }));
    EXPECT_EQ(sequences->GetCurrentSequence(), sequences->FindSequence(Crc32Hash("Intro")));
    EXPECT_EQ(Context().m_Decade, 2u);
    EXPECT_EQ(Context().m_Difficulty, 2u);
    EXPECT_EQ(Context().m_TwoPlayers, 0u);
}
