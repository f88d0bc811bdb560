#include "engine/core/PCTimerManager.h"

#include <gtest/gtest.h>

#include "platform/core/Clock.h"

namespace {

u32 Frame(PCTimerManager& timer, platform::FakeClock& clock, double ms) {
    clock.AdvanceMs(ms);
    timer.Update();
    return timer.GetFrameMs();
}

}  // namespace

TEST(PCTimerManager, SteadyFramesAddUpToRealTime) {
    platform::FakeClock clock;
    PCTimerManager timer;
    timer.Initialize();
    for (int i = 0; i < 50; ++i)
        Frame(timer, clock, 33);
    u64 total = 0;
    for (int i = 0; i < 100; ++i)
        total += Frame(timer, clock, 33);
    EXPECT_NEAR(double(total), 3300.0, 50.0);

    // A rate that is not a whole number of milliseconds: the fraction is carried.
    total = 0;
    for (int i = 0; i < 50; ++i)
        Frame(timer, clock, 1000.0 / 60.0);
    for (int i = 0; i < 600; ++i)
        total += Frame(timer, clock, 1000.0 / 60.0);
    EXPECT_NEAR(double(total), 10000.0, 2.0);
}
