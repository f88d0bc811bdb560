#include "game/rules/QZAI.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/core/CrtRand.h"
#include "tests/game/rules/MatchStage.h"

using namespace QZ2011;
using namespace match_stage;
using GameServices::Bridge::RandomRange;
using GameServices::KorvoGame::TeamActionData;

namespace {

// The computer family's player on a started context (no level unless a test enters one), its
// team actions recorded, the current question "Towel/Towels", "Sun cream", "Kite/Kites", "Ball"
// with three wrong answers.
class QZAITest : public MatchStageTest {
protected:
    struct Actions : GameServices::KorvoGame::TeamActionListener {
        void Invoke(TeamActionData*) override { names.push_back(name); }
        std::string name;
        std::vector<std::string>& names;
        Actions(const char* n, std::vector<std::string>& all) : name(n), names(all) {}
    };

    void SetUp() override {
        MatchStageTest::SetUp();
        AGResourceManager::SetInstance(&resources);
        resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        TestQuestion question;
        question.id = "70-0001";
        question.answers = {{30, "Towel/Towels", {{"towel"}}}, {20, "Sun cream", {{"sun_cream"}}},
                            {10, "Kite/Kites", {{"kite"}}}, {5, "Ball", {{"ball"}}}};
        question.wrong = {"Snow", "Piano", "Tax forms"};
        const std::string archive = ArchiveBytes({{"0.bin", QuestionBytes(question)}, {"list.txt", "70-0001\n"}});
        package.Mount(home.Write("GameQuestions.dir", archive).c_str(), false);
        context.GetQuestionManager()->Initialize();
        Reload(0);
        teams()->SetEnabled(true);
        for (Actions* a : {&buzz, &answer})
            teams()->ListenTeamAction(a, a->name.c_str());
        ai.Initialize(context.m_ComputerFamily, context.m_PlayerOneFamily->m_Members[1]);
        ai.Update(0);  // reads the level data, takes the team actions
        ai.m_BuzzerSpeed = 9;
    }
    void TearDown() override {
        for (Actions* a : {&buzz, &answer})
            teams()->UnlistenTeamAction(a, a->name.c_str());
        context.GetQuestionManager()->Cleanup();
        package.Unmount();
        AGResourceManager::SetInstance(nullptr);
        MatchStageTest::TearDown();
    }

    GameServices::KorvoGame::TeamActionManager* teams() { return context.GetTeamActionManager(); }
    Question& question() { return *context.GetQuestionManager()->CurrentQuestion(); }
    // The question afresh with only `unfound` answers left (the last ones).
    void Reload(int unfound) {
        Question* q = context.GetQuestionManager()->LoadQuestion(0);
        for (const char* word : {"towel", "sun cream", "kite", "ball"})
            if (int(q->RemainingRightAnswers()) > unfound)
                q->CheckAnswer(word);
    }
    // The question afresh with only the answer of that index unfound (-1: none).
    void LeaveOnly(int index) {
        Question* q = context.GetQuestionManager()->LoadQuestion(0);
        const char* words[] = {"towel", "sun cream", "kite", "ball"};
        for (int i = 0; i < 4; ++i)
            if (i != index)
                q->CheckAnswer(words[i]);
    }
    void Situation(i32 phase, i32 family = 0, u8 mayAct = 1, i32 round = 1, i32 winner = -1) {
        context.m_GamePhase = phase;
        context.m_CurrentFamily = family;
        context.m_AIMayAct = mayAct;
        context.m_RoundCounter = round;
        context.m_FaceOffWinner = winner;
        context.m_BuzzOwner = -1;
        context.m_PlayChosen = 2;
        context.m_AIAnswerStarted = context.m_AIBusy = 0;
        names.clear();
    }
    bool Acted() const { return !names.empty() || context.m_PlayChosen != 2; }
    // The watch step, then 1 ms updates: the milliseconds until the action, -1 for none.
    int MsToAct(int limit = 12000) {
        ai.Update(1);
        for (int t = 1; t <= limit; ++t) {
            ai.Update(1);
            if (Acted())
                return t;
        }
        return -1;
    }
    static void Seed(u32 seed) {
        GameServices::Bridge::SeedRandom(seed, 362436069u, 521288629u, 88675123u);
        CrtSrand(seed);
    }

    AGResourceManager resources;
    PcDirectory package;
    std::vector<std::string> names;
    Actions buzz{"BuzzSinglePlayer", names};
    Actions answer{"EnterAIAnswer", names};
    QZAI ai;
    const std::set<std::string> kWrong = {"Snow", "Piano", "Tax forms"};
};

}  // namespace

