// States reach the pixels (texture-stage combiners, alpha test, culling and depth) or GL
// (samplers, stage states, blend factors).
#include "platform/gfx/Device.h"

#include <tuple>

#include "platform/gfx/Resources.h"
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
    void Stage0(TextureOp colorOp, TextureArg arg1, TextureArg arg2, TextureOp alphaOp,
                TextureArg alphaArg1, TextureArg alphaArg2 = TextureArg::Current) {
        for (auto [state, value] : {std::pair{StageState::ColorOp, uint32_t(colorOp)}, {StageState::ColorArg1, uint32_t(arg1)},
                                    {StageState::ColorArg2, uint32_t(arg2)}, {StageState::AlphaOp, uint32_t(alphaOp)},
                                    {StageState::AlphaArg1, uint32_t(alphaArg1)}, {StageState::AlphaArg2, uint32_t(alphaArg2)}})
            Dev().SetTextureStageState(0, state, value);
    }
    void TearDown() override {  // the device lets its bindings go itself
        for (Texture* t : m_textures)
            t->Release();
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
    EXPECT_EQ(std::pair(ReadPixel(Dev(), 1, 1), ReadPixel(Dev(), 5, 1)), std::pair(texel, diffuse));
    // 0x80 x 0x40 / 255, ... and 0x80 + 0x40, ...
    EXPECT_TRUE(ColorNear(ReadPixel(Dev(), 9, 1), 0xFF202018, 2) && ColorNear(ReadPixel(Dev(), 13, 1), 0xFFC0C0E0, 2));

    // A stage without a texture reads opaque white.
    Dev().SetTexture(0, nullptr);
    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    Quad(0, 4, 4, 4, diffuse);

    // Stage 1 (its first argument the texture by default) sees stage 0's result as Current and
    // replaces it with its texel, unless stage 0 disabled ends the cascade before it.
    Dev().SetTexture(1, Texels({0xFF00FF00}));
    Dev().SetTextureStageState(1, StageState::ColorOp, TextureOp::SelectArg1);
    Quad(4, 4, 4, 4, diffuse);
    Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::Disable);
    Quad(8, 4, 4, 4, diffuse);
    // All eight stages in play, each passing on what it is given.
    for (uint32_t stage = 0; stage < kMaxStages; ++stage) {
        Dev().SetTextureStageState(stage, StageState::ColorOp, TextureOp::SelectArg1);
        Dev().SetTextureStageState(stage, StageState::ColorArg1, TextureArg::Current);
    }
    Quad(12, 4, 4, 4, diffuse);
    // Left to right: white, stage 1's texel, the cascade ended, all eight stages.
    EXPECT_EQ((std::vector{ReadPixel(Dev(), 1, 5), ReadPixel(Dev(), 5, 5), ReadPixel(Dev(), 9, 5), ReadPixel(Dev(), 13, 5)}),
              (std::vector{0xFFFFFFFFu, 0xFF00FF00u, diffuse, diffuse}));
}

