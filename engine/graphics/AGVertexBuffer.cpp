#include "engine/graphics/AGVertexBuffer.h"

#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"

namespace {

// Reads count elements of sizeof(T) bytes into a fresh array; fails (sticky) when they are
// not all there.
template <typename T>
void ReadArray(AGMemBuffer& buffer, AGOwnedBuffer<T>& out, u32 count) {
    out.Release();
    if (buffer.Failed() || count == 0)
        return;
    if (!buffer.CheckCount(count, sizeof(T)) || !out.Resize(count)) {
        buffer.SetFailed();
        return;
    }
    std::memcpy(static_cast<void*>(out.Data()), buffer.Take(count * u32(sizeof(T))),
                size_t(count) * sizeof(T));
}

}  // namespace

void AGVertexBuffer::Clear() {
    m_positions.Release();
    m_normals.Release();
    m_texCoords.Release();
    m_colors.Release();
    m_influenceCounts.Release();
    m_influenceVertices.Release();
    m_influenceWeights.Release();
}

void AGVertexBuffer::CopyFrom(const AGVertexBuffer& other) {
    if (this == &other)
        return;
    SetNameId(other.NameId());
    SetDirectoryId(other.DirectoryId());
    SetIsBase(other.IsBase());
    SetFlag(other.Flag());
    m_positions.CopyFrom(other.m_positions);
    m_normals.CopyFrom(other.m_normals);
    m_texCoords.CopyFrom(other.m_texCoords);
    m_colors.CopyFrom(other.m_colors);
    m_influenceCounts.CopyFrom(other.m_influenceCounts);
    m_influenceVertices.CopyFrom(other.m_influenceVertices);
    m_influenceWeights.CopyFrom(other.m_influenceWeights);
}

bool AGVertexBuffer::Create(u32 positionCount, u32 colorCount, u32 texCoordCount) {
    Clear();
    if (m_positions.Resize(positionCount) && m_colors.Resize(colorCount) &&
        m_texCoords.Resize(texCoordCount))
        return true;
    Clear();
    AGReport("Vertex buffer: out of memory for %u vertices.", positionCount);
    return false;
}

void AGVertexBuffer::Load(AGMemBuffer* buffer, u32, bool, bool) {
    Clear();
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    b.Skip(12);
    const u32 positions = b.ReadU32();
    const u32 normals = b.ReadU32();
    const u32 colors = b.ReadU32();
    const u32 texCoords = b.ReadU32();
    ReadArray(b, m_positions, positions);
    ReadArray(b, m_normals, normals);
    ReadArray(b, m_colors, colors);
    ReadArray(b, m_texCoords, texCoords);
    const u32 bones = b.ReadU32();
    const u32 influences = b.ReadU32();
    ReadArray(b, m_influenceCounts, bones);
    ReadArray(b, m_influenceVertices, influences);
    ReadArray(b, m_influenceWeights, influences);
    if (b.Failed()) {
        Clear();
        AGReport("Vertex buffer 0x%08X: truncated or corrupt file, left empty.", NameId());
        return;
    }
    u64 sum = 0;
    for (u16 count : m_influenceCounts)
        sum += count;
    bool valid = sum == influences;
    for (u32 i = 0; valid && i < influences; ++i)
        valid = m_influenceVertices[i] < positions;
    if (!valid) {
        m_influenceCounts.Release();
        m_influenceVertices.Release();
        m_influenceWeights.Release();
        AGReport("Vertex buffer 0x%08X: skinning influences do not match the vertices; loaded "
                 "unskinned.", NameId());
    }
}