// Each waiting state starts in its phase and turn only, and acts after its drawn delay; a
// replay of the same seed gives the draw the formula takes.
TEST_F(QZAITest, DelaysFollowTheirFormulas) {
    const i32 length = i32(std::strlen(question().Text()));
    struct Case { i32 phase, family; u8 mayAct; i32 round, winner, speed; const char* action; std::function<i32()> delay; };
    const Case cases[] = {
        {7, 3, 0, 1, -1, 9, "BuzzSinglePlayer", [&] { return 50 * (length + 10 * i32(RandomRange(0, 4))); }},
        {17, 3, 0, 5, -1, 5, "BuzzSinglePlayer", [&] { return 50 * (length + 10 * i32(RandomRange(0, 4)) + 80); }},
        {8, 0, 1, 1, -1, 9, "EnterAIAnswer", [] { return 5013 + 200 * i32(RandomRange(0, 7)); }},
        {9, 0, 1, 2, -1, 9, "EnterAIAnswer", [] { return 5013 + 200 * i32(RandomRange(0, 7)); }},
        {20, 0, 1, 5, -1, 9, "EnterAIAnswer", [] { return 4013 + 200 * i32(RandomRange(0, 7)); }},
        {21, 0, 1, 5, -1, 9, "EnterAIAnswer", [] { return 4013 + 200 * i32(RandomRange(0, 7)); }},
        {10, 0, 1, 1, 1, 9, "", [] { return 100 * (35 + i32(RandomRange(0, 8))); }},
        {13, 0, 1, 3, 0, 9, "EnterAIAnswer", [] { return 8013; }},
        {12, 0, 1, 4, 1, 9, "EnterAIAnswer", [] { return 6013 + 100 * i32(RandomRange(0, 11)); }},
        // Not its turn, not allowed, not sudden death, the face-off already won.
        {7, 0, 1, 1, 0, 9, nullptr, nullptr},  {8, 1, 1, 1, -1, 9, nullptr, nullptr},
        {12, 0, 0, 1, 1, 9, nullptr, nullptr}, {20, 0, 1, 4, -1, 9, nullptr, nullptr},
        {8, 0, 1, 1, 0, 9, nullptr, nullptr},  {11, 0, 1, 1, 1, 9, nullptr, nullptr}};
    for (const Case& c : cases)
        for (u32 seed : {1u, 7u, 99u}) {
            SCOPED_TRACE("phase " + std::to_string(c.phase) + " seed " + std::to_string(seed));
            Seed(seed);
            const i32 expected = c.delay ? c.delay() : -1;
            Seed(seed);
            Reload(2);
            ai.m_BuzzerSpeed = c.speed;
            Situation(c.phase, c.family, c.mayAct, c.round, c.winner);
            EXPECT_EQ(MsToAct(), expected);
            if (c.action && *c.action) {
                EXPECT_EQ(names, std::vector<std::string>{c.action});
            }
            if (c.action && c.phase == 7) {
                EXPECT_EQ(context.m_BuzzOwner, 1);
            }
        }
}

// Right with chance tuning / 9 (the steal's bounded, counting the answers left; sudden death
// 2 / 9 whatever the tuning), judged by the published pick over seeded runs.
TEST_F(QZAITest, ChancesFollowTheTuning) {
    struct Case { i32 phase, round, accuracy, strength, steal, left, trials; double share, tolerance; };
    const Case cases[] = {{8, 1, 0, 9, 9, 4, 900, 0.0, 0.0},          {8, 1, 9, 0, 0, 4, 900, 1.0, 0.0},
                          {8, 1, 3, 9, 9, 4, 9000, 3 / 9.0, 0.02},    {9, 1, 6, 0, 0, 4, 9000, 6 / 9.0, 0.02},
                          {12, 1, 9, 0, 9, 4, 900, 0.0, 0.0},         {12, 1, 0, 9, 0, 4, 900, 1.0, 0.0},
                          {12, 1, 9, 5, 9, 4, 9000, 5 / 9.0, 0.02},   {13, 1, 9, 9, 4, 1, 9000, 1 / 9.0, 0.02},
                          {13, 1, 0, 0, 9, 4, 900, 1.0, 0.0},         {13, 1, 9, 9, 2, 1, 900, 0.0, 0.0},
                          {20, 5, 9, 9, 9, 4, 9000, 2 / 9.0, 0.02}};
    for (const Case& c : cases) {
        SCOPED_TRACE("phase " + std::to_string(c.phase) + " share " + std::to_string(c.share));
        Seed(5);
        ai.m_AnswerAccuracy = c.accuracy;
        ai.m_BasicRoundStrength = c.strength;
        ai.m_Steal = c.steal;
        int right = 0;
        for (int i = 0; i < c.trials; ++i) {
            if (c.phase == 13 ? int(question().RemainingRightAnswers()) != c.left : question().RemainingRightAnswers() == 0)
                Reload(c.left);
            Situation(c.phase, 0, 1, c.round);
            ai.Update(1);
            ai.Update(10000);
            ASSERT_EQ(names.size(), 1u);
            right += context.m_ChosenAnswerIndex >= 0;
        }
        EXPECT_NEAR(double(right) / c.trials, c.share, c.tolerance);
    }
}

