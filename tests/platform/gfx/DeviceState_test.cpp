// States reach the pixels: texture-stage combiners, blending, alpha test, culling and depth.
#include "platform/gfx/Device.h"

#include <cmath>
#include <tuple>

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

constexpr uint32_t kBackground = 0xFF204060;

// Stage 0 starts with the vertex colour alone.
class DeviceStateTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Stage0(TextureOp::SelectArg1, TextureArg::Diffuse, TextureArg::Current, TextureOp::SelectArg1,
               TextureArg::Diffuse);
    }
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

TEST_F(DeviceStateTest, StageOperationsCombineTexelAndVertexColour) {
    const uint32_t texel = 0xFF804020, diffuse = 0xFF4080C0;
    Dev().SetTexture(0, Texels({texel}));
    Dev().Clear(kClearTarget, kBackground, 1.0f, 0);
    const TextureOp ops[] = {TextureOp::SelectArg1, TextureOp::SelectArg2, TextureOp::Modulate, TextureOp::Add};
    for (int i = 0; i < 4; ++i) {
        Stage0(ops[i], TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
        Quad(4 * i, 0, 4, 4, diffuse);
    }
    // Current on the first stage is the vertex colour.
    Stage0(TextureOp::SelectArg1, TextureArg::Current, TextureArg::Texture, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(16, 0, 4, 4, diffuse);
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 1, 1), texel, 0));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 5, 1), diffuse, 0));
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 9, 1), 0xFF202018, 2));   // 0x80 x 0x40 / 255, ...
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 13, 1), 0xFFC0C0E0, 2));  // 0x80 + 0x40, ...
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 17, 1), diffuse, 0));

    // A stage without a texture reads opaque white: modulating it gives the vertex colour.
    Dev().SetTexture(0, nullptr);
    Stage0(TextureOp::Modulate, TextureArg::Texture, TextureArg::Diffuse, TextureOp::Modulate, TextureArg::Texture,
           TextureArg::Diffuse);
    Quad(0, 4, 4, 4, diffuse);
    EXPECT_EQ(ReadPixel(Dev(), 1, 5), diffuse);

    // Stage 1 sees stage 0's result as Current and replaces it with its texel, unless stage 0
    // disabled ends the cascade before it.
    Dev().SetTexture(1, Texels({0xFF00FF00}));
    Dev().SetTextureStageState(1, StageState::ColorOp, TextureOp::SelectArg1);
    Dev().SetTextureStageState(1, StageState::ColorArg1, TextureArg::Texture);
    Quad(4, 4, 4, 4, diffuse);
    Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::Disable);
    Quad(8, 4, 4, 4, diffuse);
    EXPECT_EQ(ReadPixel(Dev(), 5, 5), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(Dev(), 9, 5), diffuse);
    Dev().SetTexture(1, nullptr);
}

