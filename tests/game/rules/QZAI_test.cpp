#include "game/rules/QZAI.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/game/rules/MatchStage.h"
#include "tests/support/MatchHarness.h"

using namespace QZ2011;
using namespace match_stage;
using GameServices::Bridge::RandomRange;

namespace {

// The computer family's player on a started context (no level unless a test enters one), its
// team actions and choices recorded; the question "Towel/Towels", "Sun cream", "Kite/Kites",
// "Ball" with three wrong answers.
class QZAITest : public MatchStageTest {
protected:
    struct Recorder : GameServices::KorvoGame::TeamActionListener, IDelegateParam<GameServices::Entities::BaseTeamMember*> {
        Recorder(const char* n, std::vector<std::string>& all) : name(n), names(all) {}
        void Invoke(GameServices::KorvoGame::TeamActionData*) override { names.push_back(name); }
        void Invoke(GameServices::Entities::BaseTeamMember*) override { names.push_back(name); }
        std::string name;
        std::vector<std::string>& names;
    };

    void SetUp() override {
        MatchStageTest::SetUp();
        TestQuestion question;
        question.answers = {{30, "Towel/Towels", {{"towel"}}}, {20, "Sun cream", {{"sun_cream"}}},
                            {10, "Kite/Kites", {{"kite"}}},
                            {5, "Ball", {{"ball"}}}};
        question.wrong = {kWrong.begin(), kWrong.end()};
        TestQuestion one = question, none = question;
        one.answers.resize(1);
        none.answers.clear();
        UseQuestions({question, one, none});
        Load(0xF);
        context.GetTeamActionManager()->SetEnabled(true);
        for (Recorder* r : {&buzz, &answer})
            context.GetTeamActionManager()->ListenTeamAction(r, r->name.c_str());
        match().PlayOrPassChosenEvent.AddDelegate(&chosen);
        ai.Initialize(context.m_ComputerFamily, context.m_PlayerOneFamily->m_Members[1]);
        ai.Update(0);  // reads the level data, takes the team actions
    }
    void TearDown() override {
        for (Recorder* r : {&buzz, &answer})
            context.GetTeamActionManager()->UnlistenTeamAction(r, r->name.c_str());
        match().PlayOrPassChosenEvent.RemoveDelegate(&chosen);
        MatchStageTest::TearDown();
    }

    Question& question() { return *context.GetQuestionManager()->CurrentQuestion(); }
    // The question afresh, the answers outside the bit mask found.
    void Load(int unfound) {
        Question* q = context.GetQuestionManager()->LoadQuestion(0);
        for (int i = 0; i < 4; ++i)
            if (!(unfound >> i & 1))
                q->CheckAnswer(std::vector<const char*>{"towel", "sun cream", "kite", "ball"}[i]);
    }
    void Situation(i32 phase, i32 family = 0, i32 round = 1, i32 winner = -1) {
        context.m_GamePhase = phase, context.m_CurrentFamily = family, context.m_AIMayAct = 1;
        context.m_RoundCounter = round, context.m_FaceOffWinner = winner, context.m_BuzzOwner = -1;
        context.m_AIAnswerStarted = context.m_AIBusy = 0;
        names.clear();
    }
    // The watch step and a wait long enough for any action: the chosen answer.
    i32 Answer(i32 phase, i32 round = 1) {
        Situation(phase, 0, round);
        ai.Update(1);
        ai.Update(10000);
        return context.m_ChosenAnswerIndex;
    }
    // Both generators restarted from the seed, as the harness seeds a match.
    static constexpr auto Seed = &match::MatchHarness::Seed;

    const std::set<std::string> kWrong = {"Snow", "Piano", "Tax forms"};
    std::vector<std::string> names;
    Recorder buzz{"BuzzSinglePlayer", names}, answer{"EnterAIAnswer", names}, chosen{"PlayOrPass", names};
    QZAI ai;
};

}  // namespace

