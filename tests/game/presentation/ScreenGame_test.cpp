// The in-game screen: its load and unload, the match set-up, the retry and the way back to the
// menu, the frame steps, the stand-ins of missing widgets; its sequence components and banners,
// the window close with the quit prompt, the focus pause and the achievement notice; the tutorial
// screen without a game to narrate it.
#include <gtest/gtest.h>

#include <optional>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/core/AGController.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/FileContents.h"
#include "tests/support/PopupPress.h"
#include "tests/support/ScreenGameFixture.h"

namespace {

namespace W = GameServices::Widget;
using GameServices::KorvoGame::TimerManager;
using GameShow::CompositionManager;
using Names = std::vector<std::string>;

class ScreenGameTest : public screen_game::ScreenGameFixture {
protected:
    void ShowAll(bool shown = true) {
        for (const auto& entry : Screen().WidgetContract())
            Screen().BoundWidget(entry.name)->SetVisible(shown);
    }
    std::string Text(const std::string& name) { return static_cast<W::Label*>(Bound(name))->m_TextStyle.m_Text.c_str(); }
    // The sample's in-game popups, loaded.
    void LoadPopups() {
        const std::string data = std::string(TALLYVOX_SAMPLE_LEVELS) + "/..";
        home.Write("-xml/global/gameshowpopups.xml", FileContents(data + "/global/gameshowpopups.xml"));
        for (const char* layout : {"gameshowpopupprompt.xaml", "gameshowpopupmenu.xaml"})
            home.Write(std::string("-xml/screen/") + layout, FileContents(data + "/screens/" + layout));
        W::ScreenManager::Instance().LoadPopups();
        CompositionManager::Instance().LoadPopups();
    }
    static Names open() {
        Names names;
        for (W::Popup* popup : W::ScreenManager::Instance().GetOpenPopups())
            names.push_back(popup->Name.c_str());
        return names;
    }
};

// Loaded with the sample font, no sequence playing, player one's family at the turn.
class ScreenGameLoaded : public ScreenGameTest {
protected:
    void SetUp() override {
        ScreenGameTest::SetUp();
        fonts.emplace(std::vector<widget_test::SpriteFile>{});
        Load();
        StopShow();
        context.m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
    }
    std::optional<widget_test::RenderPackage> fonts;  // outlives the unload of TearDown
};

// Each component with its state: the widgets it shows, and those it hides or leaves hidden.
TEST_F(ScreenGameLoaded, ComponentsShowAndHide) {
    const struct { const char* component; bool show; i32 round, phase; u32 revealIndex; Names shown, hidden; } cases[] = {
        {"Rounds", true, 3, 6, 0, {"Round", "Round3"}, {"Round1", "Round2", "Round4", "SuddenDeath"}},
        {"SpecialRounds", true, 3, 6, 0, {"RoundDouble", "Round3"}, {"RoundTriple"}},
        {"SpecialRounds", false, 3, 6, 0, {"Round3"}, {"RoundDouble", "RoundTriple"}},
        {"Rounds", true, 5, 6, 0, {"SuddenDeath"}, {"Round", "Round3", "Round4"}},
        {"Rounds", true, 6, 6, 0, {"Round"}, {"Round4", "SuddenDeath", "RoundDouble", "RoundTriple"}},
        {"GameWon", true, 4, 28, 0, {"YouWinBase", "YouWinRadial2", "YouWinParticles3", "YouWinText2"}, {"YouWin20k"}},
        {"FadeGameWon20k", true, 4, 29, 0, {"YouWin20k", "YouWin20kGlow", "YouWinBase"}, {}},
        {"GameWon", false, 4, 28, 0, {}, {"YouWinBase", "YouWin20k", "YouWinText2"}},
        {"GameLost", true, 4, 28, 0, {"YouLoseBase", "YouLoseText"}, {}},
        {"GameLost", false, 4, 28, 0, {}, {"YouLoseBase", "YouLoseText"}},
        {"SoftKeyboard", true, 1, 23, 0,
         {"SoftKeyboard", "SoftKeyboardWidget", "ConfirmButton", "TextEntryBox_BG", "BlackBackground"}, {}},
        {"SoftKeyboard", false, 1, 24, 0, {}, {"SoftKeyboard", "SoftKeyboardWidget", "ConfirmButton", "BlackBackground"}},
        {"PlayOrPass", true, 1, 11, 0, {"PlayButton", "PlayButtonText", "PassButton", "PassButtonText", "PoPPanel"}, {}},
        {"Retry", true, 4, 28, 0, {"RetryBox", "RetryNo_MainMenu", "RetryYes"}, {}},
        {"BlinkingSquare", true, 4, 26, 9, {"BlinkingSquareFM10"}, {"BlinkingSquareFM9"}},
        {"BlinkingSquare", false, 4, 26, 9, {"PlayButton", "PoPPanel"}, {"BlinkingSquareFM10"}},
        {"AIBox", true, 1, 12, 0, {"AIBox"}, {}}, {"AIBox", false, 1, 12, 0, {}, {"AIBox"}},
        {"AIDecide", true, 1, 11, 0, {"AIDecidePanel"}, {}}, {"AIDecide", false, 1, 11, 0, {}, {"AIDecidePanel"}},
        {"FMBoard", true, 4, 24, 0, {"AnswersBoxFM"}, {}}, {"FMBoard", false, 4, 24, 0, {}, {"AnswersBoxFM"}},
        {"AnswersBox", true, 1, 12, 0, {"AnswersBox"}, {}}, {"AnswersBox", false, 1, 12, 0, {}, {"AnswersBox"}},
        {"CenterAnswersBox", true, 1, 12, 0, {"CenterAnswersBox"}, {}},
        {"FamilyName", false, 1, 6, 0, {}, {"FamilyName"}}, {"FamilyNameLeft", true, 1, 6, 0, {"FamilyName"}, {}},
        {"left3DViewport", true, 1, 6, 0, {"left3DViewportBG"}, {"right3DViewportBG"}},
        {"right3DViewport", true, 1, 6, 0, {"right3DViewportBG"}, {}},
        {"right3DViewport", false, 1, 6, 0, {}, {"right3DViewportBG"}},
    };
    for (int n = 1; n <= 10; ++n)
        Bound("FreqLabelFM" + std::to_string(n))->SetVisible(false);
    const auto& members = context.GetTeamRegistry()->GetTeam()->m_Members;
    for (GameServices::Entities::BaseTeamMember* member : members)
        member->SetLocked(true);
    context.m_LeftMemberIndex = 3;  // dressed when its viewport shows
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.show ? "show " : "hide ") + c.component + " round " + std::to_string(c.round));
        context.m_RoundCounter = c.round;
        context.m_GamePhase = c.phase;
        Screen().m_FastMoneyRevealIndex = c.revealIndex;
        Face(false)->Synchronize = true;
        c.show ? Screen().ShowComponent(c.component) : Screen().HideComponent(c.component);
        EXPECT_FALSE(Face(false)->Synchronize);
        for (const std::string& name : c.shown)
            EXPECT_TRUE(Visible(name)) << name;
        for (const std::string& name : c.hidden)
            EXPECT_FALSE(Visible(name)) << name;
    }
    // Only player one chooses after a lost game; a hidden viewport's avatar stands still; the fourth
    // member is dressed (only a fifth is nobody yet); the family's name is written.
    EXPECT_TRUE(members.size() == 2 && !members[0]->m_Locked && members[1]->m_Locked && !Face(false)->IsTicking() &&
                Face(true)->IsFemale2 && !log.Contains("no family member to dress the left avatar"));
    EXPECT_EQ(Text("FamilyName"), "'S    FAMILY");
}

