#include "game/rules/RoundRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/rules/MatchStage.h"

using namespace QZ2011;
using namespace match_stage;

namespace {

constexpr i32 C = QZ2011GameContext::kComputerFamily;
constexpr i32 P1 = QZ2011GameContext::kPlayerOneFamily;
constexpr i32 P2 = QZ2011GameContext::kPlayerTwoFamily;
// Each award check made without a profile for player 0 reports this once.
constexpr const char* kAwardCheck = "No profile was found assigned to player id = 0";
constexpr u8 QZBehaviorCharacter::*kGestures[] = {
    &QZBehaviorCharacter::WinMedRequest, &QZBehaviorCharacter::WinMedFamilyRequest,
    &QZBehaviorCharacter::LoseSmallRequest, &QZBehaviorCharacter::LoseSmallFamilyRequest};

// The rules on the entered stage level, with one question of eight answers ranked 80 down to
// 73 points ("word<n>" names answer n), and the show's 100 ms sequences.
class RoundRulesTest : public MatchStageTest {
protected:
    void SetUp() override {
        MatchStageTest::SetUp();
        Enter(StageLevel());
        UseQuestions({WordQuestion(8)});
    }
    // A one- or two-player match in a phase and round, the family at the turn, scores 0.
    Question* Set(bool two, i32 phase, i32 round, i32 buzzOwner, i32 family, int found = 0) {
        StopShow();
        context.m_TwoPlayers = two ? 1 : 0;
        context.m_GamePhase = phase;
        context.m_RoundCounter = round;
        context.m_BuzzOwner = buzzOwner;
        context.m_FaceOffWinner = -1;
        context.m_CurrentFamily = family;
        context.m_TimeUp = context.m_AnswerAgain = context.m_WentToSuddenDeath = context.m_AnswerPending = 0;
        context.m_AnswerTurnPending = context.m_StruckOutAnswers = context.m_Decade = context.m_RoundBank = 0;
        context.m_AIMayAct = 1;
        for (Family* f : {context.m_PlayerOneFamily, context.m_ComputerFamily, context.m_PlayerTwoFamily})
            f->m_Score = f->m_Strikes = 0;
        context.m_PlayerOneFamily->m_Side = 0;
        context.m_ComputerFamily->m_Side = context.m_PlayerTwoFamily->m_Side = 1;
        record() = AnswerResult{};
        for (int i = 0; i < 8; ++i) {
            match().GetContestant(i)->SetVisible(true);
            for (u8 QZBehaviorCharacter::*request : kGestures)
                match().GetContestant(i)->m_Behavior.*request = 0;
        }
        log.Clear();
        events.Attach(match());
        return bank->Reload(found);
    }
    RoundRules& rules() { return context.GetRoundRules(); }
    AnswerResult& record() { return *context.m_AnswerRecord; }
    void Dispatch(i32 index) {
        record().m_AnswerIndex = index;
        rules().DispatchAnswerResult(record());
    }
    Family& Of(i32 slot) {
        return *(slot == C ? context.m_ComputerFamily : slot == P1 ? context.m_PlayerOneFamily
                                                                     : context.m_PlayerTwoFamily);
    }
    size_t Awards() const { return LogCount(kAwardCheck); }
    // The contestants with that request set (shown with none): 10 for each on the left, 1 for
    // each on the right.
    int Gestures(u8 QZBehaviorCharacter::*request = nullptr) {
        int n = 0;
        for (int i = 0; i < 8; ++i) {
            const QZCharacter* member = match().GetContestant(i);
            n += (request ? member->m_Behavior.*request : member->Visible) ? (i < 4 ? 10 : 1) : 0;
        }
        return n;
    }
};

// Runs the body once for each row of a table; a failure names the row's index.
#define FOR_EACH_ROW(r, rows) \
    for (const auto& r : rows) if (::testing::ScopedTrace trace(__FILE__, __LINE__, std::to_string(&r - rows)); true)

}  // namespace

