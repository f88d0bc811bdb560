#include "engine/graphics/AGVertexBufferDynamic.h"

#include <cstring>

#include "engine/graphics/AGBone.h"
#include "engine/graphics/AGVertexBuffer.h"

namespace {

AGVec3 TransformPoint(const AGVec3& v, const platform::gfx::Matrix& m) {
    const f32* a = m.m;
    return {v.x * a[0] + v.y * a[4] + v.z * a[8] + a[12], v.x * a[1] + v.y * a[5] + v.z * a[9] + a[13],
            v.x * a[2] + v.y * a[6] + v.z * a[10] + a[14]};
}

AGVec3 TransformNormal(const AGVec3& v, const platform::gfx::Matrix& m) {
    const f32* a = m.m;
    return {v.x * a[0] + v.y * a[4] + v.z * a[8], v.x * a[1] + v.y * a[5] + v.z * a[9],
            v.x * a[2] + v.y * a[6] + v.z * a[10]};
}

}  // namespace

bool AGVertexBufferDynamic::Initialize(const AGVertexBuffer& source) {
    m_prepared = false;
    const u32 vertices = source.PositionCount();
    const u32 influences = source.InfluenceCount();
    const bool ok = m_positions.Resize(vertices) && m_normals.Resize(vertices) &&
                    m_bonePositions.Resize(influences) && m_boneNormals.Resize(influences);
    if (!ok) {
        m_positions.Release();
        m_normals.Release();
        m_bonePositions.Release();
        m_boneNormals.Release();
    }
    return ok;
}

void AGVertexBufferDynamic::Prepare(const AGVertexBuffer& source, const AGBone* bones,
                                    u32 boneCount) {
    const bool normals = source.HasSkinNormals();
    u32 at = 0;
    for (u32 b = 0; b < source.BoneCount(); ++b) {
        const u32 count = source.m_influenceCounts[b];
        for (u32 k = 0; k < count; ++k, ++at) {
            const u16 v = source.m_influenceVertices[at];
            if (b >= boneCount) {
                m_bonePositions[at] = {};
                m_boneNormals[at] = {};
                continue;
            }
            m_bonePositions[at] = TransformPoint(source.m_positions[v], bones[b].bind);
            m_boneNormals[at] = normals ? TransformNormal(source.m_normals[v], bones[b].bind) : AGVec3{};
        }
    }
    m_prepared = true;
}

void AGVertexBufferDynamic::Skin(const AGVertexBuffer& source, const AGBone* bones, u32 boneCount) {
    // The source's influences were checked when it loaded; the arrays must match them.
    if (m_positions.Count() != source.PositionCount() ||
        m_bonePositions.Count() != source.InfluenceCount())
        return;
    if (!m_prepared)
        Prepare(source, bones, boneCount);
    if (!m_positions.Empty()) {
        std::memset(static_cast<void*>(m_positions.Data()), 0, m_positions.Count() * sizeof(AGVec3));
        std::memset(static_cast<void*>(m_normals.Data()), 0, m_normals.Count() * sizeof(AGVec3));
    }
    const bool normals = source.HasSkinNormals();
    u32 at = 0;
    for (u32 b = 0; b < source.BoneCount(); ++b) {
        const u32 count = source.m_influenceCounts[b];
        if (b >= boneCount) {
            at += count;
            continue;
        }
        const platform::gfx::Matrix& current = bones[b].current;
        for (u32 k = 0; k < count; ++k, ++at) {
            const u16 v = source.m_influenceVertices[at];
            const f32 w = source.m_influenceWeights[at];
            const AGVec3 p = TransformPoint(m_bonePositions[at], current);
            m_positions[v].x += p.x * w;
            m_positions[v].y += p.y * w;
            m_positions[v].z += p.z * w;
            if (normals) {
                const AGVec3 n = TransformNormal(m_boneNormals[at], current);
                m_normals[v].x += n.x * w;
                m_normals[v].y += n.y * w;
                m_normals[v].z += n.z * w;
            }
        }
    }
}
