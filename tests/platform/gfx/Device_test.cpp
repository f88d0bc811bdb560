// Clears within the viewport and scissor; creation, full screen, reset and the cooperative
// level.
#include "platform/gfx/Device.h"

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

TEST_F(DeviceTest, ClearHonoursViewportAndScissor) {
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Dev().SetViewport({10, 5, 20, 10, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFFFF0000, 1.0f, 0);
    for (auto [x, y, inside] : {std::tuple{10, 5, true}, {29, 14, true}, {9, 5, false}, {30, 14, false}, {10, 15, false}})
        EXPECT_EQ(ReadPixel(Dev(), x, y), inside ? 0xFFFF0000u : 0xFF000000u) << x << "," << y;

    // With the scissor test on, only viewport and scissor together are cleared; a scissor
    // rectangle alone (test off) changes nothing.
    Dev().SetScissorRect({20, 7, 64, 48});
    Dev().Clear(kClearTarget, 0xFF00FF00, 1.0f, 0);
    EXPECT_EQ(ReadPixel(Dev(), 12, 8), 0xFF00FF00u);
    Dev().SetRenderState(RenderState::ScissorTestEnable, 1u);
    Dev().Clear(kClearTarget, 0xFF0000FF, 1.0f, 0);
    EXPECT_EQ(std::vector<uint32_t>({ReadPixel(Dev(), 12, 8), ReadPixel(Dev(), 20, 6), ReadPixel(Dev(), 20, 8),
                                     ReadPixel(Dev(), 40, 8)}),
              (std::vector<uint32_t>{0xFF00FF00, 0xFF00FF00, 0xFF0000FF, 0xFF000000}));

    // A viewport sharing three sides with the buffer clears only itself.
    Dev().SetRenderState(RenderState::ScissorTestEnable, 0u);
    Dev().SetViewport({0, 0, 32, kHeight, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFFFFFFFF, 1.0f, 0);
    EXPECT_EQ(std::pair(ReadPixel(Dev(), 31, 40), ReadPixel(Dev(), 40, 8)), std::pair(0xFFFFFFFFu, 0xFF000000u));
    // The whole buffer right after a partial clear: no scissor left from it.
    Dev().Clear(kClearTarget, 0xFFFFFFFF, 1.0f, 0);
    Dev().SetViewport({0, 0, kWidth, kHeight, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFF00FFFF, 1.0f, 0);
    EXPECT_EQ(ReadPixel(Dev(), 40, 8), 0xFF00FFFFu);
}

// Creation is refused, with a reason, without a window, on a window not made for OpenGL, or
// with a side of 0.
TEST_F(DeviceTest, CreationNeedsAWindowAndTwoSides) {
    SDL_Window* plain = SDL_CreateWindow("plain", 0, 0, 64, 48, 0);
    ASSERT_NE(plain, nullptr) << SDL_GetError();
    std::string why;
    EXPECT_EQ(Device::Create(plain, PresentParams{64, 48}, why), nullptr);
    EXPECT_NE(why.find("OpenGL"), std::string::npos) << why;
    SDL_DestroyWindow(plain);
    for (auto [window, width, height] : {std::tuple{false, 64u, 48u}, {true, 64u, 0u}, {true, 0u, 48u}}) {
        std::string error;
        EXPECT_EQ(Device::Create(window ? m_window->Get() : nullptr, PresentParams{width, height}, error), nullptr);
        EXPECT_FALSE(error.empty()) << width << "x" << height;
    }
}

// The offscreen driver lists one mode, of 0 x 0: full screen is never granted, and a reset
// that asks for it fails and leaves the device waiting for another reset.
TEST_F(DeviceTest, FullScreenNeedsAModeOfThatSizeAndResetsAnswerTheCooperativeLevel) {
    EXPECT_FALSE(Device::IsDisplayModeAvailable(m_window->Get(), kWidth, kHeight));
    EXPECT_TRUE(Device::IsDisplayModeAvailable(m_window->Get(), 0, 0));
    PresentParams params;
    params.width = kWidth;
    params.height = kHeight;
    params.fullscreen = true;
    params.multisample = true;
    m_device.reset();
    std::string error;
    m_device = Device::Create(m_window->Get(), params, error);
    ASSERT_NE(m_device, nullptr) << error;
    Device& d = Dev();
    EXPECT_FALSE(d.Granted().fullscreen);
    EXPECT_EQ(d.Granted().multisample, d.GetCaps().maxSamples >= 2);
    EXPECT_TRUE(d.IsWindowVisible());
    SDL_HideWindow(m_window->Get());
    EXPECT_FALSE(d.IsWindowVisible());
    SDL_ShowWindow(m_window->Get());

    auto reset = [&](const PresentParams& p) {
        const Result result = d.Reset(p);
        return std::pair(result, d.TestCooperativeLevel());
    };
    EXPECT_EQ(reset(params), std::pair(Result::Failed, Result::DeviceNotReset));
    params = {32, 24, false, false};
    EXPECT_EQ(reset(params), std::pair(Result::Ok, Result::Ok));
    EXPECT_EQ(d.Granted().width, 32u);
    d.Clear(kClearTarget, 0xFF00FF00, 1.0f, 0);
    Image image;
    ASSERT_TRUE(d.ReadBackBuffer({0, 0, int32_t(kWidth), int32_t(kHeight)}, image));
    EXPECT_EQ(image.pixels, std::vector<uint32_t>(32 * 24, 0xFF00FF00));

    d.ForceCooperativeLevel(Result::DeviceLost);
    EXPECT_EQ(reset(params), std::pair(Result::DeviceLost, Result::DeviceLost));
    d.ForceCooperativeLevel(Result::Ok);
}

}  // namespace
