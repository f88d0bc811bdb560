#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/QZ2011GameContext.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Phases.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/support/MatchHarness.h"

using namespace match;

namespace {

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return int(std::count(lines.begin(), lines.end(), line));
}

}  // namespace

// Player one answers right, buzzes and plays every round, and types the top answers in fast
// money: the match is won and fast money reaches 200.
TEST(WholeMatch, WinWithFastMoneyReaching200) {
    MatchHarness harness;
    harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0);
    MatchPolicy policy;
    policy.seed = 3;
    const RunResult result = harness.PlayMatch(policy);
    ASSERT_TRUE(result.ok) << result.report;
    const std::vector<std::string> played = harness.SequencesPlayed();
    EXPECT_EQ(Count(played, "end_game_20k_win_left"), 1);
    EXPECT_EQ(harness.Context().m_GamePhase, QZ2011::PhaseGameOver);
    EXPECT_EQ(GameShow::PlayerProfileManager::Instance()->GetProfile(0)->Score, 20000u);
}
