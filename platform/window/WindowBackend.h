#pragma once
// The one application window and its message queue. A backend is created through
// CreateBackend(); the engine owns it, creates the window once, then pumps messages with
// PollMessage until a Quit message comes out.
//
// Message flow, the same as the engine's window procedure expects:
//  - system input and window events are queued as Messages in arrival order;
//  - Post() appends a message (the engine posts CloseRequest for its Quit and Quit after Destroy);
//  - Destroy() removes the window at once (HasWindow() turns false) and queues Destroy.
// All calls are made on the main thread.
#include <cstdint>
#include <vector>

#include "platform/window/WindowMessage.h"

namespace platform::window {

struct WindowDesc {
    const char* title = "";
    uint32_t width = 800;   // client area
    uint32_t height = 600;
    bool fullscreen = false;
    bool hideCursor = false;  // over the client area
    // OpenGL buffers with 4 samples a pixel (plain ones when the system has none).
    bool multisample = false;
};

struct DisplayMode {
    uint32_t width;
    uint32_t height;
    uint32_t refreshRate;  // Hz, 0 when unknown
};

class Backend {
public:
    virtual ~Backend() = default;

    // Creates and shows the window; false (with one line on stderr) when it cannot be made.
    virtual bool Create(const WindowDesc& desc) = 0;
    // Destroys the window when it exists and queues a Destroy message.
    virtual void Destroy() = 0;
    // True from a successful Create until Destroy.
    virtual bool HasWindow() const = 0;

    // Takes the next waiting message; false when the queue is empty. Never blocks.
    virtual bool PollMessage(Message& out) = 0;
    virtual void Post(const Message& message) = 0;

    // Switches between window and full screen with a client area of width x height.
    virtual void ApplyStyle(bool fullscreen, uint32_t width, uint32_t height) = 0;
    virtual void GetClientSize(uint32_t& width, uint32_t& height) const = 0;
    // Top-left corner of the window on the desktop (for returning from full screen).
    virtual void GetPosition(int32_t& left, int32_t& top) const = 0;
    virtual void SetPosition(int32_t left, int32_t top) = 0;
    virtual void SetCursorHidden(bool hidden) = 0;
    // The system's window object for the graphics layer (null in the test backend).
    virtual void* NativeHandle() const = 0;
    // True when presenting a frame already waits for the display, so the run loop need not
    // pace its ticks itself.
    virtual bool IsVsyncPaced() const { return false; }
    // False without a window and while the window is minimised or hidden.
    virtual bool IsVisible() const { return HasWindow(); }
    // The modes of the display that shows the window, without repeats.
    virtual std::vector<DisplayMode> GetDisplayModes() const { return {}; }
    // True when OpenGL on this display draws with a software rasteriser, on which
    // multisampling multiplies the cost of every frame. May be asked before Create.
    virtual bool RendersInSoftware() { return false; }
};

// True for the GL_RENDERER strings of the software rasterisers (llvmpipe, softpipe, swrast).
bool IsSoftwareRenderer(const char* glRenderer);

using BackendFactory = Backend* (*)();

// Makes the backend of this build: the installed factory when set, else the default one.
// Null when no backend can be made.
Backend* CreateBackend();
// Installs a factory (tests install one that makes a TestBackend); null restores the default.
void SetBackendFactory(BackendFactory factory);
// The build's real backend; null where there is none.
Backend* CreateDefaultBackend();

}  // namespace platform::window