// The texture's parameters in GL after a draw: a fresh texture has no mipmaps and samples
// points, wrapping; then each address mode and filter as set on the stage.
TEST_F(DeviceStateTest, SamplerStatesReachGlAndATextureTransformTurnsCoordinates) {
    Dev().SetTexture(0, Texels({0xFF112233, 0xFF445566}));
    Stage0(TextureOp::SelectArg1, TextureArg::Texture, TextureArg::Diffuse, TextureOp::SelectArg1, TextureArg::Texture);
    const std::vector<std::pair<SamplerState, uint32_t>> steps[] = {
        {},
        {{SamplerState::AddressU, uint32_t(TextureAddress::Mirror)}, {SamplerState::MinFilter, 1u}},
        {{SamplerState::AddressU, uint32_t(TextureAddress::Clamp)}, {SamplerState::AddressV, 1u}},
        {{SamplerState::MagFilter, uint32_t(TextureFilter::Linear)}, {SamplerState::MinFilter, 0u}}};
    const std::vector<GLint> expected[] = {{0, GL_NEAREST, GL_NEAREST, GL_REPEAT, GL_REPEAT},
                                           {0, GL_LINEAR, GL_NEAREST, GL_MIRRORED_REPEAT, GL_REPEAT},
                                           {0, GL_LINEAR, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_MIRRORED_REPEAT},
                                           {0, GL_NEAREST, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_MIRRORED_REPEAT}};
    for (int i = 0; i < 4; ++i) {
        for (auto [state, value] : steps[i])
            Dev().SetSamplerState(0, state, value);
        Quad(0, 0, 4, 4, 0xFFFFFFFF);
        const GLint unit = GlInt(GL_ACTIVE_TEXTURE);
        glActiveTexture(GL_TEXTURE0);
        std::vector<GLint> got;
        for (GLenum name : {GL_TEXTURE_MAX_LEVEL, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER,
                            GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T})
            glGetTexParameteriv(GL_TEXTURE_2D, name, &got.emplace_back(-1));
        glActiveTexture(GLenum(unit));
        EXPECT_EQ(got, expected[i]) << i;
    }
    EXPECT_EQ(Dev().GetSamplerState(0, SamplerState::AddressU), uint32_t(TextureAddress::Clamp));
    // Eight stages: settings for a ninth change nothing.
    const Matrix world = Dev().GetTransform(TransformType::World), view = Dev().GetTransform(TransformType::View);
    Dev().SetSamplerState(8, SamplerState::AddressU, 1u);
    Dev().SetTransform(TextureTransformOf(8), MatrixOrthoLH(2, 2, 0, 1));
    EXPECT_EQ(std::memcmp(&world, &Dev().GetTransform(TransformType::World), sizeof world) |
                  std::memcmp(&view, &Dev().GetTransform(TransformType::View), sizeof view),
              0);
    // A ninth stage holds no sampler states: reading them does not run on past the eighth.
    EXPECT_EQ(Dev().GetSamplerState(8, SamplerState::AddressU) | Dev().GetSamplerState(8, SamplerState::AddressV), 0u);
    const uint32_t outOfRange = Dev().GetSamplerState(0, SamplerState::Count) |
                                Dev().GetTextureStageState(0, StageState::Count);
    EXPECT_EQ(outOfRange | Dev().GetTextureStageState(kMaxStages, StageState::ColorOp), 0u);
}

