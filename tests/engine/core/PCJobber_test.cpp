#include "engine/core/PCJobber.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/thread/Event.h"
#include "tests/support/LogCapture.h"

namespace {

using namespace std::chrono_literals;

platform::Event g_gate(true, false);
std::atomic<bool> g_blocked{false};
std::mutex g_orderLock;
std::vector<uintptr_t> g_order;
std::atomic<int> g_finished{0};

void Block(uintptr_t slow) {
    g_blocked = true;
    if (slow)
        std::this_thread::sleep_for(150ms);
    else
        g_gate.Wait(platform::kWaitInfinite);
    ++g_finished;
}

void Note(uintptr_t value) {
    std::lock_guard<std::mutex> guard(g_orderLock);
    g_order.push_back(value);
}

template <typename Pred>
bool WaitFor(Pred pred) {
    auto end = std::chrono::steady_clock::now() + 5000ms;
    while (!pred() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(1ms);
    return pred();
}

// Counts the wake-ups of the worker.
struct CountingJobber : PCJobber {
    std::atomic<int> wakes{0};
    void Wake() override {
        ++wakes;
        PCJobber::Wake();
    }
};

class PCJobberTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_gate.Reset();
        g_blocked = false;
        g_order.clear();
        g_finished = 0;
        ASSERT_TRUE(jobber.Start(0, 10, 0, true, 0));
    }
    // Blocks the worker of `on` until the gate opens.
    void Hold(PCJobber& on) {
        g_gate.Reset();
        g_blocked = false;
        ASSERT_TRUE(on.Post(&Block, 0));
        ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
    }
    std::vector<uintptr_t> Order() {
        std::lock_guard<std::mutex> guard(g_orderLock);
        return g_order;
    }
    CountingJobber jobber;
};

}  // namespace

// Ten entries, the running job's included; only a post into an empty ring wakes the worker.
TEST_F(PCJobberTest, TheRingHoldsTenAndOnlyAPostIntoAnEmptyRingWakesTheWorker) {
    EXPECT_EQ(jobber.Room(), 10u);
    Hold(jobber);
    EXPECT_EQ(jobber.wakes.load(), 1);
    for (uintptr_t i = 1; i < 10; ++i)
        EXPECT_TRUE(jobber.Post(&Note, i)) << i;
    EXPECT_TRUE(!jobber.Post(&Note, 99) && jobber.Room() == 0u && jobber.wakes.load() == 1) << "full; the worker is busy";
    g_gate.Set();
    ASSERT_TRUE(WaitFor([this] { return jobber.Count() == 0; }));
    EXPECT_EQ(Order(), (std::vector<uintptr_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(jobber.Post(&Note, 10));
    EXPECT_EQ(jobber.wakes.load(), 2);
}

TEST_F(PCJobberTest, StopLetsTheRunningJobFinishStartsNoOtherAndAbandonsAStuckWorker) {
    ASSERT_TRUE(jobber.Post(&Block, 1) && jobber.Post(&Note, 1));
    ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
    jobber.Stop();
    EXPECT_EQ((std::tuple{g_finished.load(), jobber.Post(&Note, 2), Order().size()}), std::tuple(1, false, 0u));

    PCJobber stuck;
    ASSERT_TRUE(stuck.Start(0, 10, 0, true, 0));
    LogCapture log;
    ASSERT_NO_FATAL_FAILURE(Hold(stuck));
    stuck.SetStopTimeout(30);
    stuck.Stop();
    EXPECT_TRUE(log.Contains("abandoned"));
    // The abandoned worker finishes its job on memory that is still its own.
    g_gate.Set();
    ASSERT_TRUE(WaitFor([] { return g_finished.load() == 2; }));
    std::this_thread::sleep_for(20ms);
}

// A ring is set up once, with room; a pass over no jobs runs nothing. A pass ends its run:
// the ring is left idle, so the next pass can begin one.
TEST(PCJobRing, APassLeavesTheRingIdle) {
    PCJobRing ring;
    ASSERT_TRUE(!ring.RunAll() && !ring.Setup(0) && ring.Setup(1) && !ring.Setup(2) && !ring.RunAll());
    ASSERT_TRUE(ring.Push(nullptr, 0) && ring.RunAll());
    EXPECT_TRUE(ring.BeginRun());
}
