#include "tools/authoring/VertexBufferWriter.h"

#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/TrackWriter.h"

namespace authoring {

std::string VertexBufferBytes(const VertexBufferData& data) {
    ByteWriter w;
    w.U32(uint32_t(data.positions.size()))
        .U32(uint32_t(data.normals.size()))
        .U32(uint32_t(data.colors.size()))
        .U32(uint32_t(data.texCoords.size()));
    for (const auto& p : data.positions)
        w.F32(p[0]).F32(p[1]).F32(p[2]);
    for (const auto& n : data.normals)
        w.F32(n[0]).F32(n[1]).F32(n[2]);
    for (uint32_t c : data.colors)
        w.U32(c);
    for (const auto& t : data.texCoords)
        w.F32(t[0]).F32(t[1]);
    w.U32(uint32_t(data.influenceCounts.size())).U32(uint32_t(data.influenceVertices.size()));
    for (uint16_t c : data.influenceCounts)
        w.U16(c);
    for (uint16_t v : data.influenceVertices)
        w.U16(v);
    for (float f : data.influenceWeights)
        w.F32(f);
    return ResourceHeader("vertexBuffer", uint32_t(w.Size())) + w.Str();
}

}  // namespace authoring
