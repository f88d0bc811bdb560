#pragma once
// "textureSlot": the content of one texture stage: one or more textures (a flip-book when
// there are several), an optional own controller, and a UV key track that either steps
// through the textures ("step") or animates the stage's 2D texture transform ("lerp").
//
// File: 12-byte header (skipped); u32 texture count T; T u32 texture name ids; u32
// own-controller flag; when not 0: u32 frame count, f32 speed, f32 frame rate; UV track
// record (AGUVKey values).
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "engine/graphics/AGTrack.h"
#include "platform/gfx/GfxTypes.h"

class PCTexture;

class AGTextureSlot : public AGResource, public AGAnimated {
public:
    AGTextureSlot() = default;
    // The provider's clone: controller, UV track and current frame copied; the textures are
    // taken again by name.
    AGTextureSlot(const AGTextureSlot& other);
    ~AGTextureSlot() override { ReleaseTextures(); }

    u32 GetTypeKey() const override { return TypeKey::TextureSlot; }
    // Textures are always taken shared. Frame counts below 1 and rates that are not positive
    // are made safe. A truncated or corrupt file leaves the slot without textures, with one
    // log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Binds the current texture to the stage with the transform of the UV key at the
    // controller's frame. Step keys choose the texture of a flip-book; a key naming a
    // texture the slot does not have is ignored. Without a texture the stage is unbound.
    void Update(u32 stage);
    // Gives every texture back.
    void ReleaseTextures();
    // Holds exactly this texture as frame 0; it stays its owner's, who takes it out with
    // ForgetTexture before the slot goes.
    void BorrowTexture(PCTexture* texture);
    // Every hold on the texture is cleared without giving it back.
    void ForgetTexture(const PCTexture* texture);

    // T1 x R(-a) x S x T2: about the texture's centre, rotation a brought into [-pi, pi],
    // scale and offset from the key.
    static platform::gfx::Matrix BuildUVMatrix(const AGUVKey& key);

    u32 TextureCount() const { return m_textures.Count(); }
    PCTexture* GetTexture(u32 index) const { return index < m_textures.Count() ? m_textures[index] : nullptr; }
    PCTexture* GetCurrentTexture() const { return m_currentTexture; }
    u32 GetCurrentFrame() const { return m_currentFrame; }
    bool IsFlipBook() const { return m_uvTrack.Interpolation() == AGInterpolation::Step; }

    AGTrack<AGUVKey> m_uvTrack;

private:
    void TakeTextures(const u32* ids, u32 count, u32 a, bool inPlace);

    AGOwnedBuffer<PCTexture*> m_textures;
    AGOwnedBuffer<u32> m_textureIds;
    u32 m_currentFrame = 0;
    PCTexture* m_currentTexture = nullptr;
};