TEST_F(ScreenGameLoaded, FifthMemberIsNobodyYet) {
    // A fifth member is nobody yet: reported, and the player's family moves on to the first member of
    // its cycle (2, the family being unordered).
    context.m_LeftMemberIndex = QZ2011GameContext::kNoMember;
    Screen().DressAvatar(true);
    EXPECT_TRUE(log.Contains("no family member to dress the left avatar") && context.m_LeftMemberIndex == 2);
}

TEST_F(ScreenGameLoaded, WinFadeReplaysTheLine) {
    // The money win's fade plays the first line's animation again.
    Bound("YouWinText1")->m_Control.SetMode(AGController::kStopped);
    Screen().ShowComponent("FadeGameWon20k");
    EXPECT_EQ(Bound("YouWinText1")->m_Control.GetMode(), u32(AGController::kOnce));
}

TEST_F(ScreenGameLoaded, ComputerDecisionNamesItsFamily) {
    // The computer's decision names its family.
    context.m_PlayChosen = 1;
    Screen().ShowComponent("AIDecide");
    EXPECT_EQ(Text("AIDecideLabel"), "The " + std::string(context.m_ComputerFamily->m_Name.c_str()) + " decided to play");
}

TEST_F(ScreenGameLoaded, KeyboardOpensAnswerEntry) {
    const auto& members = context.GetTeamRegistry()->GetTeam()->m_Members;
    // The keyboard opens answer entry, with the cursor of the player at the turn off while open
    // and the other player's on; from fast money on its button reads "PASS", as drawn, and the
    // keyboard takes nothing until the turn's question is asked.
    EXPECT_EQ(context.m_AnswerEntryOpen, 0);
    context.m_TwoPlayers = 1;
    // In a two-player match the right family is the second player's, shown by its label.
    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    profiles->GetSavedFile()->AddSavedGame();
    profiles->AssignPlayer(1, 0);
    Screen().ShowComponent("FamilyNameRight");
    profiles->ClearPlayers();
    EXPECT_EQ(Text("FamilyName"), "PLAYER 2'S    FAMILY");
    Screen().m_ConfirmButton->m_TextStyle.m_FontName = "Sans.TTF";
    for (i32 phase : {12, 23}) {
        Screen().m_ConfirmButton->m_TextStyle.m_Text = "OK";
        Screen().m_SoftKeyboard->SetText("old");
        context.m_GamePhase = phase;
        Screen().ShowComponent("SoftKeyboard");
        EXPECT_TRUE(context.m_AnswerEntryOpen == (phase == 12) && Screen().m_SoftKeyboard->GetEnteredText().IsEmpty() &&
                    !members[0]->m_Highlight && members[1]->m_Highlight);
        EXPECT_EQ(Screen().m_SoftKeyboard->m_InputLocked + Screen().m_ConfirmButton->m_InputLocked, phase == 23 ? 2 : 0);
        Screen().m_SoftKeyboard->SetText("old");
        Screen().HideComponent("SoftKeyboard");
        EXPECT_TRUE(Screen().m_SoftKeyboard->GetEnteredText().IsEmpty() && context.m_AnswerEntryOpen == 0 &&
                    members[0]->m_Highlight && !Screen().m_SoftKeyboard->m_InputLocked);
        EXPECT_EQ(Screen().m_ConfirmButton->m_TextStyle.m_Text, phase == 23 ? "PASS" : "OK");
    }
    EXPECT_STREQ(widget_test::TextAt(*Screen().m_ConfirmButton, 0)->GetString().c_str(), "PASS");
}

