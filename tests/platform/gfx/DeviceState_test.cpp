// States reach the pixels: texture-stage combiners, blending, alpha test, culling, depth,
// lighting and texture transforms.
#include "platform/gfx/Device.h"

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

constexpr uint32_t kBackground = 0xFF204060;

class DeviceStateTest : public DeviceTest {
protected:
    // A texture of the given texels (u32 ARGB), width x 1.
    Texture* Texels(const std::vector<uint32_t>& texels, Format format = Format::A8R8G8B8) {
        Texture* t = Dev().CreateTexture(uint32_t(texels.size()), 1, 0, format);
        LockedRect locked;
        EXPECT_TRUE(t->LockRect(locked, false));
        std::memcpy(locked.bits, texels.data(), texels.size() * 4);
        t->UnlockRect();
        m_textures.push_back(t);
        return t;
    }
    // Draws a quad covering pixels [x, x + w) x [y, y + h) with one vertex colour.
    void Quad(int x, int y, int w, int h, uint32_t argb, float z = 0.5f) {
        auto mesh = MakeQuad(Dev(), float(x) - 0.5f, float(y) - 0.5f, float(x + w) - 0.5f,
                             float(y + h) - 0.5f, z, argb);
        mesh->Bind(Dev());
        ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    }
    void Stage0(TextureOp colorOp, TextureArg arg1, TextureArg arg2, TextureOp alphaOp,
                TextureArg alphaArg1, TextureArg alphaArg2 = TextureArg::Current) {
        Dev().SetTextureStageState(0, StageState::ColorOp, colorOp);
        Dev().SetTextureStageState(0, StageState::ColorArg1, arg1);
        Dev().SetTextureStageState(0, StageState::ColorArg2, arg2);
        Dev().SetTextureStageState(0, StageState::AlphaOp, alphaOp);
        Dev().SetTextureStageState(0, StageState::AlphaArg1, alphaArg1);
        Dev().SetTextureStageState(0, StageState::AlphaArg2, alphaArg2);
    }
    void TearDown() override {
        Dev().SetTexture(0, nullptr);
        for (Texture* t : m_textures)
            t->Release();
        DeviceTest::TearDown();
    }
    std::vector<Texture*> m_textures;
};

uint32_t Mix(uint32_t a, uint32_t b, int (*op)(int, int)) {
    uint32_t out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8)
        out |= uint32_t(std::clamp(op(Channel(a, shift), Channel(b, shift)), 0, 255)) << shift;
    return out;
}

TEST_F(DeviceStateTest, StageOperationsCombineTexelAndVertexColour) {
    const uint32_t texel = 0xFF804020, diffuse = 0xFF4080C0;
    Dev().SetTexture(0, Texels({texel}));
    Dev().Clear(kClearTarget, kBackground, 1.0f, 0);

    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(0, 0, 4, 4, diffuse);
    Stage0(TextureOp::SelectArg2, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(4, 0, 4, 4, diffuse);
    Stage0(TextureOp::Modulate, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(8, 0, 4, 4, diffuse);
    Stage0(TextureOp::Add, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(12, 0, 4, 4, diffuse);
    // Current on the first stage is the vertex colour.
    Stage0(TextureOp::SelectArg1, TextureArg::Current, TextureArg::Texture, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(16, 0, 4, 4, diffuse);

    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 1, 1), texel, 0));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 5, 1), diffuse, 0));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 9, 1), Mix(texel, diffuse, [](int a, int b) { return a * b / 255; }), 2));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 13, 1), Mix(texel, diffuse, [](int a, int b) { return a + b; }), 2));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 17, 1), diffuse, 0));
}

TEST_F(DeviceStateTest, AStageWithoutTextureReadsOpaqueWhite) {
    Dev().Clear(kClearTarget, kBackground, 1.0f, 0);
    Dev().SetRenderState(RenderState::AlphaBlendEnable, 1u);
    Dev().SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    Dev().SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    Stage0(TextureOp::Modulate, TextureArg::Texture, TextureArg::Diffuse, TextureOp::Modulate,
           TextureArg::Texture, TextureArg::Diffuse);
    Quad(0, 0, 4, 4, 0xFF4080C0);  // untextured: the vertex colour itself
    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(4, 0, 4, 4, 0xFF000000);
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), 0xFF4080C0u);
    EXPECT_EQ(ReadPixel(Dev(), 5, 1), 0xFFFFFFFFu);
}

TEST_F(DeviceStateTest, ADisabledStageEndsTheCascade) {
    Dev().SetTexture(0, Texels({0xFFFF0000}));
    Dev().SetTexture(1, Texels({0xFF00FF00}));
    Dev().Clear(kClearTarget, kBackground, 1.0f, 0);
    // Stage 1 would select its texture, but stage 0 disabled ends the cascade before it.
    Dev().SetTextureStageState(1, StageState::ColorOp, TextureOp::SelectArg1);
    Dev().SetTextureStageState(1, StageState::ColorArg1, TextureArg::Texture);
    Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::Disable);
    Quad(0, 0, 4, 4, 0xFF102030);
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), 0xFF102030u);
    // With stage 0 on, stage 1 sees its result as Current and replaces it with its texel.
    Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
    Quad(4, 0, 4, 4, 0xFF102030);
    EXPECT_EQ(ReadPixel(Dev(), 5, 1), 0xFF00FF00u);
    Dev().SetTexture(1, nullptr);
}

