#pragma once
// The graphic device on the platform's OpenGL device. It is built at start-up for the
// program's window, driven by the run loop (UpdateLayers, then RenderFrame every tick), owns
// the device lock that every resource creation, lock, upload and release in the program takes,
// handles a lost device, and calls the registered reset callbacks around every reset so that
// device resources can drop and rebuild themselves.
#include <memory>
#include <mutex>
#include <vector>

#include "engine/core/AGArray.h"
#include "engine/core/AGSingleton.h"
#include "engine/core/TString.h"
#include "engine/graphics/AGBitmap.h"
#include "engine/graphics/AGGraphicDevice.h"
#include "platform/gfx/Device.h"

// What a frame capture copies, and to whom: the source rectangle of the back buffer, scaled
// with a box filter to width x height, is handed to the consumer after the frame's layers
// are drawn, while enabled.
struct PCFrameCapture {
    bool enabled = false;
    platform::gfx::Rect source{};
    u32 width = 0;
    u32 height = 0;
    AGBitmapReceiver* consumer = nullptr;
    // Working copies: the back-buffer pixels and the scaled destination.
    platform::gfx::Image copy;
    std::vector<u32> destination;
};

class PCGraphicDevice : public AGGraphicDevice, public AGSingleton<PCGraphicDevice> {
public:
    // Mode flags; the same bits as the application's settings flags.
    static constexpr u32 kModeFullscreen = 2;
    static constexpr u32 kModeMultisample = 4;
    static constexpr u32 kFirstCallbackId = 0xC6F20000u;
    static constexpr u32 kCallbackIdStep = 4;
    static constexpr u32 kClearColor = 0xFF282828u;
    // Sleep of a frame that cannot be drawn (hidden window, lost device).
    static constexpr u32 kIdleSleepMs = 15;

    // Called with false before the device is reset (drop device resources) and with true
    // after it (rebuild them).
    using ResetCallback = void (*)(void* context, bool restored);
    // Draws the frame in place of the layers while the custom render is on.
    using CustomRenderFn = void (*)(void* context);

    PCGraphicDevice() = default;
    ~PCGraphicDevice() override;

    // Creates the device for the window (an SDL window made for OpenGL). Full screen is
    // dropped when the display has no mode of this size, multisampling when GL offers none;
    // GetModeFlags gives what was granted. False, with one log line and the reason in
    // GetFailureReason, when no OpenGL device can be made.
    bool Initialize(void* window, u32 width, u32 height, u32 modeFlags);
    // The frame: visibility test, cooperative-level test (reset when the device waits for
    // one, skip while it is lost), clear, layers or custom render, frame capture, present.
    // A frame whose layers would draw what the window already shows is skipped (see
    // FrameSkipped).
    void RenderFrame() override;
    // The last RenderFrame drew and presented nothing, as the window showed its picture.
    bool FrameSkipped() const { return m_frameSkipped; }
    // The window may have lost its picture: the next frame draws.
    void InvalidateFrame() { m_shownValid = false; }
    // Callbacks with false, reset (falling back to a window when full screen fails), default
    // states, callbacks with true. False when the device could not be reset.
    bool ResetDevice(u32 width, u32 height, u32 modeFlags);
    // Under the device lock: frees the frame capture and the device.
    void Shutdown() override;
    AGRenderTarget* CreateRenderTarget(u32 width, u32 height) override;

    // Ids start at kFirstCallbackId, step by kCallbackIdStep and are never 0.
    u32 RegisterResetCallback(void* context, ResetCallback callback);
    void UnregisterResetCallback(u32 id);

    // The device lock, recursive.
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }
    std::recursive_mutex& GetLock() { return m_lock; }

    platform::gfx::Device* GetDevice() const { return m_device.get(); }
    u32 GetModeFlags() const { return m_modeFlags; }
    bool IsModeUnavailable() const { return m_modeUnavailable; }
    bool HasPixelShader2() const { return m_pixelShader2; }
    const char* GetFailureReason() const { return m_failure.c_str(); }
    // In full screen the active flag stands in for the window's visibility.
    void SetActive(bool active) {
        m_active = active;
        m_shownValid = false;
    }
    bool IsActive() const { return m_active; }

    // Takes ownership; null removes the capture.
    void SetFrameCapture(PCFrameCapture* capture);
    void SetCustomRenderer(void* context, CustomRenderFn draw) {
        m_customContext = context;
        m_customDraw = draw;
    }

private:
    struct ResetEntry {
        u32 id;
        void* context;
        ResetCallback callback;
    };

    void SetDefaultStates();
    void CallResetCallbacks(bool restored);
    void RunFrameCapture();
    platform::gfx::PresentParams ParamsFor(u32 width, u32 height, u32 modeFlags) const;

    u32 m_modeFlags = 0;
    bool m_modeUnavailable = false;
    bool m_is9Ex = false;
    bool m_pixelShader2 = false;
    bool m_active = false;
    std::unique_ptr<platform::gfx::Device> m_device;
    std::recursive_mutex m_lock;
    platform::gfx::Viewport m_viewport{};
    SDL_Window* m_window = nullptr;
    platform::gfx::Rect m_clientRect{};
    u32 m_nextCallbackId = kFirstCallbackId;
    AGArray<ResetEntry> m_resetCallbacks{8};
    PCFrameCapture* m_frameCapture = nullptr;
    void* m_customContext = nullptr;
    CustomRenderFn m_customDraw = nullptr;
    TString<char> m_failure;
    // The digest of the layers the window shows, while m_shownValid.
    u64 m_shownDigest = 0;
    bool m_shownValid = false;
    bool m_frameSkipped = false;
};
