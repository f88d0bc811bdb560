#pragma once
// "vertexBuffer": the geometry streams of a mesh (positions, normals, colours, texture
// coordinates, each with its own count) and the skinning influences grouped by bone.
//
// File: 12-byte header (skipped); u32 P, Nn, C, T; P x vec3 positions, Nn x vec3 normals,
// C x u32 ARGB colours, T x vec2 texture coordinates; u32 B; u32 I; B u16 influence counts
// (per bone); I u16 vertex indices; I f32 weights. No alignment between sections.
#include "engine/core/AGResource.h"
#include "engine/core/AGVec3.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGOwnedBuffer.h"

class AGVertexBuffer : public AGResource {
public:
    AGVertexBuffer() = default;
    // Deep copy of every array (the provider's clone).
    AGVertexBuffer(const AGVertexBuffer&) = default;

    u32 GetTypeKey() const override { return TypeKey::VertexBuffer; }
    // Always copies. A truncated file leaves the buffer empty; influences that do not add up
    // (counts summing to other than I, a vertex index beyond P) are dropped, so the buffer
    // loads unskinned. Each case writes one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Deep copy of another buffer's arrays (and resource ids).
    void CopyFrom(const AGVertexBuffer& other);
    // Frees every array.
    void Clear();
    // Clear, then arrays of P positions, C colours and T texture coordinates (contents
    // zeroed), no normals and no influences. False when memory runs out (buffer empty).
    bool Create(u32 positionCount, u32 colorCount, u32 texCoordCount);

    u32 PositionCount() const { return m_positions.Count(); }
    u32 NormalCount() const { return m_normals.Count(); }
    u32 ColorCount() const { return m_colors.Count(); }
    u32 TexCoordCount() const { return m_texCoords.Count(); }
    u32 BoneCount() const { return m_influenceCounts.Count(); }
    u32 InfluenceCount() const { return m_influenceVertices.Count(); }
    bool IsSkinned() const { return InfluenceCount() != 0; }
    // Skinning reads one normal per influenced vertex only when every vertex has one.
    bool HasSkinNormals() const { return IsSkinned() && NormalCount() == PositionCount(); }

    AGOwnedBuffer<AGVec3> m_positions;
    AGOwnedBuffer<AGVec3> m_normals;
    AGOwnedBuffer<AGVec2> m_texCoords;
    AGOwnedBuffer<u32> m_colors;
    AGOwnedBuffer<u16> m_influenceCounts;
    AGOwnedBuffer<u16> m_influenceVertices;
    AGOwnedBuffer<f32> m_influenceWeights;
};
