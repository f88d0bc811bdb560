#pragma once
// The application on the platform layer: creates every engine manager in a fixed order,
// pumps window messages, runs one frame tick whenever no message waits, and deletes the
// managers in a fixed order at the end.
//
// Its code is split by service: PCApplicationImpl.cpp holds the start-up and shutdown
// tables, the run loop and the core managers; PCApplicationWindow.cpp the window, settings
// and input devices; PCApplicationFiles.cpp threads, jobs, files, resources and the save
// file; PCApplicationGraphics.cpp the graphic device and its context manager, through the
// graphics the program installs (AGApplicationGraphics).
#include "engine/core/AGApplication.h"
#include "engine/core/AGTypes.h"
#include "engine/core/TString.h"
#include "platform/window/WindowBackend.h"

class AGApplicationGraphics;

class PCApplicationImpl : public AGApplicationImpl {
public:
    // A tick takes at least this long unless presenting already waits for the display,
    // as the frame timer's 16 ms floor expects.
    static constexpr u64 kMinTickNs = 16666667;

    struct Callback {
        void* object = nullptr;
        void (*fn)(void* object) = nullptr;
    };
    struct CloseCallback {
        void* object = nullptr;
        bool (*fn)(void* object) = nullptr;  // false refuses the close
    };

    PCApplicationImpl() = default;
    PCApplicationImpl(const PCApplicationImpl&) = delete;
    PCApplicationImpl& operator=(const PCApplicationImpl&) = delete;
    ~PCApplicationImpl() override;

    bool Initialize() override;
    void Quit() override;
    void Shutdown() override;
    void Run(AGGameContext& context) override;

    // Sends one message to its handler: the accelerator first, then WindowProc.
    void DispatchMessage(const platform::window::Message& message);
    // True when the accelerator consumed the message.
    bool TranslateAccelerator(const platform::window::Message& message);
    void WindowProc(const platform::window::Message& message);

    // Alt+Enter and the options page: switch between window and full screen (the window
    // returns to its place), and multisampling on and off. Each writes its setting back
    // when the settings are persistent.
    void ToggleFullscreen();
    void ToggleMultisampling();

    // The engine's language index of a locale tag such as "fr_FR.UTF-8"; false for a
    // language the engine has no index for.
    static bool LanguageIndexFromTag(const char* tag, u32& index);

    void SetActivatedCallback(void* object, void (*fn)(void*)) { m_onActivated = {object, fn}; }
    void SetDeactivatedCallback(void* object, void (*fn)(void*)) { m_onDeactivated = {object, fn}; }
    void SetCloseCallback(void* object, bool (*fn)(void*)) { m_onClose = {object, fn}; }
    // One slot each: an owner clears a callback only while it is still its own.
    const Callback& GetActivatedCallback() const { return m_onActivated; }
    const Callback& GetDeactivatedCallback() const { return m_onDeactivated; }
    const CloseCallback& GetCloseCallback() const { return m_onClose; }
    // Clears the slots that still hold owner's callbacks; another owner's stay.
    void ReleaseWindowCallbacks(const void* owner) {
        if (m_onClose.object == owner)
            m_onClose = {};
        if (m_onActivated.object == owner)
            m_onActivated = {};
        if (m_onDeactivated.object == owner)
            m_onDeactivated = {};
    }

    platform::window::Backend* GetWindow() const { return m_window; }
    bool HasWindow() const { return m_window && m_window->HasWindow(); }
    bool IsActive() const { return m_active; }
    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }
    u32 GetFlags() const { return m_flags; }
    const TString<char>& GetProgramName() const { return m_programName; }

    // Called with the name of each start-up and shutdown step as it runs (tests record the
    // order with it). Null removes the hook.
    using StepHook = void (*)(void* context, const char* step, bool startup);
    static void SetStepHook(StepHook hook, void* context);

private:
    template <typename Fn>
    struct Step {
        const char* name;
        Fn run;
    };
    using StartFn = bool (PCApplicationImpl::*)();
    using StopFn = void (PCApplicationImpl::*)();
    static const Step<StartFn> kStartSteps[];
    static const Step<StopFn> kStopSteps[];

    void Tick(AGGameContext& context);

    // Start-up steps, in table order. A false result stops start-up.
    bool CreateLog();
    bool InitRegistryKey();
    bool CreateMainWindow();
    bool DetectUILanguage();
    bool CreateThreadingManager();
    bool CreateJobsManager();
    bool CreateRadixManager();
    bool CreateTimerManager();
    bool CreateGraphicDeviceObject();
    bool CreateAudioManager();
    bool CreateVideoPlayer();
    bool CreateResourceManager();
    bool CreateMemoryPoolManager();
    bool CreateFileManager();
    bool CreateContextManager();
    bool CreateDeviceManager();
    bool CreateAppEventsHandler();
    bool InitializeTimer();
    bool CreateSavegameManager();
    bool CreateStatsManager();
    bool RegisterResourceProviders();
    bool LoadMemoryMapping();
    bool CreateGraphicDevice();

    // Shutdown steps, in table order. Each deletes its manager and clears its instance
    // pointer, and does nothing when the manager is absent.
    void StopJobbers();
    void DeleteVideoPlayer();
    void DeleteAudioManager();
    void DeleteGraphicDevice();
    void DeleteFileManager();
    void DeleteContextManager();
    void DeleteTimerManager();
    void DeleteRadixManager();
    void DeleteResourceManager();
    void DeleteMemoryPoolManager();
    void DeleteDeviceManager();
    void DeleteAppEventsHandler();
    void DeleteSavegameManager();
    void DeleteStatsManager();
    void DeleteJobsManager();
    void DeleteThreadingManager();
    void DestroyMainWindow();
    void DeleteLog();

    // Tick parts whose services live in the other files.
    void RenderFrame();
    void PollDevices();

    // Window part (PCApplicationWindow.cpp).
    void ReadSettings();
    void WriteSettings(u32 mask);
    void ApplyWindowStyle();
    // Resets the graphic device for the current size and flags and adopts the full-screen
    // and multisampling bits it came back with.
    void ResetGraphicsForFlags();

    // Graphics part of the window's mode switches (PCApplicationGraphics.cpp).
    bool GraphicsRefusesSwitch();
    // Resets the device for (width, height, flags); returns the flags it took.
    u32 ResetGraphicDevice(u32 width, u32 height, u32 flags);
    void SetGraphicDeviceActive(bool active);

    Callback m_onActivated;
    Callback m_onDeactivated;
    CloseCallback m_onClose;
    platform::window::Backend* m_window = nullptr;
    // From start-up step 9 to the context manager's shutdown step.
    AGApplicationGraphics* m_graphics = nullptr;
    TString<char> m_programName;
    TString<char> m_settingsKey;
    u32 m_width = 0;
    u32 m_height = 0;
    u32 m_flags = 0;
    bool m_active = false;
    // The settings file holds a multisampling value of the player's.
    bool m_multisamplingStored = false;
    bool m_trackingMouseLeave = false;
    i32 m_savedLeft = 0;
    i32 m_savedTop = 0;
    u64 m_tickStart = 0;
    bool m_started = false;  // from Initialize until Shutdown
};

// The default application-implementation factory.
AGApplicationImpl* CreatePCApplicationImpl();
