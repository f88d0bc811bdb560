#include "engine/core/PCThreadingManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <tuple>
#include <vector>

TEST(PCThreadingManager, EventsGiveTheWaitResultCodesAndThreadsRunTheirRoutine) {
    PCThreadingManager threads;
    AGEventHandle a = threads.CreateEvent(false, false, nullptr);
    AGEventHandle b = threads.CreateEvent(true, true, "named");
    ASSERT_TRUE(threads.IsEventValid(a));
    AGEventHandle both[] = {a, b};
    // In order: the list's elements are evaluated left to right.
    const std::vector<u32> results = {
        threads.WaitEvent(a, 0), threads.WaitEvent(b, 0), threads.WaitEvents(2, both, false, 0),
        threads.WaitEvents(2, both, true, 0), threads.SetEvent(a), threads.WaitEvents(2, both, true, 0),
        threads.WaitEvents(0, both, false, 0), threads.ResetEvent(b), threads.WaitEvent(b, 1),
        threads.WaitEvent(nullptr, 0), threads.SetEvent(nullptr), threads.ResetEvent(nullptr),
        threads.SetThreadAffinity(nullptr, 1), threads.CloseEvent(a), threads.CloseEvent(b),
        threads.SuspendThread(nullptr), threads.ResumeThread(nullptr)};
    const u32 timeout = AGThreadingManager::kWaitTimeout, failed = AGThreadingManager::kWaitFailed;
    EXPECT_EQ(results, (std::vector<u32>{timeout, AGThreadingManager::kWaitSignalled, 1, timeout, true, 0, failed,
                                         true, timeout, failed, false, false, false, true, true, true, true}));

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
    const bool ended = threads.WaitThread(thread, 5000);
    EXPECT_EQ(std::tuple(id != 0, ended, ran.load(), threads.CloseThread(thread)), std::tuple(true, true, 7, true));
}
