#include "engine/core/PCApplicationImpl.h"

#include "engine/core/AGAppEventsHandler.h"
#include "engine/core/AGApplicationGraphics.h"
#include "engine/core/AGAudioManager.h"
#include "engine/core/AGGameContext.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGRadixManager.h"
#include "engine/core/AGStatsManager.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/core/PCTimerManager.h"
#include "platform/core/AlertableSleep.h"
#include "platform/core/Clock.h"

namespace {
PCApplicationImpl::StepHook g_stepHook = nullptr;
void* g_stepHookContext = nullptr;
}  // namespace

AGApplicationImpl* CreatePCApplicationImpl() {
    return new PCApplicationImpl();
}

void PCApplicationImpl::SetStepHook(StepHook hook, void* context) {
    g_stepHook = hook;
    g_stepHookContext = context;
}

// Each manager is published through its class's instance pointer as soon as it exists, so
// later steps can reach it.
const PCApplicationImpl::Step<PCApplicationImpl::StartFn> PCApplicationImpl::kStartSteps[] = {
    {"PCLog", &PCApplicationImpl::CreateLog},
    {"InitRegistryKey", &PCApplicationImpl::InitRegistryKey},
    {"CreateMainWindow", &PCApplicationImpl::CreateMainWindow},
    {"DetectUILanguage", &PCApplicationImpl::DetectUILanguage},
    {"PCThreadingManager", &PCApplicationImpl::CreateThreadingManager},
    {"PCJobsManager", &PCApplicationImpl::CreateJobsManager},
    {"AGRadixManager", &PCApplicationImpl::CreateRadixManager},
    {"PCTimerManager", &PCApplicationImpl::CreateTimerManager},
    {"PCGraphicDevice", &PCApplicationImpl::CreateGraphicDeviceObject},
    {"AGAudioManager", &PCApplicationImpl::CreateAudioManager},
    {"AGVideoPlayer", &PCApplicationImpl::CreateVideoPlayer},
    {"AGResourceManager", &PCApplicationImpl::CreateResourceManager},
    {"AGMemoryPoolManager", &PCApplicationImpl::CreateMemoryPoolManager},
    {"PCFileManager", &PCApplicationImpl::CreateFileManager},
    {"PCContextManager", &PCApplicationImpl::CreateContextManager},
    {"AGDeviceManager", &PCApplicationImpl::CreateDeviceManager},
    {"AGAppEventsHandler", &PCApplicationImpl::CreateAppEventsHandler},
    {"TimerInitialize", &PCApplicationImpl::InitializeTimer},
    {"PCSavegameManager", &PCApplicationImpl::CreateSavegameManager},
    {"AGStatsManager", &PCApplicationImpl::CreateStatsManager},
    {"ResourceProviders", &PCApplicationImpl::RegisterResourceProviders},
    {"MemoryMapping", &PCApplicationImpl::LoadMemoryMapping},
    {"GraphicDevice", &PCApplicationImpl::CreateGraphicDevice},
};

// The worker is stopped first: its jobs (archive mounts) use the resource manager and the
// named heaps, which go before the jobs manager itself.
const PCApplicationImpl::Step<PCApplicationImpl::StopFn> PCApplicationImpl::kStopSteps[] = {
    {"StopJobbers", &PCApplicationImpl::StopJobbers},
    {"AGVideoPlayer", &PCApplicationImpl::DeleteVideoPlayer},
    {"AGAudioManager", &PCApplicationImpl::DeleteAudioManager},
    {"PCGraphicDevice", &PCApplicationImpl::DeleteGraphicDevice},
    {"PCFileManager", &PCApplicationImpl::DeleteFileManager},
    {"PCContextManager", &PCApplicationImpl::DeleteContextManager},
    {"PCTimerManager", &PCApplicationImpl::DeleteTimerManager},
    {"AGRadixManager", &PCApplicationImpl::DeleteRadixManager},
    {"AGResourceManager", &PCApplicationImpl::DeleteResourceManager},
    {"AGMemoryPoolManager", &PCApplicationImpl::DeleteMemoryPoolManager},
    {"AGDeviceManager", &PCApplicationImpl::DeleteDeviceManager},
    {"AGAppEventsHandler", &PCApplicationImpl::DeleteAppEventsHandler},
    {"PCSavegameManager", &PCApplicationImpl::DeleteSavegameManager},
    {"AGStatsManager", &PCApplicationImpl::DeleteStatsManager},
    {"PCJobsManager", &PCApplicationImpl::DeleteJobsManager},
    {"PCThreadingManager", &PCApplicationImpl::DeleteThreadingManager},
    {"MainWindow", &PCApplicationImpl::DestroyMainWindow},
    {"PCLog", &PCApplicationImpl::DeleteLog},
};

PCApplicationImpl::~PCApplicationImpl() {
    // Nothing left to do when Shutdown already ran.
    Shutdown();
}

bool PCApplicationImpl::Initialize() {
    m_started = true;
    for (const auto& step : kStartSteps) {
        if (g_stepHook)
            g_stepHook(g_stepHookContext, step.name, true);
        if (!(this->*step.run)())
            return false;
    }
    return true;
}

