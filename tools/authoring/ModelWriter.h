#pragma once
// Writers of meshes ("mesh"), models ("model", ".mdl") and skins ("skeleton"), and of two
// sample assets built from them: a box (24 vertices, 12 triangles) and a few boxes on a
// small bone chain.
//
// Mesh (no resource header): u32 render type, u32 flags, u32 counts of the four lists, u32
// triangle count, then the u16 lists: vertex map, colour index, texture-coordinate index,
// triangles. Render type 0 keeps the stored count of list 2 but has no list-2 data.
// Model: header, u32 vertex-buffer id, 16 f32 local transform, u32 M, u32 N, u32 stored,
// u32 attach bone id, M mesh ids, N material ids, u32 transparent, u32 animated, and when
// animated f32 frame rate and f32 frame count.
// Skin: header, u32 B, B packed 70-byte records {u32 id, 16 f32 bind matrix, u16 parent}.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/TrackWriter.h"
#include "tools/authoring/VertexBufferWriter.h"

namespace authoring {

class PackageWriter;

using Matrix16 = std::array<float, 16>;
Matrix16 IdentityMatrix();
Matrix16 TranslationMatrix(float x, float y, float z);

struct MeshData {
    static constexpr uint32_t kFromList = ~0u;

    uint32_t renderType = 1;
    uint32_t flags = 16;  // back faces culled
    std::vector<uint16_t> vertexMap;
    std::vector<uint16_t> colorIndex;
    std::vector<uint16_t> texCoordIndex;
    std::vector<uint16_t> triangles;
    // kFromList: a third of the triangle list.
    uint32_t triangleCount = kFromList;
};
std::string MeshBytes(const MeshData& mesh);

struct ModelData {
    uint32_t vertexBufferId = 0;
    Matrix16 local = IdentityMatrix();
    std::vector<uint32_t> meshIds;
    std::vector<uint32_t> materialIds;
    uint32_t stored = 0;
    uint32_t attachBoneId = 0;
    bool transparent = false;
    bool animated = false;
    float frameRate = 30.0f;
    float frameCount = 1.0f;
};
std::string ModelBytes(const ModelData& model);

struct BoneData {
    uint32_t id = 0;
    Matrix16 bind = IdentityMatrix();
    uint16_t parent = 255;  // root
};
std::string SkinBytes(const std::vector<BoneData>& bones);

// A box of half size `half` centred on `centre`: 4 vertices per face with outward normals,
// one colour, texture coordinates (0, 0) at a face's top-left to (1, 1); seen from outside
// each face's triangles run counter-clockwise on screen, so culling clockwise faces hides
// the inside. Faces in order -z, +z, -x, +x, +y, -y.
void AppendBox(VertexBufferData& data, std::array<float, 3> centre, float half, uint32_t argb);
VertexBufferData BoxVertexBuffer(float half, uint32_t argb);
// The mesh of `boxes` boxes made by AppendBox: identity lists and 12 triangles per box.
MeshData BoxMesh(uint32_t boxes = 1, uint32_t renderType = 1, uint32_t flags = 16);

// A few boxes on a chain of bones along +y, each box moved entirely by its bone, with an
// idle animation that sways every bone about z.
struct SkeletonSample {
    VertexBufferData vertexBuffer;
    MeshData mesh;
    std::vector<BoneData> bones;
    std::vector<SkinBoneTracks> idle;
    float idleFrameCount = 0.0f;
};
// Bone ids are 1..boneCount; bone i sits at y = i x spacing.
SkeletonSample MakeSkeletonSample(uint32_t boneCount = 3, float spacing = 2.0f, float half = 0.5f);

// A box model "<name>.mdl" of half size 1 (vertex buffer "<name>.vb", mesh "<name>.mesh")
// drawn with material "<name>.mat", whose one slot "<name>.slot" shows "<name>.png", a 2 x 2
// texture of one colour. The model's vertex buffer, mesh and material ids are filled in.
struct TexturedBox {
    std::string name = "box";
    uint32_t renderType = 1;
    uint32_t flags = 16;
    uint32_t vertexColor = 0xFFFFFFFFu;
    uint32_t texel = 0xFFFFFFFFu;
    bool normals = true;
    std::optional<SlotController> slotController;  // the texture slot's own controller
    ModelData model;
};
void AddTexturedBox(PackageWriter& writer, TexturedBox box);

// The skeleton sample as "<name>.vb", "<name>.mesh", "<name>.mdl", skeleton "<name>.skel" and
// its idle animation "<name>.idle" (30 frames at 30 per second).
void AddSkeletonSample(PackageWriter& writer, const std::string& name);

}  // namespace authoring
