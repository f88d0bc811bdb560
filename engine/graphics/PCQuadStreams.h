#pragma once
// The device side that sprites, texts and emitters share: position (stream 0), colour (2) and,
// when textured, texture-coordinate (3) vertex buffers, an optional 16-bit index buffer and
// their declaration; the render-attribute part that draws them; and the states of their own
// draws, with the blend-mode tables of 2D renderables.
#include "engine/core/AGTypes.h"
#include "platform/gfx/GfxTypes.h"

namespace platform::gfx {
class BufferResource;
class Device;
class IndexBuffer;
class VertexBuffer;
class VertexDeclaration;
}  // namespace platform::gfx

class AGMaterial;
class AGRenderAttribute;

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

// The first states of an own draw: the material's textures (none: stage 0 unbound), the world
// transform, depth test without depth writes, the cull mode, alpha blending when asked, and
// light 0 off.
void PCBeginOwnDraw(platform::gfx::Device& device, AGMaterial* material,
                    const platform::gfx::Matrix& world, platform::gfx::Cull cull, bool alphaBlend);

class PCQuadStreams {
public:
    PCQuadStreams() = default;
    PCQuadStreams(const PCQuadStreams&) = delete;
    PCQuadStreams& operator=(const PCQuadStreams&) = delete;
    ~PCQuadStreams() { Release(); }

    // Buffers for `vertices` vertices (texture coordinates only when textured) and, when
    // indexBytes is not 0, an index buffer of that size. All or nothing: false (and nothing
    // held) without a device or when a creation fails.
    bool Create(u32 vertices, bool textured, u32 indexBytes);
    void Release();

    bool Ready() const { return m_declaration != nullptr; }
    platform::gfx::VertexBuffer* Positions() const { return m_positions; }
    platform::gfx::VertexBuffer* Colors() const { return m_colors; }
    platform::gfx::VertexBuffer* TexCoords() const { return m_texCoords; }
    platform::gfx::IndexBuffer* Indices() const { return m_indices; }

    // Copies bytes to the start of a buffer under the device lock; nothing for a null buffer
    // or source.
    static void Copy(platform::gfx::BufferResource* to, const void* from, u32 bytes);
    // Copy when dirty is set, which is then cleared (unless there was nothing to copy).
    static void CopyIfDirty(platform::gfx::BufferResource* to, const void* from, u32 bytes, u8& dirty);

    // Part 0's declaration, streams and index buffer.
    void FillPart(AGRenderAttribute& attribute) const;
    // Stage 0 sampling, the streams and the draw: an indexed triangle list with an index
    // buffer, else a triangle strip; lighting off afterwards.
    void Draw(platform::gfx::Device& device, u32 vertexCount, u32 primitiveCount) const;

private:
    platform::gfx::VertexBuffer* m_positions = nullptr;
    platform::gfx::VertexBuffer* m_colors = nullptr;
    platform::gfx::VertexBuffer* m_texCoords = nullptr;
    platform::gfx::IndexBuffer* m_indices = nullptr;
    platform::gfx::VertexDeclaration* m_declaration = nullptr;
};
