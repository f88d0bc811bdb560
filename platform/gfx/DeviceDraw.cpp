// Geometry bindings and draws, from client memory.
#include <algorithm>
#include <climits>

#include "platform/gfx/Device.h"
#include "platform/gfx/GlHeaders.h"

namespace platform::gfx {

namespace {

enum ArrayBit : uint32_t {
    kArrayVertex = 1,
    kArrayNormal = 2,
    kArrayColor = 4,
    kArrayTexCoord0 = 8,  // one bit per unit from here
};

uint32_t ElementSize(DeclType type) {
    switch (type) {
        case DeclType::Float2: return 8;
        case DeclType::Float3: return 12;
        default: return 4;
    }
}

// Vertices (or indices) a primitive count covers; 0 for an unknown type.
uint64_t VerticesOf(PrimitiveType type, uint32_t count) {
    switch (type) {
        case PrimitiveType::LineList: return uint64_t(count) * 2;
        case PrimitiveType::TriangleList: return uint64_t(count) * 3;
        case PrimitiveType::TriangleStrip:
        case PrimitiveType::TriangleFan: return uint64_t(count) + 2;
    }
    return 0;
}

GLenum GlMode(PrimitiveType type) {
    switch (type) {
        case PrimitiveType::LineList: return GL_LINES;
        case PrimitiveType::TriangleStrip: return GL_TRIANGLE_STRIP;
        case PrimitiveType::TriangleFan: return GL_TRIANGLE_FAN;
        default: return GL_TRIANGLES;
    }
}

}  // namespace

void Device::SetVertexDeclaration(VertexDeclaration* declaration) {
    Rebind(m_declaration, declaration);
}

void Device::SetFVF(uint32_t fvf) {
    if (!(fvf & kFvfXyz)) {
        SetVertexDeclaration(nullptr);
        return;
    }
    const VertexElement elements[] = {{0, 0, DeclType::Float3, DeclUsage::Position, 0},
                                      {0, 12, DeclType::Float2, DeclUsage::TexCoord, 0}};
    VertexDeclaration* declaration = CreateVertexDeclaration(elements, (fvf & kFvfTex1) ? 2 : 1);
    SetVertexDeclaration(declaration);
    if (declaration)
        declaration->Release();
}

void Device::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) {
    if (stream >= kMaxStreams)
        return;
    Rebind(m_streams[stream].buffer, buffer);
    m_streams[stream].offset = offset;
    m_streams[stream].stride = stride;
}

void Device::SetIndices(IndexBuffer* indices) {
    Rebind(m_indices, indices);
}

