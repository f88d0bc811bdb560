// The in-game screen's board rows, answer entry, countdown and verdicts, and its face-off,
// play-or-pass and turn callbacks, on the loaded screen of a match level.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/presentation/screens/ScreenGame.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/support/ScreenGameFixture.h"

namespace {

using QZ2011::ScreenGame;
using Pair = std::pair<i64, i64>;

// One question a decade, in decade order, of `answers` answers: "a<n>" worth 80 - n, typed "word<n>".
class DecadeBank {
public:
    DecadeBank(QZ2011GameContext& context, const TempDir& home, int answers) : m_context(context) {
        AGResourceManager::SetInstance(&m_resources);
        m_resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        std::vector<std::pair<std::string, std::string>> files = {{"list.txt", "70-1\n80-1\n90-1\n20-1\n"}};
        for (const char* id : {"70-1", "80-1", "90-1", "20-1"}) {
            TestQuestion question;
            question.id = id;
            for (int i = 0; i < answers; ++i)
                question.answers.push_back({u32(80 - i), "a" + std::to_string(i), {{"word" + std::to_string(i)}}});
            files.push_back({std::to_string(files.size() - 1) + ".bin", QuestionBytes(question)});
        }
        m_package.Mount(home.Write("GameQuestions.dir", ArchiveBytes(files)).c_str(), false);
        context.GetQuestionManager()->Initialize();
    }
    ~DecadeBank() {
        m_context.GetQuestionManager()->Cleanup();
        m_package.Unmount();
        AGResourceManager::SetInstance(nullptr);
    }

private:
    QZ2011GameContext& m_context;
    AGResourceManager m_resources;
    PcDirectory m_package;
};

class ScreenGameAnswers : public screen_game::ScreenGameFixture {
protected:
    void SetUp() override {
        ScreenGameFixture::SetUp();
        Load();
    }
    void TearDown() override {
        bank.reset();
        ScreenGameFixture::TearDown();
    }
    // The 70s question of that many answers, current for the screen and the bank; nothing
    // playing; the decade, round and phase as given.
    QZ2011::Question* Ask(int answers, u32 decade = 0, i32 round = 1, i32 phase = 8) {
        bank.reset();
        bank = std::make_unique<DecadeBank>(context, home, answers);
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

    std::unique_ptr<DecadeBank> bank;
};

TEST_F(ScreenGameAnswers, SpecialIdsTypingStepsAndFastMoneySums) {
    for (const auto& [id, special] : std::vector<std::pair<const char*, bool>>{
             {"70-7803", true}, {"70-7804", false}, {"80-7938-A", true}, {"80-7938-a", false}, {"", false}})
        EXPECT_EQ(Screen().IsSpecialQuestion(id), special) << id;
    Ask(1);
    log.Clear();
    Screen().StartQuestionTyping();
    // Without a running game the answer typing stops.
    GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get();
    GameServices::KorvoGame::ICurrentGame::SetInstance(nullptr);
    Screen().m_AnswerTypingActive = true;
    Screen().TypeNextAnswerChar();
    GameServices::KorvoGame::ICurrentGame::SetInstance(game);
    EXPECT_FALSE(Screen().m_AnswerTypingActive);
    for (int i = 0; i < 10; ++i)
        Screen().m_FastMoneyAnswerPoints[i] = 1 << i;
    for (const auto& [last, sum] : std::vector<Pair>{{-1, 0}, {4, 31}, {12, 1023}})
        EXPECT_EQ(Screen().SumFastMoneyPoints(i32(last)), sum) << last;
}

// The smaller board of the 90s and 00s from round 3 on: answers 4 to 6 a row lower, no 7th.
TEST_F(ScreenGameAnswers, TheSmallerBoardTakesItsRowsByDecadeAndRound) {
    const struct { u32 decade; i32 round; const char* rows; } cases[] = {
        {1, 3, "12345678"}, {2, 2, "12345678"}, {2, 3, "123-456-"}, {3, 5, "123-456-"}};
    for (const auto& c : cases) {
        QZ2011::Question* question = Ask(8, c.decade, c.round);
        for (auto* label : Screen().m_AnswerLabels)
            label->m_TextStyle.m_Text = "-";
        Screen().ShowQuestion(question);
        std::string rows;
        for (auto* label : Screen().m_AnswerLabels)
            rows += Text(label) == "-" ? '-' : char(Text(label)[1] + 1);
        EXPECT_EQ(rows, c.rows) << c.decade << " " << c.round;
    }
}

// A 30 s limit in the main game, 25 s ("fastMoneySecondTime") in phase 24, 20 s in phase 25.
TEST_F(ScreenGameAnswers, CountdownDigitsWarningsAndLimitByPhase) {
    const struct { i32 phase; u32 elapsedMs; int units, tens; bool low, high; } cases[] = {  // -1: timed out
        {8, 15999, 5, 1, false, true},   {8, 16000, 4, 1, false, false}, {12, 24000, 6, 0, false, false},
        {12, 25000, 5, 0, true, false}, {8, 31000, -1, -1, true, false}, {24, 0, 5, 2, false, true},
        {25, 0, 0, 2, false, true}};
    for (const auto& c : cases) {
        Ask(3, 0, 1, c.phase);
        Turn(1, "");
        Screen().StartAnswerTimer();
        Screen().m_CountdownElapsedMs = c.elapsedMs;
        Screen().onTimerTick();
        for (int d = 0; d < 10; ++d)
            EXPECT_EQ(Pair(Screen().m_TimerUnits[d]->Visible, Screen().m_TimerTens[d]->Visible),
                      Pair(d == c.units, d == c.tens)) << c.elapsedMs << " digit " << d;
        EXPECT_EQ(Pair(Screen().m_CountdownRunning, Screen().m_TimerPanel->Visible), Pair(c.units >= 0, c.units >= 0))
            << c.elapsedMs;
        EXPECT_EQ(Pair(Screen().m_CountdownLow, Screen().m_CountdownHigh), Pair(c.low, c.high)) << c.elapsedMs;
    }
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

// What is typed at the time-up is judged once (the computer's pick is not); nothing after it,
// or after a taken answer, is judged.
TEST_F(ScreenGameAnswers, TimeUpVerdictsAndOneAnswerPerTurn) {
    const struct { i32 phase, family, round; const char* typed; const char* sequence; Pair timeUpAndIndex; } cases[] = {
        {8, 1, 1, "", "time_is_up", {0, -1}},         {20, 1, 1, "word1", "right_answer_faceoff", {0, 1}},
        {12, 1, 1, "word1", "blank", {1, 1}},         {8, 0, 1, "word0", "time_is_up", {0, -1}},
        {20, 1, 5, "word1", "time_is_up", {0, -1}}};
    for (const auto& c : cases) {
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
        EXPECT_EQ(Playing(), c.sequence) << c.phase << c.typed;
        EXPECT_EQ(Pair(context.m_TimeUp, context.m_LastAnswerIndex), c.timeUpAndIndex) << c.phase << c.typed;
        Screen().onConfirmClicked();
        EXPECT_EQ(Pair(context.m_AIMayAct, Judged()), Pair(0, 0)) << "confirm after the time-up";
    }
    Ask(3);
    Turn(1, "");
    Screen().StartAnswerTimer();
    Screen().m_SoftKeyboard->SetText("word2");
    Screen().onConfirmClicked();
    EXPECT_EQ(Playing(), "right_answer_faceoff");
    EXPECT_EQ(Pair(Screen().m_CountdownRunning, Screen().m_TimerPanel->Visible), Pair(false, false));
    EXPECT_TRUE(Screen().m_SoftKeyboard->GetEnteredText().IsEmpty());
    Screen().m_SoftKeyboard->SetText("word1");
    Screen().onConfirmClicked();
    GameServices::KorvoGame::TeamActionData enter(nullptr, 0, match().PlayerOneMember());
    match().OnEnterAnswer(&enter);
    EXPECT_EQ(Pair(Judged(), context.m_LastAnswerIndex), Pair(1, 2));
    EXPECT_FALSE(Screen().m_CurrentQuestion->GetAnswer(1).IsRevealed());
    Turn(1, "word1");
    Screen().m_ConfirmButton->Visible = false;
    Screen().onConfirmClicked();
    EXPECT_EQ(Judged(), 1) << "hidden confirm button";
}

TEST_F(ScreenGameAnswers, AnswerOnTheBoardOrBelowTheTopInSuddenDeathIsWrong) {
    const struct { i32 round, index; bool foundBefore, right; } cases[] = {
        {1, 1, false, true}, {1, 0, true, false}, {5, 1, false, false}, {5, 0, false, true}, {1, 8, false, false}};
    for (const auto& c : cases) {
        QZ2011::Question* question = Ask(9, 0, c.round);
        question->GetAnswer(u32(c.index)).SetRevealed(c.foundBefore);
        Turn(1, "");
        context.m_LastAnswerIndex = context.m_AnswerRecord->m_AnswerIndex = c.index;
        context.m_RoundBank = 0;
        Screen().onAnswerEntered(nullptr);
        EXPECT_EQ(context.m_RoundBank, c.right ? u32(80 - c.index) * (c.round == 5 ? 3 : 1) : 0) << c.index;
        EXPECT_EQ(Playing(), c.right ? "right_answer_faceoff" : "wrong_answer_faceoff") << c.round << " " << c.index;
        EXPECT_EQ(question->GetAnswer(u32(c.index)).IsRevealed(), c.right || c.foundBefore) << c.index;
    }
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
        const auto reported = [](const std::string& line) { return line.find("No profile") != std::string::npos; };
        EXPECT_EQ(size_t(std::count_if(log.Lines().begin(), log.Lines().end(), reported)), c.checks)
            << c.decade << " " << c.family << " " << c.index;
    }
    context.m_TwoPlayers = 0;
    Ask(3, 0, 1, QZ2011::PhaseFastMoneyFirstPlayer);  // fast money keeps entry open from question to question
    Turn(1, "");
    Screen().onAnswerEntered(nullptr);
    EXPECT_EQ(context.m_AnswerEntryOpen, 1);
}

TEST_F(ScreenGameAnswers, PlayOrPassChoiceAndTheTurnsPlayTheirSequences) {
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
        EXPECT_EQ(Playing(), c.sequence) << c.family << int(c.play);
        EXPECT_EQ(context.m_AIMayAct, c.aiMayAct) << c.sequence;
        EXPECT_EQ(Text(Screen().m_QuestionLabel), c.family < 0 ? "Name something" : "") << c.sequence;
        if (c.family < 0) {
            EXPECT_EQ(Screen().m_AnswersBox->m_X, c.play ? 59 : 247) << c.sequence;
        }
    }
    // Without a question the face-off's winner still chooses.
    Screen().m_CurrentQuestion = nullptr;
    context.m_FaceOffWinner = 0;
    Screen().onFaceOffWon(nullptr);
    EXPECT_EQ(Playing(), "playOrPassLeft");
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
        EXPECT_EQ(Playing() + " " + std::to_string(context.m_AIMayAct), c.turn + (" " + std::to_string(c.aiMayAct)));
        EXPECT_EQ(context.m_AnswerTurnPending, 1) << "the turn opens when its sequence ends";
        StopShow();
        Screen().onSteal(nullptr);
        EXPECT_EQ(Playing(), c.steal);
    }
}

}  // namespace