// The face-off rows, one- and two-player: the buzzing family's top answer (or any right one in a
// replay) wins at once; else the other family answers and the better rank wins, ties to the second
// family; both missing replays once, then opens the round. Player one's win in the 00s is an award check.
TEST_F(RoundRulesTest, FaceOffDecidesTheWinner) {
    const struct Row { bool two; i32 phase, decade, replay, buzz, family, first, index;
                 i32 nextPhase, winner, nextFamily, nextReplay; const char* sequence; size_t awards; } rows[] = {
        {false, 8, 0, 0, 0, P1, -1, 0, 10, 0, P1, 0, "", 1},
        {false, 8, 0, 0, 0, P1, -1, 3, 9, -1, C, 0, "", 0},
        {false, 8, 1, 0, 0, P1, -1, 1, 9, -1, C, 0, "", 1},
        {false, 8, 0, 1, 1, C, -1, 4, 10, 1, C, 1, "", 0},
        {false, 8, 0, 0, 1, C, -1, -1, 9, -1, P1, 0, "", 0},
        {false, 8, 1, 0, -1, P1, -1, 2, 9, -1, C, 0, "", 0},
        {false, 9, 3, 0, 0, C, 1, 0, 10, 1, C, 0, "", 0},
        {false, 9, 3, 0, 0, C, 1, 3, 10, 0, P1, 0, "", 1},
        {false, 9, 1, 0, 1, P1, -1, 2, 10, 0, P1, 0, "", 1},
        {false, 9, 0, 0, 1, P1, 2, 0, 10, 0, P1, 0, "", 1},
        {false, 9, 0, 0, 1, P1, 2, -1, 10, 1, C, 0, "", 0},
        {false, 9, 0, 0, 0, C, -1, -1, 8, -1, P1, 1, "", 0},
        {false, 9, 0, 1, 0, C, -1, -1, 5, -1, C, 0, "faceoff_round1", 0},
        {false, 9, 0, 1, 0, C, -1, 5, 10, 1, C, 1, "", 0},
        {true, 8, 0, 0, 1, P2, -1, 0, 10, 1, P2, 0, "", 0},
        {true, 9, 0, 0, 1, P1, 2, 2, 10, 0, P1, 0, "", 0},
        {true, 9, 0, 0, 0, P2, -1, -1, 8, -1, P1, 1, "", 0},
    };
    FOR_EACH_ROW(r, rows) {
        Set(r.two, r.phase, 1, r.buzz, r.family);
        context.m_Decade = u32(r.decade);
        record().m_FaceOffReplay = u8(r.replay);
        record().m_FirstFaceOffAnswer = r.first;
        record().m_StruckOut = 2;
        Dispatch(r.index);
        // The face-off-won event follows every decision; the first answer opens the next entry afresh.
        EXPECT_EQ(Values(context.m_GamePhase, context.m_FaceOffWinner, context.m_CurrentFamily,
                         record().m_FaceOffReplay, Awards(), events.recorders[8].count, record().m_StruckOut),
                  Values(r.nextPhase, r.winner, r.nextFamily, r.nextReplay, r.awards, r.nextPhase == 10,
                         r.phase == 8 ? 0 : 2));
        EXPECT_EQ(Playing(), r.sequence);
        EXPECT_TRUE(r.phase != 8 || r.nextPhase != 9 || record().m_FirstFaceOffAnswer == r.index);
    }
}

    // The check of an entered answer: the typed text, or the computer family's pick (a wrong
    // answer once its time ran out, whatever it picked before); in the main game's rounds 3 and 4
    // the seventh and eighth answers are struck out, in fast money they count.