TEST_F(ScreenGameLoaded, HidingCentreBoardHidesRows) {
    // Hiding the centre board hides its rows as well.
    ShowAll();
    Screen().HideComponent("CenterAnswersBox");
    EXPECT_FALSE(Visible("CenterAnswersBox") || Visible("CenterAnswerLabel8") || Visible("CenterFreqLabel8"));
}

TEST_F(ScreenGameLoaded, NoSquarePastTheTenthReveal) {
    // Past the tenth reveal there is no square, nor any other widget.
    ShowAll(false);
    Screen().m_FastMoneyRevealIndex = 10;
    Screen().ShowComponent("BlinkingSquare");
    for (const auto& entry : Screen().WidgetContract())
        EXPECT_FALSE(Screen().BoundWidget(entry.name)->Visible) << entry.name.c_str();
}

TEST_F(ScreenGameLoaded, OneMarkPerStrike) {
    // One mark per strike of the family with the turn; the achievement notice with the award's title.
    const Names marks = {"Strike1", "Strike2_1", "Strike2_2", "Strike3_1", "Strike3_2", "Strike3_3"};
    const char* const expected[] = {"000000", "100000", "011000", "000111"};
    context.m_GamePhase = 12;
    for (i32 strikes : {0, 1, 2, 3}) {  // 0: no family at the turn, whose strikes none show
        context.m_CurrentFamily = strikes ? QZ2011GameContext::kPlayerOneFamily : QZ2011GameContext::kNoFamily;
        context.m_PlayerOneFamily->m_Strikes = strikes;
        Screen().HideComponent("Strikes");
        Screen().ShowComponent("Strikes");
        std::string shown;
        for (const std::string& name : marks)
            shown += Visible(name) ? '1' : '0';
        EXPECT_EQ(shown, expected[strikes]);
    }
    Screen().HideComponent("Strikes");
    EXPECT_FALSE(Visible("Strike3_1"));
}

