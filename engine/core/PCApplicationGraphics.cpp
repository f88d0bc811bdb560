// The application's graphics part: the graphic device and its context manager.
#include <cstdio>

#include "engine/core/AGLog.h"
#include "engine/core/AGProgram.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/graphics/AGGraphicsProviders.h"
#include "engine/graphics/AGModelProviders.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"

bool PCApplicationImpl::CreateGraphicDeviceObject() {
    auto* device = new PCGraphicDevice();
    device->SetScale(1.0f, 1.0f);
    PCGraphicDevice::SetInstance(device);
    return true;
}

bool PCApplicationImpl::CreateContextManager() {
    PCContextManager::SetInstance(new PCContextManager());
    return true;
}

bool PCApplicationImpl::CreateGraphicDevice() {
    // The graphics resource classes take over their providers from the core's placeholders.
    RegisterGraphicsProviders(AGResourceManager::Get());
    RegisterModelProviders(AGResourceManager::Get());
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device)
        return true;
    void* surface = m_window ? m_window->NativeHandle() : nullptr;
    if (!surface) {
        // A window backend without a system window (the test backend): no frames to draw.
        AGReport("Graphic device: the window has no system surface; running without graphics.");
        return true;
    }
    if (!device->Initialize(surface, m_width, m_height, m_flags)) {
        fprintf(stderr, "%s: cannot start the graphics: %s\n", m_programName.c_str(),
                device->GetFailureReason());
        return false;
    }
    device->SetScale(1.0f, 1.0f);
    u32 granted = device->GetModeFlags();
    if ((granted & (kSettingFullscreen | kSettingMultisampling)) !=
        (m_flags & (kSettingFullscreen | kSettingMultisampling))) {
        m_flags = (m_flags & ~(kSettingFullscreen | kSettingMultisampling)) |
                  (granted & (kSettingFullscreen | kSettingMultisampling));
        ApplyWindowStyle();
    }
    return true;
}

void PCApplicationImpl::RenderFrame() {
    if (PCGraphicDevice* device = PCGraphicDevice::Get()) {
        device->UpdateLayers();
        device->RenderFrame();
    }
}

void PCApplicationImpl::DeleteGraphicDevice() {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device)
        return;
    device->Shutdown();
    PCGraphicDevice::SetInstance(nullptr);
    delete device;
}

void PCApplicationImpl::DeleteContextManager() {
    PCContextManager* context = PCContextManager::Get();
    PCContextManager::SetInstance(nullptr);
    delete context;
}

bool PCApplicationImpl::GraphicsRefusesSwitch() {
    // The OpenGL device can always switch.
    return false;
}

u32 PCApplicationImpl::ResetGraphicDevice(u32 width, u32 height, u32 flags) {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device || !device->GetDevice())
        return flags;
    device->ResetDevice(width, height, flags);
    return device->GetModeFlags();
}

void PCApplicationImpl::SetGraphicDeviceActive(bool active) {
    if (PCGraphicDevice* device = PCGraphicDevice::Get())
        device->SetActive(active);
}