// What the texture unit holds after a draw: its combiner (operands other GL code left are
// set again), sphere-mapped coordinates, and a two-coordinate transform whose translation
// moves from the third row to GL's fourth.
TEST_F(DeviceStateTest, StageStatesReachGl) {
    for (GLenum name : {GL_OPERAND1_RGB, GL_OPERAND1_ALPHA})
        glTexEnvi(GL_TEXTURE_ENV, name, GL_ONE_MINUS_SRC_ALPHA);
    Dev().SetTexture(0, Texels({0xFFFFFFFF}));
    Stage0(TextureOp::Modulate, TextureArg::Texture, TextureArg::Current, TextureOp::SelectArg2, TextureArg::Texture,
           TextureArg::Diffuse);
    const Matrix turn = {{0, 1, 0, 0, 1, 0, 0, 0, 0.5f, 0.25f, 1, 0, 0, 0, 0, 1}};
    Dev().SetTransform(TransformType::Texture0, turn);
    const std::vector<float> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // Sphere mapping goes when the stage takes plain coordinates again; a disabled alpha
    // operation (first over GL's own modulation) passes the alpha on.
    for (auto [flags, coords] : {std::pair{TextureTransform::Count2, kTexCoordSphereMap},
                                 {TextureTransform::Disable, 0u}, {TextureTransform::Count2, kTexCoordSphereMap}}) {
        Dev().SetTextureStageState(0, StageState::AlphaOp, coords ? TextureOp::Disable : TextureOp::SelectArg2);
        Dev().SetTextureStageState(0, StageState::TextureTransformFlags, flags);
        Dev().SetTextureStageState(0, StageState::TexCoordIndex, coords);
        Quad(0, 0, 4, 4, 0xFFFFFFFF);
        const GLint unit = GlInt(GL_ACTIVE_TEXTURE);
        glActiveTexture(GL_TEXTURE0);
        std::vector<GLint> env;
        for (GLenum name : {GL_TEXTURE_ENV_MODE, GL_COMBINE_RGB, GL_SRC0_RGB, GL_SRC1_RGB, GL_OPERAND0_RGB,
                            GL_OPERAND1_RGB, GL_COMBINE_ALPHA, GL_SRC0_ALPHA, GL_OPERAND0_ALPHA, GL_OPERAND1_ALPHA})
            glGetTexEnviv(GL_TEXTURE_ENV, name, &env.emplace_back(-1));
        env.push_back(glIsEnabled(GL_TEXTURE_GEN_S) + glIsEnabled(GL_TEXTURE_GEN_T));
        glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &env.emplace_back());
        float matrix[16];
        glGetFloatv(GL_TEXTURE_MATRIX, matrix);
        glActiveTexture(GLenum(unit));
        EXPECT_EQ(env, (std::vector<GLint>{GL_COMBINE, GL_MODULATE, GL_TEXTURE, GL_PREVIOUS, GL_SRC_COLOR,
                                           GL_SRC_COLOR, GL_REPLACE, coords ? GL_PREVIOUS : GL_PRIMARY_COLOR, GL_SRC_ALPHA,
                                           GL_SRC_ALPHA, coords ? 2 : 0, GL_SPHERE_MAP}));
        const std::vector<float> turned = {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0.5f, 0.25f, 0, 1};
        EXPECT_EQ(std::vector<float>(matrix, matrix + 16), flags == TextureTransform::Count2 ? turned : identity);
    }
    // A disabled stage, and so the sphere-mapped stage 1 after it, leaves no coordinates
    // generated; stage 1 generates them again when the cascade reaches it once more.
    Dev().SetTextureStageState(1, StageState::ColorOp, TextureOp::Modulate);
    Dev().SetTextureStageState(1, StageState::TexCoordIndex, kTexCoordSphereMap);
    Quad(0, 0, 4, 4, 0xFFFFFFFF);
    Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::Disable);
    Quad(0, 0, 4, 4, 0xFFFFFFFF);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S) || glIsEnabled(GL_TEXTURE_GEN_T));
    Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::Modulate);
    Quad(0, 0, 4, 4, 0xFFFFFFFF);
    glActiveTexture(GL_TEXTURE1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S) && glIsEnabled(GL_TEXTURE_GEN_T));
    // A new transform alone reaches stage 0's unit although GL last worked on unit 1.
    Dev().SetTransform(TransformType::Texture0, MatrixIdentity());
    Quad(0, 0, 4, 4, 0xFFFFFFFF);
    glActiveTexture(GL_TEXTURE0);
    float matrix[16];
    glGetFloatv(GL_TEXTURE_MATRIX, matrix);
    EXPECT_EQ(std::vector<float>(matrix, matrix + 16), identity);
}

