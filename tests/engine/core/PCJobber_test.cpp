#include "engine/core/PCJobber.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/core/PCJobsManager.h"
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
    EXPECT_EQ(jobber.Count(), 10);
    EXPECT_EQ(jobber.Room(), 0u);
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
    ASSERT_EQ(next, 25u);
    std::lock_guard<std::mutex> guard(g_orderLock);
    ASSERT_EQ(g_order.size(), 25u);
    for (uintptr_t i = 0; i < 25; ++i)
        EXPECT_EQ(g_order[i], i);
}

TEST_F(PCJobberTest, APointerArgumentArrivesIntact) {
    auto* target = new std::vector<int>{1, 2, 3};
    const uintptr_t sent = reinterpret_cast<uintptr_t>(target);
    ASSERT_TRUE(jobber.Post(&Keep, sent));
    ASSERT_TRUE(WaitFor([] { return g_seen.load() != 0; }));
    EXPECT_EQ(g_seen.load(), sent);
    EXPECT_EQ(reinterpret_cast<std::vector<int>*>(g_seen.load())->at(2), 3);
    delete target;
    // A value that needs all 64 bits.
    g_seen = 0;
    ASSERT_TRUE(jobber.Post(&Keep, uintptr_t(0xFEDCBA9876543210ull)));
    ASSERT_TRUE(WaitFor([] { return g_seen.load() != 0; }));
    EXPECT_EQ(g_seen.load(), uintptr_t(0xFEDCBA9876543210ull));
}

TEST_F(PCJobberTest, StopDuringALongJobLetsItFinishAndStartsNoOther) {
    ASSERT_TRUE(jobber.Post(&SlowJob, 0));
    ASSERT_TRUE(jobber.Post(&Note, 1));
    ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
    jobber.Stop();
    EXPECT_EQ(g_finished.load(), 1);
    std::lock_guard<std::mutex> guard(g_orderLock);
    EXPECT_TRUE(g_order.empty());
    EXPECT_FALSE(jobber.IsStarted());
    EXPECT_FALSE(jobber.Post(&Note, 2));
}

TEST_F(PCJobberTest, AWorkerThatOutlivesTheStopTimeOutIsAbandonedSafely) {
    LogCapture log;
    ASSERT_TRUE(jobber.Post(&Block, 0));
    ASSERT_TRUE(WaitFor([] { return g_blocked.load(); }));
    jobber.SetStopTimeout(30);
    jobber.Stop();
    EXPECT_TRUE(log.Contains("abandoned"));
    EXPECT_FALSE(jobber.IsStarted());
    // The abandoned worker finishes its job on memory that is still its own.
    g_gate.Set();
    ASSERT_TRUE(WaitFor([] { return g_finished.load() == 1; }));
    std::this_thread::sleep_for(20ms);
}

TEST(PCJobRing, RefusesTheEleventhJobAndRunsInOrder) {
    PCJobRing ring;
    ASSERT_TRUE(ring.Setup(10));
    EXPECT_FALSE(ring.Setup(10)) << "storage exists";
    g_order.clear();
    for (uintptr_t i = 0; i < 10; ++i) {
        ASSERT_TRUE(ring.Push(&Note, i));
        EXPECT_EQ(ring.IsFirstPending(), i == 0);
    }
    EXPECT_FALSE(ring.Push(&Note, 10));
    EXPECT_TRUE(ring.RunAll());
    EXPECT_FALSE(ring.RunAll());
    EXPECT_EQ(g_order.size(), 10u);
    EXPECT_EQ(ring.Room(), 10u);
}

TEST(PCJobsManager, StartsOneJobberWithTheRingOfTen) {
    PCJobsManager jobs;
    ASSERT_TRUE(jobs.StartDefaultJobber());
    EXPECT_EQ(jobs.JobberCount(), 1u);
    ASSERT_NE(jobs.GetJobber(0), nullptr);
    EXPECT_EQ(jobs.GetJobber(0)->Room(), 10u);
    EXPECT_EQ(jobs.GetJobber(1), nullptr);
    EXPECT_TRUE(jobs.StartDefaultJobber()) << "a second call keeps the jobber";
    EXPECT_EQ(jobs.JobberCount(), 1u);
    jobs.StopJobbers();
    EXPECT_FALSE(jobs.GetJobber(0)->IsStarted());
}
