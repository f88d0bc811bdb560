#pragma once
// The device side of a mesh: a 16-bit index buffer from the triangle list and up to five
// vertex streams gathered through the mesh's lists from its model's vertex buffer (0
// positions, 1 normals, 2 colours, 3 texture coordinates, 4 a second copy of them as
// coordinate set 1 for render type 5), with the declaration of exactly those streams; and
// the mesh's own draw with the states of its render type.
#include "engine/graphics/AGMesh.h"
#include "engine/graphics/AGOwnedBuffer.h"

namespace platform::gfx {
class IndexBuffer;
class VertexBuffer;
class VertexDeclaration;
}  // namespace platform::gfx

class AGRenderAttribute;
class AGVertexBuffer;
class AGVertexBufferDynamic;

class PCMesh : public AGMesh {
public:
    static constexpr u32 kStreamCount = 5;
    static constexpr u32 kPositions = 0;
    static constexpr u32 kNormals = 1;
    static constexpr u32 kColors = 2;
    static constexpr u32 kTexCoords = 3;
    static constexpr u32 kTexCoords1 = 4;

    PCMesh() = default;
    // The engine mesh only: a copy builds its own device objects when prepared.
    PCMesh(const PCMesh& other) : AGMesh(other) {}
    ~PCMesh() override { ReleaseDeviceObjects(); }

    // Builds the device objects from the vertex buffer, which the mesh must fit (see
    // FitsVertexBuffer); colours come from `colors` when it holds the buffer's colours of one
    // model. Normals are gathered only when the buffer has one for every mapped vertex
    // (otherwise one log line). A mesh already prepared keeps its objects (models that share
    // it draw from them). False, with nothing built, without a device.
    bool Prepare(const AGVertexBuffer& vertexBuffer, const AGOwnedBuffer<u32>* colors);
    // The skinned positions (and normals, when blended) into streams 0 and 1.
    void CopySkinned(const AGVertexBufferDynamic& skinned, bool normals);
    // The colour stream again, from a model's own colours.
    void UploadColors(const AGOwnedBuffer<u32>& colors);
    void ReleaseDeviceObjects();
    bool IsPrepared() const { return m_declaration != nullptr; }

    // Declaration, streams, index buffer, vertex and primitive counts, render type, cull mode
    // and render-type parameter of a render attribute's part.
    void FillPart(AGRenderAttribute& attribute, u32 part) const;
    // Own draw (the model has set the world transform and the material): cull, depth test and
    // the states of the render type, then the indexed triangles.
    void Draw() const;

    platform::gfx::VertexBuffer* Stream(u32 index) const {
        return index < kStreamCount ? m_streams[index] : nullptr;
    }
    platform::gfx::IndexBuffer* Indices() const { return m_indices; }

private:
    platform::gfx::IndexBuffer* m_indices = nullptr;
    platform::gfx::VertexBuffer* m_streams[kStreamCount] = {};
    platform::gfx::VertexDeclaration* m_declaration = nullptr;
};