TEST_F(ScreenGameLoaded, AchievementNotice) {
    // The achievement notice shows the award's title.
    context.m_UnlockedAwardName = "Top Player";
    for (const char* name : {"Achievement_Title", "Achievement_Text"})
        Bound(name)->m_Control.SetMode(AGController::kStopped);
    match().FireAchievementUnlocked();
    EXPECT_TRUE(Screen().m_AchievementShowing && Visible("AchievementBox") && Text("Achievement_Text") == "Top Player");
    for (const char* name : {"Achievement_Title", "Achievement_Text"})  // the panel's tween, played once
        EXPECT_EQ(Bound(name)->m_Control.GetMode(), u32(AGController::kOnce)) << name;
    // Once the medal's animation has ended the star's own animation plays once.
    Screen().Process(16);
    Screen().m_AchievementStar->m_Control.SetMode(AGController::kStopped);
    Screen().Process(16);
    EXPECT_EQ(Screen().m_AchievementStar->m_Control.GetMode(), u32(AGController::kStopped));
}

TEST_F(ScreenGameLoaded, CloseAsksFirst) {
    // Closing the window asks first, in place of the in-game popup, which a cancel brings back; the
    // focus pauses the game until no prompt or popup is up; a confirm lets the next close go. Damaged
    // sequence events for the screen and the game audio do no harm.
    GameServices::Widget::ScreenManager& screens = GameServices::Widget::ScreenManager::Instance();
    CompositionManager& menus = CompositionManager::Instance();
    LoadPopups();
    // Over the in-game menu: a cancel brings the menu back, which keeps the game paused.
    menus.ToggleInGameMenu();
    const i32 state = menus.m_PopupState;
    EXPECT_FALSE(Screen().onWindowClose());
    EXPECT_TRUE(open() == Names{"VerifyQuit"} && menus.m_PopupState == state && Screen().m_QuitPromptOpen);
    Screen().onWindowDeactivated();
    Screen().onWindowActivated();
    EXPECT_TRUE(context.IsPaused()) << "the prompt is up";
    PressPopupButton(screens, "VerifyQuit", "Cancel");
    EXPECT_EQ(open(), Names{"InGameMenu"});
    Screen().onWindowActivated();
    EXPECT_FALSE(Screen().m_QuitPromptOpen);
    EXPECT_TRUE(context.IsPaused()) << "the in-game menu is up";
    menus.ToggleInGameMenu();
    Screen().onWindowActivated();
    EXPECT_FALSE(context.IsPaused() || Screen().onWindowClose());
    PressPopupButton(screens, "VerifyQuit", "Confirm");
    EXPECT_TRUE(Screen().onWindowClose() && open().empty());
}