TEST_F(RoundRulesTest, EnteredAnswerChecked) {
    const struct Entered { i32 phase, round, family, chosen; u8 timeUp; const char* typed; i32 index, struckOut; } entered[] = {
        {12, 2, P1, -1, 0, "word7", 7, 2},
        {12, 3, P1, -1, 0, "word6", -1, 3},
        {12, 4, P1, -1, 0, "word5", 5, 2},
        {24, 3, P1, -1, 0, "word6", 6, 2},
        {24, 4, P1, -1, 0, "word7", 7, 2},
        {25, 1, P1, -1, 0, "word0", -1, 2},
        {12, 1, C, 2, 1, "word2", -1, 2},
        {12, 1, C, 2, 0, "", 2, 2},
        {12, 4, C, 6, 0, "", -1, 3},
        {12, 1, C, 8, 0, "word1", -1, 2},
        {20, 5, C, 0, 0, "", 0, 2},
    };
    FOR_EACH_ROW(r, entered) {
        Set(false, r.phase, r.round, 0, r.family);
        context.m_ChosenAnswerIndex = r.chosen;
        context.m_TimeUp = r.timeUp;
        context.m_TypedAnswer = r.typed;
        record().m_StruckOut = 2;
        rules().CheckTypedAnswer(record());
        EXPECT_EQ(Values(record().m_AnswerIndex, context.m_LastAnswerIndex, record().m_StruckOut,
                         context.m_StruckOutAnswers),
                  Values(r.index, r.index, r.struckOut, r.struckOut == 2 ? 0 : r.struckOut));
    }
}

    // The time runs out on the computer family's round turn while its pick of an earlier turn
    // names a hidden answer: checked, shown and ruled as the screen does, it is one wrong answer.
TEST_F(RoundRulesTest, TimeUpOnAnEarlierComputerPickIsOneStrike) {
    Question* timedOut = Set(false, PhaseRoundAnswers, 1, 1, C);
    context.m_ChosenAnswerIndex = 2;
    context.m_TimeUp = 1;
    rules().CheckTypedAnswer(record());
    rules().ScoreRevealedAnswer(record());
    rules().DispatchAnswerResult(record());
    EXPECT_EQ(Playing(), "strike1_TimeUp");
    EXPECT_EQ(Values(context.m_ComputerFamily->m_Strikes, context.m_RoundBank, timedOut->GetAnswer(2).IsRevealed()),
              Values(1, 0, false));
}

    // An answer shown goes to the bank times the round's multiplier, except in the steal; one
    // already on the board, or anything but the top answer in sudden death, is wrong.
TEST_F(RoundRulesTest, ShownAnswerBankedTimesTheMultiplier) {
    const struct Shown { i32 phase, round, index; bool revealed; i32 shown; u32 bank; } showns[] = {
        {8, 1, 2, false, 2, 78},    {12, 2, 0, false, 0, 80},   {12, 3, 1, false, 1, 158},
        {12, 4, 7, false, 7, 219},  {20, 5, 0, false, 0, 240},  {21, 5, 1, false, -1, 0},
        {13, 2, 3, false, 3, 0},    {12, 1, 2, true, -1, 0},    {12, 1, 8, false, -1, 0},
        {12, 1, -1, false, -1, 0},
    };
    FOR_EACH_ROW(r, showns) {
        Question* question = Set(false, r.phase, r.round, 0, P1);
        if (r.revealed)
            question->GetAnswer(u32(r.index)).SetRevealed(true);
        context.m_RoundBank = 5;
        record().m_AnswerIndex = r.index;
        rules().ScoreRevealedAnswer(record());
        EXPECT_EQ(Values(record().m_AnswerIndex, context.m_RoundBank), Values(r.shown, 5 + r.bank));
        // The shown answer is on the board; a wrong one stays hidden.
        EXPECT_EQ(question->GetAnswer(u32(r.index < 0 || r.index > 7 ? 0 : r.index)).IsRevealed(),
                  r.shown >= 0 || r.revealed);
    }
}

    // Round answers: strikes one to three (the time-up forms clear the flag they use), the third
    // opening the steal; a miss past the third, or with no family at the turn (strikes -1), asks for
    // no strike; a right answer keeps the turn; the board completes when every answer, or in rounds
    // 3 and 4 six valid ones, are found.
