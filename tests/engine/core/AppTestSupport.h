#pragma once
// A program object with chosen window defaults, the headless window backend, and a game
// context that records its calls, for start-up and run-loop tests. Tests that start the
// application hold a GraphicsStartup, the program's graphics start-up, while it runs.
#include <functional>
#include <vector>

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
