#pragma once
// A program object with chosen window defaults, the headless window backend, and a game
// context that records its calls, for start-up and run-loop tests. Tests that start the
// application hold a GraphicsStartup, the program's graphics start-up, while it runs.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/core/AGApplicationGraphics.h"
#include "engine/core/AGGameContext.h"
#include "engine/core/AGProgram.h"
#include "engine/core/PCTimerManager.h"
#include "platform/window/TestWindowBackend.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

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

// A test program published for the test, its settings in a folder of its own; the window
// backend factory is reset at the end.
class ProgramFixture : public ::testing::Test {
protected:
    ProgramFixture(const char* title, u32 flags, u32 width = 800, u32 height = 600)
        : m_program(title, width, height, flags) {
        m_env.Set("XDG_CONFIG_HOME", m_config.Path());
        AGProgram::SetInstance(&m_program);
    }
    ~ProgramFixture() override {
        platform::window::SetBackendFactory(nullptr);
        AGProgram::SetInstance(m_previousProgram);
    }

    TempDir m_config;
    ScopedEnv m_env;
    TestProgram m_program;
    AGProgram* m_previousProgram = AGProgram::Get();
};

inline platform::window::Backend* MakeTestBackend() {
    return new platform::window::TestBackend;
}

// Graphics standing in for the device, to test the application's side of it: they play the
// device as the fields of g_fakeGraphics say. Installed while a FakeGraphics::Installed object
// lives; they need a window with a surface, which MakeTestBackendWithSurface gives (one they
// never touch).
struct FakeGraphicsScript {
    bool startFails = false;
    bool refusesSwitch = false;
    u32 refusedFlags = 0;  // mode flags a reset leaves off
    bool frameSkipped = false;
    int invalidations = 0;  // InvalidateFrame calls
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

    void CreateDeviceObject() override {}
    void CreateContextManager() override {}
    void RegisterProviders(AGResourceManager*) override {}
    bool StartDevice(void* /*surface*/, u32, u32, u32 flags) override {
        m_flags = flags;
        return !g_fakeGraphics.startFails;
    }
    const char* GetFailureReason() const override { return "no display"; }
    u32 GetModeFlags() const override { return m_flags; }
    void RenderFrame() override {}
    bool FrameSkipped() const override { return g_fakeGraphics.frameSkipped; }
    void InvalidateFrame() override { ++g_fakeGraphics.invalidations; }
    bool RefusesSwitch() const override { return g_fakeGraphics.refusesSwitch; }
    u32 ResetDevice(u32, u32, u32 flags) override { return m_flags = flags & ~g_fakeGraphics.refusedFlags; }
    void SetActive(bool) override {}
    void DeleteDevice() override {}
    void DeleteContextManager() override {}

private:
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
