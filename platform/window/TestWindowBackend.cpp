#include "platform/window/TestWindowBackend.h"

#include <cstdio>

#include "platform/window/TerminationSignals.h"

namespace platform::window {

bool TestBackend::Create(const WindowDesc& desc) {
    if (m_createFails) {
        fprintf(stderr, "Cannot create the window (test backend set to fail).\n");
        return false;
    }
    m_desc = desc;
    m_width = desc.width;
    m_height = desc.height;
    m_fullscreen = desc.fullscreen;
    m_cursorHidden = desc.hideCursor;
    m_alive = true;
    WatchTerminationSignals();
    return true;
}

TestBackend::~TestBackend() {
    if (m_alive)
        StopWatchingTerminationSignals();
}

void TestBackend::Destroy() {
    if (!m_alive)
        return;
    m_alive = false;
    StopWatchingTerminationSignals();
    Inject(MessageKind::Destroy);
}

bool TestBackend::PollMessage(Message& out) {
    if (m_alive && TakeTerminationRequest())
        Inject(MessageKind::Terminate);
    if (m_queue.empty())
        return false;
    out = m_queue.front();
    m_queue.pop_front();
    ++m_polled;
    return true;
}

void TestBackend::ApplyStyle(bool fullscreen, uint32_t width, uint32_t height) {
    m_fullscreen = fullscreen;
    m_width = width;
    m_height = height;
    if (fullscreen)
        m_left = m_top = 0;
}

void TestBackend::GetClientSize(uint32_t& width, uint32_t& height) const {
    width = m_width;
    height = m_height;
}

void TestBackend::GetPosition(int32_t& left, int32_t& top) const {
    left = m_left;
    top = m_top;
}

void TestBackend::SetPosition(int32_t left, int32_t top) {
    m_left = left;
    m_top = top;
}

}  // namespace platform::window