TEST_F(DeviceStateTest, BlendingOverAKnownBackground) {
    Dev().Clear(kClearTarget, kBackground, 1.0f, 0);
    const uint32_t color = 0x80C86432;  // alpha 128 over (200, 100, 50)
    Stage0(TextureOp::SelectArg1, TextureArg::Diffuse, TextureArg::Current, TextureOp::SelectArg1, TextureArg::Diffuse);
    Dev().SetRenderState(RenderState::AlphaBlendEnable, 1u);
    Dev().SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    Dev().SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    Quad(0, 0, 4, 4, color);
    Dev().SetRenderState(RenderState::DestBlend, Blend::One);
    Quad(4, 0, 4, 4, color);
    Dev().SetRenderState(RenderState::AlphaBlendEnable, 0u);
    Quad(8, 0, 4, 4, color);

    const float a = 128.0f / 255.0f;
    auto over = [a](int c, int b) { return int(c * a + b * (1.0f - a) + 0.5f); };
    auto add = [a](int c, int b) { return int(c * a + b + 0.5f); };
    uint32_t expectOver = 0xFF000000, expectAdd = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        expectOver |= uint32_t(over(Channel(color, shift), Channel(kBackground, shift))) << shift;
        expectAdd |= uint32_t(std::min(add(Channel(color, shift), Channel(kBackground, shift)), 255)) << shift;
    }
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 1, 1), expectOver, 2));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 5, 1), expectAdd, 2));
    EXPECT_EQ(ReadPixel(Dev(), 9, 1), 0xFFC86432u);
}

TEST_F(DeviceStateTest, AlphaTestComparesBytes) {
    Dev().SetTexture(0, Texels({0x5EFFFFFF, 0x5FFFFFFF}));  // alpha 94, 95
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::Modulate,
           TextureArg::Texture, TextureArg::Diffuse);
    Dev().SetRenderState(RenderState::AlphaTestEnable, 1u);
    Dev().SetRenderState(RenderState::AlphaFunc, Cmp::GreaterEqual);
    Dev().SetRenderState(RenderState::AlphaRef, 95u);
    Quad(10, 10, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(ReadPixel(Dev(), 10, 10), 0xFF000000u);
    EXPECT_EQ(ReadPixel(Dev(), 11, 10), 0xFFFFFFFFu);

    Dev().SetRenderState(RenderState::AlphaFunc, Cmp::Less);
    Quad(10, 12, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(ReadPixel(Dev(), 10, 12), 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(Dev(), 11, 12), 0xFF000000u);
}

TEST_F(DeviceStateTest, CullModesFollowTheWindingOnScreen) {
    // Clockwise on screen: right along the top, then down to the left.
    std::vector<Vec3> cw = {{10, 10, 0.5f}, {30, 10, 0.5f}, {10, 30, 0.5f}};
    Mesh triangle(Dev(), cw, std::vector<uint32_t>(3, 0xFFFFFFFF), {});
    Stage0(TextureOp::SelectArg1, TextureArg::Diffuse, TextureArg::Current, TextureOp::SelectArg1, TextureArg::Diffuse);
    struct Case {
        Cull mode;
        bool drawn;
    };
    for (Case c : {Case{Cull::CW, false}, Case{Cull::CCW, true}, Case{Cull::None, true}}) {
        Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
        Dev().SetRenderState(RenderState::CullMode, c.mode);
        triangle.Bind(Dev());
        ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleList, 0, 1));
        EXPECT_EQ(ReadPixel(Dev(), 14, 14), c.drawn ? 0xFFFFFFFFu : 0xFF000000u) << int(c.mode);
    }
    // The other winding is culled by CCW only.
    std::vector<Vec3> ccw = {cw[0], cw[2], cw[1]};
    Mesh reversed(Dev(), ccw, std::vector<uint32_t>(3, 0xFFFFFFFF), {});
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Dev().SetRenderState(RenderState::CullMode, Cull::CCW);
    reversed.Bind(Dev());
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleList, 0, 1));
    EXPECT_EQ(ReadPixel(Dev(), 14, 14), 0xFF000000u);
}

