#pragma once
// The draw data of one renderable, drawn by the layer's renderer. A renderable is drawn as
// one or more parts; each per-part array holds one entry per part and may be borrowed (it
// then points into data the renderable does not own and is not freed with it).
#include "engine/core/AGTypes.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "platform/gfx/GfxTypes.h"

namespace platform::gfx {
class VertexDeclaration;
class VertexBuffer;
class IndexBuffer;
}  // namespace platform::gfx

class AGMaterial;
class AGLight;

// The vertex streams of one part.
struct AGVertexStreams {
    struct Entry {
        platform::gfx::VertexBuffer* buffer = nullptr;
        u32 stream = 0;
        u32 offset = 0;
        u32 stride = 0;
    };
    Entry entries[platform::gfx::kMaxStreams];
    u32 count = 0;
};

class AGRenderAttribute {
public:
    // Render types of a part.
    enum RenderType : u32 {
        kOnlyColor = 0,
        kDiffuse = 1,
        kDiffuseAlpha = 2,
        kAdditive = 3,
        kSimpleChrome = 4,
        kMoreChrome = 5,
    };
    // Cull modes of a part: none, clockwise, counter-clockwise.
    enum Cull : u32 { kCullNone = 0, kCullCW = 1, kCullCCW = 2 };
    // Primitive kinds; any other value draws an indexed triangle list.
    enum Primitive : u32 { kLineList = 1, kTriangleStrip = 4, kTriangleFan = 5, kTriangleList = 0 };

    AGRenderAttribute() = default;
    AGRenderAttribute(const AGRenderAttribute&) = delete;
    AGRenderAttribute& operator=(const AGRenderAttribute&) = delete;

    // Owned arrays of n parts, zeroed (depth writes on); false when memory runs out, which
    // leaves no parts.
    bool SetPartCount(u32 n);
    u32 PartCount() const { return m_declarations.Count(); }
    // Frees every owned array; the attribute is no longer ready.
    void Clear();

    AGOwnedBuffer<platform::gfx::VertexDeclaration*> m_declarations;  // null: part skipped
    AGOwnedBuffer<AGVertexStreams> m_streams;
    AGOwnedBuffer<platform::gfx::IndexBuffer*> m_indexBuffers;
    AGOwnedBuffer<u32> m_vertexCounts;
    AGOwnedBuffer<u32> m_primitiveCounts;
    AGOwnedBuffer<u32> m_renderTypes;
    AGOwnedBuffer<u32> m_cullModes;
    AGOwnedBuffer<u32> m_parameters;
    AGOwnedBuffer<u8> m_depthWrites;
    AGOwnedBuffer<u32> m_values;
    AGOwnedBuffer<AGMaterial*> m_materials;

    // Row-major, translation in elements 12-14; null means identity.
    const platform::gfx::Matrix* m_world = nullptr;
    AGLight* m_light = nullptr;
    u32 m_primitiveKind = kTriangleList;
    // Drawn only when set.
    u8 m_ready = 0;
};
