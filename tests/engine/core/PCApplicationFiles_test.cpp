// The file part of start-up and shutdown: threads, jobs, files, resources, providers and
// the memory mapping.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCJobsManager.h"
#include "engine/core/PCThreadingManager.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/ByteWriter.h"

namespace {

TestProgram g_program("FilesTest", 320, 240, 0);

std::atomic<bool> g_jobStarted{false};
std::atomic<bool> g_jobDone{false};
std::atomic<bool> g_managerSeen{false};

// A long job that still finds the resource manager when it ends.
void LateJob(uintptr_t) {
    g_jobStarted = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    g_managerSeen = AGResourceManager::Get() != nullptr;
    g_jobDone = true;
}

}  // namespace

TEST(PCApplicationFiles, StartUpMakesTheManagersAndShutdownStopsTheWorkerFirst) {
    TempDir dir;
    ByteWriter mapping;
    mapping.ResourceHeader().U32(1).U32(Crc32Hash("AppHeap")).U32(0).U32(1024);
    dir.Write("memorymapping.mem", mapping.Str());
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());

    AGProgram::SetInstance(&g_program);
    platform::window::SetBackendFactory(&MakeTestBackend);
    {
        GraphicsStartup graphics;
        PCApplicationImpl app;
        ASSERT_TRUE(app.Initialize());
        EXPECT_NE(AGMemoryPoolManager::Get()->FindHeap(Crc32Hash("AppHeap")), nullptr);
        PCJobber* jobber = PCJobsManager::Get()->GetJobber(0);
        ASSERT_NE(jobber, nullptr);
        EXPECT_EQ(PCJobsManager::Get()->GetJobber(1), nullptr);
        EXPECT_EQ(jobber->Room(), 10u);
        ASSERT_TRUE(jobber->Post(&LateJob, 0));
        while (!g_jobStarted)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        app.Shutdown();
        EXPECT_TRUE(g_jobDone);
        EXPECT_TRUE(g_managerSeen);
        EXPECT_EQ(AGResourceManager::Get(), nullptr);
        EXPECT_EQ(PCThreadingManager::Get(), nullptr);
    }
    platform::window::SetBackendFactory(nullptr);
    AGProgram::SetInstance(nullptr);
    std::filesystem::current_path(cwd);
}
