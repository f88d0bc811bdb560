// Draw calls: primitive counts, indexed lists, the position-and-texture format, and the
// refusal of draws that would read outside their buffers.
#include "platform/gfx/Device.h"

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

class DeviceDrawTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
        Dev().SetTextureStageState(0, StageState::ColorArg1, TextureArg::Diffuse);
        Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    }
};

TEST_F(DeviceDrawTest, IndexedTriangleListDrawsEveryTriangle) {
    // Two quads side by side sharing no vertices: 8 vertices, 4 triangles.
    std::vector<Vec3> p = {{0, 0, 0.5f},  {4, 0, 0.5f},  {0, 4, 0.5f},  {4, 4, 0.5f},
                           {10, 0, 0.5f}, {14, 0, 0.5f}, {10, 4, 0.5f}, {14, 4, 0.5f}};
    Mesh mesh(Dev(), p, std::vector<uint32_t>(8, 0xFFFFFFFF), {});
    const uint16_t indices[] = {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7};
    IndexBuffer* ib = Dev().CreateIndexBuffer(sizeof indices);
    std::memcpy(ib->Lock(0, 0), indices, sizeof indices);
    ib->Unlock();
    mesh.Bind(Dev());
    Dev().SetIndices(ib);
    ib->Release();  // the binding keeps it alive
    ASSERT_TRUE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 8, 0, 4));
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(Dev(), 3, 3), 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(Dev(), 11, 1), 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(Dev(), 7, 1), 0xFF000000u);

    // Start index and primitive count select the second quad only.
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    ASSERT_TRUE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 8, 6, 2));
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), 0xFF000000u);
    EXPECT_EQ(ReadPixel(Dev(), 11, 1), 0xFFFFFFFFu);
}

TEST_F(DeviceDrawTest, FanLinesAndStartVertex) {
    std::vector<Vec3> p = {{0, 0, 0.5f}, {8, 0, 0.5f}, {8, 8, 0.5f}, {0, 8, 0.5f},
                           {0, 20, 0.5f}, {30, 20, 0.5f}};
    Mesh mesh(Dev(), p, std::vector<uint32_t>(6, 0xFFFFFFFF), {});
    mesh.Bind(Dev());
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleFan, 0, 2));
    EXPECT_EQ(ReadPixel(Dev(), 6, 6), 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(Dev(), 1, 6), 0xFFFFFFFFu);
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::LineList, 4, 1));
    EXPECT_EQ(ReadPixel(Dev(), 15, 20), 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(Dev(), 15, 22), 0xFF000000u);
    EXPECT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 0));  // nothing to draw
}

TEST_F(DeviceDrawTest, PositionAndTextureFormatInOneStream) {
    // The video's full-screen quad: clip-space corners, one coordinate set.
    const float quad[] = {-1, 1, 1, 0, 0, -1, -1, 1, 0, 1, 1, 1, 1, 1, 0, 1, -1, 1, 1, 1};
    VertexBuffer* vb = Dev().CreateVertexBuffer(sizeof quad, kUsageWriteOnly);
    std::memcpy(vb->Lock(0, sizeof quad), quad, sizeof quad);
    vb->Unlock();
    Texture* tex = Dev().CreateTexture(2, 2, kUsageDynamic, Format::X8R8G8B8);
    LockedRect locked;
    ASSERT_TRUE(tex->LockRect(locked, false));
    auto* texels = static_cast<uint32_t*>(locked.bits);
    texels[0] = 0xFFFF0000;  // top left
    texels[1] = 0xFF00FF00;
    texels[2] = 0xFF0000FF;
    texels[3] = 0xFFFFFFFF;
    tex->UnlockRect();

    Dev().SetTransform(TransformType::World, MatrixIdentity());
    Dev().SetTransform(TransformType::Projection, MatrixIdentity());
    Dev().SetTextureStageState(0, StageState::ColorArg1, TextureArg::Texture);
    Dev().SetTexture(0, tex);
    Dev().SetFVF(kFvfXyz | kFvfTex1);
    Dev().SetStreamSource(0, vb, 0, 20);
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    EXPECT_EQ(ReadPixel(Dev(), 2, 2), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(Dev(), 61, 2), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(Dev(), 2, 45), 0xFF0000FFu);
    EXPECT_EQ(ReadPixel(Dev(), 61, 45), 0xFFFFFFFFu);
    Dev().SetTexture(0, nullptr);
    tex->Release();
    vb->Release();
}

TEST_F(DeviceDrawTest, DrawsReadingOutsideTheirBuffersAreRefused) {
    std::vector<Vec3> p = {{0, 0, 0.5f}, {4, 0, 0.5f}, {0, 4, 0.5f}, {4, 4, 0.5f}};
    Mesh mesh(Dev(), p, std::vector<uint32_t>(4, 0xFFFFFFFF), {0, 0, 1, 0, 0, 1, 1, 1});
    mesh.Bind(Dev());
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 3));  // needs 5 vertices
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 1, 2));
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleList, 0, 0xFFFFFFFFu));
    // An offset into the stream counts too.
    Dev().SetStreamSource(0, mesh.Positions(), 12, 12);
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    Dev().SetStreamSource(0, mesh.Positions(), 0, 0);
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    Dev().SetStreamSource(0, mesh.Positions(), 0, 12);

    const uint16_t indices[] = {0, 1, 2, 2, 1, 9};  // 9: no such vertex
    IndexBuffer* ib = Dev().CreateIndexBuffer(sizeof indices);
    std::memcpy(ib->Lock(0, 0), indices, sizeof indices);
    Dev().SetIndices(ib);
    EXPECT_FALSE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 2));
    EXPECT_TRUE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 1));
    EXPECT_FALSE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 3, 2));  // past the indices
    EXPECT_FALSE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 2, 0, 4, 0, 1));  // base moves past
    Dev().SetIndices(nullptr);
    EXPECT_FALSE(Dev().DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 1));
    ib->Release();

    Dev().SetVertexDeclaration(nullptr);
    EXPECT_FALSE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));

    // Lock ranges outside a buffer give nothing.
    EXPECT_EQ(mesh.Positions()->Lock(40, 12), nullptr);
    EXPECT_EQ(mesh.Positions()->Lock(48, 0), nullptr);
    EXPECT_NE(mesh.Positions()->Lock(36, 12), nullptr);
    const VertexElement bad = {kMaxStreams, 0, DeclType::Float3, DeclUsage::Position, 0};
    EXPECT_EQ(Dev().CreateVertexDeclaration(&bad, 1), nullptr);
    EXPECT_EQ(Dev().CreateVertexBuffer(0, 0), nullptr);
}

}  // namespace
