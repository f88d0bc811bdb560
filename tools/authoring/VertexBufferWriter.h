#pragma once
// Writer of vertex buffer files ("vertexBuffer"): 12-byte header, u32 P, Nn, C, T, the four
// streams, u32 B, u32 I, B u16 influence counts, I u16 vertex indices, I f32 weights.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace authoring {

struct VertexBufferData {
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 3>> normals;
    std::vector<uint32_t> colors;  // ARGB
    std::vector<std::array<float, 2>> texCoords;
    // Influences grouped by bone: influenceCounts[b] entries of the two lists below belong
    // to bone b, in bone order.
    std::vector<uint16_t> influenceCounts;
    std::vector<uint16_t> influenceVertices;
    std::vector<float> influenceWeights;
};

std::string VertexBufferBytes(const VertexBufferData& data);

}  // namespace authoring
