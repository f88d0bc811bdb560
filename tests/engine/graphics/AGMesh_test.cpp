#include "engine/graphics/AGMesh.h"

#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/ModelWriter.h"

using authoring::MeshData;

TEST(AGMesh, ListsThatDisagreeRejectTheMeshWithALogLine) {
    struct Case {
        const char* name;
        void (*damage)(MeshData&);
    };
    const Case cases[] = {
        {"triangle entry beyond the vertices", [](MeshData& m) { m.triangles[4] = 24; }},
        {"triangle count beyond the list", [](MeshData& m) { m.triangleCount = 13; }},
        {"colour list shorter than the vertices", [](MeshData& m) { m.colorIndex.pop_back(); }},
        {"texture list longer than the vertices", [](MeshData& m) { m.texCoordIndex.push_back(0); }},
    };
    for (const Case& c : cases) {
        MeshData data = authoring::BoxMesh();
        c.damage(data);
        LogCapture log;
        AGMesh mesh;
        LoadBytes(mesh, authoring::MeshBytes(data));
        EXPECT_TRUE(mesh.Empty() && mesh.m_triangleCount == 0u) << c.name;
        EXPECT_TRUE(log.Contains("rejected")) << c.name;
    }
}

TEST(AGMesh, RenderTypeZeroConsumesTheTextureCountButNotItsData) {
    MeshData data = authoring::BoxMesh(1, 0, 4);
    AGMesh mesh;
    LoadBytes(mesh, authoring::MeshBytes(data));
    ASSERT_FALSE(mesh.Empty());
    EXPECT_TRUE(mesh.m_lists[AGMesh::kTexCoordIndex].Empty());
    EXPECT_EQ((std::vector<u32>{mesh.m_lists[AGMesh::kTriangles].Count(), mesh.m_lists[AGMesh::kTriangles][2],
                                mesh.m_triangleCount}),
              (std::vector<u32>{36, 3, 12}));
    // Clockwise faces are culled for the cull flag without the double-sided one.
    for (u32 flags : {0u, AGMesh::kDoubleSided, AGMesh::kCullBack, AGMesh::kCullBack | AGMesh::kDoubleSided}) {
        AGMesh flagged;
        LoadBytes(flagged, authoring::MeshBytes(authoring::BoxMesh(1, 1, flags)));
        EXPECT_EQ(flagged.CullsBackFaces(), flags == AGMesh::kCullBack) << flags;
    }
}
