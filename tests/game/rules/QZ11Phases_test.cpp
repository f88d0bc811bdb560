#include "game/rules/QZ11Phases.h"

#include <gtest/gtest.h>

#include <vector>

using namespace QZ2011;

// Every write of the phase reaches the observer in order, a repeated value included; reads
// give the last value written; without an observer writes go unreported.
TEST(GamePhaseField, ReportsEveryWriteToItsObserver) {
    GamePhaseField phase(PhaseNone);
    EXPECT_EQ(phase, PhaseNone);
    std::vector<i32> writes;
    phase.SetObserver([](void* owner, i32 value) { static_cast<std::vector<i32>*>(owner)->push_back(value); }, &writes);
    for (i32 value : {PhaseShowStart, PhaseSuddenDeathBuzz, PhaseSuddenDeathBuzz, PhaseGameOver})
        phase = value;
    EXPECT_EQ(writes, (std::vector<i32>{0, 17, 17, 30}));
    EXPECT_EQ(phase, PhaseGameOver);
    phase.SetObserver(nullptr, nullptr);
    phase = PhaseRoundIntro;
    EXPECT_EQ(writes.size(), 4u);
    EXPECT_EQ(phase, PhaseRoundIntro);
}
