#include "engine/core/PCJobber.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/thread/Event.h"
#include "tests/support/LogCapture.h"

namespace {

using namespace std::chrono_literals;

platform::Event g_gate(true, false);
std::atomic<bool> g_blocked{false};
std::mutex g_orderLock;
std::vector<uintptr_t> g_order;
std::atomic<uintptr_t> g_seen{0};
std::atomic<int> g_finished{0};

void Block(uintptr_t) {
    g_blocked = true;
    g_gate.Wait(platform::kWaitInfinite);
    ++g_finished;
}

void Note(uintptr_t value) {
    std::lock_guard<std::mutex> guard(g_orderLock);
    g_order.push_back(value);
}

void Keep(uintptr_t value) {
    g_seen = value;
}

void SlowJob(uintptr_t) {
    g_blocked = true;
    std::this_thread::sleep_for(150ms);
    ++g_finished;
}

template <typename Pred>
bool WaitFor(Pred pred, std::chrono::milliseconds limit = 5000ms) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class PCJobberTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_gate.Reset();
        g_blocked = false;
        g_order.clear();
        g_seen = 0;
        g_finished = 0;
        ASSERT_TRUE(jobber.Start(0, 10, 0, true, 0));
    }
    PCJobber jobber;
};

}  // namespace

TEST_F(PCJobberTest, TenPostsFillTheRingWhileTheWorkerIsBlocked) {
    ASSERT_TRUE(jobber.Post(&Block, 0));
    ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
    // The running job keeps its entry until it returns.
    for (uintptr_t i = 1; i < 10; ++i)
        EXPECT_TRUE(jobber.Post(&Note, i)) << i;
    EXPECT_FALSE(jobber.Post(&Note, 99));
    g_gate.Set();
    ASSERT_TRUE(WaitFor([this] { return jobber.Count() == 0; }));
    std::lock_guard<std::mutex> guard(g_orderLock);
    EXPECT_EQ(g_order, (std::vector<uintptr_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(PCJobberTest, JobsPostedInBurstsRunInPostingOrderAcrossTheWrap) {
    uintptr_t next = 0;
    for (int burst : {4, 9, 3, 9}) {
        // Some bursts are posted while a job holds the worker, so they queue behind it.
        const bool hold = burst == 9;
        if (hold) {
            g_gate.Reset();
            g_blocked = false;
            ASSERT_TRUE(jobber.Post(&Block, 0));
            ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
        }
        for (int i = 0; i < burst; ++i)
            ASSERT_TRUE(jobber.Post(&Note, next++));
        if (hold)
            g_gate.Set();
        ASSERT_TRUE(WaitFor([this] { return jobber.Count() == 0; }));
    }
    std::vector<uintptr_t> expected(25);
    for (uintptr_t i = 0; i < 25; ++i)
        expected[i] = i;
    std::lock_guard<std::mutex> guard(g_orderLock);
    EXPECT_EQ(g_order, expected);
}

TEST_F(PCJobberTest, APointerArgumentArrivesIntact) {
    std::vector<int> target{1, 2, 3};
    const uintptr_t sent = reinterpret_cast<uintptr_t>(&target);
    static_assert(sizeof sent == 8);
    ASSERT_TRUE(jobber.Post(&Keep, sent));
    ASSERT_TRUE(WaitFor([] { return g_seen.load() != 0; }));
    EXPECT_EQ(reinterpret_cast<std::vector<int>*>(g_seen.load())->at(2), 3);
}

TEST_F(PCJobberTest, StopDuringALongJobLetsItFinishAndStartsNoOther) {
    ASSERT_TRUE(jobber.Post(&SlowJob, 0));
    ASSERT_TRUE(jobber.Post(&Note, 1));
    ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
    jobber.Stop();
    EXPECT_EQ(g_finished.load(), 1);
    EXPECT_FALSE(jobber.Post(&Note, 2));
    std::lock_guard<std::mutex> guard(g_orderLock);
    EXPECT_TRUE(g_order.empty());
}

TEST_F(PCJobberTest, AWorkerThatOutlivesTheStopTimeOutIsAbandonedSafely) {
    LogCapture log;
    ASSERT_TRUE(jobber.Post(&Block, 0));
    ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
    jobber.SetStopTimeout(30);
    jobber.Stop();
    EXPECT_TRUE(log.Contains("abandoned"));
    // The abandoned worker finishes its job on memory that is still its own.
    g_gate.Set();
    ASSERT_TRUE(WaitFor([] { return g_finished.load() == 1; }));
    std::this_thread::sleep_for(20ms);
}

TEST(PCJobber, OnlyAPostIntoAnEmptyRingWakesTheWorker) {
    struct Counting : PCJobber {
        std::atomic<int> wakes{0};
        void Wake() override {
            ++wakes;
            PCJobber::Wake();
        }
    } jobber;
    g_gate.Reset();
    g_blocked = false;
    ASSERT_TRUE(jobber.Start(0, 10, 0, true, 0));
    EXPECT_EQ(jobber.Room(), 10u);
    ASSERT_TRUE(jobber.Post(&Block, 0));
    ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
    EXPECT_EQ(jobber.wakes.load(), 1);
    for (uintptr_t i = 0; i < 3; ++i)
        ASSERT_TRUE(jobber.Post(&Note, i));
    EXPECT_EQ(jobber.wakes.load(), 1) << "the worker is busy with a pending job";
    EXPECT_EQ(jobber.Room(), 6u);
    g_gate.Set();
    ASSERT_TRUE(WaitFor([&] { return jobber.Count() == 0; }));
    ASSERT_TRUE(jobber.Post(&Note, 3));
    EXPECT_EQ(jobber.wakes.load(), 2);
    ASSERT_TRUE(WaitFor([&] { return jobber.Count() == 0; }));
    jobber.Stop();
}
