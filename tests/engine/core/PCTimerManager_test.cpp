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

TEST(PCTimerManager, ClampsAndSmoothsSingleFrames) {
    platform::FakeClock clock(1'000'000'000);
    PCTimerManager timer;
    EXPECT_EQ(timer.GetFrameMs(), 0u);  // no frame before the start
    timer.Initialize();
    EXPECT_EQ(timer.GetFrameMs(), 16u);
    EXPECT_EQ(Frame(timer, clock, 5), 16u);  // raised to the 16 ms floor

    // From a steady 16: a frame of 84 is 34 or more away after one step, so it restarts.
    EXPECT_EQ(Frame(timer, clock, 84), 84u);
    // A stall counts as 84 ms.
    EXPECT_EQ(Frame(timer, clock, 500), 84u);

    PCTimerManager t2;
    t2.Initialize();
    EXPECT_EQ(Frame(t2, clock, 40), 20u);  // two smoothing steps: 18.4, then 20.56
}

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

TEST(PCTimerManager, LargeCounterReadingsKeepExactDeltas) {
    platform::FakeClock clock(100'000'000'000'000ull);  // 10^14 ns, about 28 hours
    PCTimerManager timer;
    timer.Initialize();
    for (int i = 0; i < 60; ++i)
        Frame(timer, clock, 20);
    EXPECT_NEAR(timer.GetSmoothedMs(), 20.0, 1e-3);
    EXPECT_EQ(timer.GetCurrentMs() - timer.GetPreviousMs(), 20u);
    EXPECT_EQ(timer.GetCurrentMs(), u32(100'000'000u + 60u * 20u));
    clock.Advance(21'000'001);
    timer.Update();
    EXPECT_EQ(timer.GetCurrentMs() - timer.GetPreviousMs(), 21u);
    clock.Advance(1);  // a single nanosecond still counts: raw 16, smoothed 19.6 then 19.24
    timer.Update();
    EXPECT_EQ(timer.GetFrameMs(), 19u);
}
