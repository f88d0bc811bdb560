#include "engine/graphics/PCGraphicsStartup.h"

#include "engine/graphics/AGGraphicsProviders.h"
#include "engine/graphics/AGModelProviders.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"

void InstallGraphicsStartup() {
    AGApplicationGraphics::s_implFactory = [] { return static_cast<AGApplicationGraphics*>(new PCGraphicsStartup()); };
}

void PCGraphicsStartup::CreateDeviceObject() {
    auto* device = new PCGraphicDevice();
    device->SetScale(1.0f, 1.0f);
    PCGraphicDevice::SetInstance(device);
}

void PCGraphicsStartup::CreateContextManager() {
    PCContextManager::SetInstance(new PCContextManager());
}

void PCGraphicsStartup::RegisterProviders(AGResourceManager* resources) {
    RegisterGraphicsProviders(resources);
    RegisterModelProviders(resources);
}

bool PCGraphicsStartup::StartDevice(void* surface, u32 width, u32 height, u32 flags) {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device || !device->Initialize(surface, width, height, flags))
        return false;
    device->SetScale(1.0f, 1.0f);
    return true;
}

const char* PCGraphicsStartup::GetFailureReason() const {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    return device ? device->GetFailureReason() : "no graphic device object";
}

u32 PCGraphicsStartup::GetModeFlags() const {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    return device ? device->GetModeFlags() : 0;
}

void PCGraphicsStartup::RenderFrame() {
    if (PCGraphicDevice* device = PCGraphicDevice::Get()) {
        device->UpdateLayers();
        device->RenderFrame();
    }
}

bool PCGraphicsStartup::FrameSkipped() const {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    return device && device->FrameSkipped();
}

void PCGraphicsStartup::InvalidateFrame() {
    if (PCGraphicDevice* device = PCGraphicDevice::Get())
        device->InvalidateFrame();
}

u32 PCGraphicsStartup::ResetDevice(u32 width, u32 height, u32 flags) {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device || !device->GetDevice())
        return flags;
    device->ResetDevice(width, height, flags);
    return device->GetModeFlags();
}

void PCGraphicsStartup::SetActive(bool active) {
    if (PCGraphicDevice* device = PCGraphicDevice::Get())
        device->SetActive(active);
}

void PCGraphicsStartup::DeleteDevice() {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device)
        return;
    device->Shutdown();
    PCGraphicDevice::SetInstance(nullptr);
    delete device;
}

void PCGraphicsStartup::DeleteContextManager() {
    PCContextManager* context = PCContextManager::Get();
    PCContextManager::SetInstance(nullptr);
    delete context;
}
