#pragma once
// "texture": an image on the graphic device. Loaded textures come from PNG files (the whole
// resource is the file, no header); the video player's frame texture is a dynamic X8R8G8B8
// texture whose texels the owner rewrites under the device lock. A texture that failed to
// load has size 0, binds as "no texture" and has no pixels to read or write.
#include "engine/core/AGResource.h"
#include "engine/core/AGTypes.h"
#include "engine/core/Crc32Hash.h"
#include "platform/gfx/GfxTypes.h"

namespace platform::gfx {
class Texture;
}

class PCTexture : public AGResource {
public:
    // Address modes of SetAddressMode.
    static constexpr u32 kClamp = 0;
    static constexpr u32 kWrap = 1;
    static constexpr u32 kMirror = 2;

    PCTexture() = default;
    // The provider's clone: its own device texture with the same texels.
    PCTexture(const PCTexture& other);
    PCTexture& operator=(const PCTexture&) = delete;
    ~PCTexture() override { ReleaseTexture(); }

    u32 GetTypeKey() const override { return TypeKey::Texture; }
    // Decodes the PNG into a new device texture (once: a texture that exists is kept). A
    // missing or undecodable file, or no graphic device, leaves size 0 with one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Replaces the device texture with a dynamic one of width x height, under the device
    // lock. False when there is no device or the texture cannot be made.
    bool CreateDynamicTexture(u32 width, u32 height);
    // Releases the device texture under the device lock.
    void ReleaseTexture();

    // Within a frame: the texture's address modes on the stage's sampler, and the texture on
    // the stage (none when it has no pixels).
    void Bind(u32 stage) const;
    // No texture on the stage.
    static void Unbind(u32 stage);
    // The 2D texture transform of the stage: the translation row of the 4x4 matrix moves to
    // the third row, as two-coordinate transforms take it.
    static void SetStageTransform(u32 stage, const platform::gfx::Matrix& matrix);
    // The stage's coordinates untransformed.
    static void ResetStage(u32 stage);

    // width x height pixels as RGBA (the texture holds ARGB), rows top first. False when the
    // texture has no pixels.
    bool ReadPixels(u32* rgba) const;
    bool WritePixels(const u32* rgba);
    // axis 0 = U, 1 = V; mode kClamp, kWrap or kMirror (others are ignored).
    void SetAddressMode(u32 axis, u32 mode);

    platform::gfx::Texture* GetDeviceTexture() const { return m_texture; }
    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }

private:
    platform::gfx::Texture* m_texture = nullptr;
    u32 m_width = 0;
    u32 m_height = 0;
    platform::gfx::TextureAddress m_address[2] = {platform::gfx::TextureAddress::Wrap,
                                                  platform::gfx::TextureAddress::Wrap};
};