TEST_F(DeviceStateTest, DepthTestAndDepthWritesFollowTheirStates) {
    Stage0(TextureOp::SelectArg1, TextureArg::Diffuse, TextureArg::Current, TextureOp::SelectArg1, TextureArg::Diffuse);
    const uint32_t red = 0xFFFF0000, green = 0xFF00FF00;
    Dev().Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0);
    Dev().SetRenderState(RenderState::ZEnable, 1u);
    Quad(0, 0, 4, 4, red, 0.2f);
    Quad(0, 0, 4, 4, green, 0.8f);  // behind: hidden
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), red);

    Dev().SetRenderState(RenderState::ZEnable, 0u);
    Quad(0, 0, 4, 4, green, 0.8f);  // no test: drawn over
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), green);

    // Without depth writes the near quad leaves the depth at 1, so a far one still passes.
    Dev().Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0);
    Dev().SetRenderState(RenderState::ZEnable, 1u);
    Dev().SetRenderState(RenderState::ZWriteEnable, 0u);
    Quad(4, 0, 4, 4, red, 0.2f);
    Quad(4, 0, 4, 4, green, 0.8f);
    EXPECT_EQ(ReadPixel(Dev(), 5, 1), green);

    // A depth clear ignores the write switch; a clear to 0.5 hides everything behind it.
    Dev().Clear(kClearZBuffer, 0, 0.5f, 0);
    Quad(8, 0, 4, 4, red, 0.8f);
    EXPECT_EQ(ReadPixel(Dev(), 9, 1), 0xFF000000u);
    Quad(8, 0, 4, 4, red, 0.4f);
    EXPECT_EQ(ReadPixel(Dev(), 9, 1), red);
}

TEST_F(DeviceStateTest, OneDirectionalLightAndTheMaterial) {
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Dev().SetRenderState(RenderState::Lighting, 1u);
    Dev().SetRenderState(RenderState::Ambient, 0xFF202020u);
    Light light{};
    light.type = LightType::Directional;
    light.diffuse = {1, 1, 1, 1};
    light.direction = {0, 0, 1};  // into the screen, onto quads that face the viewer
    Dev().SetLight(0, light);
    Dev().LightEnable(0, true);
    Material material{};
    material.diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
    material.ambient = {1, 1, 1, 1};
    Dev().SetMaterial(material);

    std::vector<Vec3> p = {{0, 0, 0.5f}, {4, 0, 0.5f}, {0, 4, 0.5f}, {4, 4, 0.5f}};
    std::vector<Vec3> facing(4, Vec3{0, 0, -1});
    auto shifted = [&p](float dx) {
        std::vector<Vec3> q = p;
        for (auto& v : q)
            v.x += dx;
        return q;
    };
    // Vertex colours stand in for the material diffuse (from the very first draw on).
    Mesh colored(Dev(), shifted(8), std::vector<uint32_t>(4, 0xFF00FF00), {}, facing);
    colored.Bind(Dev());
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 9, 1), 0xFF20FF20, 2));

    // Without them the material diffuse is back, plus the global ambient.
    Mesh lit(Dev(), p, {}, {}, facing);
    lit.Bind(Dev());
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 1, 1), 0xFF9F60FF, 2));

    // Turned away from the light: the ambient alone.
    Mesh away(Dev(), shifted(4), {}, {}, std::vector<Vec3>(4, Vec3{0, 0, 1}));
    away.Bind(Dev());
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 5, 1), 0xFF202020, 2));

    // Lighting off, no colour stream: opaque white.
    Dev().SetRenderState(RenderState::Lighting, 0u);
    lit.Bind(Dev());
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), 0xFFFFFFFFu);
}

TEST_F(DeviceStateTest, TwoCoordinateTextureTransformTranslatesFromTheThirdRow) {
    Dev().SetTexture(0, Texels({0xFFFF0000, 0xFF00FF00}));
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(10, 10, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(ReadPixel(Dev(), 10, 10), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(Dev(), 11, 10), 0xFF00FF00u);

    Matrix shift = MatrixIdentity();
    shift.m[8] = 0.5f;  // u += 0.5
    Dev().SetTransform(TextureTransformOf(0), shift);
    Dev().SetTextureStageState(0, StageState::TextureTransformFlags, TextureTransform::Count2);
    Quad(10, 10, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(ReadPixel(Dev(), 10, 10), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(Dev(), 11, 10), 0xFFFF0000u);  // wrapped

    Dev().SetSamplerState(0, SamplerState::AddressU, TextureAddress::Clamp);
    Quad(10, 10, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(ReadPixel(Dev(), 11, 10), 0xFF00FF00u);  // clamped to the last texel

    Dev().SetTextureStageState(0, StageState::TextureTransformFlags, TextureTransform::Disable);
    Quad(10, 10, 2, 1, 0xFFFFFFFF);
    EXPECT_EQ(ReadPixel(Dev(), 10, 10), 0xFFFF0000u);
}

TEST_F(DeviceStateTest, XrgbTexturesReadOpaque) {
    Dev().SetTexture(0, Texels({0x00336699}, Format::X8R8G8B8));
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Dev().SetRenderState(RenderState::AlphaTestEnable, 1u);
    Dev().SetRenderState(RenderState::AlphaFunc, Cmp::GreaterEqual);
    Dev().SetRenderState(RenderState::AlphaRef, 255u);
    Quad(0, 0, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(ReadPixel(Dev(), 0, 0), 0xFF336699u);
}

}  // namespace
