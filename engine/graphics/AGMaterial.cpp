#include "engine/graphics/AGMaterial.h"

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/PCTexture.h"
#include "platform/gfx/GfxTypes.h"

AGMaterial::AGMaterial(const AGMaterial& other)
    : AGResource(other),
      m_alphaTrack(other.m_alphaTrack),
      m_ambient(other.m_ambient),
      m_diffuse(other.m_diffuse),
      m_specular(other.m_specular),
      m_power(other.m_power) {
    TakeSlots(other.m_slotIds.Data(), other.m_slotIds.Count(), 0, false, false);
}

AGMaterial::~AGMaterial() {
    // Not virtual here: the device side is already gone.
    AGMaterial::ReleaseTextureSlots();
}

void AGMaterial::SetSingleSlot(AGTextureSlot* slot) {
    ReleaseTextureSlots();
    if (!slot || !m_slots.Resize(1) || !m_slotIds.Resize(1)) {
        m_slots.Release();
        m_slotIds.Release();
        AGGiveBackResource(TypeKey::TextureSlot, slot);
        return;
    }
    m_slots[0] = slot;
    m_slotIds[0] = 0;
    m_flipBook = slot->IsFlipBook() ? 1 : 0;
}

void AGMaterial::TakeSlots(const u32* ids, u32 count, u32 a, bool inPlace, bool shared) {
    AGTakeAll(TypeKey::TextureSlot, ids, count, shared, a, inPlace, m_slotIds, m_slots);
    for (const AGTextureSlot* slot : m_slots)
        if (slot && slot->IsFlipBook())
            m_flipBook = 1;
}

void AGMaterial::Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) {
    ReleaseTextureSlots();
    m_alphaTrack.Clear();
    if (buffer) {
        AGMemBuffer& b = *buffer;
        b.Skip(12);
        const u32 diffuse = b.ReadU32();
        const u32 ambient = b.ReadU32();
        const u32 specular = b.ReadU32();
        const f32 power = b.ReadF32();
        if (!b.Failed())
            m_alphaTrack.Read(b, inPlace);
        AGOwnedBuffer<u32> ids;
        AGReadNameIds(b, b.ReadU32(), ids);
        if (b.Failed()) {
            m_alphaTrack.Clear();
            AGReport("Material 0x%08X: truncated or corrupt file, left empty.", NameId());
        } else {
            m_diffuse = diffuse;
            m_ambient = ambient;
            m_specular = specular;
            m_power = power;
            TakeSlots(ids.Data(), ids.Count(), a, inPlace, shared);
        }
    }
    Update();
}

void AGMaterial::UpdateControllers() {
    for (AGTextureSlot* slot : m_slots)
        if (slot && slot->GetOwnedController())
            slot->GetOwnedController()->UpdateOncePerFrame();
}

void AGMaterial::ReleaseTextureSlots() {
    AGGiveBackAll(TypeKey::TextureSlot, m_slotIds, m_slots);
    m_flipBook = 0;
}

void AGMaterial::BindTextures() {
    if (m_slots.Empty()) {
        UnbindTexture();
        return;
    }
    // Slots beyond the device's stages have nowhere to go.
    const u32 stages = m_slots.Count() < platform::gfx::kMaxStages ? m_slots.Count()
                                                                   : platform::gfx::kMaxStages;
    for (u32 i = 0; i < stages; ++i) {
        if (m_slots[i])
            m_slots[i]->Update(i);
        else
            PCTexture::Unbind(i);
    }
}

bool AGMaterial::GetLargestTextureSize(u32& width, u32& height) const {
    u32 w = 0, h = 0;
    for (const AGTextureSlot* slot : m_slots) {
        const PCTexture* texture = slot ? slot->GetCurrentTexture() : nullptr;
        if (!texture || texture->GetWidth() == 0 || texture->GetHeight() == 0)
            continue;
        if (texture->GetWidth() > w)
            w = texture->GetWidth();
        if (texture->GetHeight() > h)
            h = texture->GetHeight();
    }
    if (w == 0)
        return false;
    width = w;
    height = h;
    return true;
}

f32 AGMaterial::GetAlphaFrame() const {
    const AGTextureSlot* first = m_slots.Empty() ? nullptr : m_slots[0];
    const AGController* controller = first ? first->GetController() : nullptr;
    return controller ? controller->GetOutput() : 0.0f;
}
