// The device sends a state only when it differs from what GL holds: whatever changed GL behind
// the shadowed states (clears, colour material, light switches, a depth clear's stencil) must
// still reach the next draw.
#include "platform/gfx/Device.h"

#include "platform/gfx/GlHeaders.h"
#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

constexpr uint32_t kBackground = 0xFF000000;

class DeviceMirrorTest : public DeviceTest {
protected:
    // A quad over pixels [x, x + w) x [y, y + h); colours from a stream unless colour is 0.
    void Quad(int x, int y, int w, int h, uint32_t argb, bool withNormals = false) {
        std::vector<Vec3> p = {{float(x) - 0.5f, float(y) - 0.5f, 0.5f},
                               {float(x + w) - 0.5f, float(y) - 0.5f, 0.5f},
                               {float(x) - 0.5f, float(y + h) - 0.5f, 0.5f},
                               {float(x + w) - 0.5f, float(y + h) - 0.5f, 0.5f}};
        std::vector<Vec3> normals;
        if (withNormals)
            normals.assign(4, Vec3{0, 0, -1});
        Mesh mesh(Dev(), p, argb ? std::vector<uint32_t>(4, argb) : std::vector<uint32_t>{}, {}, normals);
        mesh.Bind(Dev());
        ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    }
    void Lit(bool on, ColorValue diffuse) {
        Light light{};
        light.type = LightType::Directional;
        light.diffuse = {1, 1, 1, 1};
        light.direction = {0, 0, 1};
        Dev().SetLight(0, light);
        Dev().LightEnable(0, on);
        Material material{};
        material.diffuse = diffuse;
        Dev().SetMaterial(material);
        Dev().SetRenderState(RenderState::Lighting, 1u);
    }
};

TEST_F(DeviceMirrorTest, StatesChangedBehindTheShadowReachTheNextDraw) {
    Device& d = Dev();
    d.SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
    d.SetTextureStageState(0, StageState::ColorArg1, TextureArg::Diffuse);
    d.Clear(kClearTarget, kBackground, 1.0f, 0);

    // A clear turns the scissor test off and depth writes on in GL; the shadow keeps them.
    d.SetRenderState(RenderState::ScissorTestEnable, 1u);
    d.SetScissorRect({0, 0, 8, 8});
    Quad(0, 0, 4, 4, 0xFF0000FF);
    d.Clear(kClearZBuffer, 0, 1.0f, 0);
    Quad(0, 0, 32, 32, 0xFF00FF00);
    EXPECT_TRUE(ColorNear(ReadPixel(d, 2, 2), 0xFF00FF00, 1));
    EXPECT_TRUE(ColorNear(ReadPixel(d, 20, 20), kBackground, 1)) << "outside the scissor";
    d.SetRenderState(RenderState::ScissorTestEnable, 0u);

    // Lit, the vertex colours stand in for the material's diffuse; without them, the material
    // is back, although GL's diffuse followed the current colour meanwhile.
    Lit(true, {1, 0, 0, 1});
    Quad(10, 0, 4, 4, 0xFF00FF00, true);
    Quad(20, 0, 4, 4, 0, true);
    Quad(30, 0, 4, 4, 0xFF00FF00, true);
    Quad(40, 0, 4, 4, 0, true);
    EXPECT_TRUE(ColorNear(ReadPixel(d, 11, 1), 0xFF00FF00, 2));
    EXPECT_TRUE(ColorNear(ReadPixel(d, 21, 1), 0xFFFF0000, 2));
    EXPECT_TRUE(ColorNear(ReadPixel(d, 41, 1), 0xFFFF0000, 2));

    // The light switched off and on again between draws with the same light.
    Lit(false, {1, 0, 0, 1});
    Quad(10, 10, 4, 4, 0, true);
    Lit(true, {1, 0, 0, 1});
    Quad(20, 10, 4, 4, 0, true);
    EXPECT_TRUE(ColorNear(ReadPixel(d, 11, 11), kBackground, 2)) << "no light, no ambient";
    EXPECT_TRUE(ColorNear(ReadPixel(d, 21, 11), 0xFFFF0000, 2));
    d.SetRenderState(RenderState::Lighting, 0u);

    // Unlit draws without colours are white, after draws that read colours from a stream.
    Quad(10, 20, 4, 4, 0xFF0000FF);
    Quad(20, 20, 4, 4, 0);
    EXPECT_TRUE(ColorNear(ReadPixel(d, 21, 21), 0xFFFFFFFF, 1));
}

