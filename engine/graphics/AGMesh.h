#pragma once
// "mesh": one drawable part of a model. Four u16 lists map the mesh's own vertices onto the
// model's vertex buffer: list 0 the position (and normal) of each mesh vertex, list 1 its
// colour, list 2 its texture coordinates; list 3 holds the triangles as three mesh-vertex
// indices each.
//
// File (no resource header; read from where the buffer's cursor stands): u32 render type,
// u32 flags, u32 counts of the four lists, u32 triangle count, then the four lists. For
// render type 0 the stored count of list 2 is consumed but list 2 has no data.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGOwnedBuffer.h"

class AGVertexBuffer;

class AGMesh : public AGResource {
public:
    // Flag values.
    static constexpr u32 kNoAlphaTest = 1;
    static constexpr u32 kDoubleSided = 4;
    static constexpr u32 kCullBack = 16;  // clockwise faces culled, unless double-sided
    // The lists.
    static constexpr u32 kVertexMap = 0;
    static constexpr u32 kColorIndex = 1;
    static constexpr u32 kTexCoordIndex = 2;
    static constexpr u32 kTriangles = 3;

    AGMesh() = default;
    // Copies the header fields and the four lists.
    AGMesh(const AGMesh&) = default;

    u32 GetTypeKey() const override { return TypeKey::Mesh; }
    // Always copies. A truncated file, or lists that do not agree with each other (colour or
    // texture-coordinate lists of another length than the vertex map, a triangle entry
    // beyond the mesh's vertices, more triangles than list 3 holds), leave the mesh empty
    // with one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // True when every list entry indexes an element of the vertex buffer's streams: the
    // vertex map its positions, the colour index its colours, the texture-coordinate index
    // its texture coordinates. Otherwise one log line naming the model.
    bool FitsVertexBuffer(const AGVertexBuffer& vertexBuffer, u32 modelId) const;

    void Clear();
    bool Empty() const { return m_lists[kVertexMap].Empty(); }
    u32 VertexCount() const { return m_lists[kVertexMap].Count(); }
    bool CullsBackFaces() const { return (m_flags & kCullBack) && !(m_flags & kDoubleSided); }

    AGOwnedBuffer<u16> m_lists[4];
    u32 m_triangleCount = 0;
    u32 m_renderType = 0;
    u32 m_flags = 0;
    u32 m_spare = 0;
};
