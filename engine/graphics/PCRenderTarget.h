#pragma once
// An off-screen texture that receives a scaled copy of the back buffer.
#include "engine/core/AGTypes.h"

namespace platform::gfx {
class Texture;
}

class AGRenderTarget {
public:
    virtual ~AGRenderTarget() = default;
    virtual bool Create(u32 width, u32 height) = 0;
    // Copies the whole back buffer onto the target, scaled to its size.
    virtual void Capture() = 0;
};

class PCRenderTarget : public AGRenderTarget {
public:
    PCRenderTarget() = default;
    PCRenderTarget(const PCRenderTarget&) = delete;
    PCRenderTarget& operator=(const PCRenderTarget&) = delete;
    // Releases the texture under the device lock, then unregisters from resets.
    ~PCRenderTarget() override;

    // Stores the size, registers for device resets and creates the texture. False without a
    // device or when the texture cannot be made.
    bool Create(u32 width, u32 height) override;
    void Capture() override;

    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }
    platform::gfx::Texture* GetTexture() const { return m_texture; }

private:
    static void OnDeviceReset(void* context, bool restored);
    bool CreateTexture();
    void ReleaseTexture();

    u32 m_width = 0;
    u32 m_height = 0;
    u32 m_callbackId = 0;
    platform::gfx::Texture* m_texture = nullptr;
};