TEST_F(ScreenGameLoaded, DamagedSequenceEventsDoNoHarm) {
    // Sequence events for the screen and the game audio with damaged names and parameters do no harm.
    std::string events;
    for (const char* item : {"Play\" target=\"answer", "Play\" target=\"StartCrowdMedium",
                             "Stop\" target=\"answer\" parameter=\"voice", "Play\" target=\"faceoff"})
        events += std::string("<item sequencer=\"AudioSequencer\" name=\"") + item + "\"/>";
    for (const char* name : {"ShowComponent", "HideComponent"})
        for (const char* component : {"SoftKeyboard", "RotateBlocks", "RotateBlock8", "FreqFM5", "BlinkingSquare",
                                      "Strikes", "FamilyNameRight", "left3DViewport", "Achievement", "AIDecide"})
            events += std::string("<item sequencer=\"EntitySequencer\" name=\"") + name +
                      "\" target=\"ScreenGame\" parameter=\"" + component + "\"/>";
    const std::string text = "<root><Sequence duration=\"40\"><OnStart><Events>" + events +
                             "</Events></OnStart><Acts><item time=\"10\"><Events>" + events +
                             "</Events></item></Acts><OnEnd><Events/></OnEnd></Sequence></root>";
    GameShow::SequenceManager* sequences = context.GetSequenceManager();
    context.m_GamePhase = QZ2011::PhaseNone;
    std::mt19937 rng(35);
    for (int i = 0; i < 5000; ++i) {
        std::string bytes = text;
        DamageBytes(bytes, rng, 1 + i % 3);
        const std::string path = home.Write("damaged.xml", bytes);
        Screen().m_FastMoneyRevealIndex = u32(rng() % 12);
        context.m_LastAnswerIndex = i32(rng() % 12) - 2;
        const std::string name = "damaged" + std::to_string(i);
        sequences->LoadSequence(name.c_str(), path.c_str());
        sequences->PlaySequence(name.c_str());
        for (int t = 0; t < 3; ++t)
            sequences->Update(25);
        context.GetAudioManager()->ResumeSequence();
        sequences->RemoveSequence(Crc32Hash(name.c_str()));
    }
}

TEST_F(ScreenGameLoaded, SetUpMatchStartsAfresh) {
    // A match set up over one played to its end starts as the first did; the retry prompt and the
    // way back to the menu.
    QZ2011::QuestionManager* questions = context.GetQuestionManager();
    ShowAll();
    for (QZ2011::Family* family : {context.m_PlayerOneFamily, context.m_ComputerFamily}) {
        family->m_Score = 120;
        family->m_Strikes = family->m_Side = 2;
    }
    context.m_RoundBank = context.m_GamePhase = context.m_RoundCounter = 3;
    QZ2011::ScreenGame& screen = Screen();
    screen.m_FastMoneyRevealIndex = screen.m_FastMoneyRangeBegin = screen.m_FastMoneyFirstEntry = 3;
    screen.m_FastMoneyRangeEnd = screen.m_FastMoneyRevealCount = screen.m_QuestionTypingMs = 3;
    screen.m_AnswerTypingMs = screen.m_AchievementMs = screen.m_BlockTurnMs = screen.m_TypingIntervalMs = 3;
    screen.m_AchievementShowMs = screen.m_LastTypedLength = screen.m_FastMoneyLastRevealed = 3;
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
    // Some of the widgets whose visibility the set-up writes: all hidden but the last two.
    std::string shown;
    for (const char* name : {"SoftKeyboard", "TimerPanel", "PlayButton", "RetryBox", "YouWinBase", "Strike1",
                             "QuestionWindow", "MenuButton"})
        shown += Visible(name) ? '1' : '0';
    EXPECT_EQ(shown, "00000011");
    const QZ2011::Family &one = *context.m_PlayerOneFamily, &computer = *context.m_ComputerFamily;
    EXPECT_EQ(match_stage::Values(one.m_Score, computer.m_Score, one.m_Strikes, computer.m_Strikes, one.m_Side,
                                  computer.m_Side, context.m_RoundBank, context.m_GamePhase, context.m_RoundCounter,
                                  screen.m_FastMoneyRevealIndex, screen.m_FastMoneyRangeBegin,
                                  screen.m_FastMoneyFirstEntry, screen.m_FastMoneyRangeEnd, screen.m_FastMoneyRevealCount,
                                  screen.m_QuestionTypingMs, screen.m_AnswerTypingMs, screen.m_AchievementMs,
                                  screen.m_BlockTurnMs, screen.m_TypingIntervalMs, screen.m_AchievementShowMs,
                                  screen.m_LastTypedLength, screen.m_FastMoneyLastRevealed),
              match_stage::Values(0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 50, 2000, -1, -1));
    EXPECT_TRUE(screen.m_FastMoneyEntering && screen.m_LeftAvatarDressPending && screen.m_RightAvatarDressPending);
    EXPECT_FALSE(screen.m_QuestionTypingActive || screen.m_AnswerTypingActive || screen.m_AchievementShowing ||
                 screen.m_FastMoneyFirstRevealDone || screen.m_BlockTurning || screen.m_TrackLeftViewport ||
                 screen.m_TrackRightViewport);
    for (const char* display : {"screen_digits_left", "screen_digits_right", "screen_digit_center"})
        EXPECT_EQ(QZ2011::GetScoreBehavior(Prop(display))->Value, -1) << display;
    // The crowd noise is asked for: this level holds no crowd asset, which the audio reports.
    EXPECT_TRUE(questions->CurrentIndex() != 1234 && Prop("board_screenlogo")->Visible && Playing() == "Intro" &&
                context.m_BuzzOwner == -1 && log.Contains("FindAudioAsset failed CrowdNoise"));
}

