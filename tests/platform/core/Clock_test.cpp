#include "platform/core/Clock.h"

#include <gtest/gtest.h>

#include "platform/core/AlertableSleep.h"

TEST(Clock, SystemClockIsMonotonicAndSleepsAtLeastTheTimeAsked) {
    uint64_t a = platform::NowNs();
    platform::SleepNs(2'000'000);
    uint64_t b = platform::NowNs();
    EXPECT_GE(b - a, 2'000'000u);
    EXPECT_LT(b - a, 2'000'000'000u);
    platform::SleepNs(0);
    EXPECT_GE(platform::NowNs(), b);
}

TEST(Clock, FakeClockReplacesReadingsAndSleepsWhileItLives) {
    {
        platform::FakeClock fake(100'000'000'000'000ull);
        EXPECT_EQ(platform::NowNs(), 100'000'000'000'000ull);
        platform::SleepMs(16);
        EXPECT_EQ(platform::NowNs(), 100'000'016'000'000ull);
        fake.Advance(5);
        fake.AdvanceMs(0.5);
        EXPECT_EQ(platform::NowNs(), 100'000'016'500'005ull);
        EXPECT_EQ(fake.SleptNs(), 16'000'000u);
        fake.Set(7);
        EXPECT_EQ(platform::NowNs(), 7u);
    }
    // The system clock is back.
    EXPECT_GT(platform::NowNs(), 1000u);
}

namespace {
int g_hookRuns = 0;
void Hook() {
    ++g_hookRuns;
}
}  // namespace

TEST(AlertableSleep, RunsTheHookThenSleeps) {
    platform::FakeClock fake;
    platform::AlertableSleep(0);  // no hook: nothing but the (zero) sleep
    platform::SetAlertableHook(&Hook);
    platform::AlertableSleep(0);
    platform::AlertableSleep(3);
    platform::SetAlertableHook(nullptr);
    platform::AlertableSleep(1);
    EXPECT_EQ(g_hookRuns, 2);
    EXPECT_EQ(fake.SleptNs(), 4'000'000u);
}
