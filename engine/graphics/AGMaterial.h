#pragma once
// "material" (".mat"): what a drawn surface is shaded with: ARGB diffuse, ambient and
// specular colours, a specular power, an alpha track (the material is animated when it has
// keys), and ordered texture slots, slot i feeding texture stage i.
//
// File: 12-byte header (skipped); u32 diffuse; u32 ambient; u32 specular; f32 power; alpha
// track record (f32 values); u32 slot count N; N u32 texture-slot name ids.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "engine/graphics/AGTrack.h"

class AGTextureSlot;

class AGMaterial : public AGResource {
public:
    AGMaterial() = default;
    // The provider's clone: colours, power and alpha track copied; every texture slot is
    // taken again as an instance.
    AGMaterial(const AGMaterial& other);
    ~AGMaterial() override;

    u32 GetTypeKey() const override { return TypeKey::Material; }
    // Slots are taken shared or as instances as shared says. A truncated or corrupt file
    // leaves the material without slots and with the default colours, with one log line.
    // Update runs last.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Builds the device material (device side).
    virtual void Update() {}
    // Advances the own controller of every slot that has one, once per frame of the frame
    // timer however many renderables drawing the material ask.
    virtual void UpdateControllers();
    // Sets the device material (device side).
    virtual void Apply() {}
    // Gives every slot back.
    virtual void ReleaseTextureSlots();
    // Gives its slots back and holds exactly this one, given back in turn with the material.
    void SetSingleSlot(AGTextureSlot* slot);
    // Each slot binds its texture to its stage, up to the device's stage count; without
    // slots, stage 0 is left without a texture.
    virtual void BindTextures();
    // No texture on stage 0 (device side).
    virtual void UnbindTexture() {}

    // The largest width and height among the slots' current textures, skipping slots without
    // a texture and textures without pixels. False when there is none.
    bool GetLargestTextureSize(u32& width, u32& height) const;
    bool IsAnimated() const { return !m_alphaTrack.Empty(); }
    // The frame the alpha track is read at: the first slot's current controller frame, else 0.
    f32 GetAlphaFrame() const;
    u32 SlotCount() const { return m_slots.Count(); }
    AGTextureSlot* GetSlot(u32 index) const { return index < m_slots.Count() ? m_slots[index] : nullptr; }
    bool IsFlipBook() const { return m_flipBook != 0; }

    AGTrack<f32> m_alphaTrack;
    u32 m_ambient = 0xFFFFFFFFu;
    u32 m_diffuse = 0xFFFFFFFFu;
    u32 m_specular = 0xFFFFFFFFu;
    f32 m_power = 0.0f;

private:
    void TakeSlots(const u32* ids, u32 count, u32 a, bool inPlace, bool shared);

    AGOwnedBuffer<AGTextureSlot*> m_slots;
    AGOwnedBuffer<u32> m_slotIds;
    u8 m_flipBook = 0;
};
