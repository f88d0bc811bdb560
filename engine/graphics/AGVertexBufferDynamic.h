#pragma once
// "vertexBufferDynamic": the skinned positions and normals of one model, blended every frame
// from its vertex buffer's influences and its skin's bone matrices. Built at run time (its
// loader reads nothing).
#include "engine/core/AGResource.h"
#include "engine/core/AGVec3.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGOwnedBuffer.h"

struct AGBone;
class AGVertexBuffer;

class AGVertexBufferDynamic : public AGResource {
public:
    AGVertexBufferDynamic() = default;
    AGVertexBufferDynamic(const AGVertexBufferDynamic&) = default;

    u32 GetTypeKey() const override { return TypeKey::VertexBufferDynamic; }
    void Load(AGMemBuffer*, u32, bool, bool) override {}

    // Sizes the skinned arrays to the source's vertices and the bone-space arrays to its
    // influences; the buffer is prepared again at the next Skin. False when memory runs out.
    bool Initialize(const AGVertexBuffer& source);

    // Prepares once (each influence's position and normal taken into its bone's space by the
    // bone's bind matrix), then sums, per vertex, each influence's bone-space position and
    // normal moved by its bone's current matrix and scaled by its weight. Weights are not
    // renormalised; a vertex without influences stays at the origin. Influences of bones
    // beyond the skin's table are left out. Normals are blended only when the source has one
    // per vertex.
    void Skin(const AGVertexBuffer& source, const AGBone* bones, u32 boneCount);

    AGOwnedBuffer<AGVec3> m_positions;
    AGOwnedBuffer<AGVec3> m_normals;
    AGOwnedBuffer<AGVec3> m_bonePositions;
    AGOwnedBuffer<AGVec3> m_boneNormals;
    bool m_prepared = false;

private:
    void Prepare(const AGVertexBuffer& source, const AGBone* bones, u32 boneCount);
};