TEST_F(ScreenGameLoaded, RetryAndBackToMenu) {
    const auto& members = context.GetTeamRegistry()->GetTeam()->m_Members;
    // Yes on the retry prompt starts the match again, only while the prompt shows; leaving for the
    // menu saves the question progress, frees the cursors and asks for the menu level by its name.
    for (bool prompt : {false, true}) {
        StopShow();
        context.m_GamePhase = QZ2011::PhaseGameEnd;
        context.m_PlayerOneFamily->m_Score = 120;
        Bound("RetryBox")->SetVisible(prompt);
        Screen().onRetryYesClicked();
        EXPECT_EQ(context.m_PlayerOneFamily->m_Score, prompt ? 0 : 120) << prompt;
        EXPECT_EQ(Playing(), prompt ? "Intro" : "") << prompt;
    }
    context.m_TwoPlayers = 1;
    for (GameServices::Entities::BaseTeamMember* member : members)
        member->SetActive(true);
    context.GetQuestionManager()->SetCurrentIndex(1234);
    log.Clear();
    Screen().onSpareEvent12(nullptr);
    EXPECT_TRUE(context.GetQuestionManager()->CurrentIndex() != 1234 && members[0]->m_Highlight == 0 &&
                members[1]->m_Highlight == 0 && log.Contains("Can not find the Level is :GameShowMenu"));
}

TEST_F(ScreenGameLoaded, DecadeLayout) {
    // Typing steps once 50 ms or more have passed in whole frames; a block turn ends at 1000 ms; a
    // sliding viewport keeps its avatar 40 in from its side. A new round hides the last one's board
    // (the level's rows), the computer's box, the timer and the answer entry. The play-or-pass frame is
    // inset by 15 on every side up to the 90s; the keys are white in every decade.
    auto* popFrame = static_cast<W::ResizableWindow*>(Screen().BoundWidget("PoPBackground"));
    const TString<char>& keys = Screen().m_SoftKeyboard->m_TextStyle.m_Color;
    for (const auto& [decade, x, y, colour] : {std::tuple{2u, 24.0f, 18.0f, "#FFFFFFFF"},
                                               std::tuple{3u, 9.0f, 3.0f, "#FFFFFFFF"}, std::tuple{4u, 9.0f, 3.0f, ""}}) {
        context.m_Decade = decade;
        Screen().ApplyDecadeLayout();
        EXPECT_EQ(std::tuple(popFrame->m_X, popFrame->m_Y, std::string(keys.c_str())), std::tuple(x, y, colour));
        // Its centre, a fraction of its size (it has no border here), spans it less the insets.
        EXPECT_NEAR(popFrame->m_CenterSize.x * popFrame->m_Width, popFrame->m_Width - 2.0f * (x - 9.0f), 1e-3f);
    }
}

