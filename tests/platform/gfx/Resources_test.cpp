// Textures: PNG contents texel-exact on screen, and render targets filled from the back buffer.
#include "platform/gfx/Resources.h"

#include <tuple>

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

class TextureTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Dev().SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
        Dev().SetTextureStageState(0, StageState::ColorArg1, TextureArg::Texture);
        Dev().SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Linear);
        Dev().SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Linear);
        Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    }
    // Draws the texture as a w x h pixel quad whose top-left pixel is (x, y).
    void Blit(Texture* texture, int x, int y, int w, int h) {
        Dev().SetTexture(0, texture);
        Quad(x, y, w, h, 0xFFFFFFFF);
        Dev().SetTexture(0, nullptr);
    }
};

TEST_F(TextureTest, PngTexelsLandExactlyInTheirPixels) {
    std::vector<uint32_t> texels(16);
    for (uint32_t i = 0; i < 16; ++i)
        texels[i] = 0xFF000000 | (i * 16) << 16 | (255 - i * 16) << 8 | (i * 7 + 30);
    std::string png = EncodePng(texels, 4, 4, false);
    std::string error;
    Texture* texture = Dev().CreateTextureFromPng(png.data(), png.size(), 0, error);
    ASSERT_NE(texture, nullptr) << error;
    EXPECT_EQ(std::pair(texture->GetFormat(), texture->Width()), std::pair(Format::X8R8G8B8, 4u));
    Blit(texture, 10, 10, 4, 4);
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(ReadPixel(Dev(), int(10 + x), int(10 + y)), texels[y * 4 + x]) << x << "," << y;
    texture->Release();
    EXPECT_TRUE(!Dev().CreateTextureFromPng(png.data(), png.size() / 2, 0, error) && !error.empty());
}

TEST_F(TextureTest, RenderTargetReceivesTheBackBufferUpright) {
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
    Blit(target, 10, 10, 8, 8);
    Image shown;
    ASSERT_TRUE(Dev().ReadBackBuffer({10, 10, 18, 18}, shown));
    std::vector<uint32_t> halves(32, 0xFFFF0000u);  // red above blue
    halves.resize(64, 0xFF0000FFu);
    EXPECT_EQ(shown.pixels, halves);
    target->Release();

    // A same-size copy starts at the first column: a one-pixel green edge comes through.
    Texture* full = Dev().CreateTexture(kWidth, kHeight, kUsageRenderTarget, Format::X8R8G8B8);
    Dev().Clear(kClearTarget, 0xFFFF0000, 1.0f, 0);
    Dev().SetViewport({0, 0, 1, kHeight, 0, 1});
    Dev().Clear(kClearTarget, 0xFF00FF00, 1.0f, 0);
    Dev().SetViewport({0, 0, kWidth, kHeight, 0, 1});
    ASSERT_TRUE(Dev().StretchBackBufferTo(full, false));
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Blit(full, 0, 0, kWidth, kHeight);
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
