#include "engine/graphics/AGVertexBuffer.h"

#include "engine/graphics/AGMesh.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/ModelWriter.h"
#include "tools/authoring/VertexBufferWriter.h"

using authoring::MeshData;

namespace {

authoring::VertexBufferData Quad() {
    authoring::VertexBufferData d;
    d.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    d.colors = {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u};
    d.texCoords = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    return d;
}

authoring::VertexBufferData SkinnedQuad() {
    authoring::VertexBufferData d = Quad();
    d.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    d.influenceCounts = {3, 2};
    d.influenceVertices = {0, 1, 2, 2, 3};
    d.influenceWeights = {1, 1, 0.5f, 0.5f, 1};
    return d;
}

}  // namespace

TEST(AGVertexBuffer, LoadsEveryStreamWithItsOwnCount) {
    AGVertexBuffer vb, copy;
    LoadBytes(vb, authoring::VertexBufferBytes(Quad()));
    EXPECT_TRUE(vb.NormalCount() == 0u && !vb.IsSkinned());
    vb.SetNameId(7), vb.SetDirectoryId(9), vb.SetIsBase(true), vb.SetFlag(5);
    copy.CopyFrom(vb);  // the copy takes the resource's identity too
    EXPECT_EQ(std::make_tuple(copy.NameId(), copy.DirectoryId(), copy.IsBase(), copy.Flag()),
              std::make_tuple(7u, 9u, true, u8(5)));
    for (const AGVertexBuffer* b : {&vb, &copy})
        EXPECT_TRUE(b->m_positions[3].x == 1.0f && b->m_colors[2] == 0xFF000003u && b->m_texCoords[1].x == 1.0f);
}

TEST(AGVertexBuffer, InfluencesThatDoNotMatchLoadUnskinnedAndCutFilesLoadNothing) {
    {
        // The odd counts leave the sections unaligned.
        Loaded<AGVertexBuffer> vb(authoring::VertexBufferBytes(SkinnedQuad()));
        ASSERT_EQ(vb.InfluenceCount(), 5u);
        EXPECT_EQ(std::make_tuple(vb.m_influenceVertices[4], vb.m_influenceWeights[2], vb.HasSkinNormals()),
                  std::make_tuple(3u, 0.5f, true));
        vb.Load(nullptr, 0, false, false);  // loading nothing leaves no bone behind
        EXPECT_EQ(vb.BoneCount() + vb.InfluenceCount() + vb.PositionCount(), 0u);
    }
    authoring::VertexBufferData counts = SkinnedQuad();
    counts.influenceCounts = {3, 3};  // sums to 6 of 5 influences
    authoring::VertexBufferData index = SkinnedQuad();
    index.influenceVertices[1] = 4;  // beyond the 4 positions
    for (const auto& data : {counts, index}) {
        LogCapture log;
        Loaded<AGVertexBuffer> vb(authoring::VertexBufferBytes(data));
        EXPECT_EQ(std::make_tuple(vb.IsSkinned(), vb.BoneCount(), vb.PositionCount(), log.Lines().size()),
                  std::make_tuple(false, 0u, 4u, size_t(1)));
    }
    // Skinning without a normal per vertex keeps positions only.
    authoring::VertexBufferData noNormals = SkinnedQuad();
    noNormals.normals.pop_back();
    Loaded<AGVertexBuffer> vb(authoring::VertexBufferBytes(noNormals));
    EXPECT_TRUE(vb.IsSkinned() && !vb.HasSkinNormals());

    ExpectEveryCutEmpty<AGVertexBuffer>(authoring::VertexBufferBytes(SkinnedQuad()), [](const AGVertexBuffer& b) {
        return b.PositionCount() + b.ColorCount() + b.InfluenceCount() == 0;
    });
}

TEST(AGMesh, ListsThatDisagreeRejectTheMeshWithALogLine) {
    struct Case {
        const char* name;
        void (*damage)(MeshData&);
    };
    const Case cases[] = {
        {"triangle entry beyond the vertices", [](MeshData& m) { m.triangles[4] = 24; }},
        {"triangle count beyond the list", [](MeshData& m) { m.triangleCount = 13; }},
        {"colour list shorter than the vertices", [](MeshData& m) { m.colorIndex.pop_back(); }},
        {"texture list longer than the vertices", [](MeshData& m) { m.texCoordIndex.push_back(0); }}};
    for (const Case& c : cases) {
        MeshData data = authoring::BoxMesh();
        c.damage(data);
        LogCapture log;
        Loaded<AGMesh> mesh(authoring::MeshBytes(data));
        EXPECT_TRUE(mesh.Empty() && mesh.m_triangleCount == 0u) << c.name;
        EXPECT_TRUE(log.Contains("rejected")) << c.name;
    }
    ExpectEveryCutEmpty<AGMesh>(authoring::MeshBytes(authoring::BoxMesh()), [](const AGMesh& m) {
        return m.Empty() && m.m_lists[AGMesh::kTriangles].Empty() && m.m_lists[AGMesh::kColorIndex].Empty();
    });
}

TEST(AGMesh, RenderTypeZeroConsumesTheTextureCountButNotItsData) {
    MeshData data = authoring::BoxMesh(1, 0, 4);
    Loaded<AGMesh> mesh(authoring::MeshBytes(data));
    ASSERT_FALSE(mesh.Empty());
    EXPECT_TRUE(mesh.m_lists[AGMesh::kTexCoordIndex].Empty());
    EXPECT_EQ((std::vector<u32>{mesh.m_lists[AGMesh::kTriangles].Count(), mesh.m_lists[AGMesh::kTriangles][2],
                                mesh.m_triangleCount}),
              (std::vector<u32>{36, 3, 12}));
    // Clockwise faces are culled for the cull flag without the double-sided one.
    for (u32 flags : {0u, AGMesh::kDoubleSided, AGMesh::kCullBack, AGMesh::kCullBack | AGMesh::kDoubleSided}) {
        Loaded<AGMesh> flagged(authoring::MeshBytes(authoring::BoxMesh(1, 1, flags)));
        EXPECT_EQ(flagged.CullsBackFaces(), flags == AGMesh::kCullBack) << flags;
    }
}
