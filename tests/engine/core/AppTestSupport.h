#pragma once
// A program object with chosen window defaults, and the headless window backend, for
// start-up tests.
#include "engine/core/AGProgram.h"
#include "platform/window/TestWindowBackend.h"

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
