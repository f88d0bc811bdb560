#include "engine/graphics/PCRenderTarget.h"

#include "engine/graphics/PCGraphicDevice.h"

using namespace platform::gfx;

PCRenderTarget::~PCRenderTarget() {
    ReleaseTexture();
    if (PCGraphicDevice* device = PCGraphicDevice::Get(); device && m_callbackId != 0)
        device->UnregisterResetCallback(m_callbackId);
}

bool PCRenderTarget::Create(u32 width, u32 height) {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device)
        return false;
    m_width = width;
    m_height = height;
    if (m_callbackId == 0)
        m_callbackId = device->RegisterResetCallback(this, &PCRenderTarget::OnDeviceReset);
    return CreateTexture();
}

bool PCRenderTarget::CreateTexture() {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device || !device->GetDevice())
        return false;
    std::lock_guard<std::recursive_mutex> lock(device->GetLock());
    if (m_texture)
        m_texture->Release();
    m_texture = device->GetDevice()->CreateTexture(m_width, m_height, kUsageRenderTarget, Format::X8R8G8B8);
    return m_texture != nullptr;
}

void PCRenderTarget::ReleaseTexture() {
    if (!m_texture)
        return;
    // Without the graphic device there is no lock to take and no GL object left to free.
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (device)
        device->Lock();
    m_texture->Release();
    m_texture = nullptr;
    if (device)
        device->Unlock();
}

void PCRenderTarget::Capture() {
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (!device || !device->GetDevice() || !m_texture)
        return;
    std::lock_guard<std::recursive_mutex> lock(device->GetLock());
    device->GetDevice()->StretchBackBufferTo(m_texture, true);
}

void PCRenderTarget::OnDeviceReset(void* context, bool restored) {
    auto* target = static_cast<PCRenderTarget*>(context);
    if (restored)
        target->CreateTexture();
    else
        target->ReleaseTexture();
}