// Each wait starts in its phase and turn only and acts after its drawn delay, base + step x
// draw(0, n) (replaying the seed gives the draw); after acting, no second action in the turn.
// The chances of a right answer follow the tuning.
TEST_F(QZAITest, DelaysFollowTheirFormulasAndChancesTheTuning) {
    const i32 length = i32(std::strlen(question().Text()));
    struct Case { i32 phase, family, round, winner, speed, base, step; u32 n; const char* action; };
    const Case cases[] = {{7, 3, 1, -1, 9, 50 * length, 500, 4, "BuzzSinglePlayer"},
                          {17, 3, 5, -1, 5, 50 * (length + 80), 500, 4, "BuzzSinglePlayer"},
                          {8, 0, 1, -1, 9, 5013, 200, 7, "EnterAIAnswer"},
                          {10, 0, 1, 1, 9, 3500, 100, 8, "PlayOrPass"},
                          {21, 0, 5, -1, 9, 4013, 200, 7, "EnterAIAnswer"},
                          {13, 0, 3, 0, 9, 8013, 0, 0, "EnterAIAnswer"},
                          {12, 0, 4, 1, 9, 6013, 100, 11, "EnterAIAnswer"},
                          // Not its turn, not sudden death, the face-off decided, no turn phase.
                          {9, 1, 1, -1, 9, -1, 0, 0, nullptr},
                          {20, 0, 4, -1, 9, -1, 0, 0, nullptr},
                          {7, 0, 1, 0, 9, -1, 0, 0, nullptr},
                          {8, 0, 1, 1, 9, -1, 0, 0, nullptr},
                          {11, 0, 1, 1, 9, -1, 0, 0, nullptr}};
    for (const Case& c : cases)
        for (u32 seed : {1u, 99u}) {
            SCOPED_TRACE("phase " + std::to_string(c.phase) + " seed " + std::to_string(seed));
            Seed(seed);
            const i32 expected = c.base + c.step * (c.n ? i32(RandomRange(0, c.n)) : 0);
            Seed(seed);
            ai.m_BuzzerSpeed = c.speed;
            Situation(c.phase, c.family, c.round, c.winner);
            i32 ms = -1;
            for (i32 t = 0; t <= 12000 && ms < 0; ++t) {
                ai.Update(1);
                ms = names.empty() ? -1 : t;
            }
            EXPECT_EQ(ms, expected);
            if (c.phase % 10 == 7)  // the buzz moves the match on
                context.m_GamePhase = c.phase + 1;
            for (int t = 0; t < 100; ++t)
                ai.Update(100);
            EXPECT_EQ(names, c.action ? std::vector<std::string>{c.action} : std::vector<std::string>{});
            EXPECT_EQ(context.m_BuzzOwner, c.phase % 10 == 7 && c.action ? 1 : -1);
        }

    // Right with chance tuning / 9 (the steal's counting the answers left, bounded; sudden death
    // 2 / 9 whatever the tuning), judged by the published pick over seeded runs.
    struct Row { i32 phase, round, accuracy, strength, steal, unfound, trials; double share, tolerance; };
    const Row rows[] = {{8, 1, 0, 9, 9, 0xF, 900, 0.0, 0.0}, {9, 1, 9, 0, 0, 0xF, 900, 1.0, 0.0},
                        {9, 1, 6, 0, 0, 0xF, 9000, 6 / 9.0, 0.02},
                        {12, 1, 9, 0, 9, 0xF, 900, 0.0, 0.0},
                        {12, 1, 9, 5, 9, 0xF, 9000, 5 / 9.0, 0.02},
                        {13, 1, 9, 9, 4, 0x8, 9000, 1 / 9.0, 0.02},
                        {13, 1, 9, 9, 2, 0x8, 900, 0.0, 0.0},
                        {20, 5, 9, 9, 9, 0xF, 9000, 2 / 9.0, 0.02},
                        {13, 1, 0, 0, INT32_MAX, 0x8, 90, 1.0, 0.0}};
    for (const Row& c : rows) {
        SCOPED_TRACE("phase " + std::to_string(c.phase) + " share " + std::to_string(c.share));
        Seed(5);
        ai.m_AnswerAccuracy = c.accuracy, ai.m_BasicRoundStrength = c.strength, ai.m_Steal = c.steal;
        int right = 0;
        for (int i = 0; i < c.trials; ++i) {
            Load(c.unfound);
            right += Answer(c.phase, c.round) >= 0;
            ASSERT_EQ(names, std::vector<std::string>{"EnterAIAnswer"});
        }
        EXPECT_NEAR(double(right) / c.trials, c.share, c.tolerance);
    }
    // A hostile tuning value neither wraps the delay round nor overflows; no question is no text.
    context.GetQuestionManager()->UnloadQuestion();
    ai.m_BuzzerSpeed = INT32_MIN;
    Situation(PhaseFaceOffBuzz, 3);
    ai.Update(1);
    EXPECT_EQ(ai.m_BuzzCountdown, INT32_MAX);
}

