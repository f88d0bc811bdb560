#include "engine/core/PCThreadingManager.h"

#include <gtest/gtest.h>

TEST(PCThreadingManager, EventsGiveTheWaitResultCodes) {
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
    EXPECT_TRUE(threads.CloseEvent(a));
    EXPECT_TRUE(threads.CloseEvent(b));
    EXPECT_TRUE(threads.SuspendThread(nullptr));
    EXPECT_TRUE(threads.ResumeThread(nullptr));
}
