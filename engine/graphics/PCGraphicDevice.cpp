#include "engine/graphics/PCGraphicDevice.h"

#include <string>

#include "engine/core/AGLog.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCRenderTarget.h"
#include "platform/core/Clock.h"

using namespace platform::gfx;

PCGraphicDevice::~PCGraphicDevice() {
    Shutdown();
}

PresentParams PCGraphicDevice::ParamsFor(u32 width, u32 height, u32 modeFlags) const {
    PresentParams params;
    params.width = width;
    params.height = height;
    params.fullscreen = (modeFlags & kModeFullscreen) != 0;
    params.multisample = (modeFlags & kModeMultisample) != 0;
    return params;
}

bool PCGraphicDevice::Initialize(void* window, u32 width, u32 height, u32 modeFlags) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_window = static_cast<SDL_Window*>(window);
    m_width = width;
    m_height = height;
    m_modeFlags = modeFlags;
    m_customRender = 0;
    m_is9Ex = false;
    m_pixelShader2 = false;
    m_failure = "";

    m_modeUnavailable = !Device::IsDisplayModeAvailable(m_window, width, height);
    if (m_modeUnavailable)
        m_modeFlags &= ~kModeFullscreen;
    std::string error;
    m_device = Device::Create(m_window, ParamsFor(width, height, m_modeFlags), error);
    if (!m_device) {
        m_failure = error.c_str();
        AGReport("Graphic device: cannot create the OpenGL device (%s).", error.c_str());
        return false;
    }
    // The device may refuse full screen or multisampling; the application adopts the flags.
    const PresentParams& granted = m_device->Granted();
    if (!granted.fullscreen)
        m_modeFlags &= ~kModeFullscreen;
    if (!granted.multisample)
        m_modeFlags &= ~kModeMultisample;
    m_pixelShader2 = m_device->GetCaps().pixelShader20;
    m_clientRect = {0, 0, i32(width), i32(height)};
    if (PCContextManager* context = PCContextManager::Get()) {
        context->SetDevice(m_device.get());
        context->Set9Ex(m_is9Ex);
    }
    SetDefaultStates();
    m_nextCallbackId = kFirstCallbackId;
    SetFrameCapture(nullptr);
    m_device->Clear(kClearTarget | kClearZBuffer, kClearColor, 1.0f, 0);
    m_shownValid = false;
    m_active = true;
    return true;
}

void PCGraphicDevice::SetDefaultStates() {
    Device& d = *m_device;
    d.SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
    d.SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
    d.SetRenderState(RenderState::CullMode, Cull::CW);
    d.SetRenderState(RenderState::Lighting, 0u);
    d.SetRenderState(RenderState::MultisampleAntialias, 1u);
}

void PCGraphicDevice::RenderFrame() {
    if (!m_device)
        return;
    m_frameSkipped = false;
    bool visible = (m_modeFlags & kModeFullscreen) ? m_active : m_device->IsWindowVisible();
    if (!visible) {
        m_shownValid = false;
        platform::SleepMs(kIdleSleepMs);
        return;
    }
    std::unique_lock<std::recursive_mutex> lock(m_lock);
    if (m_device->TestCooperativeLevel() == Result::DeviceNotReset)
        ResetDevice(m_width, m_height, m_modeFlags);
    // Lost, or a reset that did not take: try again at a later frame.
    if (m_device->TestCooperativeLevel() != Result::Ok) {
        m_shownValid = false;
        lock.unlock();
        platform::SleepMs(kIdleSleepMs);
        return;
    }
    m_viewport = {0, 0, m_width, m_height, 0.0f, 1.0f};
    m_device->SetViewport(m_viewport);
    // The last layer's camera leaves the scissor test on; the frame clears the whole buffer.
    // Depth and stencil share a buffer: clearing both at once is much the cheaper.
    m_device->SetRenderState(RenderState::ScissorTestEnable, 0u);
    // The layers pass through the device's digest first: a frame that would draw what the
    // window shows already is neither drawn nor presented. A custom render or a frame capture
    // always draws.
    const bool digested = !m_customRender && !(m_frameCapture && m_frameCapture->enabled);
    u64 digest = 0;
    if (digested) {
        m_device->BeginDigest();
        m_device->Clear(kClearTarget | kClearZBuffer | kClearStencil, 0, 1.0f, 0);
        AGGraphicDevice::RenderFrame();
        digest = m_device->EndDigest();
        if (m_shownValid && digest == m_shownDigest) {
            m_frameSkipped = true;
            return;
        }
    }
    m_device->Clear(kClearTarget | kClearZBuffer | kClearStencil, 0, 1.0f, 0);
    m_device->BeginScene();
    if (m_customRender) {
        if (m_customDraw)
            m_customDraw(m_customContext);
    } else {
        AGGraphicDevice::RenderFrame();
    }
    if (m_frameCapture)
        RunFrameCapture();
    m_device->EndScene();
    m_device->Present();
    m_shownDigest = digest;
    m_shownValid = digested;
}