// Coordinates 0..2 across eight pixels of a two-texel texture under each address mode, then
// a two-coordinate texture transform (translation in the third row) on a 2 x 2 texture.
TEST_F(DeviceStateTest, AddressModesAndTextureTransforms) {
    const uint32_t a = 0xFF112233, b = 0xFF445566;
    Dev().SetTexture(0, Texels({a, b}));
    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    auto row = [&](int y) {
        std::string drawn;
        for (int x = 0; x < 8; ++x) {
            const uint32_t p = ReadPixel(Dev(), x, y);
            drawn += p == a ? 'a' : p == b ? 'b' : '?';
        }
        return drawn;
    };
    const std::pair<TextureAddress, const char*> modes[] = {
        {TextureAddress::Wrap, "aabbaabb"}, {TextureAddress::Mirror, "aabbbbaa"}, {TextureAddress::Clamp, "aabbbbbb"}};
    for (int i = 0; i < 3; ++i) {
        Dev().SetSamplerState(0, SamplerState::AddressU, modes[i].first);
        std::vector<Vec3> p = {{-0.5f, i - 0.5f, 0.5f}, {7.5f, i - 0.5f, 0.5f}, {-0.5f, i + 0.5f, 0.5f}, {7.5f, i + 0.5f, 0.5f}};
        Mesh mesh(Dev(), p, std::vector<uint32_t>(4, 0xFFFFFFFF), {0, 0, 2, 0, 0, 1, 2, 1});
        mesh.Bind(Dev());
        ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
        EXPECT_EQ(row(i), modes[i].second) << i;
    }
    EXPECT_EQ(Dev().GetSamplerState(0, SamplerState::AddressU), uint32_t(TextureAddress::Clamp));
    EXPECT_EQ(Dev().GetSamplerState(kMaxStages, SamplerState::AddressU), 0u);
    EXPECT_EQ(Dev().GetSamplerState(0, SamplerState::Count), 0u);
    EXPECT_EQ(Dev().GetTextureStageState(kMaxStages, StageState::ColorOp), 0u);
    EXPECT_EQ(Dev().GetTextureStageState(0, StageState::Count), 0u);
    EXPECT_EQ(Dev().GetTextureStageState(1, StageState::TexCoordIndex), 1u);

    // u' = v + 0.5, v' = u, wrapped: the texture turns a quarter and moves by half a width.
    const std::vector<uint32_t> texels = {0xFF000010, 0xFF000020, 0xFF000030, 0xFF000040};
    Texture* square = Dev().CreateTexture(2, 2, 0, Format::X8R8G8B8);
    LockedRect locked;
    ASSERT_TRUE(square->LockRect(locked, false));
    std::memcpy(locked.bits, texels.data(), 16);
    square->UnlockRect();
    m_textures.push_back(square);
    Dev().SetTexture(0, square);
    Dev().SetSamplerState(0, SamplerState::AddressU, TextureAddress::Wrap);
    Matrix turn = {};
    turn.m[1] = turn.m[4] = 1;
    turn.m[8] = 0.5f;
    turn.m[10] = turn.m[15] = 1;
    Dev().SetTransform(TransformType::Texture0, turn);
    for (TextureTransform flags : {TextureTransform::Count2, TextureTransform::Disable}) {
        Dev().SetTextureStageState(0, StageState::TextureTransformFlags, flags);
        Quad(8, 0, 4, 4, 0xFFFFFFFF);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                float u = (x + 0.5f) / 4, v = (y + 0.5f) / 4;
                if (flags == TextureTransform::Count2)
                    std::tie(u, v) = std::pair(std::fmod(v + 0.5f, 1.0f), u);
                EXPECT_EQ(ReadPixel(Dev(), 8 + x, y), texels[int(v * 2) * 2 + int(u * 2)]) << x << "," << y;
            }
    }
}

// Source (200, 100, 50) at alpha 64 over (32, 64, 96): each factor as the source factor
// (destination zero) and as the destination factor (source zero).
TEST_F(DeviceStateTest, EveryBlendFactorOverAKnownBackground) {
    const struct {
        Blend factor;
        uint32_t asSource, asDest;
    } cases[] = {
        {Blend::Zero, 0xFF000000, 0xFF000000},        {Blend::One, 0xFFC86432, 0xFF204060},
        {Blend::SrcColor, 0xFF9D270A, 0xFF191913},    {Blend::InvSrcColor, 0xFF2B3D28, 0xFF07274D},
        {Blend::SrcAlpha, 0xFF32190D, 0xFF081018},    {Blend::InvSrcAlpha, 0xFF964B25, 0xFF183048},
        {Blend::DestAlpha, 0xFFC86432, 0xFF204060},   {Blend::InvDestAlpha, 0xFF000000, 0xFF000000},
        {Blend::DestColor, 0xFF191913, 0xFF041024},   {Blend::InvDestColor, 0xFFAF4B1F, 0xFF1C303C},
    };
    Dev().Clear(kClearTarget, kBackground, 1.0f, 0);
    Dev().SetRenderState(RenderState::AlphaBlendEnable, 1u);
    for (int i = 0; i < 10; ++i) {
        Dev().SetRenderState(RenderState::SrcBlend, cases[i].factor);
        Dev().SetRenderState(RenderState::DestBlend, Blend::Zero);
        Quad(2 * i, 0, 2, 2, 0x40C86432);
        Dev().SetRenderState(RenderState::SrcBlend, Blend::Zero);
        Dev().SetRenderState(RenderState::DestBlend, cases[i].factor);
        Quad(2 * i, 2, 2, 2, 0x40C86432);
    }
    Dev().SetRenderState(RenderState::AlphaBlendEnable, 0u);
    Quad(20, 0, 2, 2, 0x40C86432);
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 2 * i, 0), cases[i].asSource, 2)) << i;
        EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 2 * i, 2), cases[i].asDest, 2)) << i;
    }
    EXPECT_EQ(ReadPixel(Dev(), 20, 0), 0xFFC86432u);
}

