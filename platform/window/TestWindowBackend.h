#pragma once
// A window backend without a display: messages are injected by the test, the window is a
// flag, and style and position changes are only recorded (full screen puts the window at the
// display's origin, as a system would). Pair it with platform::FakeClock so
// that the run loop's frame pacing advances fake time instead of sleeping.
#include <cstddef>
#include <deque>

#include "platform/window/WindowBackend.h"

namespace platform::window {

class TestBackend : public Backend {
public:
    ~TestBackend() override;
    // As the system's backend, the window follows SIGINT and SIGTERM while it lives.
    bool Create(const WindowDesc& desc) override;
    void Destroy() override;
    bool HasWindow() const override { return m_alive; }

    bool PollMessage(Message& out) override;
    void Post(const Message& message) override { m_queue.push_back(message); }

    void ApplyStyle(bool fullscreen, uint32_t width, uint32_t height) override;
    void GetClientSize(uint32_t& width, uint32_t& height) const override;
    void GetPosition(int32_t& left, int32_t& top) const override;
    void SetPosition(int32_t left, int32_t top) override;
    void SetCursorHidden(bool hidden) override { m_cursorHidden = hidden; }
    void* NativeHandle() const override { return m_surface; }
    bool IsVsyncPaced() const override { return m_vsyncPaced; }
    bool RendersInSoftware() override { return s_software; }

    // Test controls.
    void Inject(const Message& message) { m_queue.push_back(message); }
    void Inject(MessageKind kind) {
        Message m;
        m.kind = kind;
        m_queue.push_back(m);
    }
    void SetCreateFails(bool fails) { m_createFails = fails; }
    void SetVsyncPaced(bool paced) { m_vsyncPaced = paced; }
    // What every test backend answers to RendersInSoftware (false by default).
    static void SetSoftwareRenderer(bool software) { s_software = software; }
    // A stand-in system surface, for graphics that never touch it (null by default: no
    // graphics run on this backend).
    void SetNativeHandle(void* surface) { m_surface = surface; }
    size_t PendingCount() const { return m_queue.size(); }
    // Messages taken by PollMessage so far.
    size_t PolledCount() const { return m_polled; }
    const WindowDesc& LastDesc() const { return m_desc; }
    bool IsFullscreen() const { return m_fullscreen; }
    bool IsCursorHidden() const { return m_cursorHidden; }

private:
    std::deque<Message> m_queue;
    WindowDesc m_desc;
    size_t m_polled = 0;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    int32_t m_left = 0;
    int32_t m_top = 0;
    bool m_alive = false;
    bool m_createFails = false;
    bool m_vsyncPaced = false;
    bool m_fullscreen = false;
    bool m_cursorHidden = false;
    void* m_surface = nullptr;
    static inline bool s_software = false;
};

}  // namespace platform::window