void PCApplicationImpl::Shutdown() {
    if (!m_started)
        return;
    for (const auto& step : kStopSteps) {
        if (g_stepHook)
            g_stepHook(g_stepHookContext, step.name, false);
        (this->*step.run)();
    }
    m_started = false;
}

void PCApplicationImpl::Quit() {
    if (!HasWindow())
        return;
    platform::window::Message close;
    close.kind = platform::window::MessageKind::CloseRequest;
    m_window->Post(close);
}

void PCApplicationImpl::Run(AGGameContext& context) {
    AGClearFatalError();
    context.Initialize();
    if (!m_window) {
        // Nothing can post the quit message: the game starts and stops without a tick.
        AGReport("The run loop has no window.");
        context.Shutdown();
        return;
    }
    m_tickStart = platform::NowNs();
    bool quit = false;
    // A missing file the game cannot run without ends the run (reported where it was found).
    while (!quit && !AGFatalErrorRaised()) {
        platform::window::Message message;
        if (m_window->PollMessage(message)) {
            // Every waiting message is dispatched before the next tick.
            do {
                if (message.kind == platform::window::MessageKind::Quit) {
                    quit = true;
                    break;
                }
                DispatchMessage(message);
            } while (m_window->PollMessage(message));
            continue;
        }
        // Ticks run while the window exists, active or not; after it is gone only the
        // quit message is awaited.
        if (m_window->HasWindow())
            Tick(context);
        else
            platform::SleepMs(1);
    }
    context.Shutdown();
}

void PCApplicationImpl::Tick(AGGameContext& context) {
    m_tickStart = platform::NowNs();
    PCTimerManager* timer = PCTimerManager::Get();
    u32 frameMs = 16;
    if (timer) {
        timer->Update();
        frameMs = timer->GetFrameMs();
    }
    context.Update(frameMs);
    if (AGAudioManager* audio = AGAudioManager::Get())
        audio->Update();
    if (AGVideoPlayer* video = AGVideoPlayer::Get())
        video->Update();
    RenderFrame();
    PollDevices();
    platform::AlertableSleep(0);
    // A skipped frame did not wait for the display either.
    if (!m_window->IsVsyncPaced() || (m_graphics && m_graphics->FrameSkipped())) {
        u64 elapsed = platform::NowNs() - m_tickStart;
        if (elapsed < kMinTickNs)
            platform::SleepNs(kMinTickNs - elapsed);
    }
}

// --- Core managers -------------------------------------------------------------------

bool PCApplicationImpl::CreateLog() {
    PCLog* log = new PCLog();
    PCLog::SetInstance(log);
    g_pLogReporter = log;
    log->Initialize();
    return true;
}

void PCApplicationImpl::DeleteLog() {
    PCLog* log = PCLog::Get();
    if (!log)
        return;
    log->Shutdown();
    if (g_pLogReporter == log)
        g_pLogReporter = nullptr;
    PCLog::SetInstance(nullptr);
    delete log;
}

bool PCApplicationImpl::CreateRadixManager() {
    AGRadixManager* radix = new AGRadixManager();
    AGRadixManager::SetInstance(radix);
    radix->Reserve(0, 256);
    radix->Reserve(1, 64);
    return true;
}

void PCApplicationImpl::DeleteRadixManager() {
    AGRadixManager* radix = AGRadixManager::Get();
    if (!radix)
        return;
    radix->FreeBuffers();
    AGRadixManager::SetInstance(nullptr);
    delete radix;
}

bool PCApplicationImpl::CreateTimerManager() {
    PCTimerManager::SetInstance(new PCTimerManager());
    return true;
}

bool PCApplicationImpl::InitializeTimer() {
    if (PCTimerManager* timer = PCTimerManager::Get())
        timer->Initialize();
    return true;
}

void PCApplicationImpl::DeleteTimerManager() {
    PCTimerManager* timer = PCTimerManager::Get();
    if (!timer)
        return;
    timer->Shutdown();
    PCTimerManager::SetInstance(nullptr);
    delete timer;
}

bool PCApplicationImpl::CreateAudioManager() {
    AGAudioManager::SetInstance(new AGAudioManager());
    return true;
}

void PCApplicationImpl::DeleteAudioManager() {
    AGAudioManager* audio = AGAudioManager::Get();
    AGAudioManager::SetInstance(nullptr);
    delete audio;
}

bool PCApplicationImpl::CreateVideoPlayer() {
    AGVideoPlayer::SetInstance(new AGVideoPlayer());
    return true;
}

void PCApplicationImpl::DeleteVideoPlayer() {
    AGVideoPlayer* video = AGVideoPlayer::Get();
    AGVideoPlayer::SetInstance(nullptr);
    delete video;
}

bool PCApplicationImpl::CreateAppEventsHandler() {
    AGAppEventsHandler::SetInstance(new AGAppEventsHandler());
    return true;
}

void PCApplicationImpl::DeleteAppEventsHandler() {
    AGAppEventsHandler* events = AGAppEventsHandler::Get();
    AGAppEventsHandler::SetInstance(nullptr);
    delete events;
}

bool PCApplicationImpl::CreateStatsManager() {
    AGStatsManager::SetInstance(new AGStatsManager());
    return true;
}

void PCApplicationImpl::DeleteStatsManager() {
    AGStatsManager* stats = AGStatsManager::Get();
    AGStatsManager::SetInstance(nullptr);
    delete stats;
}
