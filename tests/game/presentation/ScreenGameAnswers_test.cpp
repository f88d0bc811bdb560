// The in-game screen's board rows, answer entry, countdown and verdicts, and its face-off,
// play-or-pass and turn callbacks, on the loaded screen of a match level; fast money on a bank of
// seven 70s questions: passes and the pass cursor, the second player's duplicates, the questions
// kept at a time-up and the prizes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/presentation/screens/ScreenGame.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/support/ScreenGameFixture.h"

namespace {

using QZ2011::ScreenGame;
using Pair = std::pair<i64, i64>;
using Lines = std::vector<u32>;
using Names = std::vector<std::string>;

class ScreenGameAnswers : public screen_game::ScreenGameFixture {
protected:
    void SetUp() override {
        ScreenGameFixture::SetUp();
        Load();
    }
    void TearDown() override {
        GameShow::PlayerProfileManager::Instance()->ClearPlayers();
        ScreenGameFixture::TearDown();
    }
    // The 70s question of that many answers, current for the screen and the bank; nothing
    // playing; the decade, round and phase as given.
    QZ2011::Question* Ask(int answers, u32 decade = 0, i32 round = 1, i32 phase = 8) {
        UseQuestions({match_stage::WordQuestion(answers)});
        StopShow();
        context.m_Decade = decade;
        context.m_RoundCounter = round;
        context.m_GamePhase = phase;
        Screen().m_QuestionLabel->m_TextStyle.m_Text = "";
        return Screen().m_CurrentQuestion = context.GetQuestionManager()->LoadQuestion(0);
    }
    // An open answer turn of the family.
    void Turn(i32 family, const char* typed) {
        context.m_CurrentFamily = family;
        context.m_AnswerEntryOpen = 1;
        context.m_TimeUp = 0;
        Screen().m_ConfirmButton->Visible = true;
        Screen().m_SoftKeyboard->SetText(typed);
    }
    int Judged() const { return events.recorders[3].count; }
    static std::string Text(const GameServices::Widget::Label* label) { return label->m_TextStyle.m_Text.c_str(); }
    // A new match whose fast money starts with bank line `first`, player one's family playing.
    void StartFirstTurn(i32 first = 0) {
        Screen().SetUpMatch();
        StopShow();
        context.GetQuestionManager()->SetCurrentIndex(first - 1);
        context.m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
        context.m_GamePhase = QZ2011::PhaseFastMoneyIntro;
        Screen().onFastMoneyStart(nullptr);
        context.m_GamePhase = QZ2011::PhaseFastMoneyFirstPlayer;
        context.m_AnswerEntryOpen = 1;
    }
    void StartSecondTurn() {
        StopShow();
        context.m_GamePhase = QZ2011::PhaseFastMoneySecondPlayer;
        Screen().onFastMoneySecondPlayer(nullptr);
    }
    // As the "EnterAnswer" action: the rules judge the first player's text, the screen takes it.
    void Enter(const std::string& text) {
        Screen().m_SoftKeyboard->SetText(text.c_str());
        context.m_TypedAnswer = text.c_str();
        if (context.m_GamePhase == QZ2011::PhaseFastMoneyFirstPlayer)
            context.CheckTypedAnswer(context.m_AnswerRecord);
        Screen().onFastMoneyAnswerEntered();
    }
    // The bank line on screen, -1 once the turn is over; the screen follows the manager's question.
    int Asked() {
        if (context.m_GamePhase == QZ2011::PhaseFastMoneyReveal)
            return -1;
        EXPECT_EQ(Screen().m_CurrentQuestion, context.GetQuestionManager()->CurrentQuestion());
        return Screen().m_CurrentQuestion ? int(Screen().m_CurrentQuestion->Index()) : -2;
    }
    Lines Stored() { return {std::begin(context.m_FastMoneyQuestionIds), std::end(context.m_FastMoneyQuestionIds)}; }
    // Fast money's bank: question q is "70-10<q>" with the answers "top" (50), "mid" (30) and "low" (20).
    void UseBank() {
        std::vector<TestQuestion> questions(7);
        for (int q = 0; q < 7; ++q) {
            questions[q].id = "70-10" + std::to_string(q);
            questions[q].answers = {{50, "Top", {{"top"}}}, {30, "Mid", {{"mid"}}}, {20, "Low", {{"low"}}}};
        }
        UseQuestions(questions);
    }
    // Player 0 plays a profile.
    GameShow::PlayerProfile* AssignProfile() {
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        profiles->GetSavedFile()->AddSavedGame();
        profiles->AssignPlayer(0, 0);
        return profiles->GetSavedFile()->GetSavedGame(0);
    }
    std::string Label(const std::string& name) { return Text(static_cast<GameServices::Widget::Label*>(Bound(name))); }
};

TEST_F(ScreenGameAnswers, SpecialQuestionIds) {
    for (const auto& [id, special] : std::vector<std::pair<const char*, bool>>{
             {"70-7803", true}, {"70-7804", false}, {"80-7938-A", true}, {"80-7938-a", false}, {"", false}})
        EXPECT_EQ(Screen().IsSpecialQuestion(id), special) << id;
}

TEST_F(ScreenGameAnswers, TypingStopsWithoutAGame) {
    Ask(1);
    Screen().StartQuestionTyping();
    // Without a running game the answer typing stops.
    GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get();
    GameServices::KorvoGame::ICurrentGame::SetInstance(nullptr);
    Screen().m_AnswerTypingActive = true;
    Screen().TypeNextAnswerChar();
    GameServices::KorvoGame::ICurrentGame::SetInstance(game);
    EXPECT_FALSE(Screen().m_AnswerTypingActive);
}

TEST_F(ScreenGameAnswers, FastMoneyPointSums) {
    for (int i = 0; i < 10; ++i)
        Screen().m_FastMoneyAnswerPoints[i] = 1 << i;
    for (const auto& [last, sum] : std::vector<Pair>{{-1, 0}, {4, 31}, {12, 1023}})
        EXPECT_EQ(Screen().SumFastMoneyPoints(i32(last)), sum) << last;
}

TEST_F(ScreenGameAnswers, SmallerBoardFromRoundThree) {
    // The smaller board of the 90s and 00s from round 3 on: answers 4 to 6 a row lower, no 7th.
    const struct { u32 decade; i32 round; const char* rows; } cases[] = {
        {1, 3, "12345678"}, {2, 2, "12345678"}, {2, 3, "123-456-"}, {3, 5, "123-456-"}};
    for (const auto& c : cases) {
        QZ2011::Question* question = Ask(8, c.decade, c.round);
        for (auto* label : Screen().m_AnswerLabels)
            label->m_TextStyle.m_Text = "-";
        Screen().m_CenterAnswerLabels[0]->m_TextStyle.m_FontName = "";
        Screen().m_QuestionLabel->m_TextStyle.m_FontName = "";
        Screen().ShowQuestion(question);
        EXPECT_STREQ(Screen().m_QuestionLabel->m_TextStyle.m_FontName.c_str(), ScreenGame::kQuestionFont);
        std::string rows;
        for (auto* label : Screen().m_AnswerLabels)
            rows += Text(label) == "-" ? '-' : char(Text(label)[1] + 1);
        EXPECT_EQ(rows, c.rows) << c.decade << " " << c.round;
        // The last answer found shows on the full board only: the smaller one has no row for it.
        question->GetAnswer(7).SetRevealed(true);
        Screen().m_AnswerLabels[7]->Visible = false;
        Screen().ShowRevealedAnswers();
        EXPECT_EQ(Screen().m_AnswerLabels[7]->Visible, c.rows[7] != '-');
        // The centre board's label takes the font the text fits in, as the side board's does.
        EXPECT_STREQ(Screen().m_CenterAnswerLabels[0]->m_TextStyle.m_FontName.c_str(),
                     Screen().m_AnswerLabels[0]->m_TextStyle.m_FontName.c_str());
    }
}

TEST_F(ScreenGameAnswers, ShorterQuestionHidesRows) {
    // The rows past a shorter question's answers are hidden.
    QZ2011::Question* shorter = Ask(3);
    Screen().m_AnswerLabels[3]->Visible = Screen().m_AnswerLabels[7]->Visible = true;
    Screen().ShowQuestion(shorter);
    EXPECT_FALSE(Screen().m_AnswerLabels[3]->Visible || Screen().m_AnswerLabels[7]->Visible);
}

TEST_F(ScreenGameAnswers, CountdownDigits) {
    // A 30 s limit in the main game, 25 s ("fastMoneySecondTime") in phase 24, 20 s in phase 25.
    const struct { i32 phase; u32 elapsedMs; int units, tens; bool low, high; } countdowns[] = {  // -1: timed out
        {8, 15999, 5, 1, false, true},   {8, 16000, 4, 1, false, false}, {12, 24000, 6, 0, false, false},
        {12, 25000, 5, 0, true, false}, {8, 31000, -1, -1, true, false}, {24, 0, 5, 2, false, true},
        {25, 0, 0, 2, false, true},       {24, 26000, -1, -1, true, false}};
    for (const auto& c : countdowns) {
        Ask(3, 0, 1, c.phase);
        Turn(1, "");
        Screen().StartAnswerTimer();
        Screen().m_CountdownElapsedMs = c.elapsedMs;
        Screen().onTimerTick();
        for (int d = 0; d < 10; ++d)
            EXPECT_EQ(Pair(Screen().m_TimerUnits[d]->Visible, Screen().m_TimerTens[d]->Visible),
                      Pair(d == c.units, d == c.tens)) << c.elapsedMs << " digit " << d;
        EXPECT_EQ(std::vector<bool>({Screen().m_CountdownRunning, Screen().m_TimerPanel->Visible,
                                     Screen().m_CountdownLow, Screen().m_CountdownHigh}),
                  std::vector<bool>({c.units >= 0, c.units >= 0, c.low, c.high})) << c.elapsedMs;
    }
}

TEST_F(ScreenGameAnswers, EmptiedEntryOffersAPass) {
    // From fast money on, an emptied entry offers a pass on the confirm button; a hidden keyboard's
    // text changes nothing.
    for (const auto& [phase, typed, shown, label] : std::vector<std::tuple<i32, std::string, bool, std::string>>{
             {24, "", true, "PASS"}, {24, "ab", true, "OK"}, {12, "", true, "OK"}, {24, "", false, "OK"}}) {
        context.m_GamePhase = phase;
        Screen().m_ConfirmButton->m_TextStyle.m_Text = "OK";
        Screen().m_SoftKeyboard->SetText(typed.c_str());
        Screen().m_SoftKeyboard->Visible = shown;
        Screen().m_LastTypedLength = -1;
        Screen().onAnswerTextChanged();
        EXPECT_EQ(Screen().m_ConfirmButton->m_TextStyle.m_Text.c_str(), label) << phase << typed;
        EXPECT_EQ(Screen().m_LastTypedLength, shown ? i32(typed.size()) : -1);
    }
}

TEST_F(ScreenGameAnswers, TimeUpJudgesOnce) {
    // What is typed at the time-up is judged once (the computer's pick is not, and its box goes);
    // nothing after it, or after a taken answer, is judged.
    const struct { i32 phase, family, round; const char* typed; const char* sequence; Pair timeUpAndIndex; } times[] = {
        {8, 1, 1, "", "time_is_up", {0, -1}},         {20, 1, 1, "word1", "right_answer_faceoff", {0, 1}},
        {12, 1, 1, "word1", "blank", {1, 1}},         {8, 0, 1, "word0", "time_is_up", {0, -1}},
        {20, 1, 5, "word1", "time_is_up", {0, -1}}};
    for (const auto& c : times) {
        Ask(3, 0, c.round, c.phase);
        Turn(c.family, "");
        context.m_ChosenAnswerIndex = 0;
        context.m_AIMayAct = 1;
        Screen().m_SoftKeyboard->Visible = Screen().m_AIBox->Visible = c.family == 0;
        Screen().StartAnswerTimer();  // opens an empty keyboard: the text is typed after it
        EXPECT_EQ(Pair(Screen().m_SoftKeyboard->Visible, Screen().m_AIBox->Visible), Pair(c.family, !c.family));
        Screen().m_SoftKeyboard->SetText(c.typed);
        Screen().m_CountdownElapsedMs = 60000;
        Screen().onTimerTick();
        EXPECT_EQ(std::tuple(Playing(), Pair(context.m_TimeUp, context.m_LastAnswerIndex), Screen().m_AIBox->Visible),
                  std::tuple(c.sequence, c.timeUpAndIndex, false)) << c.phase << c.typed;
        Screen().onConfirmClicked();
        EXPECT_EQ(Pair(context.m_AIMayAct, Judged()), Pair(0, 0)) << "confirm after the time-up";
    }
}

TEST_F(ScreenGameAnswers, ConfirmTakesOneAnswer) {
    GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get();
    Ask(3);
    Turn(1, "");
    Screen().StartAnswerTimer();
    Screen().m_SoftKeyboard->SetText("word2");
    Screen().onConfirmClicked();
    EXPECT_TRUE(Playing() == "right_answer_faceoff" && !Screen().m_CountdownRunning &&
                !Screen().m_TimerPanel->Visible && Screen().m_SoftKeyboard->GetEnteredText().IsEmpty());
    Screen().m_SoftKeyboard->SetText("word1");
    Screen().onConfirmClicked();
    GameServices::KorvoGame::TeamActionData enter(nullptr, 0, match().PlayerOneMember());
    match().OnEnterAnswer(&enter);
    EXPECT_EQ(std::tuple(Judged(), context.m_LastAnswerIndex, Screen().m_CurrentQuestion->GetAnswer(1).IsRevealed()),
              std::tuple(1, 2, false));
    Turn(1, "word1");
    Screen().m_ConfirmButton->Visible = false;
    Screen().onConfirmClicked();
    EXPECT_EQ(Judged(), 1) << "hidden confirm button";
    // From fast money's opening on, a confirm leaves "PASS" on the button.
    context.m_GamePhase = QZ2011::PhaseFastMoneyIntro;
    Screen().m_ConfirmButton->Visible = true;
    Screen().onConfirmClicked();
    EXPECT_EQ(Screen().m_ConfirmButton->m_TextStyle.m_Text, "PASS");
    // A screen made while no current runs has no match mode: its confirm is not taken.
    GameServices::KorvoGame::ICurrentGame::SetInstance(nullptr);
    QZ2011::ScreenGame bare;
    GameServices::KorvoGame::ICurrentGame::SetInstance(game);
    bare.m_ConfirmButton = Screen().m_ConfirmButton;
    Ask(3);
    Turn(1, "word1");
    bare.onConfirmClicked();
    EXPECT_EQ(Judged(), 1) << "no match mode";
}

TEST_F(ScreenGameAnswers, RightAnswersScore) {
    const struct { i32 round, index; bool foundBefore, right; } answers[] = {
        {1, 1, false, true}, {1, 0, true, false}, {5, 1, false, false}, {5, 0, false, true}, {1, 8, false, false}};
    for (const auto& c : answers) {
        QZ2011::Question* question = Ask(9, 0, c.round);
        question->GetAnswer(u32(c.index)).SetRevealed(c.foundBefore);
        Turn(1, "");
        context.m_LastAnswerIndex = context.m_AnswerRecord->m_AnswerIndex = c.index;
        context.m_RoundBank = 0;
        Screen().m_AnswerLabels[c.index % 8]->Visible = false;
        Screen().onAnswerEntered(nullptr);
        // A right answer's row shows once it is scored.
        EXPECT_EQ(std::tuple(c.index < 8 && Screen().m_AnswerLabels[c.index]->Visible, context.m_RoundBank, Playing(),
                             question->GetAnswer(u32(c.index)).IsRevealed()),
                  std::tuple(c.right, c.right ? u32(80 - c.index) * (c.round == 5 ? 3 : 1) : 0,
                             c.right ? "right_answer_faceoff" : "wrong_answer_faceoff", c.right || c.foundBefore))
            << c.round << " " << c.index;
    }
}

TEST_F(ScreenGameAnswers, OnePlayerAwardChecks) {
    // The one-player award checks, each reported by the profile lookup when no profile is
    // assigned: a right answer in the last 5 s in the 90s, player one's top answer with 15 s or
    // more left in the 00s.
    const struct { u32 decade; i32 family, index; bool low, high; u32 twoPlayers; size_t checks; } awards[] = {
        {2, 0, 1, true, false, 0, 1}, {2, 1, 1, true, false, 1, 0}, {2, 1, 1, false, false, 0, 0},
        {3, 1, 0, false, true, 0, 1}, {3, 1, 1, false, true, 0, 0}, {1, 1, 0, true, true, 0, 0}};
    for (const auto& c : awards) {
        Ask(3, c.decade);
        Turn(c.family, "");
        context.m_TwoPlayers = c.twoPlayers;
        context.m_LastAnswerIndex = context.m_AnswerRecord->m_AnswerIndex = c.index;
        Screen().m_CountdownLow = c.low, Screen().m_CountdownHigh = c.high;
        log.Clear();
        Screen().onAnswerEntered(nullptr);
        EXPECT_EQ(log.Count("No profile"), c.checks) << c.decade << " " << c.family << " " << c.index;
    }
}

TEST_F(ScreenGameAnswers, FastMoneyKeepsEntryOpen) {
    context.m_TwoPlayers = 0;
    Ask(3, 0, 1, QZ2011::PhaseFastMoneyFirstPlayer);  // fast money keeps entry open from question to question
    Turn(1, "");
    Screen().onAnswerEntered(nullptr);
    EXPECT_EQ(context.m_AnswerEntryOpen, 1);
}

TEST_F(ScreenGameAnswers, FaceOffAndPlayOrPass) {
    // Family -1: the face-off won by the right (play 1) or the left (play 0) side.
    const struct { i32 family; u8 play; u32 twoPlayers; const char* sequence; u8 aiMayAct; } chosen[] = {
        {-1, 1, 0, "playOrPassRight", 1},      {-1, 0, 0, "playOrPassLeft", 0},
        {1, 1, 0, "transitionLeftFamily", 0},  {1, 0, 0, "play_or_pass_AI_left", 0},
        {1, 0, 1, "transitionLeftFamily", 0},  {2, 0, 1, "transitionRightFamily", 0},
        {0, 1, 0, "play_or_pass_AI_right", 0}, {0, 0, 0, "transitionRightFamily", 0}};
    for (const auto& c : chosen) {
        Ask(3);
        context.m_AIMayAct = 0;
        context.m_CurrentFamily = c.family;
        context.m_FaceOffWinner = context.m_PlayChosen = c.play;
        context.m_TwoPlayers = c.twoPlayers;
        if (c.family < 0)
            Screen().onFaceOffWon(nullptr);
        else
            Screen().onPlayOrPassChosen(nullptr);
        EXPECT_EQ(std::tuple(Playing(), context.m_AIMayAct, Text(Screen().m_QuestionLabel)),
                  std::tuple(c.sequence, c.aiMayAct, c.family < 0 ? "Name something" : "")) << int(c.play);
        EXPECT_TRUE(c.family >= 0 || Screen().m_AnswersBox->m_X == (c.play ? 59 : 247)) << c.sequence;
    }
}

TEST_F(ScreenGameAnswers, NoQuestionBuzz) {
    Ask(3);
    // Without a question the buzz shows none, its answer turns no block up and the face-off's winner still chooses.
    Screen().m_CurrentQuestion = nullptr;
    Screen().onBuzzOpen(nullptr);
    Screen().onBuzzAccepted(nullptr);
    EXPECT_FALSE(Block("board_block_01")->Visible);
    context.m_FaceOffWinner = 0;
    Screen().onFaceOffWon(nullptr);
    EXPECT_EQ(Playing(), "playOrPassLeft");
}

TEST_F(ScreenGameAnswers, TurnsAndSteals) {
    const struct { i32 family; u32 twoPlayers; const char* turn; const char* steal; u8 aiMayAct; } turns[] = {
        {0, 0, "otherTeamAnswerRight", "transitionRightFamily03", 1},
        {2, 1, "otherTeamAnswerRight_Party", "transitionRightFamily03", 0},
        {1, 0, "otherTeamAnswerLeft", "transitionLeftFamily03", 0}};
    for (const auto& c : turns) {
        Ask(3);
        context.m_CurrentFamily = c.family;
        context.m_TwoPlayers = c.twoPlayers;
        context.m_AnswerTurnPending = 0;
        Screen().onRoundAnswerTurn(nullptr);
        // The turn opens when its sequence ends.
        EXPECT_EQ(std::tuple(Playing(), context.m_AIMayAct, context.m_AnswerTurnPending),
                  std::tuple(c.turn, c.aiMayAct, 1));
        // An answer the family still owes in the face-off plays the same turn; only the computer's keeps its box.
        context.m_AnswerPending = 1;
        QZ2011::AnswerResult* record = std::exchange(context.m_AnswerRecord, nullptr);  // the rules have ruled
        context.m_GamePhase = QZ2011::PhaseSuddenDeathSecondAnswer;
        Bound("AIBox")->SetVisible(true);
        Screen().onAnswerResult(nullptr);
        context.m_AnswerRecord = record;
        EXPECT_TRUE(Playing() == c.turn && Visible("AIBox") == (c.family == 0) && !context.m_AnswerPending &&
                    context.m_AIMayAct == c.aiMayAct);
        StopShow();
        Screen().onSteal(nullptr);
        EXPECT_EQ(Playing(), c.steal);
    }
}

TEST_F(ScreenGameAnswers, PlayOrPassButtons) {
    // The player's own choice on a shown button: a pass hands the turn over; the computer waits either way.
    for (const bool play : {true, false}) {
        Ask(3);
        Screen().m_PlayButton->Visible = Screen().m_PassButton->Visible = true;
        context.m_CurrentFamily = context.m_AIMayAct = 1;
        play ? Screen().onPlayClicked() : Screen().onPassClicked();
        EXPECT_EQ(std::vector<i64>({context.m_PlayChosen, context.m_CurrentFamily, context.m_AIMayAct}),
                  std::vector<i64>({play, play, 0}));
    }
}

TEST_F(ScreenGameAnswers, FastMoneyPasses) {
    // Fast money on the bank. A pass asks the question again after the others, in index order
    // from the pass cursor, and again when passed again (two passed again and again take turns);
    // entry stays open until the turn ends.
    UseBank();
    const struct { Names entries; std::vector<int> asked; } passes[] = {
        {{"", "top", "", "top", "top", "", "top", "top"}, {1, 2, 3, 4, 0, 2, 0, -1}},
        {{"top", "", "", "mid", "low", "", "top", "top"}, {1, 2, 3, 4, 1, 2, 1, -1}},
        {{"", "top", "top", "top", "top", "", "", "top"}, {1, 2, 3, 4, 0, 0, 0, -1}},
        {{"top", "mid", "low", "top", "top"}, {1, 2, 3, 4, -1}},
    };
    Bound("AnswerLabelFM2")->SetVisible(false);  // shown by its entry
    for (const auto& c : passes) {
        StartFirstTurn();
        ASSERT_EQ(Asked(), 0);
        EXPECT_EQ(Screen().m_ConfirmButton->m_TextStyle.m_Text, "PASS");
        for (size_t i = 0; i < c.entries.size(); ++i) {
            Enter(c.entries[i]);
            EXPECT_EQ(Pair(Asked(), context.m_AnswerEntryOpen), Pair(c.asked[i], c.asked[i] >= 0)) << "entry " << i;
        }
        EXPECT_EQ(Stored(), (Lines{0, 1, 2, 3, 4}));
    }
    // Raw survey points, the top answers counted, the typed texts shown.
    EXPECT_EQ(Pair(context.m_FastMoneyTotal, Screen().m_FastMoneyRevealCount), Pair(50 + 30 + 20 + 50 + 50, 3));
    EXPECT_TRUE(Visible("AnswerLabelFM2") && Label("AnswerLabelFM2") == "mid" && Label("FreqLabelFM2") == "30");
    // Outside the players' turns, or past the fifth question, an entry is not taken.
    context.m_FastMoneyAnswerIndex = 0;
    Enter("low");
    context.m_GamePhase = QZ2011::PhaseFastMoneyFirstPlayer;
    context.m_FastMoneyAnswerIndex = 5;
    Enter("top");
    EXPECT_TRUE(context.m_FastMoneyTotal == 200 && Label("AnswerLabelFM6").empty());
}

TEST_F(ScreenGameAnswers, FastMoneyBadIndexIsNoAnswer) {
    UseBank();
    // An answer index past the question's answers, or any with no question on screen, counts as no answer.
    StartFirstTurn();
    for (const i32 index : {3, 0}) {
        Screen().m_SoftKeyboard->SetText("zzz");
        context.m_LastAnswerIndex = index;
        Screen().m_CurrentQuestion = index ? Screen().m_CurrentQuestion : nullptr;
        Screen().onFastMoneyAnswerEntered();
    }
    EXPECT_EQ(Pair(Screen().m_FastMoneyAnswerIndices[0], Screen().m_FastMoneyAnswerIndices[1]), Pair(-1, -1));
}

TEST_F(ScreenGameAnswers, FastMoneyTimeUpAndSecondTurn) {
    UseBank();
    // A time-up draws only the questions the first player never saw; the second player is asked the
    // same five, and repeating the first player's answer to one asks it again.
    const struct { i32 first; Names entries; Lines stored; } firstTurns[] = {
        {0, {"top", ""}, {0, 1, 2, 3, 4}}, {5, {"", "top", "mid", "top", "low"}, {5, 6, 0, 1, 2}}};
    for (const auto& c : firstTurns) {
        StartFirstTurn(c.first);
        for (const std::string& text : c.entries)
            Enter(text);
        Screen().onFastMoneyTimeUp();
        EXPECT_EQ(Stored(), c.stored);
        EXPECT_TRUE(i32(context.m_GamePhase) == QZ2011::PhaseFastMoneyReveal && !Visible("SoftKeyboardWidget") &&
                    !Visible("BlackBackground") && !context.m_AnswerEntryOpen);
    }
    // The last first turn: question 0 passed (its re-asked copy timed out), then top, mid, top, low.
    // The second turn's board shows on the screens, the side board's answers box hidden.
    Prop("board_screen10_a")->SetVisible(true);
    Screen().m_AnswersBox->Visible = true;
    StartSecondTurn();
    const struct { const char* text; int asked; i32 points; } steps[] = {
        {"top", 1, 50}, {"top", 1, 0}, {"low", 2, 20}, {"mid", 2, 0}, {"", 3, 0}, {"low", 4, 20}};
    const Lines lines = Stored();
    i32 total = context.m_FastMoneyTotal;
    for (const auto& s : steps) {
        Screen().m_QuestionTypingActive = false;
        Enter(s.text);
        total += s.points;
        EXPECT_EQ(Pair(Asked(), context.m_FastMoneyTotal), Pair(lines[s.asked], total)) << s.text;
        // Each entry, a repeated answer too, types the question on screen afresh.
        EXPECT_TRUE(Screen().m_SoftKeyboard->GetEnteredText().IsEmpty() && Screen().m_QuestionTypingActive);
    }
    // Played, or asked of a level whose sound assets are all taken.
    const auto& sfx = context.GetAudioManager()->GetCategoryNames(QZ2011::AudioManagerQZ::kSfx);
    EXPECT_TRUE((!sfx.empty() && sfx.back() == "SFX_FM_DupeAnswer.snd") || log.Contains("SFX_FM_DupeAnswer.snd"));
    EXPECT_TRUE(Label("AnswerLabelFM6") == "top" && !Prop("board_screen10_a")->Visible && !Visible("AnswersBox"));
    EXPECT_EQ(Pair(Screen().m_FastMoneyAnswerPoints[6], Screen().m_FastMoneyAnswerIndices[7]), Pair(20, -1));
}

TEST_F(ScreenGameAnswers, FastMoneyPrizes) {
    UseBank();
    // The prizes and the first player's five top answers count toward the awards of the decade, in a
    // one-player game only; without a profile a prize is reported.
    const struct { u32 decade, twoPlayers, reveal, tops; i32 total; const char* counter; int added; } prizes[] = {
        {1, 0, 9, 0, 150, "100kEarnDollarsFM80", 750}, {3, 0, 9, 0, 150, "2500EarnPointsFM00", 150},
        {1, 0, 7, 0, 200, "10Win20K80", 1},           {1, 0, 9, 0, 150, "10Win20K80", 0},
        {3, 0, 7, 0, 200, "2500EarnPointsFM00", 200}, {2, 0, 4, 5, 100, "1GiveAllTopsFM90", 1},
        {2, 1, 4, 5, 100, "1GiveAllTopsFM90", 0},     {3, 1, 9, 0, 150, "2500EarnPointsFM00", 0},
        {1, 0, 9, 0, 0, "100kEarnDollarsFM80", 0},
    };
    int reveals = 0;
    GameShow::PlayerProfile* profile = AssignProfile();
    for (const auto& c : prizes) {
        SCOPED_TRACE(std::string(c.counter) + " in decade " + std::to_string(c.decade));
        StartFirstTurn();
        profile->Score = 0;
        const int before = match_stage::AchievementValue(c.counter);
        context.m_Decade = c.decade;
        context.m_TwoPlayers = c.twoPlayers;
        context.m_FastMoneyTotal = c.total;
        context.m_GamePhase = QZ2011::PhaseFastMoneyReveal;
        Screen().m_FastMoneyAnswerPoints[0] = c.total;
        Screen().m_FastMoneyAnswerPoints[c.reveal] = 7;
        for (const char* total : {"FMTotal1", "FMTotal2"}) {  // the board of the player revealed
            static_cast<GameServices::Widget::Label*>(Bound(total))->SetText("");
            Bound(total)->SetVisible((total[7] == '1') == (c.reveal < 5));
        }
        Screen().m_FastMoneyRevealIndex = c.reveal;
        Screen().m_FastMoneyRevealCount = c.tops;
        Screen().onFastMoneyReveal(nullptr);
        EXPECT_EQ(match_stage::AchievementValue(c.counter) - before, c.added);
        // The running total of the reveals; the first player's board shows only the first five.
        const std::string sum = std::to_string(7 * ++reveals);
        EXPECT_EQ(Label("FMTotal1") + "/" + Label("FMTotal2"), (c.reveal < 5 ? sum : "") + "/" + sum);
        EXPECT_EQ(profile->Score, c.total >= 200 ? 20000u : c.reveal == 9 ? u32(5 * c.total) : 0u);
        // No answer is left to reveal after the win.
        EXPECT_EQ(std::pair(Screen().m_FastMoneyFirstRevealDone, Screen().m_FastMoneyRevealCount),
                  std::pair(false, c.added && c.tops ? 0u : c.tops));
    }
}

TEST_F(ScreenGameAnswers, FastMoneyEnd) {
    UseBank();
    AssignProfile();
    // A win with answers left: the next reveal shows the rest at once.
    StartFirstTurn();
    context.m_FastMoneyTotal = Screen().m_FastMoneyAnswerPoints[0] = 200;
    context.m_GamePhase = QZ2011::PhaseFastMoneyReveal;
    static_cast<GameServices::Widget::Label*>(Bound("AnswerLabelFM3"))->SetText("mid");
    Screen().onFastMoneyReveal(nullptr);
    Screen().onFastMoneyReveal(nullptr);
    EXPECT_EQ(Playing(), "fast_money_round_reveal_others_left");
    GameShow::PlayerProfileManager::Instance()->ClearPlayers();
    StartFirstTurn();
    Screen().onFastMoneyTimeUp();
    EXPECT_TRUE(Playing() == "fast_money_round2" && Visible("FMTotal1")) << "nothing typed: revealed at once";
    StartSecondTurn();
    match().HideAllContestants();
    Screen().onFastMoneyTimeUp();
    EXPECT_TRUE(Playing() == "end_game_normal_win_left" && Member(0)->Visible && !Member(4)->Visible)
        << "the winners stand on their podiums";
    EXPECT_TRUE(log.Contains("ScreenGame : no profile takes the fast money prize of 0"));
    // Once the game is over a late reveal plays nothing.
    StopShow();
    Screen().m_FastMoneyRevealIndex = 0;
    context.m_GamePhase = QZ2011::PhaseGameOver;
    Screen().onFastMoneyReveal(nullptr);
    EXPECT_EQ(Playing(), "");
}

}  // namespace