TEST_F(RoundRulesTest, RoundAnswerStrikesAndFullBoard) {
    const struct Strike { i32 round, strikes, index; u8 timeUp; int found, struckOut; const char* sequence;
                    i32 phase, strikesAfter, family; u8 again, timeUpAfter; size_t awards; bool passed; } strikes[] = {
        {1, 0, -1, 0, 1, 0, "strike1", 12, 1, P1, 1, 0, 0, false},
        {1, 1, -1, 1, 1, 0, "strike2_TimeUp", 12, 2, P1, 1, 0, 0, false},
        {1, 2, -1, 0, 1, 0, "strike3", 13, 0, C, 0, 0, 0, false},
        {1, 2, -1, 1, 1, 0, "strike3_TimeUp", 13, 0, C, 0, 0, 0, false},
        {1, 3, -1, 0, 1, 0, "", 12, 4, P1, 1, 0, 0, false},
        {1, -1, -1, 0, 1, 0, "", 12, -1, QZ2011GameContext::kNoFamily, 1, 0, 0, false},
        {1, 0, 3, 1, 2, 0, "right_answer_round", 12, 0, P1, 1, 0, 0, false},
        {4, 0, -1, 0, 7, 1, "strike1", 18, 1, P1, 0, 0, 0, false},
        {1, 1, 7, 0, 8, 0, "right_answer_round", 18, 1, P1, 0, 0, 0, false},
        {1, 0, -1, 0, 7, 1, "strike1", 12, 1, P1, 1, 0, 0, false},
        {1, 0, 7, 0, 8, 0, "right_answer_round", 18, 0, P1, 0, 0, 1, false},
        {3, 0, 5, 0, 6, 0, "right_answer_round", 18, 0, P1, 0, 0, 1, false},
        {2, 0, 5, 0, 6, 0, "right_answer_round", 12, 0, P1, 1, 0, 0, false},
        // Player one won the face-off and passed: the computer family's full board earns no award.
        {1, 0, 7, 0, 8, 0, "right_answer_round", 18, 0, C, 0, 0, 0, true},
    };
    FOR_EACH_ROW(r, strikes) {
        // After a pass the computer family has the turn.
        Set(false, PhaseRoundAnswers, r.round, 0, r.passed ? C : r.strikes < 0 ? QZ2011GameContext::kNoFamily : P1, r.found);
        context.m_FaceOffWinner = 0;
        context.m_PlayerOneFamily->m_Strikes = r.strikes;
        context.m_TimeUp = r.timeUp;
        record().m_StruckOut = r.struckOut;
        Dispatch(r.index);
        EXPECT_EQ(Playing() + (log.Contains("Invalid sequence name !!!") ? "?" : ""), r.sequence);
        EXPECT_EQ(Values(context.m_GamePhase, context.m_PlayerOneFamily->m_Strikes, context.m_CurrentFamily,
                         context.m_AnswerAgain, context.m_TimeUp, context.m_AIMayAct, Awards()),
                  Values(r.phase, r.strikesAfter, r.family, r.again, r.timeUpAfter, r.phase != 13, r.awards));
    }
}

    // The steal: a right answer takes the bank for the stealing family, a wrong one gives it to the
    // family that played; the sequence and the gestures belong to the stealing family's side.