TEST_F(ScreenGameLoaded, FrameSteps) {
    QZ2011::ScreenGame& screen = Screen();
    screen.m_QuestionTypingActive = true;
    screen.StartQuestionTyping();  // no question to type: the typing stops
    EXPECT_FALSE(screen.m_QuestionTypingActive);
    Bound("right3DViewportBG")->m_AnimX = 10.0f;
    screen.m_QuestionTypingActive = screen.m_AnswerTypingActive = screen.m_BlockTurning = true;
    screen.m_TrackRightViewport = true;
    for (int frame = 1; frame <= 3; ++frame)
        screen.Process(16);
    EXPECT_TRUE(screen.m_QuestionTypingActive && screen.m_AnswerTypingActive && PositionOf(Face(false)).x == -50.0f);
    screen.Process(16);
    EXPECT_TRUE(!screen.m_QuestionTypingActive && !screen.m_AnswerTypingActive && screen.m_BlockTurning);
    screen.Process(1000);
    EXPECT_FALSE(screen.m_BlockTurning);
    screen.m_BlockTurning = true;  // the next turn counts from 0 again
    screen.Process(999);
    EXPECT_TRUE(screen.m_BlockTurning);
}

TEST_F(ScreenGameLoaded, NewRoundHidesTheBoard) {
    QZ2011::ScreenGame& screen = Screen();
    ShowAll();
    screen.m_CountdownRunning = true;
    match().RoundStartEvent.Fire(nullptr);
    EXPECT_FALSE(Visible("AnswersBox") || Visible("AIBox") || Visible("TimerPanel") || Visible("ConfirmButton") ||
                 Visible("TextEntryBox_BG") || Visible("SoftKeyboard") || screen.m_CountdownRunning ||
                 screen.m_AnswerLabels[0]->Visible || screen.m_FreqLabels[0]->Visible || screen.m_FreqLabels[6]->Visible);
    EXPECT_TRUE(Visible("MenuButton") && screen.m_AnswerLabels[7]->Visible) << "the level has seven rows";
}

TEST_F(ScreenGameLoaded, LoadingTwiceSubscribesOnce) {
    CompositionManager& menus = CompositionManager::Instance();
    // Loading twice leaves one of each subscription; missing widgets get hidden stand-ins.
    Unload();
    const size_t menuBefore = menus.ReturnToMainMenuConfirmed.Count();
    const size_t roundBefore = match().RoundStartEvent.Count();
    const size_t quitBefore = menus.QuitConfirmed.Count() + menus.QuitCancelled.Count();
    const u32 timersBefore = TimerManager::Instance()->GetUsedCount();
    Load();
    GameServices::KorvoGame::Timer* timer = Screen().m_CountdownTimer;
    timer->m_Elapsed = 5;  // the timer goes back to the pool as new
    Unload();
    EXPECT_TRUE(!Screen().IsLoaded() && !Screen().m_RootPanel && !application.GetCloseCallback().object &&
                TimerManager::Instance()->GetUsedCount() == timersBefore && timer->m_Elapsed + timer->m_Duration == 0);
    Load();
    for (const auto& [name, kind] : std::vector<std::pair<std::string, u32>>{
             {"PlayButton", W::kEventClick}, {"ConfirmButton", W::kEventClick},
             {"SoftKeyboardWidget", W::kEventValueChanged}, {"PassButton", W::kEventEnter}})
        EXPECT_EQ(Bound(name)->GetBehavior()->Event(kind).Count(), 1u) << name << " " << kind;
    EXPECT_EQ(TimerManager::Instance()->GetUsedCount(), timersBefore + 1);
    W::WidgetSoftKeyboardBehavior& keyboard = Screen().m_SoftKeyboard->m_KeyboardBehavior;
    EXPECT_EQ(keyboard.m_KeyHoverEvent.Count() + keyboard.m_TextChangedEvent.Count(), 2u);
    EXPECT_EQ(context.m_AnswerKeyboard, Screen().m_SoftKeyboard);
    EXPECT_EQ(menus.ReturnToMainMenuConfirmed.Count(), menuBefore + 1);
    EXPECT_EQ(menus.QuitConfirmed.Count() + menus.QuitCancelled.Count(), quitBefore + 2);
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
    EXPECT_TRUE(application.GetCloseCallback().object == &other && !application.GetActivatedCallback().fn &&
                !application.GetDeactivatedCallback().fn && !context.m_AnswerKeyboard &&
                menus.ReturnToMainMenuConfirmed.Count() == menuBefore &&
                match().RoundStartEvent.Count() == roundBefore);
}

