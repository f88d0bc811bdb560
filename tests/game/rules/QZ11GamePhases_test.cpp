#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/game/rules/MatchStage.h"

using namespace QZ2011;
using namespace match_stage;

namespace {

constexpr i32 kNone = QZ2011GameContext::kNoFamily;

// What one sequence end did.
struct Step { i32 phase; std::vector<int> events; std::string sequence; std::vector<std::string> rules; };

class PhaseStepTest : public MatchStageTest {
protected:
    void SetUp() override {
        MatchStageTest::SetUp();
        Enter(StageLevel());
        match().SetRoundRules(&rules);
    }
    // A single-player match in round 1 after player 1's side buzzed and won the face-off, no
    // family playing, no flag set.
    void Reset(i32 phase) {
        StopShow();
        context.m_GamePhase = phase;
        context.m_RoundCounter = 1;
        context.m_TwoPlayers = context.m_Decade = context.m_Difficulty = 0;
        context.m_BuzzOwner = context.m_FaceOffWinner = context.m_StealStarted = context.m_AIMayAct = 0;
        context.m_CurrentFamily = kNone;
        context.m_AnswerTurnPending = context.m_AnswerPending = context.m_AnswerAgain = 0;
        context.m_AnswerRecord->m_FaceOffReplay = 1;
        context.m_ComputerFamily->m_Score = 0;
        rules.calls.clear();
        events.Attach(match());
    }
    Step Run() {
        match().OnSequenceEnd();
        return {context.m_GamePhase, events.fired, Playing(), rules.calls};
    }

    RulesLog rules;
};

void ExpectStep(const Step& actual, const Step& expected) {
    EXPECT_EQ(std::tie(actual.phase, actual.events, actual.sequence, actual.rules),
              std::tie(expected.phase, expected.events, expected.sequence, expected.rules));
}

}  // namespace

// Every phase from -1 to 30 under every combination of the three flags: a set flag replaces
// the phase's step (resume first, then the answer result, then the answer-turn resume);
// without flags each phase takes its own step, some by the state of the match.
TEST_F(PhaseStepTest, FlagsFirstThenThePhasesStep) {
    // Events: 4 face-off question, 5 answer turn, 6 round start, 7 resume, 9 fast-money
    // start, 10 second player, 11 reveal, 13 round answer turn, 15 score, 16 steal,
    // 17 answer result, 18 buzz open, 19 others revealed.
    struct PhaseCase { i32 phase; Step step; i32 family; };
    const PhaseCase phases[] = {
        {-1, {-1, {}, "", {}}, kNone},
        {0, {1, {}, "left_pose", {}}, kNone},
        {1, {3, {}, "left_intro", {}}, kNone},
        {2, {4, {}, "right_intro", {}}, kNone},
        {3, {2, {}, "right_pose70Easy", {}}, kNone},
        {4, {5, {15, 6}, "faceoff_round1", {}}, kNone},
        {5, {5, {4}, "", {}}, kNone},
        {6, {7, {18}, "", {}}, kNone},
        {7, {10, {}, "", {}}, 1},
        {8, {8, {5}, "", {}}, 1},
        {9, {9, {}, "", {}}, kNone},
        {10, {11, {}, "", {}}, kNone},
        {11, {12, {13}, "", {}}, kNone},
        {12, {12, {}, "", {}}, kNone},
        {13, {13, {16}, "", {}}, kNone},
        {14, {15, {}, "reveal_others", {}}, kNone},
        {15, {15, {19}, "", {"Reveal"}}, kNone},
        {16, {16, {}, "", {"Reveal"}}, kNone},
        {17, {17, {}, "", {}}, 1},
        {18, {18, {}, "", {"RoundWon"}}, kNone},
        {19, {19, {}, "", {"NextRound"}}, kNone},
        {20, {20, {5}, "", {}}, 1},
        {21, {21, {5}, "", {}}, 0},
        {22, {22, {}, "", {}}, kNone},
        {23, {24, {9}, "", {}}, kNone},
        {24, {24, {}, "", {}}, kNone},
        {25, {25, {10}, "", {}}, kNone},
        {26, {26, {11}, "", {}}, kNone},
        {27, {27, {}, "", {}}, kNone},
        {28, {30, {}, "end_game_see_you_nexttime_right", {}}, kNone},
        {29, {29, {11}, "", {}}, kNone},
        {30, {30, {}, "", {}}, kNone},
    };
    for (const PhaseCase& p : phases)
        for (int flags = 0; flags < 8; ++flags) {
            const u8 resume = flags & 1, result = (flags >> 1) & 1, again = (flags >> 2) & 1;
            SCOPED_TRACE("phase " + std::to_string(p.phase) + " flags " + std::to_string(flags));
            Reset(p.phase);
            context.m_AnswerTurnPending = resume;
            context.m_AnswerPending = result;
            context.m_AnswerAgain = again;
            const Step step = Run();
            if (resume) {
                // In the steal the resume only clears its flag.
                ExpectStep(step, {p.phase, p.phase == 13 ? std::vector<int>{} : std::vector<int>{7}, "", {}});
                EXPECT_EQ(Values(context.m_AnswerTurnPending, context.m_AnswerPending, context.m_AnswerAgain),
                          Values(0, result, again));
            } else if (result) {
                // Left for the result's owner to clear.
                ExpectStep(step, {p.phase, {17}, "", {}});
                EXPECT_EQ(Values(context.m_AnswerPending, context.m_AnswerAgain), Values(1, again));
            } else if (again) {
                ExpectStep(step, {p.phase, {13}, "", {}});
                EXPECT_EQ(Values(context.m_AnswerAgain, context.m_AnswerTurnPending), Values(0, 1));
            } else {
                ExpectStep(step, p.step);
                EXPECT_EQ(Values(context.m_CurrentFamily, context.m_StealStarted), Values(p.family, p.phase == 13));
                for (int event : step.events)  // fired with player one's member
                    EXPECT_EQ(events.recorders[event].last, context.m_PlayerOneFamily->m_Members[0]) << event;
            }
            EXPECT_TRUE(flags == 0 || context.m_StealStarted == 0);
        }
}