TEST_F(RoundRulesTest, StealGivesTheBankToOneFamily) {
    const struct Steal { bool two; i32 stealer, index; const char* sequence; i32 family, stealerScore, otherScore;
                   bool leftGestures; size_t awards; } steals[] = {
        {false, C, 2, "steal_ok", C, 150, 0, false, 0},
        {false, C, -1, "steal_fail_right", P1, 0, 150, false, 0},
        {false, P1, 4, "steal_ok", P1, 150, 0, false, 1},
        {false, P1, -1, "steal_fail_left", C, 0, 150, true, 0},
        {true, P2, -1, "steal_fail_right", P1, 0, 150, false, 0},
    };
    FOR_EACH_ROW(r, steals) {
        Set(r.two, PhaseSteal, 1, 0, r.stealer);
        const i32 other = r.stealer == P1 ? (r.two ? P2 : C) : P1;
        Of(other).m_Strikes = 3;
        context.m_RoundBank = 150;
        context.m_FaceOffWinner = 1;
        Dispatch(r.index);
        EXPECT_EQ(Playing(), r.sequence);
        EXPECT_EQ(Values(context.m_GamePhase, Of(r.stealer).m_Score, Of(other).m_Score, context.m_RoundBank,
                         context.m_FaceOffWinner, Of(r.family).m_Strikes, events.recorders[15].count, Awards(),
                         context.m_CurrentFamily),
                  Values(PhaseStealResult, r.stealerScore, r.otherScore, 0, -1, 0, 1, r.awards, r.family));
        const bool failed = r.index < 0;
        EXPECT_EQ(Values(Gestures(&QZBehaviorCharacter::LoseSmallFamilyRequest),
                         Gestures(&QZBehaviorCharacter::LoseSmallRequest), Gestures()),
                  Values(failed && r.leftGestures ? 40 : 0, failed && !r.leftGestures ? 4 : 0,
                         !failed ? 44 : r.leftGestures ? 40 : 4));
    }
}

    // The round won: the bank to the family with the turn, with its side's show, or "blank" when
    // the score reaches 300 (exactly 300 included).
    // The rival is the other family of the match.
TEST_F(RoundRulesTest, RoundWonBanksForTheFamilyAtTheTurn) {
    const struct Won { bool two; i32 family, round, score, rival; u32 decade; const char* sequence; size_t awards; } wons[] = {
        {false, P1, 1, 100, 0, 0, "round_won_left", 0},
        {false, P1, 1, 250, 0, 0, "blank", 0},
        {false, C, 1, 249, 0, 0, "round_won_right", 0},
        {true, P2, 1, 100, 0, 0, "round_won_right", 0},
        {false, P1, 3, 100, 0, 0, "round_won_left", 1},
        {false, P1, 3, 100, 150, 0, "round_won_left", 0},
        {false, P1, 1, 100, 149, 3, "round_won_left", 1},
        {false, C, 1, 100, 0, 3, "round_won_right", 0},
        {true, P1, 3, 100, 0, 0, "round_won_left", 0},
    };
    FOR_EACH_ROW(r, wons) {
        Set(r.two, PhaseRoundComplete, r.round, 0, r.family);
        context.m_Decade = r.decade;
        Of(r.family).m_Score = r.score;
        Of(r.family == P1 ? (r.two ? P2 : C) : P1).m_Score = r.rival;
        Of(r.family).m_Strikes = 2;
        context.m_RoundBank = 50;
        context.m_FaceOffWinner = 0;
        match().OnSequenceEnd();
        EXPECT_EQ(Playing(), r.sequence);
        EXPECT_EQ(Values(context.m_GamePhase, Of(r.family).m_Score, Of(r.family).m_Strikes, context.m_RoundBank,
                         context.m_FaceOffWinner, Awards()),
                  Values(PhaseRoundWon, r.score + 50, 0, 0, -1, r.awards));
        // Only the winning family stands on the stage, with its gesture.
        const bool left = std::string(r.sequence) == "round_won_left";
        EXPECT_EQ(Gestures(&QZBehaviorCharacter::WinMedFamilyRequest), left ? 40 : 0);
        const std::vector<i64> stage = {Gestures(), Gestures(&QZBehaviorCharacter::WinMedRequest)};
        EXPECT_TRUE(std::string(r.sequence) == "blank" || stage == Values(left ? 40 : 4, left ? 0 : 4));
    }
}

    // The reveal after a steal: unrevealed answers in rank order, six at most in the 90s and 00s
    // rounds 3 and 4, eight at most for a longer question (even one of ten answers); then "blank" and
    // the banking.