// Alpha bytes 94, 95 and 96 against the reference 95 under each comparison; each blend factor
// as GL takes it, on either side.
TEST_F(DeviceStateTest, AlphaTestComparesBytesAndEveryBlendFactorReachesGl) {
    Dev().SetTexture(0, Texels({0x5EFFFFFF, 0x5FFFFFFF, 0x60FFFFFF}));
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
    const std::pair<Blend, GLint> factors[] = {
        {Blend::Zero, GL_ZERO},           {Blend::One, GL_ONE},
        {Blend::SrcColor, GL_SRC_COLOR},  {Blend::InvSrcColor, GL_ONE_MINUS_SRC_COLOR},
        {Blend::SrcAlpha, GL_SRC_ALPHA},  {Blend::InvSrcAlpha, GL_ONE_MINUS_SRC_ALPHA},
        {Blend::DestAlpha, GL_DST_ALPHA}, {Blend::InvDestAlpha, GL_ONE_MINUS_DST_ALPHA},
        {Blend::DestColor, GL_DST_COLOR}, {Blend::InvDestColor, GL_ONE_MINUS_DST_COLOR}};
    Dev().SetRenderState(RenderState::AlphaBlendEnable, 1u);
    for (int i = 0; i < 10; ++i) {
        Dev().SetRenderState(RenderState::SrcBlend, factors[i].first);
        Dev().SetRenderState(RenderState::DestBlend, factors[9 - i].first);
        Quad(0, 0, 2, 2, 0x40C86432);
        EXPECT_EQ(std::pair(GlInt(GL_BLEND_SRC), GlInt(GL_BLEND_DST)),
                  std::pair(factors[i].second, factors[9 - i].second)) << i;
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

// PNG texels land exactly in their pixels; a render target receives the back buffer upright.
TEST_F(DeviceStateTest, PngTexelsLandExactlyInTheirPixelsAndRenderTargetsReceiveTheBackBufferUpright) {
    Dev().SetTextureStageState(0, StageState::ColorArg1, TextureArg::Texture);
    Dev().SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
    Dev().SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
    // Draws the texture as a w x h pixel quad whose top-left pixel is (x, y).
    auto blit = [this](Texture* texture, int x, int y, int w, int h) {
        Dev().SetTexture(0, texture);
        Quad(x, y, w, h, 0xFFFFFFFF);
        Dev().SetTexture(0, nullptr);
    };
    std::vector<uint32_t> texels(16);
    for (uint32_t i = 0; i < 16; ++i)
        texels[i] = 0xFF000000 | (i * 16) << 16 | (255 - i * 16) << 8 | (i * 7 + 30);
    std::string png = EncodePng(texels, 4, 4, false);
    std::string error;
    Texture* texture = Dev().CreateTextureFromPng(png.data(), png.size(), 0, error);
    ASSERT_NE(texture, nullptr) << error;
    EXPECT_EQ(std::pair(texture->GetFormat(), texture->Width()), std::pair(Format::X8R8G8B8, 4u));
    blit(texture, 10, 10, 4, 4);
    EXPECT_EQ(ReadPixels(Dev(), {10, 10, 14, 14}), texels);
    texture->Release();
    EXPECT_TRUE(!Dev().CreateTextureFromPng(png.data(), png.size() / 2, 0, error) && !error.empty());

    Texture* target = Dev().CreateTexture(8, 8, kUsageRenderTarget, Format::X8R8G8B8);
    LockedRect locked;
    EXPECT_FALSE(target->LockRect(locked, false));
    Dev().SetViewport({0, 0, kWidth, kHeight / 2, 0, 1});
    Dev().Clear(kClearTarget, 0xFFFF0000, 1.0f, 0);  // top half red
    Dev().SetViewport({0, kHeight / 2, kWidth, kHeight / 2, 0, 1});
    Dev().Clear(kClearTarget, 0xFF0000FF, 1.0f, 0);  // bottom half blue
    Dev().SetViewport({0, 0, kWidth, kHeight, 0, 1});
    ASSERT_TRUE(Dev().StretchBackBufferTo(target, true));

    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Dev().SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Point);
    Dev().SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Point);
    blit(target, 10, 10, 8, 8);
    std::vector<uint32_t> halves(32, 0xFFFF0000u);  // red above blue
    halves.resize(64, 0xFF0000FFu);
    EXPECT_EQ(ReadPixels(Dev(), {10, 10, 18, 18}), halves);

    // A same-size copy starts at the first column: a one-pixel green edge comes through.
    Texture* full = Dev().CreateTexture(kWidth, kHeight, kUsageRenderTarget, Format::X8R8G8B8);
    Dev().Clear(kClearTarget, 0xFFFF0000, 1.0f, 0);
    Dev().SetViewport({0, 0, 1, kHeight, 0, 1});
    Dev().Clear(kClearTarget, 0xFF00FF00, 1.0f, 0);
    Dev().SetViewport({0, 0, kWidth, kHeight, 0, 1});
    ASSERT_TRUE(Dev().StretchBackBufferTo(full, false));
    // Making the copy's storage bound it in GL: the target drawn again is bound again.
    blit(target, 0, 0, 8, 8);
    EXPECT_EQ(ReadPixel(Dev(), 0, 7), 0xFF0000FFu);  // its lower half blue
    target->Release();
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    blit(full, 0, 0, kWidth, kHeight);
    EXPECT_EQ(std::pair(ReadPixel(Dev(), 0, 5), ReadPixel(Dev(), 1, 5)), std::pair(0xFF00FF00u, 0xFFFF0000u));
    full->Release();

    // The widest texture there may be, but no render target.
    Texture* plain = Dev().CreateTexture(kMaxImageSize, 1, 0, Format::X8R8G8B8);
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(Dev().StretchBackBufferTo(plain, true));
    plain->Release();
    for (auto [w, h, format] : {std::tuple{8u, kMaxImageSize + 1, Format::X8R8G8B8},
                                {kMaxImageSize + 1, 8u, Format::X8R8G8B8}, {0u, 8u, Format::X8R8G8B8},
                                {8u, 8u, Format::Unknown}})
        EXPECT_EQ(Dev().CreateTexture(w, h, 0, format), nullptr) << w << "x" << h;
}

}  // namespace
