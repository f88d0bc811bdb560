#include "tests/support/MatchHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/QZ2011GameContext.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"

using namespace match;

TEST(MatchHarness, EntersTheMatchLevel) {
    MatchHarness harness;
    ASSERT_TRUE(harness.Start(1)) << harness.Failure();
    ASSERT_TRUE(harness.EnterLevel()) << harness.Failure();
    for (const std::string& line : harness.Lines({RecordEntry::Kind::Log}))
        std::printf("%s\n", line.c_str());
    ASSERT_TRUE(harness.LeaveLevel()) << harness.Failure();
}
