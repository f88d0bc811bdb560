// The application's graphics part: the start-up, frame and shutdown steps of the graphic
// device and its context manager, through the graphics the program installed.
#include <cstdio>

#include "engine/core/AGApplicationGraphics.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGProgram.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PCApplicationImpl.h"

bool PCApplicationImpl::CreateGraphicDeviceObject() {
    if (AGApplicationGraphics::Factory factory = AGApplicationGraphics::s_implFactory)
        m_graphics = factory();
    if (m_graphics)
        m_graphics->CreateDeviceObject();
    return true;
}

bool PCApplicationImpl::CreateContextManager() {
    if (m_graphics)
        m_graphics->CreateContextManager();
    return true;
}

bool PCApplicationImpl::CreateGraphicDevice() {
    void* surface = m_window ? m_window->NativeHandle() : nullptr;
    if (!m_graphics) {
        if (surface) {
            fprintf(stderr, "%s: cannot start the graphics: no graphic device is installed.\n",
                    m_programName.c_str());
            return false;
        }
        AGReport("Graphic device: none installed; running without graphics.");
        return true;
    }
    m_graphics->RegisterProviders(AGResourceManager::Get());
    if (!surface) {
        // A window backend without a system window (the test backend): no frames to draw.
        AGReport("Graphic device: the window has no system surface; running without graphics.");
        return true;
    }
    if (!m_graphics->StartDevice(surface, m_width, m_height, m_flags)) {
        fprintf(stderr, "%s: cannot start the graphics: %s\n", m_programName.c_str(),
                m_graphics->GetFailureReason());
        return false;
    }
    u32 granted = m_graphics->GetModeFlags();
    if ((granted & (kSettingFullscreen | kSettingMultisampling)) !=
        (m_flags & (kSettingFullscreen | kSettingMultisampling))) {
        m_flags = (m_flags & ~(kSettingFullscreen | kSettingMultisampling)) |
                  (granted & (kSettingFullscreen | kSettingMultisampling));
        ApplyWindowStyle();
    }
    return true;
}

void PCApplicationImpl::RenderFrame() {
    if (m_graphics)
        m_graphics->RenderFrame();
}

void PCApplicationImpl::DeleteGraphicDevice() {
    if (m_graphics)
        m_graphics->DeleteDevice();
}

void PCApplicationImpl::DeleteContextManager() {
    // The last graphics step of the shutdown: the graphics part goes with it.
    if (!m_graphics)
        return;
    m_graphics->DeleteContextManager();
    delete m_graphics;
    m_graphics = nullptr;
}

bool PCApplicationImpl::GraphicsRefusesSwitch() {
    return m_graphics && m_graphics->RefusesSwitch();
}

u32 PCApplicationImpl::ResetGraphicDevice(u32 width, u32 height, u32 flags) {
    return m_graphics ? m_graphics->ResetDevice(width, height, flags) : flags;
}

void PCApplicationImpl::SetGraphicDeviceActive(bool active) {
    if (m_graphics)
        m_graphics->SetActive(active);
}
