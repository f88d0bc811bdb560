#pragma once
// The device side of a sprite: position (48 bytes), colour (16) and, when textured, texture
// coordinate (32) vertex buffers in streams 0, 2 and 3, uploaded when dirty; a render
// attribute of one part (render type 2, cull 1, two primitives, triangle strip, the sprite's
// material); and the sprite's own draw with the states of its blend mode.
#include "engine/graphics/AGSprite.h"

namespace platform::gfx {
class Device;
class VertexBuffer;
class VertexDeclaration;
}  // namespace platform::gfx

// One row of a blend-mode table: the states a 2D renderable's own draw sets on stage 0.
struct PCBlendStates {
    static constexpr u32 kUnset = 0xFFFFFFFFu;
    u32 depthWrite;  // 0 or 1
    u32 blend;       // 0 off, 1 SRCALPHA/INVSRCALPHA, 2 SRCALPHA/ONE
    u32 colorOp, colorArg1, alphaOp, alphaArg1;  // TextureOp / TextureArg values or kUnset
};
void PCApplyBlendStates(platform::gfx::Device& device, const PCBlendStates& states);
// The alpha byte of an opacity: int(opacity x 255), clamped to 0-255.
u32 PCOpacityAlpha(f32 opacity);

class PCSprite : public AGSprite {
public:
    PCSprite() = default;
    // The provider's clone: the engine sprite copied, then built again with its own device
    // objects.
    PCSprite(const PCSprite& other);
    ~PCSprite() override;

    void Initialize() override;
    // The engine update, then the dirty arrays go to the device.
    void Update() override;
    void Draw() override;
    void Prepare() override;
    // Recolours every vertex when the colour changes.
    void SetColor(u32 argb) override;
    // Alpha byte := opacity x 255.
    void SetOpacity(f32 opacity) override;

private:
    void CreateDeviceObjects();
    void ReleaseDeviceObjects();
    void BuildAttribute();
    void Upload();

    platform::gfx::VertexBuffer* m_positions = nullptr;
    platform::gfx::VertexBuffer* m_colors = nullptr;
    platform::gfx::VertexBuffer* m_texCoords = nullptr;
    platform::gfx::VertexDeclaration* m_declaration = nullptr;
};