TEST_F(ScreenGameLoaded, MissingWidgetsGetStandIns) {
    Unload();
    // Missing widgets get hidden stand-ins, reported once per load.
    // Every eighth name, the keyboard and the play-or-pass window among them: twenty in all.
    std::set<std::string> omitted = {"SoftKeyboardWidget", "PoPBackground"};
    const auto contract = Screen().WidgetContract();
    for (size_t i = 0; omitted.size() < 20; i += 8)
        omitted.insert(contract[i].name.c_str());
    WriteLayout(omitted);
    Load();
    Screen().SetUpMatch();
    for (int frame = 0; frame < 5; ++frame)  // the screen's frames and the timers
        context.Update(16);
    for (const std::string& name : omitted) {
        EXPECT_EQ(LogCount("ScreenGame: no widget '" + name + "' in the layout; a hidden stand-in replaces it"), 1u)
            << name;
        ASSERT_NE(Screen().BoundWidget(name.c_str()), nullptr) << name;
        EXPECT_FALSE(Visible(name)) << name;
    }
    EXPECT_EQ(Screen().GetMissingWidgets().size(), omitted.size());
    match().RoundStartEvent.Fire(nullptr);
    Unload();
    EXPECT_TRUE(!Screen().BoundWidget("MenuButton") && Screen().GetMissingWidgets().empty());
    // The next load makes its stand-ins afresh.
    Load();
    EXPECT_EQ(LogCount("ScreenGame: no widget 'PoPBackground' in the layout; a hidden stand-in replaces it"), 2u);
    Unload();
}

}  // namespace

// Escape ("UnPause") leaves the in-game menu and its pause. In a face-off a left click on a button
// is the button's and no buzz; a click beside it and the space bar (80) buzz.
TEST_F(ScreenGameTest, EscapeLeavesTheMenuAndAClickOnAButtonIsNoBuzz) {
    Load();
    StopShow();
    LoadPopups();
    GameServices::Entities::BaseTeamMember* player = context.m_PlayerOneFamily->m_Members[0];
    Screen().onMenuClicked();
    ASSERT_EQ(open(), Names{"InGameMenu"});
    match_stage::SendAction(context, "UnPause", player);
    EXPECT_TRUE(open().empty() && CompositionManager::Instance().m_PopupState == CompositionManager::kPopupNone &&
                !context.IsPaused());
    W::HitRectangle menu = Bound("MenuButton")->WindowHit();
    const f32 x = menu.x + (menu.minX + menu.maxX) / 2, y = menu.y + (menu.minY + menu.maxY) / 2;
    for (auto [code, atY, buzz] : {std::tuple{2, y, false}, {2, menu.y + menu.maxY + 40, true}, {80, y, true}}) {
        context.m_GamePhase = QZ2011::PhaseFaceOffBuzz;
        context.m_BuzzOwner = -1;
        GameServices::Bridge::sActionData action;
        action.m_X = x, action.m_Y = atY, action.m_KeyFlag = 1, action.m_KeyCode = code;
        GameServices::KorvoGame::TeamActionData data(&action, 0, player);
        context.GetTeamActionManager()->SimulateTeamAction(&data, "BuzzSinglePlayer");
        EXPECT_EQ(context.m_BuzzOwner == 0, buzz) << code << " at " << atY;
    }
}

// No audio manager, no narration: each narrated step lasts a frame. The loaded screen holds the
// window callbacks; unloading gives them back.
TEST(ScreenTutorial, WithoutANarratorEachStepLastsAFrameAndUnloadingGivesTheWindowCallbacksBack) {
    PCApplicationImpl application;
    QZ2011::ScreenTutorial screen;
    screen.SetApplication(&application);
    screen.onLoad();
    EXPECT_EQ(application.GetDeactivatedCallback().object, &screen);
    std::vector<int> states;
    for (int frame = 0; frame < 3; ++frame, screen.Process(16))
        states.push_back(screen.m_State);
    states.push_back(screen.m_State);
    EXPECT_EQ(states, (std::vector<int>{1, 2, 3, 4}));
    screen.onUnload();
    EXPECT_FALSE(application.GetActivatedCallback().fn || application.GetDeactivatedCallback().fn);
}
