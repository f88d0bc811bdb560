#pragma once
// A program object with chosen window defaults, the headless window backend, and a game
// context that records its calls, for start-up and run-loop tests. Tests that start the
// application hold a GraphicsStartup, the program's graphics start-up, while it runs.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/AGApplicationGraphics.h"
#include "engine/core/AGGameContext.h"
#include "engine/core/AGProgram.h"
#include "engine/core/PCTimerManager.h"
#include "platform/window/TestWindowBackend.h"
#include "tests/support/GraphicsStartup.h"

class TestProgram : public AGProgram {
public:
    TestProgram(const char* title, u32 width, u32 height, u32 flags)
        : m_title(title), m_width(width), m_height(height), m_flags(flags) {}
    void Run() override {}
    const char* GetTitle() const override { return m_title; }
    void GetDefaultSettings(u32* width, u32* height, u32* flags) const override {
        *width = m_width;
        *height = m_height;
        *flags = m_flags;
    }

    const char* m_title;
    u32 m_width, m_height, m_flags;
};

inline platform::window::Backend* MakeTestBackend() {
    return new platform::window::TestBackend;
}

// Graphics standing in for the device, to test the application's side of it: they record
// the application's calls in `log` and play the device as the fields of g_fakeGraphics say.
// Installed while a FakeGraphics object lives; they need a window with a surface, which
// MakeTestBackendWithSurface gives (one they never touch).
struct FakeGraphicsScript {
    std::vector<std::string>* log = nullptr;
    bool startFails = false;
    bool refusesSwitch = false;
    u32 refusedFlags = 0;  // settings bits the device never grants
};
inline FakeGraphicsScript g_fakeGraphics;

class FakeGraphics final : public AGApplicationGraphics {
public:
    class Installed {
    public:
        Installed() : m_saved(s_implFactory) {
            g_fakeGraphics = {};
            s_implFactory = [] { return static_cast<AGApplicationGraphics*>(new FakeGraphics()); };
        }
        ~Installed() {
            s_implFactory = m_saved;
            g_fakeGraphics = {};
        }

    private:
        Factory m_saved;
    };

    ~FakeGraphics() override { Log("graphics gone"); }
    void CreateDeviceObject() override { Log("device object"); }
    void CreateContextManager() override { Log("context manager"); }
    void RegisterProviders(AGResourceManager* resources) override { Log(resources ? "providers" : "no manager"); }
    bool StartDevice(void* /*surface*/, u32 width, u32 height, u32 flags) override {
        Log(Mode("start", width, height, flags));
        m_flags = flags & ~g_fakeGraphics.refusedFlags;
        return !g_fakeGraphics.startFails;
    }
    const char* GetFailureReason() const override { return "no display"; }
    u32 GetModeFlags() const override { return m_flags; }
    void RenderFrame() override { Log("frame"); }
    bool RefusesSwitch() const override { return g_fakeGraphics.refusesSwitch; }
    u32 ResetDevice(u32 width, u32 height, u32 flags) override {
        Log(Mode("reset", width, height, flags));
        return m_flags = flags & ~g_fakeGraphics.refusedFlags;
    }
    void SetActive(bool active) override { Log(active ? "active" : "inactive"); }
    void DeleteDevice() override { Log("delete device"); }
    void DeleteContextManager() override { Log("delete context manager"); }

private:
    static void Log(const std::string& entry) {
        if (g_fakeGraphics.log)
            g_fakeGraphics.log->push_back(entry);
    }
    static std::string Mode(const char* what, u32 width, u32 height, u32 flags) {
        char text[64];
        snprintf(text, sizeof text, "%s %ux%u %x", what, width, height, flags);
        return text;
    }
    u32 m_flags = 0;
};

inline platform::window::Backend* MakeTestBackendWithSurface() {
    static int s_surface;
    auto* backend = new platform::window::TestBackend;
    backend->SetNativeHandle(&s_surface);
    return backend;
}

struct RecordingContext : AGGameContext {
    using AGGameContext::Initialize;
    int initialized = 0;
    int shutdowns = 0;
    std::vector<u32> updates;
    std::vector<u32> timerAtUpdate;
    std::function<void(RecordingContext&)> onUpdate;

    void Initialize() override { ++initialized; }
    void Update(u32 ms) override {
        updates.push_back(ms);
        timerAtUpdate.push_back(PCTimerManager::Get()->GetFrameMs());
        if (onUpdate)
            onUpdate(*this);
    }
    void Shutdown() override { ++shutdowns; }
};