TEST_F(PhaseStepTest, MatchDependentSteps) {
    // The steps that depend on the match: the buzz owner, the face-off winner, the round and the
    // player count.
    struct Case { const char* what; i32 phase, round, owner, winner; u32 two;
                  i32 phaseAfter, familyAfter, ownerAfter; const char* sequence; };
    const Case cases[] = {
        {"sudden death opens its own buzz", 6, 5, 0, 0, 0, 17, kNone, -1, ""},
        {"face-off buzz, two players", 7, 1, 0, 0, 1, 10, 2, 0, ""},
        {"computer buzzed", 8, 1, 1, 0, 0, 8, 0, 1, ""},
        {"face-off buzz, computer won", 7, 1, 1, 1, 0, 10, 0, 1, ""},
        {"player 2 buzzed", 8, 1, 1, 0, 1, 8, 2, 1, ""},
        {"face-off buzz, nobody won", 7, 1, -1, -1, 0, 10, 2, -1, ""},
        {"nobody buzzed", 8, 1, -1, 0, 0, 8, 1, -1, ""},
        {"sudden death, player 2 buzzed", 20, 5, 1, 0, 1, 20, 2, 1, ""},
        {"second answer after the computer", 21, 5, 1, 0, 0, 21, 1, 1, ""},
        {"second answer, nobody buzzed", 21, 5, -1, 0, 0, 21, kNone, -1, ""},
        {"sudden-death buzz, computer won", 17, 5, 0, 1, 0, 17, 0, -1, ""},
        {"sudden-death buzz, nobody won", 17, 5, 1, -1, 0, 17, kNone, -1, ""},
        {"sudden-death buzz, two players", 17, 5, 1, 0, 1, 17, kNone, -1, ""},
        {"round opening keeps a later round", 4, 3, 0, 0, 0, 5, kNone, 0, "faceoff_round3"},
        {"round opening of sudden death", 4, 5, 0, 0, 0, 5, kNone, 0, "SuddenDeath"},
        {"right pose of another decade", 3, 1, 0, 0, 0, 2, kNone, 0, "right_pose90Hard"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset(c.phase);
        context.m_RoundCounter = c.round;
        context.m_BuzzOwner = c.owner;
        context.m_FaceOffWinner = c.winner;
        context.m_TwoPlayers = c.two;
        context.m_Decade = context.m_Difficulty = c.phase == 3 ? 2 : 0;
        const Step step = Run();
        EXPECT_EQ(std::vector<i32>({step.phase, context.m_CurrentFamily, context.m_BuzzOwner, context.m_RoundCounter}),
                  std::vector<i32>({c.phaseAfter, c.familyAfter, c.ownerAfter, c.round}));
        EXPECT_EQ(step.sequence, c.sequence);
        // The round opening clears the face-off replay of the answer record.
        EXPECT_EQ(context.m_AnswerRecord->m_FaceOffReplay, c.phase != 4);
    }
}

TEST_F(PhaseStepTest, StealAnnouncedOnce) {
    // The steal is announced once a round, and lets the computer family act.
    Reset(13);
    ExpectStep(Run(), {13, {16}, "", {}});
    EXPECT_EQ(Values(context.m_StealStarted, context.m_AIMayAct), Values(1, 1));
    events.Attach(match());
    context.m_AIMayAct = 0;
    ExpectStep(Run(), {13, {}, "", {}});
    EXPECT_EQ(context.m_AIMayAct, 0);
}

// After the steal, a complete board (every answer shown, or six in rounds 3 and 4 with the seventh
// and eighth struck out) wins the round at once; otherwise the answers nobody found are revealed.
TEST_F(PhaseStepTest, CompleteBoardWinsAfterTheSteal) {
    UseQuestions({WordQuestion(8)});
    struct Steal { i32 round, found; u32 struckOut; bool complete; };
    const Steal steals[] = {{1, 8, 0, true},
                            {1, 7, 0, false},
                            {3, 8, 2, true},
                            {2, 8, 2, false},
                            {4, 7, 1, true},
                            {3, 6, 1, false}};
    for (const Steal& c : steals) {
        SCOPED_TRACE(std::to_string(c.round) + " found " + std::to_string(c.found));
        Reset(PhaseStealResult);
        bank->Reload(c.found);
        context.m_RoundCounter = c.round;
        context.m_StruckOutAnswers = c.struckOut;
        ExpectStep(Run(), c.complete ? Step{14, {}, "", {"RoundWon"}} : Step{15, {}, "reveal_others", {}});
    }
}

TEST_F(PhaseStepTest, ClosingSequenceOfTheMatch) {
    // The end of the match: the closing sequence of the active family's side, unless the
    // computer family won a single-player match (300 points or more).
    struct End { u32 two; i32 score, family; i32 phase; const char* sequence; };
    const End ends[] = {{0, 300, 1, 28, ""},
                        {0, 301, 0, 28, ""},
                        {0, 299, 1, 30, "end_game_see_you_nexttime_left"},
                        {0, 299, 0, 30, "end_game_see_you_nexttime_right"},
                        {1, 300, 1, 30, "end_game_see_you_nexttime_left"},
                        {1, 0, 2, 30, "end_game_see_you_nexttime_right"}};
    for (const End& c : ends) {
        SCOPED_TRACE(std::to_string(c.two) + " " + std::to_string(c.score) + " " + std::to_string(c.family));
        Reset(PhaseGameEnd);
        context.m_TwoPlayers = c.two;
        context.m_ComputerFamily->m_Score = c.score;
        context.m_CurrentFamily = c.family;
        ExpectStep(Run(), {c.phase, {}, c.sequence, {}});
    }
}

TEST_F(PhaseStepTest, FastMoneyWaitsForItsListeners) {
    // Fast money moves to its first player only after the start's listeners ran.
    struct PhaseProbe : IDelegateParam<GameServices::Entities::BaseTeamMember*> {
        void Invoke(GameServices::Entities::BaseTeamMember*) override { seen = context->m_GamePhase; }
        QZ2011GameContext* context = nullptr;
        i32 seen = -2;
    } probe;
    probe.context = &context;
    Reset(PhaseFastMoneyIntro);
    match().FastMoneyStartEvent.AddDelegate(&probe);
    Run();
    match().FastMoneyStartEvent.RemoveDelegate(&probe);
    EXPECT_EQ(Values(probe.seen, context.m_GamePhase), Values(PhaseFastMoneyIntro, PhaseFastMoneyFirstPlayer));
}

TEST_F(PhaseStepTest, NoRoundRulesWaitsReportedOnce) {
    // Without round rules the phases that need them wait, reported once.
    match().SetRoundRules(nullptr);
    log.Clear();
    for (i32 phase : {15, 16, 18, 19, 18}) {
        Reset(phase);
        Run();
        EXPECT_EQ(context.m_GamePhase, phase);
    }
    EXPECT_EQ(LogCount("QZ11Game : no round rules to end the phase"), 1u);
}

