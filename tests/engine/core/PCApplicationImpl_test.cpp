#include "engine/core/PCApplicationImpl.h"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <thread>
#include <string>
#include <vector>

#include "engine/core/AGAppEventsHandler.h"
#include "engine/core/AGAudioManager.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/PCJobsManager.h"
#include "engine/core/AGDeviceManager.h"
#include "engine/core/AGVideoPlayer.h"
#include "platform/core/AlertableSleep.h"
#include "platform/core/Clock.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/support/ScopedWorkingDir.h"
#include "tests/support/TempDir.h"
#include "tests/support/NullVideoPlayer.h"
#include "tools/authoring/ByteWriter.h"

using platform::window::TestBackend;

namespace {

bool g_createFails = false;
bool g_noBackend = false;
bool g_withSurface = false;
platform::window::Backend* MakeBackend() {
    if (g_noBackend)
        return nullptr;
    auto* backend = static_cast<TestBackend*>(g_withSurface ? MakeTestBackendWithSurface() : MakeTestBackend());
    backend->SetCreateFails(g_createFails);
    return backend;
}

using Context = RecordingContext;

class RunLoop : public ProgramFixture {
protected:
    RunLoop() : ProgramFixture("RunLoopTest", kSettingHideCursor, 640, 480) {}
    void SetUp() override {
        g_createFails = false;
        g_noBackend = false;
        g_withSurface = false;
        platform::window::SetBackendFactory(&MakeBackend);
        platform::SetAlertableHook([] {});
    }
    void TearDown() override {
        app.Shutdown();
        platform::SetAlertableHook(nullptr);
    }
    TestBackend& Window() { return *static_cast<TestBackend*>(app.GetWindow()); }
    // A start-up that fails: its message on stderr, then the shutdown.
    std::string FailedStart() {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(app.Initialize());
        const std::string err = testing::internal::GetCapturedStderr();
        app.Shutdown();
        return err;
    }

