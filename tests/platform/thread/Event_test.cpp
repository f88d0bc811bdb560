#include "platform/thread/Event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

using namespace platform;

TEST(Event, OneSetWakesExactlyOneOfTwoAutoResetWaiters) {
    Event event(false, false);
    std::atomic<int> woken{0};
    auto waiter = [&] {
        if (event.Wait(300) == kWaitSignalled)
            ++woken;
    };
    std::thread t1(waiter), t2(waiter);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    event.Set();
    t1.join();
    t2.join();
    EXPECT_EQ(woken.load(), 1);
}

// A manual-reset event stays set through waits until it is reset.
TEST(Event, WaitManyAnyConsumesOnlyTheFirstSet) {
    Event a(false, false), b(false, true), c(true, true);
    Event* events[] = {&a, &b, &c};
    EXPECT_EQ(Event::WaitMany(events, 3, false, 0), 1u);
    EXPECT_EQ(Event::WaitMany(events, 3, false, 0), 2u);
    EXPECT_EQ(Event::WaitMany(events, 3, false, 0), 2u);
    c.Reset();
    EXPECT_EQ(Event::WaitMany(events, 3, false, 0), kWaitTimeout);
    Event* withNull[] = {&a, nullptr};
    EXPECT_EQ(Event::WaitMany(withNull, 2, false, 0), kWaitFailed);
    Event* nullFirst[] = {nullptr, &a};
    EXPECT_EQ(Event::WaitMany(nullFirst, 2, false, 0), kWaitFailed);
    EXPECT_EQ(Event::WaitMany(events, 0, false, 0), kWaitFailed);
    EXPECT_EQ(std::set<uint32_t>({kWaitSignalled, kWaitAbandoned, kWaitTimeout, kWaitFailed}).size(), 4u);
}

TEST(Event, WaitManyAllConsumesNothingUntilAllAreSet) {
    Event a(false, true), b(false, false);
    Event* events[] = {&a, &b};
    EXPECT_EQ(Event::WaitMany(events, 2, true, 5), kWaitTimeout);
    EXPECT_EQ(a.Wait(0), kWaitSignalled) << "a partial wait-all must not consume a";
    a.Set();
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        b.Set();
    });
    EXPECT_EQ(Event::WaitMany(events, 2, true, kWaitInfinite), 0u);
    setter.join();
    EXPECT_EQ(a.Wait(0), kWaitTimeout);
    EXPECT_EQ(b.Wait(0), kWaitTimeout);
}