// A right pick is typed up to its first "/" (whole without one) and found; with nothing left a
// wrong answer.
TEST_F(QZAITest, RightPicksAreTypedAndFound) {
    ai.m_AnswerAccuracy = ai.m_BasicRoundStrength = 9;
    struct Case { i32 phase, unfound; const char* typed; };
    for (const Case& c : {Case{8, 0, "Towel"}, Case{12, 3, "Ball"}, Case{9, 2, "Kite"}, Case{12, -1, nullptr}}) {
        Load(c.unfound < 0 ? 0 : 1 << c.unfound);
        context.m_ChosenAnswerIndex = 1;
        EXPECT_EQ(Answer(c.phase), c.unfound);
        const std::string typed = context.m_TypedAnswer.c_str();
        EXPECT_TRUE(c.typed ? typed == c.typed : kWrong.count(typed) == 1) << typed;
        EXPECT_EQ(question().RemainingRightAnswers(), 0u);
    }
}

// The sudden-death top answer as stored and left unfound.
TEST_F(QZAITest, SuddenDeathTypesTheTopAnswerAsStored) {
    ai.m_AnswerAccuracy = ai.m_BasicRoundStrength = 9;
    u32 seed = 0;  // one whose sudden-death draw is right
    do {
        Seed(++seed);
        RandomRange(0, 7);
    } while (RandomRange(1, 10) > 2);
    for (u32 n : {0u, 1u, 2u}) {  // four answers, one, none
        context.GetQuestionManager()->LoadQuestion(n);
        Seed(seed);
        EXPECT_EQ(Answer(20, 5), n < 2 ? 0 : -1);
        const std::string typed = context.m_TypedAnswer.c_str();
        EXPECT_TRUE(n < 2 ? typed == "Towel/Towels" : kWrong.count(typed) == 1) << typed;
        EXPECT_EQ(question().RemainingRightAnswers(), question().AnswerCount());
    }
}

TEST_F(QZAITest, WrongAnswersComeOnceBeforeRepeats) {
    Load(0xF);
    ai.m_AnswerAccuracy = 0;
    std::set<std::string> given;
    for (size_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(Answer(8), -1);
        given.insert(context.m_TypedAnswer.c_str());
        EXPECT_EQ(given.size(), std::min<size_t>(i, 3));
    }
    EXPECT_EQ(given, kWrong);
}

// Play or pass: d of 1 or 2 passes (the turn goes to player one's family), any other d plays; the
// choice is announced once and the turn used up.
TEST_F(QZAITest, PlayOrPassFollowsTheDecisionDraw) {
    ai.m_AnswerAccuracy = 0, ai.m_BasicRoundStrength = 9;
    std::set<bool> passed;
    for (u32 seed = 1; seed <= 40; ++seed) {
        Seed(seed);
        RandomRange(0, 8);
        const i32 d = i32(RandomRange(1, 10));
        passed.insert(d <= 2);
        Seed(seed);
        context.m_PlayChosen = d <= 2;
        Answer(PhaseFaceOffWon);
        EXPECT_EQ(Values(context.m_PlayChosen, context.m_CurrentFamily, context.m_AIMayAct,
                         names == std::vector<std::string>{"PlayOrPass"}),
                  Values(d > 2, d <= 2, 0, true));
    }
    EXPECT_EQ(passed.size(), 2u);
}