TEST_F(RoundRulesTest, RevealShowsHiddenAnswersInRankOrder) {
    const struct Hidden { u32 decade; i32 round; int revealed; int skipped; const char* sequence; } hidden[] = {
        {0, 3, 6, -1, "reveal_answer7"},
        {2, 3, 6, -1, "blank"},
        {3, 4, 6, -1, "blank"},
        {2, 2, 6, -1, "reveal_answer7"},
        {1, 4, 7, -1, "reveal_answer8"},
        {0, 1, 3, 1, "reveal_answer2"},
        {0, 1, 8, -1, "blank"},
    };
    FOR_EACH_ROW(r, hidden) {
        Question* question = Set(false, PhaseRevealOthers, r.round, 0, P1);
        context.m_Decade = r.decade;
        for (int i = 0; i < r.revealed; ++i)
            question->GetAnswer(u32(i)).SetRevealed(i != r.skipped);
        context.m_RoundBank = 30;
        context.m_AnswerAgain = 1;
        rules().RevealNextHiddenAnswer(record());
        const bool done = std::string(r.sequence) == "blank";
        EXPECT_EQ(Playing(), r.sequence);
        EXPECT_EQ(Values(context.m_GamePhase, context.m_PlayerOneFamily->m_Score, context.m_AnswerAgain),
                  done ? Values(PhaseRoundComplete, 30, 0) : Values(PhaseRevealRemaining, 0, 1));
        EXPECT_TRUE(done || question->GetAnswer(u32(r.sequence[13] - '1')).IsRevealed());
    }
    EXPECT_EQ(RoundRules::MakeRevealSequenceName("12").c_str(), std::string("reveal_answer12"));
}

TEST_F(RoundRulesTest, TenAnswerQuestionRevealsNoNinth) {
    // A question of ten answers (an untrusted file) reveals no ninth answer.
    UseQuestions({WordQuestion(10)});
    Question* question = Set(false, PhaseRevealOthers, 1, 0, P1);
    ASSERT_EQ(question->AnswerCount(), 10u);
    std::vector<std::string> played;
    for (int step = 0; step < 10 && context.m_GamePhase != PhaseRoundComplete; ++step) {
        match().OnSequenceEnd();
        played.push_back(Playing());
        StopShow();
    }
    EXPECT_EQ(played.size(), 9u);
    EXPECT_TRUE(played.back() == "blank" && !question->GetAnswer(8).IsRevealed());
}

    // After each round: the next round's opening with its log line, sudden death repeated, or the
    // end of the main game once a family of the match has 300 points: fast money, or the loss
    // when the computer family reached them.
