#include "engine/graphics/AGMesh.h"

#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGVertexBuffer.h"

namespace {

bool ReadList(AGMemBuffer& buffer, AGOwnedBuffer<u16>& list, u32 count) {
    if (count == 0 || buffer.Failed())
        return !buffer.Failed();
    if (!buffer.CheckCount(count, 2) || !list.Resize(count)) {
        buffer.SetFailed();
        return false;
    }
    std::memcpy(list.Data(), buffer.Take(count * 2), size_t(count) * 2);
    return true;
}

bool AllBelow(const AGOwnedBuffer<u16>& list, u32 limit) {
    for (u16 v : list)
        if (v >= limit)
            return false;
    return true;
}

}  // namespace

void AGMesh::Clear() {
    for (auto& list : m_lists)
        list.Release();
    m_triangleCount = 0;
}

void AGMesh::Load(AGMemBuffer* buffer, u32, bool, bool) {
    Clear();
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    m_renderType = b.ReadU32();
    m_flags = b.ReadU32();
    u32 counts[4];
    for (u32& count : counts)
        count = b.ReadU32();
    // Render type 0 has no texture coordinates: the stored count is read but not its data.
    if (m_renderType == 0)
        counts[kTexCoordIndex] = 0;
    const u32 triangles = b.ReadU32();
    for (u32 i = 0; i < 4; ++i)
        ReadList(b, m_lists[i], counts[i]);
    if (b.Failed()) {
        Clear();
        AGReport("Mesh 0x%08X: truncated or corrupt file, left empty.", NameId());
        return;
    }
    const u32 vertices = counts[kVertexMap];
    const char* problem = nullptr;
    if (counts[kColorIndex] != 0 && counts[kColorIndex] != vertices)
        problem = "its colour list does not match its vertices";
    else if (counts[kTexCoordIndex] != 0 && counts[kTexCoordIndex] != vertices)
        problem = "its texture-coordinate list does not match its vertices";
    else if (u64(triangles) * 3 > counts[kTriangles])
        problem = "its triangle count exceeds its triangle list";
    else if (!AllBelow(m_lists[kTriangles], vertices))
        problem = "a triangle names a vertex it does not have";
    if (problem) {
        Clear();
        AGReport("Mesh 0x%08X rejected: %s.", NameId(), problem);
        return;
    }
    m_triangleCount = triangles;
}

bool AGMesh::FitsVertexBuffer(const AGVertexBuffer& vertexBuffer, u32 modelId) const {
    const char* problem = nullptr;
    if (!AllBelow(m_lists[kVertexMap], vertexBuffer.PositionCount()))
        problem = "positions";
    else if (!AllBelow(m_lists[kColorIndex], vertexBuffer.ColorCount()))
        problem = "colours";
    else if (!AllBelow(m_lists[kTexCoordIndex], vertexBuffer.TexCoordCount()))
        problem = "texture coordinates";
    if (!problem)
        return true;
    AGReport("Model 0x%08X: mesh 0x%08X indexes %s its vertex buffer 0x%08X does not have; "
             "mesh not drawn.", modelId, NameId(), problem, vertexBuffer.NameId());
    return false;
}