TEST_F(DeviceMirrorTest, DepthClearsKeepTheStencil) {
    Device& d = Dev();
    auto stencilAt = [&](int x, int y) {
        GLubyte s = 0;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glReadPixels(x, int(kHeight) - 1 - y, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &s);
        return int(s);
    };
    d.Clear(kClearTarget | kClearZBuffer | kClearStencil, kBackground, 1.0f, 7);
    d.SetRenderState(RenderState::ScissorTestEnable, 1u);
    d.SetScissorRect({0, 0, 8, 8});
    d.Clear(kClearStencil, 0, 1.0f, 3);
    d.SetRenderState(RenderState::ScissorTestEnable, 0u);
    d.Clear(kClearZBuffer, 0, 0.25f, 0);
    EXPECT_EQ(stencilAt(2, 2), 3);
    EXPECT_EQ(stencilAt(20, 20), 7);
    d.Clear(kClearStencil, 0, 1.0f, 5);
    d.Clear(kClearZBuffer, 0, 1.0f, 0);
    EXPECT_EQ(stencilAt(2, 2), 5);
    EXPECT_EQ(stencilAt(20, 20), 5);
}

// A reset brings back the full viewport, identity texture transforms, the default light (white,
// along +z, switched off) and material (white); the light answers only to index 0.
TEST_F(DeviceMirrorTest, ResetRestoresTheViewportLightAndMaterial) {
    Device& d = Dev();
    d.SetViewport({0, 0, 8, 8, 0, 1});
    Light red{};
    red.type = LightType::Directional;
    red.diffuse = {1, 0, 0, 1};
    red.direction = {0, 0, 1};
    Dev().SetLight(0, red);
    Lit(true, {0, 1, 0, 1});
    Matrix shifted = MatrixIdentity();
    shifted.m[12] = 0.5f;
    d.SetTransform(TransformType::Texture0, shifted);
    PresentParams params;
    params.width = kWidth;
    params.height = kHeight;
    ASSERT_EQ(d.Reset(params), Result::Ok);
    d.SetRenderState(RenderState::ScissorTestEnable, 1u);  // the scissor rectangle is whole again too
    d.Clear(kClearTarget, 0xFF102030, 1.0f, 0);
    d.SetRenderState(RenderState::ScissorTestEnable, 0u);
    EXPECT_EQ(ReadPixel(d, 0, 0), 0xFF102030u);
    EXPECT_EQ(ReadPixel(d, kWidth - 1, kHeight - 1), 0xFF102030u);
    EXPECT_EQ(d.GetTransform(TransformType::Texture0).m[12], 0.0f);
    SetPixelSpace(d, kWidth, kHeight);
    d.SetRenderState(RenderState::CullMode, Cull::None);
    d.SetRenderState(RenderState::ZEnable, 0u);
    d.SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
    d.SetTextureStageState(0, StageState::ColorArg1, TextureArg::Diffuse);
    d.SetLight(1, red);
    d.LightEnable(1, true);
    Quad(0, 0, 4, 4, 0, true);
    EXPECT_TRUE(ColorNear(ReadPixel(d, 1, 1), 0xFF000000, 1)) << "the light starts off";
    d.LightEnable(0, true);
    d.LightEnable(1, false);
    Quad(10, 0, 4, 4, 0, true);
    EXPECT_TRUE(ColorNear(ReadPixel(d, 11, 1), 0xFFFFFFFF, 2));
}

}  // namespace
