#include "tools/authoring/ModelWriter.h"

#include <cmath>

#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/PackageWriter.h"

namespace authoring {

namespace {

using V3 = std::array<float, 3>;

V3 Cross(const V3& a, const V3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

void Matrix(ByteWriter& w, const Matrix16& m) {
    for (float f : m)
        w.F32(f);
}

void List(ByteWriter& w, const std::vector<uint16_t>& list) {
    for (uint16_t v : list)
        w.U16(v);
}

}  // namespace

Matrix16 IdentityMatrix() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix16 TranslationMatrix(float x, float y, float z) {
    Matrix16 m = IdentityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

std::string MeshBytes(const MeshData& mesh) {
    ByteWriter w;
    const uint32_t triangles =
        mesh.triangleCount == MeshData::kFromList ? uint32_t(mesh.triangles.size() / 3) : mesh.triangleCount;
    w.U32(mesh.renderType)
        .U32(mesh.flags)
        .U32(uint32_t(mesh.vertexMap.size()))
        .U32(uint32_t(mesh.colorIndex.size()))
        .U32(uint32_t(mesh.texCoordIndex.size()))
        .U32(uint32_t(mesh.triangles.size()))
        .U32(triangles);
    List(w, mesh.vertexMap);
    List(w, mesh.colorIndex);
    if (mesh.renderType != 0)
        List(w, mesh.texCoordIndex);
    List(w, mesh.triangles);
    return w.Str();
}

std::string ModelBytes(const ModelData& model) {
    ByteWriter w;
    w.U32(model.vertexBufferId);
    Matrix(w, model.local);
    w.U32(uint32_t(model.meshIds.size()))
        .U32(uint32_t(model.materialIds.size()))
        .U32(model.stored)
        .U32(model.attachBoneId);
    for (uint32_t id : model.meshIds)
        w.U32(id);
    for (uint32_t id : model.materialIds)
        w.U32(id);
    w.U32(model.transparent ? 1 : 0).U32(model.animated ? 1 : 0);
    if (model.animated)
        w.F32(model.frameRate).F32(model.frameCount);
    return ResourceHeader("model", uint32_t(w.Size())) + w.Str();
}

std::string SkinBytes(const std::vector<BoneData>& bones) {
    ByteWriter w;
    w.U32(uint32_t(bones.size()));
    for (const BoneData& bone : bones) {
        w.U32(bone.id);
        Matrix(w, bone.bind);
        w.U16(bone.parent);
    }
    return ResourceHeader("skeleton", uint32_t(w.Size())) + w.Str();
}

void AppendBox(VertexBufferData& data, std::array<float, 3> centre, float half, uint32_t argb) {
    struct Face {
        V3 normal, up;
    };
    static const Face kFaces[6] = {
        {{0, 0, -1}, {0, 1, 0}}, {{0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 1, 0}},
        {{1, 0, 0}, {0, 1, 0}},  {{0, 1, 0}, {0, 0, 1}}, {{0, -1, 0}, {0, 0, -1}},
    };
    for (const Face& face : kFaces) {
        // Seen from outside (looking along -normal), right = up x view direction.
        const V3 right = Cross(face.up, {-face.normal[0], -face.normal[1], -face.normal[2]});
        // Bottom-left, bottom-right, top-left, top-right.
        static const float kCorner[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        for (const auto& c : kCorner) {
            V3 p;
            for (int k = 0; k < 3; ++k)
                p[k] = centre[k] + half * (face.normal[k] + c[0] * right[k] + c[1] * face.up[k]);
            data.positions.push_back(p);
            data.normals.push_back(face.normal);
            data.colors.push_back(argb);
            data.texCoords.push_back({(c[0] + 1) * 0.5f, (1 - c[1]) * 0.5f});
        }
    }
}

VertexBufferData BoxVertexBuffer(float half, uint32_t argb) {
    VertexBufferData data;
    AppendBox(data, {0, 0, 0}, half, argb);
    return data;
}

MeshData BoxMesh(uint32_t boxes, uint32_t renderType, uint32_t flags) {
    MeshData mesh;
    mesh.renderType = renderType;
    mesh.flags = flags;
    for (uint32_t v = 0; v < boxes * 24; ++v) {
        mesh.vertexMap.push_back(uint16_t(v));
        mesh.colorIndex.push_back(uint16_t(v));
        mesh.texCoordIndex.push_back(uint16_t(v));
    }
    for (uint32_t face = 0; face < boxes * 6; ++face) {
        const uint16_t b = uint16_t(face * 4);
        // Counter-clockwise from outside: BL, BR, TR and BL, TR, TL.
        for (uint16_t i : {0, 1, 3, 0, 3, 2})
            mesh.triangles.push_back(uint16_t(b + i));
    }
    return mesh;
}

SkeletonSample MakeSkeletonSample(uint32_t boneCount, float spacing, float half) {
    SkeletonSample s;
    for (uint32_t i = 0; i < boneCount; ++i) {
        const float y = float(i) * spacing;
        AppendBox(s.vertexBuffer, {0, y, 0}, half, 0xFFFFFFFFu);
        s.vertexBuffer.influenceCounts.push_back(24);
        for (uint16_t v = 0; v < 24; ++v) {
            s.vertexBuffer.influenceVertices.push_back(uint16_t(i * 24 + v));
            s.vertexBuffer.influenceWeights.push_back(1.0f);
        }
        BoneData bone;
        bone.id = i + 1;
        // The bind matrix takes a model-space point into the bone's own space.
        bone.bind = TranslationMatrix(0, -y, 0);
        bone.parent = i == 0 ? 255 : uint16_t(i - 1);
        s.bones.push_back(bone);

        SkinBoneTracks tracks;
        tracks.boneIndex = uint16_t(i);
        const float offset = i == 0 ? 0.0f : spacing;
        tracks.position = Track::Vec3().Key(0, {0, offset, 0}).Key(30, {0, offset, 0});
        // A sway of about 6 degrees about z and back.
        const float s3 = std::sin(0.05f), c3 = std::cos(0.05f);
        tracks.rotation = Track::Quat().Key(0, {0, 0, 0, 1}).Key(15, {0, 0, s3, c3}).Key(30, {0, 0, 0, 1});
        s.idle.push_back(tracks);
    }
    s.mesh = BoxMesh(boneCount);
    s.idleFrameCount = 30.0f;
    return s;
}

void AddTexturedBox(PackageWriter& writer, TexturedBox box) {
    VertexBufferData vb = BoxVertexBuffer(1.0f, box.vertexColor);
    if (!box.normals)
        vb.normals.clear();
    const std::string& n = box.name;
    box.model.vertexBufferId = NameId(n + ".vb");
    box.model.meshIds = {NameId(n + ".mesh")};
    box.model.materialIds = {NameId(n + ".mat")};
    MaterialData material;
    material.slots = {n + ".slot"};
    TextureSlotData slot;
    slot.textures = {n + ".png"};
    slot.controller = box.slotController;
    writer.Add(n + ".vb", 0, VertexBufferBytes(vb))
        .Add(n + ".mesh", 0, MeshBytes(BoxMesh(1, box.renderType, box.flags)))
        .Add(n + ".mdl", 0, ModelBytes(box.model))
        .Add(n + ".mat", 0, MaterialBytes(material))
        .Add(n + ".slot", 0, TextureSlotBytes(slot))
        .Add(n + ".png", 0, PngBytes(std::vector<uint32_t>(4, box.texel), 2, 2));
}

void AddSkeletonSample(PackageWriter& writer, const std::string& name) {
    const SkeletonSample sample = MakeSkeletonSample();
    ModelData model;
    model.vertexBufferId = NameId(name + ".vb");
    model.meshIds = {NameId(name + ".mesh")};
    writer.Add(name + ".vb", 0, VertexBufferBytes(sample.vertexBuffer))
        .Add(name + ".mesh", 0, MeshBytes(sample.mesh))
        .Add(name + ".mdl", 0, ModelBytes(model))
        .Add(name + ".skel", 0, SkinBytes(sample.bones))
        .Add(name + ".idle", 0, SkinAnimationBytes(sample.idleFrameCount, 30, sample.idle));
}

}  // namespace authoring
