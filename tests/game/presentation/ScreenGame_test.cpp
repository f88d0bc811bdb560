#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "game/presentation/BehaviorScore.h"
#include "game/presentation/ScoreProps.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetBehavior.h"
#include "gameshow/CompositionManager.h"
#include "tests/support/ScreenGameFixture.h"

namespace {

namespace W = GameServices::Widget;
using GameServices::KorvoGame::TimerManager;

// Some of the widgets whose visibility the set-up writes, and two it leaves visible.
const std::vector<std::string> kSetUpWritten = {"SoftKeyboard", "TimerPanel", "PlayButton", "RetryBox",
                                                "YouWinBase", "Strike1", "QuestionWindow", "MenuButton"};
const std::vector<std::string> kSetUpShown = {"QuestionWindow", "MenuButton"};

class ScreenGameTest : public screen_game::ScreenGameFixture {
protected:
    size_t Listeners(const std::string& name, u32 kind) {
        return Screen().BoundWidget(name.c_str())->GetBehavior()->Event(kind).Count();
    }
    void ShowAll() {
        for (const auto& entry : Screen().WidgetContract())
            Screen().BoundWidget(entry.name)->SetVisible(true);
    }
    i32 Score(const char* display) { return QZ2011::GetScoreBehavior(Prop(display))->Value; }
};

TEST_F(ScreenGameTest, LoadingTwiceLeavesOneOfEachSubscription) {
    GameShow::CompositionManager& compositions = GameShow::CompositionManager::Instance();
    const size_t menuBefore = compositions.ReturnToMainMenuConfirmed.Count();
    const size_t quitBefore = compositions.QuitConfirmed.Count() + compositions.QuitCancelled.Count();
    const u32 timersBefore = TimerManager::Instance()->GetUsedCount();
    Load();
    Unload();
    EXPECT_FALSE(Screen().IsLoaded() || Screen().m_RootPanel);
    EXPECT_EQ(TimerManager::Instance()->GetUsedCount(), timersBefore);
    EXPECT_EQ(application.GetCloseCallback().object, nullptr);
    Load();
    for (const auto& [name, kind] : std::vector<std::pair<std::string, u32>>{
             {"PlayButton", W::kEventClick}, {"ConfirmButton", W::kEventClick},
             {"SoftKeyboardWidget", W::kEventValueChanged}, {"PassButton", W::kEventEnter}})
        EXPECT_EQ(Listeners(name, kind), 1u) << name << " " << kind;
    EXPECT_EQ(TimerManager::Instance()->GetUsedCount(), timersBefore + 1);
    W::WidgetSoftKeyboardBehavior& keys = Screen().m_SoftKeyboard->m_KeyboardBehavior;
    EXPECT_EQ(keys.m_KeyHoverEvent.Count() + keys.m_TextChangedEvent.Count(), 2u);
    EXPECT_EQ(context.m_AnswerKeyboard, Screen().m_SoftKeyboard);
    EXPECT_EQ(compositions.ReturnToMainMenuConfirmed.Count(), menuBefore + 1);
    EXPECT_EQ(compositions.QuitConfirmed.Count() + compositions.QuitCancelled.Count(), quitBefore + 2);
    for (const void* owner : {application.GetCloseCallback().object, application.GetActivatedCallback().object,
                              application.GetDeactivatedCallback().object})
        EXPECT_EQ(owner, &Screen());
    // The sequences reach the screen by its name.
    Screen().BoundWidget("TimerPanel")->SetVisible(true);
    Screen().m_CountdownRunning = true;
    context.GetEntitySequencer()->onSequenceEvent("Timer", "ScreenGame", "Stop");
    EXPECT_FALSE(Visible("TimerPanel") || Screen().m_CountdownRunning);
    // Another owner's window callback stays at unload.
    int other = 0;
    application.SetCloseCallback(&other, [](void*) { return true; });
    Unload();
    EXPECT_EQ(application.GetCloseCallback().object, &other);
    EXPECT_EQ(application.GetActivatedCallback().fn, nullptr);
    EXPECT_EQ(application.GetDeactivatedCallback().fn, nullptr);
    EXPECT_EQ(compositions.ReturnToMainMenuConfirmed.Count(), menuBefore);
    EXPECT_EQ(context.m_AnswerKeyboard, nullptr);
}

// A match set up over one played to its end starts as the first did.
TEST_F(ScreenGameTest, SetUpStartsTheSameMatchEachTime) {
    QZ2011::QuestionManager* questions = context.GetQuestionManager();
    Load();
    ShowAll();
    for (QZ2011::Family* family : {context.m_PlayerOneFamily, context.m_ComputerFamily}) {
        family->m_Score = 120;
        family->m_Strikes = family->m_Side = 2;
    }
    context.m_RoundBank = context.m_GamePhase = context.m_RoundCounter = 3;
    QZ2011::ScreenGame& screen = Screen();
    screen.m_FastMoneyRevealIndex = screen.m_FastMoneyRangeBegin = screen.m_FastMoneyFirstEntry = 3;
    screen.m_FastMoneyRangeEnd = screen.m_FastMoneyRevealCount = screen.m_QuestionTypingMs = 3;
    screen.m_AnswerTypingMs = screen.m_AchievementMs = screen.m_BlockTurnMs = 3;
    screen.m_TypingIntervalMs = screen.m_AchievementShowMs = 3;
    screen.m_LastTypedLength = screen.m_FastMoneyLastRevealed = 3;
    screen.m_FastMoneyEntering = screen.m_LeftAvatarDressPending = screen.m_RightAvatarDressPending = false;
    screen.m_QuestionTypingActive = screen.m_AnswerTypingActive = screen.m_AchievementShowing = true;
    screen.m_FastMoneyFirstRevealDone = screen.m_BlockTurning = true;
    screen.m_TrackLeftViewport = screen.m_TrackRightViewport = true;
    for (const char* display : {"screen_digits_left", "screen_digits_right", "screen_digit_center"})
        QZ2011::GetScoreBehavior(Prop(display))->Value = 7;
    questions->SetCurrentIndex(1234);
    Prop("board_screenlogo")->SetVisible(false);
    context.m_BuzzOwner = 1;
    StopShow();
    log.Clear();
    Screen().SetUpMatch();
    for (const std::string& name : kSetUpWritten) {
        const bool shown = std::find(kSetUpShown.begin(), kSetUpShown.end(), name) != kSetUpShown.end();
        EXPECT_EQ(Visible(name), shown) << name;
    }
    EXPECT_EQ(context.m_PlayerOneFamily->m_Score + context.m_ComputerFamily->m_Score, 0);
    EXPECT_EQ(context.m_PlayerOneFamily->m_Strikes + context.m_ComputerFamily->m_Strikes, 0);
    EXPECT_EQ(context.m_PlayerOneFamily->m_Side * 10 + context.m_ComputerFamily->m_Side, 1);
    EXPECT_EQ(context.m_RoundBank + context.m_GamePhase + u32(context.m_RoundCounter), 0u);
    EXPECT_EQ(std::vector<u32>({screen.m_FastMoneyRevealIndex, screen.m_FastMoneyRangeBegin,
                                screen.m_FastMoneyFirstEntry, screen.m_FastMoneyRangeEnd,
                                screen.m_FastMoneyRevealCount, screen.m_QuestionTypingMs, screen.m_AnswerTypingMs,
                                screen.m_AchievementMs, screen.m_BlockTurnMs, screen.m_TypingIntervalMs,
                                screen.m_AchievementShowMs}),
              std::vector<u32>({0, 0, 0, 5, 0, 0, 0, 0, 0, 50, 2000}));
    EXPECT_EQ(screen.m_LastTypedLength + screen.m_FastMoneyLastRevealed, -2);
    EXPECT_TRUE(screen.m_FastMoneyEntering && screen.m_LeftAvatarDressPending && screen.m_RightAvatarDressPending);
    EXPECT_FALSE(screen.m_QuestionTypingActive || screen.m_AnswerTypingActive || screen.m_AchievementShowing ||
                 screen.m_FastMoneyFirstRevealDone || screen.m_BlockTurning || screen.m_TrackLeftViewport ||
                 screen.m_TrackRightViewport);
    EXPECT_EQ(Playing(), "Intro");
    for (const char* display : {"screen_digits_left", "screen_digits_right", "screen_digit_center"})
        EXPECT_EQ(Score(display), -1) << display;
    EXPECT_NE(questions->CurrentIndex(), 1234);
    EXPECT_TRUE(Prop("board_screenlogo")->Visible);
    EXPECT_EQ(context.m_BuzzOwner, -1);
    // The crowd noise is asked for: this level holds no crowd asset, which the audio reports.
    EXPECT_TRUE(log.Contains("FindAudioAsset failed CrowdNoise"));
}

// Yes on the retry prompt starts the match again, only while the prompt shows; leaving for the
// menu saves the question progress, frees the cursors and asks for the menu level by its name.
TEST_F(ScreenGameTest, RetryFromThePromptAndReturnToTheMenu) {
    Load();
    for (bool prompt : {false, true}) {
        StopShow();
        context.m_GamePhase = QZ2011::PhaseGameEnd;
        context.m_PlayerOneFamily->m_Score = 120;
        Bound("RetryBox")->SetVisible(prompt);
        Screen().onRetryYesClicked();
        EXPECT_EQ(context.m_PlayerOneFamily->m_Score, prompt ? 0 : 120) << prompt;
        EXPECT_EQ(Playing(), prompt ? "Intro" : "") << prompt;
    }
    const auto& members = context.GetTeamRegistry()->GetTeam()->m_Members;
    context.m_TwoPlayers = 1;
    for (GameServices::Entities::BaseTeamMember* member : members)
        member->SetActive(true);
    context.GetQuestionManager()->SetCurrentIndex(1234);
    log.Clear();
    Screen().onSpareEvent12(nullptr);
    EXPECT_NE(context.GetQuestionManager()->CurrentIndex(), 1234);
    EXPECT_EQ(members[0]->m_Highlight + members[1]->m_Highlight, 0);
    EXPECT_TRUE(log.Contains("Can not find the Level is :GameShowMenu"));
}

// The play-or-pass frame is inset by 15 on every side up to the 90s.
TEST_F(ScreenGameTest, DecadeLayoutInsetsThePlayOrPassFrameUpToThe90s) {
    Load();
    W::Widget* frame = Screen().BoundWidget("PoPBackground");
    for (const auto& [decade, x, y] : {std::tuple{2u, 24.0f, 18.0f}, std::tuple{3u, 9.0f, 3.0f}}) {
        context.m_Decade = decade;
        Screen().ApplyDecadeLayout();
        EXPECT_EQ(std::pair(frame->m_X, frame->m_Y), std::pair(x, y)) << decade;
    }
}

// Typing steps once 50 ms or more have passed in whole frames; a block turn ends at 1000 ms.
TEST_F(ScreenGameTest, FramesStepTheTypingAndEndTheBlockTurn) {
    Load();
    QZ2011::ScreenGame& screen = Screen();
    screen.m_QuestionTypingActive = screen.m_AnswerTypingActive = screen.m_BlockTurning = true;
    for (int frame = 1; frame <= 3; ++frame)
        screen.Process(16);
    EXPECT_TRUE(screen.m_QuestionTypingActive && screen.m_AnswerTypingActive);
    screen.Process(16);
    EXPECT_FALSE(screen.m_QuestionTypingActive || screen.m_AnswerTypingActive);
    EXPECT_TRUE(screen.m_BlockTurning);
    screen.Process(1000);
    EXPECT_FALSE(screen.m_BlockTurning);
}

TEST_F(ScreenGameTest, MissingWidgetsGetHiddenStandInsReportedOncePerLoad) {
    // Every eighth name, the keyboard and the play-or-pass window among them: twenty in all.
    std::set<std::string> omitted = {"SoftKeyboardWidget", "PoPBackground"};
    const auto contract = Screen().WidgetContract();
    for (size_t i = 0; omitted.size() < 20; i += 8)
        omitted.insert(contract[i].name.c_str());
    WriteLayout(omitted);
    Load();
    Screen().SetUpMatch();
    Frames(5);
    for (const std::string& name : omitted) {
        EXPECT_EQ(LogCount("ScreenGame: no widget '" + name + "' in the layout; a hidden stand-in replaces it"), 1u)
            << name;
        ASSERT_NE(Screen().BoundWidget(name.c_str()), nullptr) << name;
        EXPECT_FALSE(Visible(name)) << name;
    }
    EXPECT_EQ(Screen().GetMissingWidgets().size(), omitted.size());
    match().RoundStartEvent.Fire(nullptr);
    Unload();
    EXPECT_EQ(Screen().BoundWidget("MenuButton"), nullptr);
    EXPECT_TRUE(Screen().GetMissingWidgets().empty());
    // The next load makes its stand-ins afresh.
    Load();
    EXPECT_EQ(LogCount("ScreenGame: no widget 'PoPBackground' in the layout; a hidden stand-in replaces it"), 2u);
}

}  // namespace
