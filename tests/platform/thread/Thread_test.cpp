// Events, single and many, and threads.
#include "platform/thread/Event.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/thread/Thread.h"

using namespace platform;

// A manual-reset event stays set through waits until it is reset.
TEST(Event, WaitManyAnyConsumesOnlyTheFirstSetAndAllNothingUntilAllAreSet) {
    Event a(false, false), b(false, true), c(true, true), d(false, true), e(false, false);
    Event* events[] = {&a, &b, &c};
    EXPECT_EQ((std::vector<uint32_t>{Event::WaitMany(events, 3, false, 0), Event::WaitMany(events, 3, false, 0),
                                     Event::WaitMany(events, 3, false, 0)}), (std::vector<uint32_t>{1, 2, 2}));
    c.Reset();
    EXPECT_EQ(Event::WaitMany(events, 3, false, 0), kWaitTimeout);
    Event *withNull[] = {&a, nullptr}, *nullFirst[] = {nullptr, &a};
    const std::vector<uint32_t> refused = {Event::WaitMany(withNull, 2, false, 0),
                                           Event::WaitMany(nullFirst, 2, false, 0),
                                           Event::WaitMany(events, 0, false, 0)};
    EXPECT_EQ(refused, std::vector<uint32_t>(3, kWaitFailed));

    Event* all[] = {&d, &e};
    EXPECT_EQ(Event::WaitMany(all, 2, true, 5), kWaitTimeout);
    EXPECT_EQ(d.Wait(0), kWaitSignalled) << "a partial wait-all must not consume d";
    d.Set();
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        e.Set();
    });
    EXPECT_EQ(Event::WaitMany(all, 2, true, 10000), 0u) << "a timed wait ends when the last event is set";
    setter.join();
    EXPECT_EQ(std::pair(d.Wait(0), e.Wait(0)), std::pair(kWaitTimeout, kWaitTimeout));
}


namespace {

struct Gate {
    Event open{true, false};
    std::atomic<bool> ran{false};
};

uint32_t WaitForGate(void* context) {
    auto* gate = static_cast<Gate*>(context);
    gate->open.Wait(kWaitInfinite);
    gate->ran = true;
    return 7;
}

}  // namespace

// A stack size of 0 is the system's default, far above the smallest stack.
uint32_t UseDeepStack(void*) {
    volatile char frame[1 << 20];
    frame[0] = 1;
    frame[sizeof frame - 1] = 2;
    return uint32_t(frame[0] + frame[sizeof frame - 1]);
}

// Ends once, and stays ended for every later question. A handle destroyed while its thread
// runs leaves the thread running.
TEST(Thread, WaitAndHasEndedTellTheEndOfTheRoutineAndAHandleDestroyedLeavesItRunning) {
    Gate gate, detached;
    std::unique_ptr<Thread> thread(Thread::Create(0, &WaitForGate, &gate));
    std::unique_ptr<Thread> deep(Thread::Create(0, &UseDeepStack, nullptr));
    delete Thread::Create(64 * 1024, &WaitForGate, &detached);
    EXPECT_TRUE(thread->Id() && deep->Id() && thread->Id() != deep->Id()) << "0 stands for no thread";
    // No routine, or no room for the stack: no thread.
    EXPECT_TRUE(!Thread::Create(0, nullptr, &gate) && !Thread::Create(size_t(1) << 60, &WaitForGate, &gate));
    EXPECT_FALSE(thread->Wait(10) || thread->HasEnded());
    const auto asked = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i)
        EXPECT_FALSE(thread->HasEnded());
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(500)) << "the question waits";
    EXPECT_EQ(std::pair(thread->SetAffinity(~0ull), thread->SetAffinity(0)), std::pair(true, false));
    const uint64_t one = uint64_t(1) << sched_getcpu();
    EXPECT_TRUE(thread->SetAffinity(one) && thread->SetAffinity(one)) << "one CPU is a valid set, also as the old one";
    gate.open.Set();
    detached.open.Set();
    for (int i = 0; i < 2000 && !(thread->HasEnded() && detached.ran); ++i)
        Event(true, false).Wait(1);
    // Joined: no affinity.
    EXPECT_TRUE(thread->HasEnded() && thread->Wait(0) && thread->ExitCode() == 7u && !thread->SetAffinity(~0ull));
    EXPECT_TRUE(deep->Wait(kWaitInfinite) && deep->ExitCode() == 3u && detached.ran);
}