// Alpha bytes 94, 95 and 96 against the reference 95 under each comparison.
TEST_F(DeviceStateTest, AlphaTestComparesBytes) {
    Dev().SetTexture(0, Texels({0x5EFFFFFF, 0x5FFFFFFF, 0x60FFFFFF}));
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::Modulate,
           TextureArg::Texture, TextureArg::Diffuse);
    Dev().SetRenderState(RenderState::AlphaTestEnable, 1u);
    Dev().SetRenderState(RenderState::AlphaRef, 95u);
    const std::pair<Cmp, const char*> cases[] = {
        {Cmp::Never, "..."},   {Cmp::Less, "#.."},     {Cmp::Equal, ".#."},        {Cmp::LessEqual, "##."},
        {Cmp::Greater, "..#"}, {Cmp::NotEqual, "#.#"}, {Cmp::GreaterEqual, ".##"}, {Cmp::Always, "###"}};
    for (int i = 0; i < 8; ++i) {
        Dev().SetRenderState(RenderState::AlphaFunc, cases[i].first);
        Quad(0, i, 3, 1, 0xFFFFFFFF);
        std::string drawn;
        for (int x = 0; x < 3; ++x)
            drawn += ReadPixel(Dev(), x, i) == 0xFFFFFFFFu ? '#' : '.';
        EXPECT_EQ(drawn, cases[i].second) << i;
    }
}

TEST_F(DeviceStateTest, CullModesFollowTheWindingOnScreen) {
    // Clockwise on screen: right along the top, then down to the left.
    std::vector<Vec3> cw = {{10, 10, 0.5f}, {30, 10, 0.5f}, {10, 30, 0.5f}};
    Mesh triangle(Dev(), cw, std::vector<uint32_t>(3, 0xFFFFFFFF), {});
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
}

TEST_F(DeviceStateTest, DepthTestAndDepthWritesFollowTheirStates) {
    const uint32_t red = 0xFFFF0000, green = 0xFF00FF00;
    Dev().Clear(kClearTarget | kClearZBuffer, 0xFF000000, 1.0f, 0);
    Dev().SetRenderState(RenderState::ZEnable, 1u);
    Quad(0, 0, 4, 4, red, 0.2f);
    Quad(0, 0, 4, 4, green, 0.8f);  // behind: hidden
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), red);

    Dev().SetRenderState(RenderState::ZEnable, 0u);
    Quad(0, 0, 4, 4, green, 0.8f);  // no test: drawn over
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), green);

    // Without depth writes the near quad leaves the depth as cleared, so a far one still
    // passes; a depth clear still clears, and does not turn the writes back on.
    Dev().SetRenderState(RenderState::ZEnable, 1u);
    Dev().SetRenderState(RenderState::ZWriteEnable, 0u);
    Quad(8, 0, 4, 4, red, 0.2f);
    Dev().Clear(kClearZBuffer, 0, 1.0f, 0);
    Quad(0, 0, 4, 4, red, 0.2f);
    Quad(0, 0, 4, 4, 0xFF0000FF, 0.8f);
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), 0xFF0000FFu);
}

}  // namespace