// What is typed: a right pick up to its first "/" (whole without one) and found; the top answer
// as stored and left unfound in sudden death; wrong answers not given before, then any; with no
// answer left a wrong one.
TEST_F(QZAITest, AnswersAreTypedAsPicked) {
    struct Case { i32 phase, round, unfound; const char* typed; };
    const Case cases[] = {{8, 1, 0, "Towel"}, {12, 2, 3, "Ball"}, {9, 1, 2, "Kite"}, {12, 1, -1, nullptr}};
    ai.m_AnswerAccuracy = ai.m_BasicRoundStrength = 9;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "none left");
        LeaveOnly(c.unfound);
        context.m_ChosenAnswerIndex = 1;
        Situation(c.phase, 0, 1, c.round);
        ai.Update(1);
        ai.Update(10000);
        EXPECT_EQ(context.m_ChosenAnswerIndex, c.unfound);
        if (c.typed)
            EXPECT_EQ(std::string(context.m_TypedAnswer.c_str()), c.typed);
        else
            EXPECT_TRUE(kWrong.count(context.m_TypedAnswer.c_str())) << context.m_TypedAnswer.c_str();
        EXPECT_EQ(question().RemainingRightAnswers(), 0u);
    }
    // Sudden death: the first right draw types the top answer whole and leaves it to be found.
    Reload(4);
    bool topTyped = false;
    for (u32 seed = 1; seed < 60 && !topTyped; ++seed) {
        Seed(seed);
        Situation(20, 0, 1, 5);
        ai.Update(1);
        ai.Update(10000);
        topTyped = context.m_ChosenAnswerIndex == 0;
    }
    ASSERT_TRUE(topTyped);
    EXPECT_EQ(std::string(context.m_TypedAnswer.c_str()), "Towel/Towels");
    EXPECT_FALSE(question().IsFound(0));
    // Wrong answers: each of the three once, then any of them.
    Reload(4);
    ai.m_AnswerAccuracy = 0;
    std::set<std::string> given;
    for (size_t i = 1; i <= 4; ++i) {
        Situation(8, 0, 1, 1);
        ai.Update(1);
        ai.Update(10000);
        EXPECT_EQ(context.m_ChosenAnswerIndex, -1);
        given.insert(context.m_TypedAnswer.c_str());
        EXPECT_EQ(given.size(), std::min<size_t>(i, 3));
    }
    EXPECT_EQ(given, kWrong);
}

// d of 1 or 2 passes (the turn goes to player one's family), any other d plays; both logged
// with d, then the choice is announced once and the turn used up.
TEST_F(QZAITest, PlayOrPassByTheDecisionDraw) {
    struct Recorder : IDelegateParam<GameServices::Entities::BaseTeamMember*> {
        void Invoke(GameServices::Entities::BaseTeamMember*) override { ++count; }
        int count = 0;
    } chosen;
    match().PlayOrPassChosenEvent.AddDelegate(&chosen);
    std::set<bool> outcomes;
    for (u32 seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        Seed(seed);
        RandomRange(0, 8);
        const i32 d = i32(RandomRange(1, 10));
        Seed(seed);
        Situation(PhaseFaceOffWon, 0, 1, 1, 1);
        log.Clear();
        chosen.count = 0;
        ai.Update(1);
        ai.Update(10000);
        const bool pass = d <= 2;
        outcomes.insert(pass);
        EXPECT_EQ(context.m_PlayChosen, pass ? 0 : 1);
        EXPECT_EQ(context.m_CurrentFamily, pass ? 1 : 0);
        EXPECT_EQ(LogCount(std::string(pass ? "IA DECIDED TO PASS" : "IA DECIDED TO PLAY") + " (Rand==" +
                           std::to_string(d) + ")\n"), 1u);
        EXPECT_EQ(chosen.count, 1);
        EXPECT_EQ(context.m_AIMayAct, 0);
    }
    EXPECT_EQ(outcomes.size(), 2u);
    match().PlayOrPassChosenEvent.RemoveDelegate(&chosen);
}

