#include "engine/graphics/PCModel.h"

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/PCDeviceLock.h"
#include "engine/graphics/PCMesh.h"

#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

class PCModelTest : public drawtest::DrawingFixture {
protected:
    void SetUp() override {
        DrawingFixture::SetUp();
        m_camera.SetProjectionKind(PCCam::kPerspective);
        m_camera.SetPerspective(1.0f, f32(kWidth) / f32(kHeight), 0.5f, 100.0f);
    }
    // The pixel at the centre of the screen with the camera at eye looking at target.
    u32 CentreSeenFrom(AGVec3 eye, AGVec3 target) {
        m_camera.SetLookAt(eye, target, {0, 1, 0});
        Frame();
        return Pixel(kWidth / 2, kHeight / 2) | 0xFF000000u;
    }
    PCModel* Show(const std::string& model) {
        auto* m = m_package->Instance<PCModel>(TypeKey::Model, model);
        DrawingFixture::Show(*m);
        return m;
    }
    void Hide(PCModel* model) {
        m_layer.RemoveRenderable(model);
        GiveBack(TypeKey::Model, model);
    }
};

}  // namespace

TEST_F(PCModelTest, ATexturedBoxShowsTexelTimesVertexColourAndCullsItsInside) {
    authoring::PackageWriter writer;
    authoring::TexturedBox box;
    box.vertexColor = 0xFF808080u, box.texel = 0xFF80C0FFu;
    box.normals = false;  // drawn unlit all the same, with a log line
    authoring::AddTexturedBox(writer, box);
    authoring::TexturedBox twin = box;
    twin.name = "twin";
    twin.flags = 4;  // double-sided
    authoring::AddTexturedBox(writer, twin);
    Mount(writer);

    LogCapture log;
    PCModel* model = Show("box.mdl");
    EXPECT_TRUE(log.Contains("no normal"));
    ASSERT_EQ(model->m_attribute.PartCount(), 1u);
    EXPECT_TRUE(model->m_attribute.m_primitiveCounts[0] == 12u && model->m_attribute.m_vertexCounts[0] == 24u);
    // Texel x vertex colour: 0x80 x 0x80, 0xC0 x 0x80, 0xFF x 0x80 over 255.
    EXPECT_TRUE(gfxtest::ColorNear(CentreSeenFrom({0, 0, -5}, {0, 0, 0}), 0xFF406080u, 2));
    // From inside every face turns its back: the culled box shows nothing.
    EXPECT_TRUE(gfxtest::ColorNear(CentreSeenFrom({0, 0, 0}, {0, 0, 1}), drawtest::kBlack, 2));
    Hide(model);

    model = Show("twin.mdl");
    EXPECT_TRUE(gfxtest::ColorNear(CentreSeenFrom({0, 0, 0}, {0, 0, 1}), 0xFF406080u, 2));
    Hide(model);
}

// A model's own draw writes depth for its opaque meshes and not for additive ones, whatever the
// draw before left (the first draw of a row finds depth writes on): the far box, drawn again after
// the near one, stays hidden behind it, but not behind an additive box in front. A type 4 mesh
// keeps the depth writes off after an additive one, so the far box drawn next still shows.
TEST_F(PCModelTest, OwnDrawWritesDepthForOpaqueMeshes) {
    authoring::PackageWriter writer;
    for (auto [name, texel, z, type] : {std::tuple{"near", 0xFFFF0000u, 0.0f, 1u}, {"far", 0xFF00FF00u, 3.0f, 1u},
                                        {"glow", 0xFF000040u, 0.0f, 3u}, {"front", 0xFFFF0000u, 0.0f, 4u},
                                        {"plain", 0xFF0000FFu, 3.0f, 0u}, {"tinted", 0xFF80C0FFu, 0.0f, 2u}}) {
        authoring::TexturedBox box;
        box.name = name, box.texel = texel, box.vertexColor = type == 2 ? 0xFF808080u : 0xFFFFFFFFu;
        box.renderType = type, box.model.local = authoring::TranslationMatrix(0, 0, z);
        authoring::AddTexturedBox(writer, box);
    }
    Mount(writer);
    using platform::gfx::SamplerState, platform::gfx::TextureFilter;
    struct OwnDraw : drawtest::TestRenderable {
        using TestRenderable::TestRenderable;
        void Update() override { inner->Update(); }
        void Draw() override {
            if (depthWrites)  // left on, as by an opaque sprite
                PCCurrentDevice()->SetRenderState(platform::gfx::RenderState::ZWriteEnable, 1u);
            inner->Draw();
        }
        AGRenderable* inner = nullptr;
        bool depthWrites = false;
    };
    drawtest::Log calls;
    OwnDraw first(&calls, "first"), second(&calls, "second"), third(&calls, "far again");
    PCModel* far = m_package->Instance<PCModel>(TypeKey::Model, "far.mdl");
    third.inner = far, first.depthWrites = true;
    m_camera.SetProjectionKind(PCCam::kOrthographic);  // drawn in sort-key order
    m_camera.SetLookAt({0, 0, -5}, {0, 0, 0}, {0, 1, 0});
    f32 key = 1;
    for (OwnDraw* own : {&first, &second, &third})
        DrawingFixture::Show(*own, key++);
    // The third row: a blended mesh after an untextured one takes texel times vertex colour again.
    for (auto [one, two, expected] : {std::tuple{"far", "near", 0xFFFF0000u}, {"glow", "front", 0xFF00FF00u},
                                      {"plain", "tinted", 0xFF406080u}}) {
        PCModel* a = m_package->Instance<PCModel>(TypeKey::Model, std::string(one) + ".mdl");
        PCModel* b = m_package->Instance<PCModel>(TypeKey::Model, std::string(two) + ".mdl");
        first.inner = a, second.inner = b;
        Frame();
        EXPECT_TRUE(gfxtest::ColorNear(Pixel(kWidth / 2, kHeight / 2), expected, 2)) << one << " " << two;
        // Only the type 4 mesh keeps the texture filtering it finds.
        PCCurrentDevice()->SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Point);
        static_cast<PCMesh*>(b->GetMesh(0))->Draw();
        EXPECT_EQ(PCCurrentDevice()->GetSamplerState(0, SamplerState::MinFilter) == 0u, std::string(two) == "front");
        GiveBack(TypeKey::Model, a);
        GiveBack(TypeKey::Model, b);
    }
    for (OwnDraw* own : {&first, &second, &third})
        m_layer.RemoveRenderable(own);
    GiveBack(TypeKey::Model, far);
}