TEST_F(RoundRulesTest, NextRoundSuddenDeathOrEndOfMainGame) {
    const struct Next { bool two; i32 round, left, right, family; u32 decade; u8 sudden; i32 nextRound, phase;
                  const char* sequence; const char* line; size_t lines, awards; } nexts[] = {
        {false, 0, 0, 0, P1, 0, 0, 1, 5, "faceoff_round1", "--+++ START SINGLE ROUND 1 +++--", 2, 0},
        {false, 3, 299, 299, P1, 0, 0, 4, 5, "faceoff_round4", "--+++ START TRIPLE ROUND +++--", 2, 0},
        {false, 4, 0, 0, P1, 0, 0, 5, 5, "SuddenDeath", "--+++ START SUDDEN DEATH +++--", 2, 0},
        {false, 5, 0, 0, P1, 0, 0, 5, 5, "SuddenDeath", "--+++ START SUDDEN DEATH +++--", 1, 0},
        {false, 2, 300, 0, P1, 0, 0, 3, 23, "fast_money_round_left", "--+++ START DOUBLE ROUND +++--", 1, 1},
        {false, 2, 299, 300, C, 0, 0, 3, 28, "end_game_loose", "--+++ START DOUBLE ROUND +++--", 1, 0},
        {false, 4, 310, 320, P1, 2, 0, 5, 23, "fast_money_round_left", "--+++ START SUDDEN DEATH +++--", 1, 3},
        {false, 5, 300, 0, P1, 1, 1, 5, 23, "fast_money_round_left", "--+++ START SUDDEN DEATH +++--", 0, 2},
        {false, 5, 300, 0, P1, 1, 0, 5, 23, "fast_money_round_left", "--+++ START SUDDEN DEATH +++--", 0, 1},
        {true, 3, 100, 300, P2, 0, 0, 4, 23, "fast_money_round_right", "--+++ START TRIPLE ROUND +++--", 1, 0},
    };
    FOR_EACH_ROW(r, nexts) {
        Set(r.two, PhaseRoundWon, r.round, 0, r.family);
        context.m_Decade = r.decade;
        context.m_WentToSuddenDeath = r.sudden;
        context.m_PlayerOneFamily->m_Score = r.left;
        Of(r.two ? P2 : C).m_Score = r.right;
        // Families outside the match never end it.
        Of(r.two ? C : P2).m_Score = 500;
        record().m_FaceOffReplay = 1;
        // Saving the question progress moves the walk to the stored position.
        context.GetQuestionManager()->SetCurrentIndex(-5);
        match().OnSequenceEnd();
        EXPECT_EQ(Playing(), r.sequence);
        const bool playing = r.phase == PhaseRoundIntro, leftWon = r.phase == 23 && r.family == P1;
        EXPECT_EQ(Values(context.m_RoundCounter, context.m_GamePhase, LogCount(r.line), Awards(),
                         record().m_FaceOffReplay, context.m_WentToSuddenDeath, context.m_BuzzOwner,
                         context.GetQuestionManager()->CurrentIndex() == -5),
                  Values(r.nextRound, r.phase, r.lines, r.awards, !playing || r.nextRound == 5,
                         playing ? r.nextRound == 5 : r.sudden, playing && r.nextRound == 5 ? -1 : 0, playing));
        // The winner's gestures: player 1's family on the left, the other on the right.
        EXPECT_EQ(Values(Gestures(&QZBehaviorCharacter::WinMedFamilyRequest),
                         Gestures(&QZBehaviorCharacter::WinMedRequest), Gestures()),
                  Values(leftWon ? 40 : 0, r.phase == 28 || (r.phase == 23 && !leftWon) ? 4 : 0,
                         leftWon ? 40 : r.phase == 23 || r.phase == 28 ? 4 : 0));
    }
}

    // Sudden death: only the buzzing family's top answer wins at once; else the other family
    // answers, its top answer banked; either way the next round or the end follows, and when both
    // miss another sudden-death round starts with no points moved.
TEST_F(RoundRulesTest, SuddenDeathAnswers) {
    const struct Sudden { i32 phase, family, index; u32 bank; i32 phase2, leftScore, rightScore; const char* sequence; } sudden[] = {
        {20, P1, 0, 240, 23, 340, 100, "fast_money_round_left"},
        {20, P1, 0, 150, 5, 250, 100, "SuddenDeath"},
        {20, P1, -1, 0, 21, 100, 100, ""},
        {21, C, 0, 240, 28, 100, 340, "end_game_loose"},
        {21, C, -1, 0, 5, 100, 100, "SuddenDeath"},
    };
    FOR_EACH_ROW(r, sudden) {
        Set(false, r.phase, 5, 0, r.family);
        context.m_PlayerOneFamily->m_Score = context.m_ComputerFamily->m_Score = 100;
        context.m_RoundBank = r.bank;
        Dispatch(r.index);
        EXPECT_EQ(Values(context.m_GamePhase, context.m_PlayerOneFamily->m_Score, context.m_ComputerFamily->m_Score,
                         context.m_RoundCounter, context.m_FaceOffWinner),
                  Values(r.phase2, r.leftScore, r.rightScore, 5, -1));
        EXPECT_EQ(Playing(), r.sequence);
        EXPECT_TRUE(r.phase2 != 21 || context.m_CurrentFamily == C);
    }
}