// Every waiting state: busy while it waits; a skip makes it act at the next update; a turn
// taken away (time up) drops the wait without acting; either way one action per turn.
TEST_F(QZAITest, WaitsEndOnTimeOnSkipOrWhenTheTurnIsTakenAway) {
    struct Phase { i32 phase, round, winner; };
    const Phase phases[] = {{8, 1, -1}, {10, 1, 1}, {12, 1, 1}, {13, 1, 1}, {21, 5, -1}};
    enum Event { None, Skip, TimeUp };
    for (const Phase& p : phases)
        for (Event event : {None, Skip, TimeUp}) {
            SCOPED_TRACE("phase " + std::to_string(p.phase) + " event " + std::to_string(event));
            Reload(4);
            Situation(p.phase, 0, 1, p.round, p.winner);
            ai.Update(1);
            ai.Update(10);
            EXPECT_EQ(context.m_AIBusy, 1);
            EXPECT_FALSE(Acted());
            if (event == Skip)
                context.m_AIAnswerStarted = 1;
            if (event == TimeUp)
                context.m_AIMayAct = 0;
            ai.Update(1);
            EXPECT_EQ(Acted(), event == Skip);
            EXPECT_EQ(context.m_AIBusy, event == None ? 1 : 0);
            EXPECT_EQ(context.m_AIAnswerStarted, 0);
            for (int t = 0; t < 200; ++t)
                ai.Update(100);
            EXPECT_EQ(Acted(), event != TimeUp);
            EXPECT_LE(names.size(), 1u);
            EXPECT_EQ(context.m_AIBusy, 0);
        }
}

// Player one's buzz during the countdown stops the computer's; a countdown that outlives the
// buzz phase with nobody buzzing still buzzes.
TEST_F(QZAITest, PlayerOnesBuzzStopsTheComputersBuzz) {
    struct Case { i32 owner, phaseAfter; bool buzzes; };
    for (const Case& c : {Case{0, PhaseFaceOffFirstAnswer, false}, Case{0, PhaseFaceOffBuzz, false},
                          Case{-1, PhaseFaceOffFirstAnswer, true}}) {
        Situation(PhaseFaceOffBuzz, 3, 0);
        ai.Update(1);
        ai.Update(100);
        context.m_BuzzOwner = c.owner;
        context.m_GamePhase = c.phaseAfter;
        for (int t = 0; t < 200; ++t)
            ai.Update(100);
        EXPECT_EQ(names.size(), c.buzzes ? 1u : 0u);
        EXPECT_EQ(context.m_BuzzOwner, c.buzzes ? 1 : 0);
    }
}

// The level's tuning of the chosen decade and difficulty is read at the first update after a
// Reset: numbers, the family's name, the context's member names (men first); a level without
// the record is reported once per Reset and the values held stay.
TEST_F(QZAITest, LevelTuningIsReadOncePerReset) {
    std::string tuning;
    const char* values[] = {"BuzzerSpeed_Medium80>6", "AnswerAccuracy_Medium80>5", "AnswerDifficulty_Medium80>4",
                            "BasicRoundStrength_Medium80>3", "Steal_Medium80>2", "String_FamilyName_Medium80>Olvira",
                            "String_male1_Medium80>Glenn", "String_male2_Medium80>Troy",
                            "String_female1_Medium80>Deborah", "String_female2_Medium80>Kimberly"};
    for (const char* v : values)
        tuning += std::string("<") + v + "</" + std::string(v, std::strchr(v, '>')) + ">";
    home.Write("-xml/levels/stage_0.xml", "<root><Level><ApplicationData>" + tuning + "</ApplicationData></Level></root>");
    home.Write("-xml/levels/stage_1.xml", "<root><Level/></root>");
    context.m_Decade = 1;
    context.m_Difficulty = 1;
    Go("stage_0", 30);
    QZAI fresh;
    fresh.Update(0);
    const std::vector<i32> numbers = {fresh.m_BuzzerSpeed, fresh.m_AnswerAccuracy, fresh.m_AnswerDifficulty,
                                      fresh.m_BasicRoundStrength, fresh.m_Steal};
    EXPECT_EQ(numbers, (std::vector<i32>{6, 5, 4, 3, 2}));
    EXPECT_EQ(std::string(context.m_ComputerFamily->m_Name.c_str()), "Olvira");
    std::string members;
    for (const TString<char>& name : context.m_SecondFamilyMemberNames)
        members += std::string(name.c_str()) + " ";
    EXPECT_EQ(members, "Glenn Troy Deborah Kimberly ");
    EXPECT_EQ(fresh.m_RoundAnswerCountdown, QZAI::kInitialCountdownMs);
    EXPECT_EQ(fresh.m_State, QZAI::StateWatch);
    Go("stage_1", 30);
    for (int reset = 0; reset < 2; ++reset) {
        log.Clear();
        fresh.Reset();
        for (int i = 0; i < 5; ++i)
            fresh.Update(16);
        EXPECT_EQ(LogCount("Missing applicationData  for the level !"), 1u);
        EXPECT_EQ(fresh.m_BuzzerSpeed, 6);
        EXPECT_EQ(std::string(fresh.m_FamilyName.c_str()), "Olvira");
    }
}
