#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
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
    for (qbank::BankQuestion& q : bank.questions) {
        const bool own = q.decade == 0 && !q.answers.empty(), cleared = own && n++ % 3 == 0;
        for (size_t k = 0; own && !cleared && n % 3 == 2 && q.answers.size() < 10; ++k)
            q.answers.push_back({1, "Extra" + std::to_string(k), {{"extra" + std::to_string(k)}}, q.answers[0].place});
        q.answers.resize(cleared ? 0 : q.answers.size());
    }
}

// A player one of the seed's own chances, against the decade and difficulty of its group. The
// cap lies far above the longest match of the sweep (under six minutes): every match ends in a
// bounded number of frames.
MatchPolicy SweepPolicy(uint32_t seed, int group, uint32_t answerSeconds) {
    std::mt19937 draw(seed);
    auto percent = [&](int low) { return low + int(draw() % uint32_t(101 - low)); };
    auto fastMoney = [&] { return MatchPolicy::FastMoney(draw() % 4); };
    return {seed, percent(30), percent(10), percent(90) - 90, percent(40), percent(0), percent(60) - 60, fastMoney(),
            fastMoney(), answerSeconds, uint32_t(group % 4), uint32_t(group / 4), 12 * 60 * 1000};
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
constexpr int kSweepMatches = 12;  // one of each decade and difficulty: the sweep is the plain build's
#else
constexpr int kSweepMatches = 120;
#endif

}  // namespace

// Whole matches on the real screen against the tuning of every decade and difficulty, each
// from its own seed and player one's chances: the rules hold at every step and after the end,
// every match ends, and the sweep sees every kind of ending. One harness plays each decade and
// difficulty's matches in turn; the 70s easy ones play a bank with questions of no answers or
// more than eight, and in one match the computer family's every turn times out.
TEST(WholeMatch, SeededSweepKeepsTheRulesAndEndsEveryMatch) {
    std::set<std::string> played;
    for (int group = 0; group < 12; ++group) {
        MatchHarness harness;
        if (group == 0)
            harness.ChangeBank(TenOrNoAnswers);
        // Player one plays a profile of its own: prizes and award counters are kept on it.
        harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0);
        for (int match = group; match < kSweepMatches; match += 12) {
            // In one match the answer time is shorter than any wait of the computer family.
            const MatchPolicy policy = SweepPolicy(uint32_t(1000 + match), group, match == 1 ? 3 : 0);
            // The seed names the match: its group is (seed - 1000) % 12.
            SCOPED_TRACE("seed " + std::to_string(policy.seed));
            const size_t from = harness.Record().size();
            const RunResult result = harness.PlayMatch(policy);
            ASSERT_TRUE(result.ok) << result.report;
            for (const RecordEntry& e : std::span(harness.Record()).subspan(from)) {
                played.insert(e.kind == RecordEntry::Kind::Sequence ? e.text : "");
                // With the computer family's every turn ended at its time-up, none of its answers is judged.
                EXPECT_FALSE(policy.answerSeconds && e.text == "computer" && e.answer != -2) << e.timeMs;
            }
            ASSERT_TRUE(harness.LeaveLevel()) << harness.Failure();
        }
    }
    // The boards of one and of eight answers; the endings of a win with 200 or more, of a win
    // below 200, of a loss; sudden death.
    for (const char* sequence : {"buzz1_left", "buzz8_left", "end_game_20k_win_left", "end_game_normal_win_left",
                                 "end_game_loose", "SuddenDeath"})
        EXPECT_TRUE(played.count(sequence)) << sequence;
}
