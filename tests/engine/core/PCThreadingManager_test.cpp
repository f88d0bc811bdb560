#include "engine/core/PCThreadingManager.h"

#include <gtest/gtest.h>

#include <atomic>

TEST(PCThreadingManager, EventsGiveTheWaitResultCodesAndThreadsRunTheirRoutine) {
    PCThreadingManager threads;
    AGEventHandle a = threads.CreateEvent(false, false, nullptr);
    AGEventHandle b = threads.CreateEvent(true, true, "named");
    ASSERT_TRUE(threads.IsEventValid(a));
    EXPECT_EQ(threads.WaitEvent(a, 0), AGThreadingManager::kWaitTimeout);
    EXPECT_EQ(threads.WaitEvent(b, 0), AGThreadingManager::kWaitSignalled);
    AGEventHandle both[] = {a, b};
    EXPECT_EQ(threads.WaitEvents(2, both, false, 0), 1u);
    EXPECT_EQ(threads.WaitEvents(2, both, true, 0), AGThreadingManager::kWaitTimeout);
    EXPECT_TRUE(threads.SetEvent(a));
    EXPECT_EQ(threads.WaitEvents(2, both, true, 0), 0u);
    EXPECT_EQ(threads.WaitEvents(0, both, false, 0), AGThreadingManager::kWaitFailed);
    EXPECT_TRUE(threads.ResetEvent(b));
    EXPECT_EQ(threads.WaitEvent(b, 1), AGThreadingManager::kWaitTimeout);
    EXPECT_EQ(threads.WaitEvent(nullptr, 0), AGThreadingManager::kWaitFailed);
    EXPECT_FALSE(threads.SetEvent(nullptr) || threads.ResetEvent(nullptr));
    EXPECT_FALSE(threads.SetThreadAffinity(nullptr, 1));
    EXPECT_TRUE(threads.CloseEvent(a) && threads.CloseEvent(b));
    EXPECT_TRUE(threads.SuspendThread(nullptr) && threads.ResumeThread(nullptr));

    // Threads run their routine and report their id.
    static std::atomic<int> ran{0};
    auto routine = [](void* context) -> u32 {
        ran = *static_cast<int*>(context);
        return 0;
    };
    int value = 7;
    u32 id = 0;
    AGThreadHandle thread = threads.CreateThread(0, routine, &value, 0, &id);
    ASSERT_TRUE(threads.IsThreadValid(thread));
    EXPECT_NE(id, 0u);
    EXPECT_TRUE(threads.WaitThread(thread, 5000));
    EXPECT_EQ(ran.load(), 7);
    EXPECT_TRUE(threads.CloseThread(thread));
}
