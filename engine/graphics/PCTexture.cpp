#include "engine/graphics/PCTexture.h"

#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"

using namespace platform::gfx;

bool PCTexture::CreateDynamicTexture(u32 width, u32 height) {
    ReleaseTexture();
    PCGraphicDevice* graphics = PCGraphicDevice::Get();
    PCContextManager* context = PCContextManager::Get();
    Device* device = context ? context->GetDevice() : nullptr;
    if (!graphics || !device)
        return false;
    std::lock_guard<std::recursive_mutex> lock(graphics->GetLock());
    m_texture = device->CreateTexture(width, height, kUsageDynamic, Format::X8R8G8B8);
    if (!m_texture)
        return false;
    m_width = width;
    m_height = height;
    return true;
}

void PCTexture::ReleaseTexture() {
    m_width = 0;
    m_height = 0;
    if (!m_texture)
        return;
    // Without the graphic device there is no lock to take and no GL object left to free.
    PCGraphicDevice* graphics = PCGraphicDevice::Get();
    if (graphics)
        graphics->Lock();
    m_texture->Release();
    m_texture = nullptr;
    if (graphics)
        graphics->Unlock();
}
