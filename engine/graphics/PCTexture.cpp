#include "engine/graphics/PCTexture.h"

#include <cstring>
#include <string>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/PCDeviceLock.h"

using namespace platform::gfx;

namespace {

// Copies width x height texels between a locked texture (rows of pitch bytes) and a packed
// array, rotating each pixel: left by 8 bits (ARGB to RGBA) or right by 8 (RGBA to ARGB).
void CopyRotated(const u8* src, u32 srcPitch, u8* dst, u32 dstPitch, u32 width, u32 height,
                 bool left) {
    for (u32 y = 0; y < height; ++y) {
        const u32* from = reinterpret_cast<const u32*>(src + size_t(y) * srcPitch);
        u32* to = reinterpret_cast<u32*>(dst + size_t(y) * dstPitch);
        for (u32 x = 0; x < width; ++x)
            to[x] = left ? (from[x] << 8) | (from[x] >> 24) : (from[x] >> 8) | (from[x] << 24);
    }
}

}  // namespace

PCTexture::PCTexture(const PCTexture& other) : AGResource(other) {
    m_address[0] = other.m_address[0];
    m_address[1] = other.m_address[1];
    Texture* source = other.m_texture;
    Device* device = PCCurrentDevice();
    if (!source || !device)
        return;
    PCDeviceLock lock;
    LockedRect from{}, to{};
    Texture* copy = device->CreateTexture(source->Width(), source->Height(), source->GetUsage(),
                                          source->GetFormat());
    if (!copy)
        return;
    if (source->LockRect(from, true)) {
        if (copy->LockRect(to, false)) {
            for (u32 y = 0; y < source->Height(); ++y)
                std::memcpy(static_cast<u8*>(to.bits) + size_t(y) * to.pitch,
                            static_cast<const u8*>(from.bits) + size_t(y) * from.pitch,
                            size_t(source->Width()) * 4);
            copy->UnlockRect();
        }
        source->UnlockRect();
    }
    m_texture = copy;
    m_width = copy->Width();
    m_height = copy->Height();
}

void PCTexture::Load(AGMemBuffer* buffer, u32, bool, bool) {
    if (m_texture)
        return;
    if (!buffer || buffer->Size() == 0) {
        AGReport("Texture 0x%08X: no image data.", NameId());
        return;
    }
    Device* device = PCCurrentDevice();
    if (!device) {
        AGReport("Texture 0x%08X: no graphic device to load it on.", NameId());
        return;
    }
    PCContextManager* context = PCContextManager::Get();
    const u32 usage = context && context->Is9Ex() ? kUsageDynamic : 0u;
    std::string error;
    PCDeviceLock lock;
    m_texture = device->CreateTextureFromPng(buffer->Base(), buffer->Size(), usage, error);
    if (!m_texture) {
        AGReport("Texture 0x%08X: %s", NameId(), error.c_str());
        return;
    }
    m_width = m_texture->Width();
    m_height = m_texture->Height();
}

bool PCTexture::CreateDynamicTexture(u32 width, u32 height) {
    ReleaseTexture();
    Device* device = PCCurrentDevice();
    if (!PCGraphicDevice::Get() || !device)
        return false;
    PCDeviceLock lock;
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
    // Without the graphic device there is no lock to take and no GL object left to free.
    PCReleaseDeviceObject(m_texture);
}

void PCTexture::Bind(u32 stage) const {
    Device* device = PCCurrentDevice();
    if (!device || stage >= kMaxStages)
        return;
    device->SetSamplerState(stage, SamplerState::AddressU, m_address[0]);
    device->SetSamplerState(stage, SamplerState::AddressV, m_address[1]);
    device->SetTexture(stage, m_texture);
}

void PCTexture::Unbind(u32 stage) {
    if (Device* device = PCCurrentDevice(); device && stage < kMaxStages)
        device->SetTexture(stage, nullptr);
}

void PCTexture::SetStageTransform(u32 stage, const Matrix& matrix) {
    Device* device = PCCurrentDevice();
    if (!device || stage >= kMaxStages)
        return;
    Matrix m = matrix;
    m.m[8] = matrix.m[12];
    m.m[9] = matrix.m[13];
    m.m[10] = matrix.m[14];
    m.m[11] = matrix.m[15];
    m.m[12] = m.m[13] = m.m[14] = 0.0f;
    m.m[15] = 1.0f;
    device->SetTransform(TextureTransformOf(stage), m);
    device->SetTextureStageState(stage, StageState::TextureTransformFlags, TextureTransform::Count2);
}

void PCTexture::ResetStage(u32 stage) {
    if (Device* device = PCCurrentDevice(); device && stage < kMaxStages)
        device->SetTextureStageState(stage, StageState::TextureTransformFlags,
                                     TextureTransform::Disable);
}

bool PCTexture::ReadPixels(u32* rgba) const {
    if (!m_texture || !rgba)
        return false;
    PCDeviceLock lock;
    LockedRect locked{};
    if (!m_texture->LockRect(locked, true))
        return false;
    CopyRotated(static_cast<const u8*>(locked.bits), locked.pitch, reinterpret_cast<u8*>(rgba),
                m_width * 4, m_width, m_height, true);
    m_texture->UnlockRect();
    return true;
}

bool PCTexture::WritePixels(const u32* rgba) {
    if (!m_texture || !rgba)
        return false;
    PCDeviceLock lock;
    LockedRect locked{};
    if (!m_texture->LockRect(locked, false))
        return false;
    CopyRotated(reinterpret_cast<const u8*>(rgba), m_width * 4, static_cast<u8*>(locked.bits),
                locked.pitch, m_width, m_height, false);
    m_texture->UnlockRect();
    return true;
}

void PCTexture::SetAddressMode(u32 axis, u32 mode) {
    static const TextureAddress kModes[] = {TextureAddress::Clamp, TextureAddress::Wrap,
                                            TextureAddress::Mirror};
    if (axis < 2 && mode < 3)
        m_address[axis] = kModes[mode];
}