    platform::FakeClock clock{5'000'000'000};
    GraphicsStartup graphics;
    PCApplicationImpl app;
};

std::atomic<bool> g_jobStarted{false}, g_managerSeen{false};

// A long job that still finds the resource manager when it ends.
void LateJob(uintptr_t) {
    g_jobStarted = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    g_managerSeen = AGResourceManager::Get() != nullptr;
}

}  // namespace

// Start-up loads the memory mapping from the working folder and starts one worker with a
// ring of ten; shutdown lets the worker's job end before the managers it uses go.
TEST_F(RunLoop, StartUpLoadsTheMemoryMappingAndShutdownStopsTheWorkerFirst) {
    TempDir dir;
    ByteWriter mapping;
    mapping.ResourceHeader().U32(1).U32(Crc32Hash("AppHeap")).U32(0).U32(1024);
    dir.Write("memorymapping.mem", mapping.Str());
    std::vector<std::string> steps;  // each step is reported to the hook, with its context
    PCApplicationImpl::SetStepHook([](void* log, const char* step, bool startup) {
        static_cast<std::vector<std::string>*>(log)->push_back((startup ? "+" : "-") + std::string(step));
    }, &steps);
    {
        ScopedWorkingDir workIn(dir.Path());
        ASSERT_TRUE(app.Initialize());
    }
    EXPECT_TRUE(AGMemoryPoolManager::Get()->FindHeap(Crc32Hash("AppHeap")) && AGAppEventsHandler::Get());
    // The timer starts with the application: the first frame counts from start-up, the next from the first.
    clock.AdvanceMs(50.0);
    PCTimerManager::Get()->Update();
    const u32 firstFrameMs = PCTimerManager::Get()->GetCurrentMs() - PCTimerManager::Get()->GetPreviousMs();
    clock.AdvanceMs(30.0);
    PCTimerManager::Get()->Update();
    EXPECT_EQ(std::pair(firstFrameMs, PCTimerManager::Get()->GetCurrentMs() - PCTimerManager::Get()->GetPreviousMs()), std::pair(50u, 30u));
    PCJobber* jobber = PCJobsManager::Get()->GetJobber(0);
    ASSERT_TRUE(jobber->Room() == 10u && jobber->Post(&LateJob, 0));
    while (!g_jobStarted)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    app.Shutdown();
    PCApplicationImpl::SetStepHook(nullptr, nullptr);
    EXPECT_TRUE(g_managerSeen && steps.size() > 2 && steps.front() == "+PCLog" && steps.back().starts_with("-"));
    // Every manager's instance pointer is cleared with it.
    EXPECT_TRUE(!AGResourceManager::Get() && !PCLog::Get() && !g_pLogReporter && !AGDeviceManager::Get() &&
                !AGAudioManager::Get() && !AGVideoPlayer::Get() && !AGAppEventsHandler::Get());
}

std::vector<std::string>* g_tickLog = nullptr;
void Note(const char* what) {
    if (g_tickLog)
        g_tickLog->push_back(what);
}

struct NotingAudio : AGAudioManagerImpl {
    void Update() override { Note("audio"); }
};
struct NotingVideo : NullVideoPlayer {
    void Update() override { Note("video"); }
};
struct NotingDevices : AGDeviceManagerImpl {
    void RegisterDevices() override {}
    void Update() override { Note("devices"); }
    AGDevice* FindKeyboard(u32) const override { return nullptr; }
    AGDevice* FindMouse(u32) const override { return nullptr; }
    const AGArray<AGDevice*>& Devices() const override { return devices; }
    AGArray<AGDevice*> devices;
};

// Each tick runs the game with the timer's milliseconds, then audio, video, devices and the
// alertable sleep.
TEST_F(RunLoop, EachTickHandsTheTimersMillisecondsToTheGameThenRunsTheManagersAndTheSleep) {
    std::vector<std::string> log;
    g_tickLog = &log;
    AGAudioManager::s_implFactory = [] { return static_cast<AGAudioManagerImpl*>(new NotingAudio); };
    AGVideoPlayer::s_implFactory = [] { return static_cast<AGVideoPlayerImpl*>(new NotingVideo); };
    const AGDeviceManagerImplFactory devices = g_deviceManagerImplFactory;
    g_deviceManagerImplFactory = [] { return static_cast<AGDeviceManagerImpl*>(new NotingDevices); };
    platform::SetAlertableHook([] { Note("sleep"); });
    ASSERT_TRUE(app.Initialize());
    Context context;
    const int kTicks = 30;
    context.onUpdate = [&](Context& c) {
        Note("game");
        if (c.updates.size() == kTicks)
            app.Quit();
    };
    app.Run(context);
    app.Shutdown();
    g_tickLog = nullptr;
    AGAudioManager::s_implFactory = nullptr;
    AGVideoPlayer::s_implFactory = nullptr;
    g_deviceManagerImplFactory = devices;
    std::vector<std::string> ticks;
    for (int i = 0; i < kTicks; ++i)
        ticks.insert(ticks.end(), {"game", "audio", "video", "devices", "sleep"});
    EXPECT_EQ(log, ticks);
    EXPECT_EQ(std::make_pair(context.initialized, context.shutdowns), std::make_pair(1, 1));
    EXPECT_EQ(context.updates, context.timerAtUpdate);
    // Unpaced by the display, each tick is stretched to a 60th of a second (on the fake
    // clock), and the game time follows.
    const u32 total = std::accumulate(context.updates.begin(), context.updates.end(), 0u);
    EXPECT_NEAR(double(total), kTicks * 1000.0 / 60.0, 5.0);
    EXPECT_GT(clock.SleptNs(), 0u);
}

// Paced by the display, a tick does not sleep, unless its frame was skipped (nothing waited
// for the display then). A window message makes the next frame draw.
TEST_F(RunLoop, ASkippedFrameSleepsOutItsTickAndAMessageMakesTheNextFrameDraw) {
    g_withSurface = true;
    FakeGraphics::Installed fake;
    ASSERT_TRUE(app.Initialize());
    Window().SetVsyncPaced(true);
    Window().Inject(platform::window::Message{.kind = platform::window::MessageKind::MouseMove});
    Context context;
    std::vector<u64> slept;
    int invalidations = 0;
    context.onUpdate = [&](Context& c) {
        slept.push_back(clock.SleptNs());
        invalidations = c.updates.size() == 1 ? g_fakeGraphics.invalidations : invalidations;
        g_fakeGraphics.frameSkipped = c.updates.size() >= 2;
        if (c.updates.size() == 4)
            app.Quit();
    };
    app.Run(context);
    ASSERT_EQ(slept.size(), 4u);
    EXPECT_EQ(std::vector<u64>({slept[1] - slept[0], slept[3] - slept[2]}),
              std::vector<u64>({0, PCApplicationImpl::kMinTickNs}));
    EXPECT_EQ(invalidations, 1);
}

TEST_F(RunLoop, NoWindowOrGraphicDeviceStopsStartUpWithAMessage) {
    g_createFails = true;
    EXPECT_NE(FailedStart().find("cannot create the window"), std::string::npos);
    app.Quit();  // no window: nothing to post the quit to
    Context context;
    app.Run(context);
    EXPECT_EQ(std::make_pair(context.initialized, context.shutdowns), std::make_pair(1, 1));
    EXPECT_TRUE(context.updates.empty());

    g_createFails = false;
    g_withSurface = true;
    {
        FakeGraphics::Installed fake;
        g_fakeGraphics.startFails = true;
        EXPECT_NE(FailedStart().find("RunLoopTest: cannot start the graphics: no display"), std::string::npos);
    }
    g_withSurface = false;
    g_noBackend = true;
    EXPECT_NE(FailedStart().find("no window system"), std::string::npos);
}
