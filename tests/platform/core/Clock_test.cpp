#include "platform/core/Clock.h"

#include <gtest/gtest.h>

#include "platform/core/AlertableSleep.h"

namespace {
int g_hookRuns = 0;
void Hook() { ++g_hookRuns; }

constexpr uint64_t kFar = 1ull << 62;
}  // namespace

TEST(Clock, FakeClockReplacesReadingsAndSleepsWhileItLives) {
    {
        platform::FakeClock fake(kFar);
        platform::SleepMs(16);
        platform::SleepNs(1);
        platform::SleepNs(0);
        fake.Advance(4);
        fake.AdvanceMs(0.5);
        EXPECT_EQ(platform::NowNs(), kFar + 16'500'005u);
        // The alertable sleep runs the installed hook, then sleeps on the same clock.
        platform::SetAlertableHook(&Hook);
        platform::AlertableSleep(3);
        platform::SetAlertableHook(nullptr);
        platform::AlertableSleep(1);
        EXPECT_EQ(g_hookRuns, 1);
        EXPECT_EQ(fake.SleptNs(), 20'000'001u);
    }
    EXPECT_LT(platform::NowNs(), kFar);  // the system clock is back
}

TEST(Clock, TheSystemClockSleepsWholeSecondsToo) {
    const uint64_t start = platform::NowNs();
    platform::SleepNs(1'050'000'000);
    EXPECT_GE(platform::NowNs() - start, 1'050'000'000u);
}