bool Device::BindArrays(int64_t baseVertex, uint32_t first, uint32_t count) {
    if (!m_declaration || count == 0 || baseVertex < 0)
        return false;
    ArraySource position, normal, color, texCoords[kMaxStages];
    for (const VertexElement& e : m_declaration->Elements()) {
        const Stream& stream = m_streams[e.stream];
        if (!stream.buffer || stream.stride == 0)
            return false;
        uint64_t last = uint64_t(baseVertex) + first + count - 1;
        uint64_t end = uint64_t(stream.offset) + e.offset + last * stream.stride + ElementSize(e.type);
        if (end > stream.buffer->Size())
            return false;
        ArraySource source;
        source.base = stream.buffer->Data() + stream.offset + e.offset + baseVertex * int64_t(stream.stride);
        source.stride = stream.stride;
        source.type = e.type;
        source.present = true;
        switch (e.usage) {
            case DeclUsage::Position:
                if (e.type == DeclType::Color)
                    return false;
                position = source;
                break;
            case DeclUsage::Normal:
                if (e.type != DeclType::Float3)
                    return false;
                normal = source;
                break;
            case DeclUsage::Color:
                if (e.type != DeclType::Color)
                    return false;
                color = source;
                break;
            case DeclUsage::TexCoord:
                if (e.type == DeclType::Color)
                    return false;
                texCoords[e.usageIndex] = source;
                break;
        }
    }
    if (!position.present)
        return false;

    uint32_t wanted = kArrayVertex;
    glVertexPointer(position.type == DeclType::Float3 ? 3 : 2, GL_FLOAT, GLsizei(position.stride), position.base);
    if (normal.present) {
        wanted |= kArrayNormal;
        glNormalPointer(GL_FLOAT, GLsizei(normal.stride), normal.base);
    } else if (!(m_glCurrentKnown & kArrayNormal)) {
        m_glCurrentKnown |= kArrayNormal;
        glNormal3f(0.0f, 0.0f, 0.0f);
    }
    if (color.present) {
        wanted |= kArrayColor;
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(color.stride), color.base);
    } else if (!(m_glCurrentKnown & kArrayColor)) {
        m_glCurrentKnown |= kArrayColor;
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        // With colour material on, the current colour is also the material's diffuse.
        if (m_colorMaterialApplied != 0)
            m_glMaterialKnown = false;
    }
    for (uint32_t unit = 0; unit < kMaxStages; ++unit) {
        if (!((m_unitsEnabled >> unit) & 1u))
            continue;
        uint32_t index = m_stages[unit].states[uint32_t(StageState::TexCoordIndex)];
        if (index & kTexCoordSphereMap)
            continue;
        const ArraySource& tc = texCoords[index < kMaxStages ? index : 0];
        if (index >= kMaxStages || !tc.present) {
            if (!(m_glCurrentKnown & (kArrayTexCoord0 << unit))) {
                m_glCurrentKnown |= kArrayTexCoord0 << unit;
                glMultiTexCoord4f(GL_TEXTURE0 + unit, 0.0f, 0.0f, 0.0f, 1.0f);
            }
            continue;
        }
        wanted |= kArrayTexCoord0 << unit;
        SetClientUnit(unit);
        glTexCoordPointer(tc.type == DeclType::Float3 ? 3 : 2, GL_FLOAT, GLsizei(tc.stride), tc.base);
    }

    uint32_t changed = wanted ^ m_enabledArrays;
    auto toggle = [&](uint32_t bit, GLenum array) {
        if (changed & bit)
            ((wanted & bit) ? glEnableClientState : glDisableClientState)(array);
    };
    toggle(kArrayVertex, GL_VERTEX_ARRAY);
    toggle(kArrayNormal, GL_NORMAL_ARRAY);
    toggle(kArrayColor, GL_COLOR_ARRAY);
    for (uint32_t unit = 0; unit < kMaxStages; ++unit) {
        uint32_t bit = kArrayTexCoord0 << unit;
        if (changed & bit) {
            SetClientUnit(unit);
            ((wanted & bit) ? glEnableClientState : glDisableClientState)(GL_TEXTURE_COORD_ARRAY);
        }
    }
    m_enabledArrays = wanted;
    // GL leaves the current value of an attribute read from an array undefined after the draw.
    m_glCurrentKnown &= ~wanted;

    // Vertex colours stand in for the material's diffuse while lighting is on.
    bool colorMaterial = color.present && m_renderStates[uint32_t(RenderState::Lighting)];
    if (int(colorMaterial) != m_colorMaterialApplied) {
        m_colorMaterialApplied = int(colorMaterial);
        m_glMaterialKnown = false;  // the diffuse follows the colour while it is on
        if (colorMaterial) {
            glEnable(GL_COLOR_MATERIAL);
        } else {
            glDisable(GL_COLOR_MATERIAL);
            m_materialDirty = true;  // the tracked colour overwrote the material diffuse
        }
    }
    return true;
}

bool Device::DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) {
    if (primitiveCount == 0)
        return true;
    uint64_t count = VerticesOf(type, primitiveCount);
    if (count == 0 || count + startVertex > uint64_t(INT32_MAX))
        return false;
    if (m_digest) {
        DigestDraw(type, 0, startVertex, uint32_t(count), nullptr, 0);
        return true;
    }
    Flush();
    if (!BindArrays(0, startVertex, uint32_t(count)))
        return false;
    FlushMaterial();
    glDrawArrays(GlMode(type), GLint(startVertex), GLsizei(count));
    return true;
}

bool Device::DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertex, uint32_t /*minIndex*/,
                                  uint32_t /*numVertices*/, uint32_t startIndex, uint32_t primitiveCount) {
    if (primitiveCount == 0)
        return true;
    uint64_t count = VerticesOf(type, primitiveCount);
    if (!m_indices || count == 0 || uint64_t(startIndex) + count > m_indices->Count())
        return false;
    // The caller's vertex range is a hint; the indices themselves bound what is read.
    const uint16_t* indices = m_indices->Data() + startIndex;
    auto [lo, hi] = std::minmax_element(indices, indices + count);
    if (m_digest) {
        DigestDraw(type, baseVertex, *lo, uint32_t(*hi - *lo) + 1, indices, count);
        return true;
    }
    Flush();
    if (!BindArrays(baseVertex, *lo, uint32_t(*hi - *lo) + 1))
        return false;
    FlushMaterial();
    glDrawRangeElements(GlMode(type), *lo, *hi, GLsizei(count), GL_UNSIGNED_SHORT, indices);
    return true;
}

}  // namespace platform::gfx