bool PCGraphicDevice::ResetDevice(u32 width, u32 height, u32 modeFlags) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!m_device)
        return false;
    CallResetCallbacks(false);
    m_width = width;
    m_height = height;
    m_clientRect = {0, 0, i32(width), i32(height)};
    m_modeUnavailable = !Device::IsDisplayModeAvailable(m_window, width, height);
    m_modeFlags = modeFlags;
    if (m_modeUnavailable)
        m_modeFlags &= ~kModeFullscreen;
    Result result;
    for (;;) {
        result = m_device->Reset(ParamsFor(width, height, m_modeFlags));
        if (result == Result::Ok || !(m_modeFlags & kModeFullscreen))
            break;
        m_modeFlags &= ~kModeFullscreen;
    }
    if (result == Result::Ok && !m_device->Granted().multisample)
        m_modeFlags &= ~kModeMultisample;
    m_shownValid = false;
    SetDefaultStates();
    CallResetCallbacks(true);
    return result == Result::Ok;
}

void PCGraphicDevice::Shutdown() {
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        SetFrameCapture(nullptr);
        if (PCContextManager* context = PCContextManager::Get())
            if (context->GetDevice() == m_device.get())
                context->SetDevice(nullptr);
        m_device.reset();
    }
    AGGraphicDevice::Shutdown();
}

AGRenderTarget* PCGraphicDevice::CreateRenderTarget(u32 /*width*/, u32 /*height*/) {
    return new PCRenderTarget();
}

u32 PCGraphicDevice::RegisterResetCallback(void* context, ResetCallback callback) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    u32 id = m_nextCallbackId;
    m_nextCallbackId += kCallbackIdStep;
    if (m_nextCallbackId == 0)
        m_nextCallbackId += kCallbackIdStep;
    m_resetCallbacks.Add({id, context, callback});
    return id;
}

void PCGraphicDevice::UnregisterResetCallback(u32 id) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    for (u32 i = 0; i < m_resetCallbacks.Count(); ++i)
        if (m_resetCallbacks[i].id == id) {
            m_resetCallbacks.RemoveAt(i);
            return;
        }
}

void PCGraphicDevice::CallResetCallbacks(bool restored) {
    // A callback may unregister itself or others: every call looks its entry up again, so
    // an entry removed meanwhile is never called.
    std::vector<u32> ids;
    for (const ResetEntry& entry : m_resetCallbacks)
        ids.push_back(entry.id);
    for (u32 id : ids)
        for (const ResetEntry& entry : m_resetCallbacks)
            if (entry.id == id) {
                ResetEntry call = entry;
                if (call.callback)
                    call.callback(call.context, restored);
                break;
            }
}

void PCGraphicDevice::SetFrameCapture(PCFrameCapture* capture) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (m_frameCapture != capture)
        delete m_frameCapture;
    m_frameCapture = capture;
}

void PCGraphicDevice::RunFrameCapture() {
    PCFrameCapture& capture = *m_frameCapture;
    if (!capture.enabled || !capture.consumer || capture.width == 0 || capture.height == 0)
        return;
    if (!m_device->ReadBackBuffer(capture.source, capture.copy))
        return;
    capture.destination.resize(size_t(capture.width) * capture.height);
    ScaleImageBox(capture.copy.pixels.data(), capture.copy.width, capture.copy.height,
                  capture.copy.width * 4, capture.destination.data(), capture.width, capture.height,
                  capture.width * 4);
    AGBitmap bitmap;
    bitmap.pixels = capture.destination.data();
    bitmap.width = capture.width;
    bitmap.height = capture.height;
    bitmap.bytesPerPixel = 4;
    bitmap.pitch = capture.width * 4;
    bitmap.rowOrder = 0;
    capture.consumer->ReceiveBitmap(bitmap);
}