// A copy of a faded model builds its meshes from the faded colours; a swapped material reaches
// the draw attribute; a mesh without a material draws untextured.
TEST_F(PCModelTest, FadesSwappedMaterialsAndBareMeshesReachTheDevice) {
    authoring::PackageWriter writer;
    authoring::TexturedBox box;
    box.renderType = 2;  // alpha tested
    authoring::AddTexturedBox(writer, box);
    box.name = "red";
    authoring::AddTexturedBox(writer, box);
    authoring::ModelData bare;
    bare.vertexBufferId = authoring::NameId("box.vb");
    bare.meshIds = {authoring::NameId("box.mesh")};
    writer.Add("bare.mdl", 0, authoring::ModelBytes(bare));
    Mount(writer);
    auto* model = m_package->Instance<PCModel>(TypeKey::Model, "box.mdl");
    model->SetOpacity(0.5f);
    const PCModel copy(*model);  // its own meshes, built from the faded colours
    ASSERT_EQ(copy.m_attribute.PartCount(), 1u);
    const AGVertexStreams& streams = copy.m_attribute.m_streams[0];
    ASSERT_EQ(streams.entries[2].stream, PCMesh::kColors);
    EXPECT_EQ(*reinterpret_cast<const u32*>(streams.entries[2].buffer->Data()), 0x7FFFFFFFu);
    model->Update();  // the original's meshes take the faded colours on its update
    EXPECT_EQ(*reinterpret_cast<const u32*>(model->m_attribute.m_streams[0].entries[2].buffer->Data()), 0x7FFFFFFFu);
    auto* red = Get<AGMaterial>(TypeKey::Material, "red.mat");
    ASSERT_NE(model->MaterialOfMesh(0), nullptr);
    EXPECT_TRUE(model->FindSkin("box.mat") == model->MaterialOfMesh(0) && !model->FindSkin("red.mat"));
    model->SetMaterial(authoring::NameId("box.mat"), authoring::NameId("red.mat"));
    EXPECT_TRUE(model->FindSkin("red.mat") == red && model->m_attribute.m_materials[0] == red);

    // Whatever texture the model before left bound.
    auto* untextured = m_package->Instance<PCModel>(TypeKey::Model, "bare.mdl");
    model->Draw();
    ASSERT_NE(Dev().GetTexture(0), nullptr);
    untextured->Draw();
    EXPECT_EQ(Dev().GetTexture(0), nullptr);
    using platform::gfx::RenderState;
    for (RenderState state : {RenderState::ZWriteEnable, RenderState::ZEnable, RenderState::AlphaTestEnable})
        EXPECT_EQ(Dev().GetRenderState(state), 0u) << int(state);  // off again after the draw
    // A swap naming a material the model does not have changes nothing, its draw attribute included.
    model->m_attribute.m_materials[0] = nullptr;
    model->SetMaterial(authoring::NameId("gone.mat"), authoring::NameId("box.mat"));
    EXPECT_EQ(model->m_attribute.m_materials[0], nullptr);
    GiveBack(TypeKey::Model, untextured);
    GiveBack(TypeKey::Model, model);
}

// Skinning leaves the file's normals on the device when the vertex buffer has fewer normals
// than positions: only the positions follow the bones.
TEST_F(PCModelTest, SkinningWithoutANormalPerPositionKeepsTheFileNormals) {
    authoring::SkeletonSample sample = authoring::MakeSkeletonSample(2);
    ASSERT_EQ(sample.vertexBuffer.normals.size(), 48u);
    sample.vertexBuffer.normals.resize(24);  // the first box's only
    authoring::ModelData data;
    data.vertexBufferId = authoring::NameId("half.vb");
    data.meshIds = {authoring::NameId("half.mesh")};
    authoring::PackageWriter writer;
    writer.Add("half.vb", 0, authoring::VertexBufferBytes(sample.vertexBuffer))
        .Add("half.mesh", 0, authoring::MeshBytes(authoring::BoxMesh(1)))
        .Add("half.skel", 0, authoring::SkinBytes(sample.bones))
        .Add("half.mdl", 0, authoring::ModelBytes(data));
    Mount(writer);
    auto* model = m_package->Instance<PCModel>(TypeKey::Model, "half.mdl");
    model->SetSkin(Get<AGSkin>(TypeKey::Skeleton, "half.skel"));
    model->Update();
    ASSERT_EQ(model->m_attribute.PartCount(), 1u);
    const AGVertexStreams::Entry& normals = model->m_attribute.m_streams[0].entries[1];
    ASSERT_EQ(normals.stream, PCMesh::kNormals);
    const f32* first = reinterpret_cast<const f32*>(normals.buffer->Data());
    const auto file = sample.vertexBuffer.normals[0];  // the box mesh maps vertex 0 first
    EXPECT_TRUE(first[0] == file[0] && first[1] == file[1] && first[2] == file[2]);
    model->SetSkin(nullptr);
    GiveBack(TypeKey::Model, model);
}
