#pragma once
// A texture of the graphic device. So far it serves the video player's frame texture: a
// dynamic X8R8G8B8 texture whose texels the owner rewrites under the device lock. The object
// may exist without a device texture (no pixels).
#include "engine/core/AGTypes.h"

namespace platform::gfx {
class Texture;
}

class PCTexture {
public:
    PCTexture() = default;
    PCTexture(const PCTexture&) = delete;
    PCTexture& operator=(const PCTexture&) = delete;
    ~PCTexture() { ReleaseTexture(); }

    // Replaces the device texture with a dynamic one of width x height, under the device
    // lock. False when there is no device or the texture cannot be made.
    bool CreateDynamicTexture(u32 width, u32 height);
    // Releases the device texture under the device lock.
    void ReleaseTexture();

    platform::gfx::Texture* GetDeviceTexture() const { return m_texture; }
    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }

private:
    platform::gfx::Texture* m_texture = nullptr;
    u32 m_width = 0;
    u32 m_height = 0;
};
