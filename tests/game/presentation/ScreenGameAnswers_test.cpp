// The in-game screen's board rows, answer entry, countdown and verdicts, and its face-off,
// play-or-pass and turn callbacks, on a match level with the show's sequences loaded.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/presentation/screens/ScreenGame.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/game/rules/MatchStage.h"

namespace {

using QZ2011::ScreenGame;
using GameServices::Widget::Button;
using GameServices::Widget::Image;
using GameServices::Widget::Label;

// One question a decade ("70-0001", "80-0001", "90-0001", "20-0001" in that order), each of
// the given number of answers: answer n is "a<n>" worth 80 - n, typed as "word<n>".
class DecadeBank {
public:
    DecadeBank(QZ2011GameContext& context, const TempDir& home, int answers) : m_context(context) {
        AGResourceManager::SetInstance(&m_resources);
        m_resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        std::vector<std::pair<std::string, std::string>> files;
        std::string list;
        for (const char* id : {"70-0001", "80-0001", "90-0001", "20-0001"}) {
            TestQuestion question;
            question.id = id;
            for (int i = 0; i < answers; ++i)
                question.answers.push_back({u32(80 - i), "a" + std::to_string(i), {{"word" + std::to_string(i)}}});
            files.push_back({std::to_string(files.size()) + ".bin", QuestionBytes(question)});
            list += std::string(id) + "\n";
        }
        files.push_back({"list.txt", list});
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

class ScreenGameAnswers : public match_stage::MatchStageTest {
protected:
    void SetUp() override {
        MatchStageTest::SetUp();
        Enter(match_stage::StageLevel());
        ScreenGame& s = Screen();
        for (u32 row = 0; row < ScreenGame::kBoardRows; ++row)
            for (Label** labels : {s.m_AnswerLabels, s.m_FreqLabels, s.m_CenterAnswerLabels, s.m_CenterFreqLabels})
                Make(labels[row]);
        for (u32 d = 0; d < ScreenGame::kDigits; ++d) {
            Make(s.m_TimerTens[d]);
            Make(s.m_TimerUnits[d]);
        }
        for (ScreenGame::Widget** panel : {&s.m_AnswersBox, &s.m_CenterAnswersBox, &s.m_AnswersBoxFM, &s.m_TimerPanel,
                                           &s.m_AIBox, &s.m_StrikePanel, &s.m_PoPPanel})
            Make(*panel);
        for (Label** label : {&s.m_QuestionLabel, &s.m_AIAnswer})
            Make(*label);
        for (Button** button : {&s.m_PlayButton, &s.m_PassButton, &s.m_ConfirmButton})
            Make(*button);
        Make(s.m_SoftKeyboard);
        s.FillSpecialQuestionIds();
        // The screen takes the entered answers as its load would have it.
        match().AnswerEnteredEvent.AddDelegate(&entered);
        context.m_Decade = 0;
        context.m_RoundCounter = 1;
    }
    void TearDown() override {
        match().AnswerEnteredEvent.RemoveDelegate(&entered);
        bank.reset();
        owned.clear();
        MatchStageTest::TearDown();
    }
    // A widget of the slot's kind (an image for a plain one), 100 wide.
    template <typename T>
    void Make(T*& slot) {
        auto widget = std::make_unique<std::conditional_t<std::is_same_v<T, ScreenGame::Widget>, Image, T>>();
        widget->SetWidth(100.0f);
        slot = widget.get();
        owned.push_back(std::move(widget));
    }
    ScreenGame& Screen() { return context.GetGameScreen(); }
    // The question of the decade with that many answers, the screen's and the bank's current one.
    QZ2011::Question* Ask(int answers, u32 decade = 0) {
        bank.reset();
        bank = std::make_unique<DecadeBank>(context, home, answers);
        Screen().m_CurrentQuestion = context.GetQuestionManager()->LoadQuestion(decade);
        return Screen().m_CurrentQuestion;
    }
    // An answer turn of the family in the phase, entry open, nothing playing.
    void Turn(i32 phase, i32 family) {
        StopShow();
        context.m_GamePhase = phase;
        context.m_CurrentFamily = family;
        context.m_AnswerEntryOpen = 1;
        context.m_TimeUp = 0;
        Screen().m_ConfirmButton->Visible = true;
    }
    int Judged() const { return events.recorders[3].count; }
    std::string Row(Label* const* labels, int row) { return labels[row]->m_TextStyle.m_Text.c_str(); }

    ScreenGame::MemberDelegate entered{&context.GetGameScreen(), &ScreenGame::onAnswerEntered};
    std::vector<std::unique_ptr<ScreenGame::Widget>> owned;
    std::unique_ptr<DecadeBank> bank;
};

// Rows written by decade and round, upper case and decimal counts, and the rows past the count
// hidden; fast money rewrites nothing.
TEST_F(ScreenGameAnswers, BoardRowsFollowTheLayoutOfTheDecadeAndRound) {
    const struct {
        u32 decade;
        i32 round, phase;
        int answers;
        const char* rows;  // answer number per row, '-' unwritten
        int shown;         // rows left as they were, the rest hidden
    } cases[] = {{0, 1, 8, 3, "123-----", 3},     {2, 3, 8, 6, "123-456-", 6}, {3, 5, 20, 8, "123-456-", 8},
                 {1, 3, 8, 9, "12345678", 8},     {2, 2, 8, 8, "12345678", 8}, {0, 1, 24, 2, "--------", 2}};
    for (const auto& c : cases) {
        QZ2011::Question* question = Ask(c.answers);
        for (Label* label : Screen().m_AnswerLabels) {
            label->m_TextStyle.m_Text = "-";
            label->Visible = true;
        }
        context.m_Decade = c.decade;
        context.m_RoundCounter = c.round;
        context.m_GamePhase = c.phase;
        Screen().ShowQuestion(question);
        for (int row = 0; row < 8; ++row) {
            EXPECT_EQ(Screen().m_AnswerLabels[row]->Visible, row < c.shown) << c.answers << " row " << row;
            if (c.rows[row] == '-') {
                EXPECT_EQ(Row(Screen().m_AnswerLabels, row), "-") << c.answers << " row " << row;
                continue;
            }
            const int answer = c.rows[row] - '1';
            EXPECT_EQ(Row(Screen().m_AnswerLabels, row), "A" + std::to_string(answer)) << c.answers << " row " << row;
            EXPECT_EQ(Row(Screen().m_CenterAnswerLabels, row), "A" + std::to_string(answer)) << row;
            EXPECT_EQ(Row(Screen().m_CenterFreqLabels, row), std::to_string(80 - answer)) << row;
        }
    }
}

TEST_F(ScreenGameAnswers, QuestionFontByExactId) {
    for (const auto& [id, special] : std::vector<std::pair<const char*, bool>>{
             {"70-7803", true}, {"70-7804", false}, {"80-7938-A", true}, {"80-7938-a", false}, {"", false}})
        EXPECT_EQ(Screen().IsSpecialQuestion(id), special) << id;
}

TEST_F(ScreenGameAnswers, TypingTakesOneStepMoreThanTheLettersAndSumsStopAtTheLastEntry) {
    Ask(1);
    Screen().StartQuestionTyping();
    int steps = 1;
    while (Screen().m_QuestionTypingActive && steps < 100) {
        Screen().TypeNextQuestionChar();
        ++steps;
    }
    EXPECT_EQ(steps, int(std::string("Name something").size()) + 1);
    EXPECT_EQ(Row(&Screen().m_QuestionLabel, 0), "Name something");
    for (int i = 0; i < 10; ++i)
        Screen().m_FastMoneyAnswerPoints[i] = 1 << i;
    EXPECT_EQ(Screen().SumFastMoneyPoints(-1), 0);
    EXPECT_EQ(Screen().SumFastMoneyPoints(4), 31);
    EXPECT_EQ(Screen().SumFastMoneyPoints(12), 1023);
}

TEST_F(ScreenGameAnswers, CountdownDigitsWarningsAndLimitByPhase) {
    const struct {
        i32 phase;
        u32 elapsedMs;
        int units, tens;  // -1: timed out
        bool low, high;
    } cases[] = {{8, 0, 0, 3, false, true},     {8, 15999, 5, 1, false, true}, {8, 16000, 4, 1, false, false},
                 {12, 24000, 6, 0, false, false}, {12, 25000, 5, 0, true, false}, {8, 30999, 0, 0, true, false},
                 {8, 31000, -1, -1, true, false}, {24, 0, 5, 2, false, true},   {25, 0, 0, 2, false, true}};
    for (const auto& c : cases) {
        Ask(3);
        Turn(c.phase, 1);
        Screen().StartAnswerTimer();
        Screen().m_CountdownElapsedMs = c.elapsedMs;
        Screen().onTimerTick();
        for (u32 d = 0; d < ScreenGame::kDigits; ++d) {
            EXPECT_EQ(Screen().m_TimerUnits[d]->Visible, int(d) == c.units) << c.elapsedMs << " digit " << d;
            EXPECT_EQ(Screen().m_TimerTens[d]->Visible, int(d) == c.tens) << c.elapsedMs << " digit " << d;
        }
        EXPECT_EQ(Screen().m_CountdownRunning, c.units >= 0) << c.elapsedMs;
        EXPECT_EQ(Screen().m_CountdownLow, c.low) << c.elapsedMs;
        EXPECT_EQ(Screen().m_CountdownHigh, c.high) << c.elapsedMs;
    }
}

// What is typed at the time-up is judged once; nothing after it, or after a taken answer, is.
TEST_F(ScreenGameAnswers, TimeUpVerdictsAndOneAnswerPerTurn) {
    const struct {
        i32 phase, family, round;
        const char* typed;
        const char* sequence;
        u8 timeUpAfter;
        i32 index;
    } cases[] = {{8, 1, 1, "", "time_is_up", 0, -1},           {20, 1, 1, "word1", "right_answer_faceoff", 0, 1},
                 {12, 1, 1, "word1", "blank", 1, 1},           {8, 0, 1, "word0", "time_is_up", 0, -1},
                 {20, 1, 5, "word1", "time_is_up", 0, -1}};
    for (const auto& c : cases) {
        Ask(3);
        Turn(c.phase, c.family);
        context.m_RoundCounter = c.round;
        context.m_ChosenAnswerIndex = 0;
        context.m_AIMayAct = 1;
        Screen().m_SoftKeyboard->SetText(c.typed);
        Screen().StartAnswerTimer();
        Screen().m_CountdownElapsedMs = 60000;
        Screen().onTimerTick();
        EXPECT_EQ(Playing(), c.sequence) << c.phase << c.typed;
        EXPECT_EQ(context.m_TimeUp, c.timeUpAfter) << c.phase;
        EXPECT_EQ(context.m_LastAnswerIndex, c.index) << c.phase << c.typed;
        EXPECT_EQ(context.m_AIMayAct, 0) << c.phase;
        const int judged = Judged();
        Screen().m_SoftKeyboard->SetText("word2");
        Screen().onConfirmClicked();
        EXPECT_EQ(Judged(), judged) << "confirm after the time-up";
    }
    Ask(3);
    Turn(8, 1);
    context.m_RoundCounter = 1;
    Screen().m_SoftKeyboard->SetText("word2");
    Screen().onConfirmClicked();
    EXPECT_EQ(Playing(), "right_answer_faceoff");
    EXPECT_TRUE(Screen().m_CurrentQuestion->GetAnswer(2).IsRevealed());
    Screen().m_SoftKeyboard->SetText("word1");
    Screen().onConfirmClicked();
    GameServices::KorvoGame::TeamActionData enter(nullptr, 0, match().PlayerOneMember());
    match().OnEnterAnswer(&enter);
    EXPECT_EQ(Judged(), 1);
    EXPECT_FALSE(Screen().m_CurrentQuestion->GetAnswer(1).IsRevealed());
    Turn(8, 1);
    Screen().m_ConfirmButton->Visible = false;
    Screen().onConfirmClicked();
    EXPECT_EQ(Judged(), 1) << "hidden confirm button";
}

TEST_F(ScreenGameAnswers, AnswerOnTheBoardOrBelowTheTopInSuddenDeathIsWrong) {
    const struct {
        i32 round, index;
        int found;
        const char* sequence;
        bool revealed;
    } cases[] = {{1, 1, 0, "right_answer_faceoff", true},  {1, 1, 2, "wrong_answer_faceoff", true},
                 {5, 1, 0, "wrong_answer_faceoff", false}, {5, 0, 0, "right_answer_faceoff", true},
                 {1, 8, 0, "wrong_answer_faceoff", false}};
    for (const auto& c : cases) {
        QZ2011::Question* question = Ask(9);
        for (int i = 0; i < c.found; ++i)
            question->GetAnswer(u32(i)).SetRevealed(true);
        Turn(8, 1);
        context.m_RoundCounter = c.round;
        context.m_LastAnswerIndex = context.m_AnswerRecord->m_AnswerIndex = c.index;
        Screen().onAnswerEntered(nullptr);
        EXPECT_EQ(Playing(), c.sequence) << c.round << " " << c.index;
        EXPECT_EQ(question->GetAnswer(u32(c.index)).IsRevealed(), c.revealed) << c.index;
    }
}

TEST_F(ScreenGameAnswers, HudPanelsStandOnTheAnsweringSide) {
    const float expected[2][5][2] = {{{247, 136}, {0, 0}, {489, 27}, {206, 107}, {156, 47}},
                                     {{59, 136}, {-178, 0}, {45, 27}, {24, 107}, {-25, 47}}};
    ScreenGame& s = Screen();
    ScreenGame::Widget* panels[] = {s.m_AnswersBox, s.m_StrikePanel, s.m_TimerPanel, s.m_PoPPanel, s.m_AnswersBoxFM};
    for (u32 side : {0u, 1u, 2u}) {
        s.PlaceAnswerHud(side);
        for (int p = 0; p < 5; ++p) {
            EXPECT_EQ(panels[p]->m_X, expected[side == 2 ? 1 : side][p][0]) << side << " " << p;
            EXPECT_EQ(panels[p]->m_Y, expected[side == 2 ? 1 : side][p][1]) << side << " " << p;
        }
    }
}

TEST_F(ScreenGameAnswers, FaceOffOpeningAndBuzzPickTheirSequences) {
    const struct {
        u32 decade;
        i32 round;
        int answers;
        const char* sequence;
    } openings[] = {{1, 3, 7, "buzz7_left"}, {2, 3, 7, "buzz6_left"}, {3, 4, 8, "buzz6_left"}, {2, 2, 7, "buzz7_left"},
                    {0, 5, 4, "buzz1_left"}, {0, 1, 0, "buzz1_left"}, {0, 1, 9, "buzz8_left"}};
    for (const auto& c : openings) {
        Ask(c.answers);
        StopShow();
        context.m_Decade = c.decade;
        context.m_RoundCounter = c.round;
        Screen().onFaceOffQuestion(nullptr);
        EXPECT_EQ(Playing(), c.sequence) << c.decade << " " << c.round << " " << c.answers;
        EXPECT_EQ(i32(context.m_GamePhase), QZ2011::PhaseFaceOffQuestion);
    }
    const struct {
        i32 owner, phase;
        u32 twoPlayers;
        const char* sequence;
        i32 family, phaseAfter;
        float boxX;
    } buzzes[] = {{0, 7, 0, "host_number_answer_left", 1, 8, 247},
                  {1, 7, 0, "host_number_answer_right", 0, 8, 59},
                  {1, 17, 1, "host_number_answer_right", 2, 20, 59}};
    for (const auto& c : buzzes) {
        Ask(3);
        StopShow();
        context.m_BuzzOwner = c.owner;
        context.m_GamePhase = c.phase;
        context.m_TwoPlayers = c.twoPlayers;
        Screen().m_QuestionTypingActive = true;
        Screen().onBuzzAccepted(nullptr);
        EXPECT_EQ(Playing(), c.sequence);
        EXPECT_EQ(context.m_CurrentFamily, c.family);
        EXPECT_EQ(i32(context.m_GamePhase), c.phaseAfter);
        EXPECT_EQ(Screen().m_AnswersBox->m_X, c.boxX);
        EXPECT_FALSE(Screen().m_QuestionTypingActive);
    }
}

TEST_F(ScreenGameAnswers, PlayOrPassChoiceAndTheTurnsPlayTheirSequences) {
    Ask(3);
    for (i32 winner : {1, 0}) {
        StopShow();
        context.m_FaceOffWinner = winner;
        context.m_AIMayAct = 0;
        Screen().onFaceOffWon(nullptr);
        EXPECT_EQ(Playing(), winner ? "playOrPassRight" : "playOrPassLeft");
        EXPECT_EQ(context.m_AIMayAct, winner);
    }
    const struct {
        i32 family;
        u8 play;
        u32 twoPlayers;
        const char* sequence;
        int clapping;  // the contestant whose clap is asked
    } choices[] = {{1, 1, 0, "transitionLeftFamily", 0},   {1, 0, 0, "play_or_pass_AI_left", 0},
                   {1, 0, 1, "transitionLeftFamily", 0},   {2, 0, 1, "transitionRightFamily", 4},
                   {0, 1, 0, "play_or_pass_AI_right", 4},  {0, 0, 0, "transitionRightFamily", 4}};
    for (const auto& c : choices) {
        StopShow();
        context.m_CurrentFamily = c.family;
        context.m_PlayChosen = c.play;
        context.m_TwoPlayers = c.twoPlayers;
        QZ2011::QZBehaviorCharacter& clapper = Member(c.clapping)->m_Behavior;
        clapper.ClapRequest = clapper.ClapFamilyRequest = 0;
        Screen().onPlayOrPassChosen(nullptr);
        EXPECT_EQ(Playing(), c.sequence) << c.family << int(c.play);
        EXPECT_EQ(c.clapping ? clapper.ClapRequest : clapper.ClapFamilyRequest, 1) << c.sequence;
    }
    const struct {
        i32 family;
        u32 twoPlayers;
        const char* turn;
        const char* steal;
        u8 aiMayAct;
    } turns[] = {{0, 0, "otherTeamAnswerRight", "transitionRightFamily03", 1},
                 {2, 1, "otherTeamAnswerRight_Party", "transitionRightFamily03", 0},
                 {1, 0, "otherTeamAnswerLeft", "transitionLeftFamily03", 0}};
    for (const auto& c : turns) {
        context.m_CurrentFamily = c.family;
        context.m_TwoPlayers = c.twoPlayers;
        StopShow();
        Screen().onRoundAnswerTurn(nullptr);
        EXPECT_EQ(Playing(), c.turn);
        EXPECT_EQ(context.m_AIMayAct, c.aiMayAct) << c.turn;
        StopShow();
        Screen().onSteal(nullptr);
        EXPECT_EQ(Playing(), c.steal);
    }
    // A press counts only on a visible button.
    context.m_GamePhase = QZ2011::PhasePlayOrPass;
    context.m_CurrentFamily = 1;
    for (bool visible : {false, true}) {
        Screen().m_PassButton->Visible = visible;
        Screen().onPassClicked();
        EXPECT_EQ(events.recorders[14].count, visible ? 1 : 0);
        EXPECT_EQ(context.m_CurrentFamily, visible ? 0 : 1);
    }
}

}  // namespace