// Every wait: busy while it runs; a skip makes it act at the next update; a turn taken away (time
// up) drops the wait there without acting. The buzz countdown: player one's buzz stops it;
// outliving the buzz phase with nobody buzzing, it still buzzes.
TEST_F(QZAITest, WaitsEndOnTimeOnSkipOrTimeUp) {
    ai.m_AnswerAccuracy = 0, ai.m_BasicRoundStrength = 9;
    enum Event { None, Skip, TimeUp, PlayerOneBuzz, BuzzPhaseOver };
    struct Wait { i32 phase, round, winner; Event event; bool actsNext, acts; };
    std::vector<Wait> waits = {{7, 1, -1, PlayerOneBuzz, false, false}, {7, 1, -1, BuzzPhaseOver, false, true}};
    for (i32 phase : {8, 10, 12, 13, 21})
        for (Event event : {None, Skip, TimeUp})
            waits.push_back({phase, phase == 21 ? 5 : 1, phase < 10 || phase > 20 ? -1 : 1, event, event == Skip,
                             event != TimeUp});
    for (const Wait& c : waits) {
        SCOPED_TRACE("phase " + std::to_string(c.phase) + " event " + std::to_string(c.event));
        Situation(c.phase, c.phase == 7 ? 3 : 0, c.round, c.winner);
        ai.Update(1);
        ai.Update(10);
        EXPECT_EQ(context.m_AIBusy, c.phase != 7);
        context.m_AIAnswerStarted = c.event == Skip || c.event == TimeUp;  // the time may run out after a skip
        context.m_AIMayAct = c.event != TimeUp, context.m_BuzzOwner = c.event == PlayerOneBuzz ? 0 : -1;
        context.m_GamePhase = c.event == BuzzPhaseOver ? 8 : c.phase;
        ai.Update(1);
        EXPECT_EQ(Values(!names.empty(), ai.m_State == QZAI::StateWatch, context.m_AIBusy + context.m_AIAnswerStarted),
                  Values(c.actsNext, c.event == Skip || c.event == TimeUp || c.event == PlayerOneBuzz, c.event == None));
        for (int t = 0; t < 200; ++t)
            ai.Update(100);
        EXPECT_EQ(names.size(), c.acts ? 1u : 0u);
    }
}

// The tuning of the chosen decade and difficulty is read at the first update after a Reset:
// numbers, the family's name, the context's member names (men first); a level without the record
// is reported once per Reset and the values held stay.
TEST_F(QZAITest, TheTuningIsReadOncePerReset) {
    std::string tuning;
    for (const char* v : {"BuzzerSpeed_Medium80>6", "AnswerAccuracy_Medium80>5", "AnswerDifficulty_Medium80>4",
                          "BasicRoundStrength_Medium80>3", "Steal_Medium80>2", "String_FamilyName_Medium80>Olvira",
                          "String_male1_Medium80>Glenn", "String_male2_Medium80>Troy",
                          "String_female1_Medium80>Deborah", "String_female2_Medium80>Kimberly"})
        tuning += std::string("<") + v + "</" + std::string(v, std::strchr(v, '>')) + ">";
    home.Write("-xml/levels/stage_0.xml", "<root><Level><ApplicationData>" + tuning + "</ApplicationData></Level></root>");
    home.Write("-xml/levels/stage_1.xml", "<root><Level/></root>");
    context.m_Decade = context.m_Difficulty = 1;
    for (const char* level : {"stage_0", "stage_1"}) {
        Go(level, 30);
        const bool missing = level[6] == '1';
        for (int reset = 0; reset < 2; ++reset) {
            log.Clear();
            ai.m_TeamActionManager = nullptr;
            ai.Reset();
            ai.m_BuzzerSpeed = 1;
            ai.Update(16);
            EXPECT_TRUE(ai.m_RoundAnswerCountdown == 4013 && ai.m_TeamActionManager == context.GetTeamActionManager());
            for (int i = 0; i < 5; ++i)
                ai.Update(16);
            EXPECT_EQ(Values(LogCount("Missing applicationData  for the level !"), ai.m_BuzzerSpeed,
                             ai.m_AnswerAccuracy, ai.m_AnswerDifficulty, ai.m_BasicRoundStrength, ai.m_Steal),
                      Values(missing, missing ? 1 : 6, 5, 4, 3, 2));
            std::string family = context.m_ComputerFamily->m_Name.c_str();
            for (const TString<char>& name : context.m_SecondFamilyMemberNames)
                family += std::string(" ") + name.c_str();
            EXPECT_EQ(family, "Olvira Glenn Troy Deborah Kimberly");
        }
    }
}

