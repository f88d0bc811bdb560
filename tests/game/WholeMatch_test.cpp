#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/QZ2011GameContext.h"
#include "game/rules/QZ11Phases.h"
#include "tests/support/MatchHarness.h"
#include "tools/qbank/BankSource.h"

using namespace match;

namespace {

// The bank's 70s questions in turn without answers, with ten answers and as they are.
void TenOrNoAnswers(qbank::Bank& bank) {
    int n = 0;
    for (qbank::BankQuestion& question : bank.questions) {
        if (question.decade != 0 || question.answers.empty())
            continue;
        if (n % 3 == 0) {
            question.answers.clear();
        } else if (n % 3 == 1) {
            const std::vector<qbank::BankAnswer> own = question.answers;
            for (size_t k = 0; question.answers.size() < 10; ++k) {
                qbank::BankAnswer extra = own[k % own.size()];
                extra.points = 1;
                extra.text = "Extra" + std::to_string(k);
                extra.groups = {{"extra" + std::to_string(k)}};
                question.answers.push_back(extra);
            }
        }
        ++n;
    }
}

}  // namespace

// Whole matches on the real screen, each from its own policy and seed: the terminal phase is
// reached without a stall and the outcome is the one the policy steers to (the rules of each
// step are the rules tests' part). A bank with questions of no answers or more than eight
// neither stalls nor reads out of bounds.
TEST(WholeMatch, SeededMatchesReachTheirEnds) {
    using FM = MatchPolicy::FastMoney;
    MatchPolicy timesOut{6}, oddBank{7};
    // Shorter than any wait of the computer family: each of its turns times out.
    timesOut.answerSeconds = 3;
    oddBank.rightPercent = 70;
    // ending: a sequence the match plays (the boards of one and of eight answers for the odd bank).
    const struct { const char* name; MatchPolicy policy; std::vector<std::string> ending; } cases[] = {
        {"win, 200 or more", {3}, {"end_game_20k_win_left"}},
        {"win below 200", {4, 100, 100, 0, 100, 100, 50, FM::Lowest, FM::Pass}, {"end_game_normal_win_left"}},
        {"loss", {5, 0, 100, 0, 0, 0, 0}, {"end_game_loose"}},
        {"sudden death", {5, 100, 100, 0, 0, 0, 0}, {"SuddenDeath"}},
        {"computer turns time out", timesOut, {"end_game_see_you_nexttime_left"}},
        {"questions without answers or with ten", oddBank, {"buzz1_left", "buzz8_left"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MatchHarness harness;
        if (c.policy.seed == oddBank.seed)
            harness.ChangeBank(TenOrNoAnswers);
        // Player one plays a profile of its own: prizes and award counters are kept on it.
        harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0);
        const RunResult result = harness.PlayMatch(c.policy);
        ASSERT_TRUE(result.ok) << result.report;
        const std::vector<std::string> played = harness.SequencesPlayed();
        for (const std::string& sequence : c.ending)
            EXPECT_NE(std::find(played.begin(), played.end(), sequence), played.end()) << sequence;
        EXPECT_EQ(harness.Context().m_GamePhase,
                  std::count(played.begin(), played.end(), "end_game_loose") ? QZ2011::PhaseGameEnd
                                                                              : QZ2011::PhaseGameOver);
        // With the computer family's every turn ended at its time-up, none of its answers was judged.
        for (const RecordEntry& e : harness.Record())
            EXPECT_FALSE(c.policy.answerSeconds && e.kind == RecordEntry::Kind::Event && e.text == "computer") << e.timeMs;
    }
}
