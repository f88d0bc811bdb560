// Device creation, clears, the frame, reset and read-back.
#include "platform/gfx/Device.h"

#include "platform/gfx/GlHeaders.h"
#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

TEST_F(DeviceTest, ClearReadsBackAtEveryCorner) {
    Dev().Clear(kClearTarget | kClearZBuffer, 0xFF282828, 1.0f, 0);
    for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 47}, {63, 47}})
        EXPECT_EQ(ReadPixel(Dev(), x, y), 0xFF282828u) << x << "," << y;
    // The back buffer has no alpha of its own: it reads opaque whatever was cleared.
    Dev().Clear(kClearTarget, 0x00102030, 1.0f, 0);
    EXPECT_EQ(ReadPixel(Dev(), 5, 5), 0xFF102030u);
}

TEST_F(DeviceTest, ClearHonoursViewportAndScissor) {
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Dev().SetViewport({10, 5, 20, 10, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFFFF0000, 1.0f, 0);
    EXPECT_EQ(ReadPixel(Dev(), 10, 5), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(Dev(), 29, 14), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(Dev(), 9, 5), 0xFF000000u);
    EXPECT_EQ(ReadPixel(Dev(), 30, 14), 0xFF000000u);
    EXPECT_EQ(ReadPixel(Dev(), 10, 15), 0xFF000000u);

    // With the scissor test on, only viewport and scissor together are cleared; a scissor
    // rectangle alone (test off) changes nothing.
    Dev().SetScissorRect({20, 0, 64, 48});
    Dev().Clear(kClearTarget, 0xFF00FF00, 1.0f, 0);
    EXPECT_EQ(ReadPixel(Dev(), 12, 8), 0xFF00FF00u);
    Dev().SetRenderState(RenderState::ScissorTestEnable, 1u);
    Dev().Clear(kClearTarget, 0xFF0000FF, 1.0f, 0);
    EXPECT_EQ(ReadPixel(Dev(), 12, 8), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(Dev(), 20, 8), 0xFF0000FFu);
    EXPECT_EQ(ReadPixel(Dev(), 40, 8), 0xFF000000u);
}

TEST_F(DeviceTest, PresentShowsThePictureUprightAndKeepsTheBackBufferReadable) {
    Dev().SetViewport({0, 0, kWidth, 1, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFFFF0000, 1.0f, 0);
    Dev().SetViewport({0, 1, kWidth, kHeight - 1, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFF336699, 1.0f, 0);
    Dev().BeginScene();
    Dev().EndScene();
    Dev().Present();
    // The offscreen driver's window surface keeps its pixels across the swap. GL numbers the
    // window's rows bottom up.
    uint32_t shown[2] = {};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(5, GLint(kHeight) - 2, 1, 2, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, shown);
    EXPECT_EQ(shown[1] | 0xFF000000u, 0xFFFF0000u);
    EXPECT_EQ(shown[0] | 0xFF000000u, 0xFF336699u);
    EXPECT_EQ(ReadPixel(Dev(), 1, 0), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), 0xFF336699u);
}

TEST_F(DeviceTest, ReadBackReturnsRowsTopFirstAndClipsTheRectangle) {
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    Dev().SetViewport({0, 0, 64, 1, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFFFFFFFF, 1.0f, 0);
    Image image;
    ASSERT_TRUE(Dev().ReadBackBuffer({-5, -5, 2, 2}, image));
    ASSERT_EQ(image.width, 2u);
    ASSERT_EQ(image.height, 2u);
    EXPECT_EQ(image.pixels[0], 0xFFFFFFFFu);
    EXPECT_EQ(image.pixels[2], 0xFF000000u);
    EXPECT_FALSE(Dev().ReadBackBuffer({64, 0, 70, 5}, image));
}

TEST_F(DeviceTest, FullScreenIsRefusedWithoutADisplayModeOfThatSize) {
    EXPECT_FALSE(Dev().Granted().fullscreen);
    PresentParams wanted;
    wanted.width = 64;
    wanted.height = 48;
    wanted.fullscreen = !Device::IsDisplayModeAvailable(m_window->Get(), 64, 48);
    if (!wanted.fullscreen)
        GTEST_SKIP() << "the display offers a 64 x 48 mode";
    EXPECT_EQ(Dev().Reset(wanted), Result::Failed);
    EXPECT_EQ(Dev().TestCooperativeLevel(), Result::DeviceNotReset);
    wanted.fullscreen = false;
    EXPECT_EQ(Dev().Reset(wanted), Result::Ok);
    EXPECT_EQ(Dev().TestCooperativeLevel(), Result::Ok);
}

TEST_F(DeviceTest, CooperativeLevelHookAndReset) {
    EXPECT_EQ(Dev().TestCooperativeLevel(), Result::Ok);
    PresentParams wanted = Dev().Granted();
    wanted.width = 80;
    wanted.height = 60;

    Dev().ForceCooperativeLevel(Result::DeviceLost);
    EXPECT_EQ(Dev().Reset(wanted), Result::DeviceLost);
    EXPECT_EQ(Dev().TestCooperativeLevel(), Result::DeviceLost);
    EXPECT_EQ(Dev().Granted().width, 64u);

    Dev().ForceCooperativeLevel(Result::DeviceNotReset);
    Dev().SetRenderState(RenderState::CullMode, Cull::CW);
    EXPECT_EQ(Dev().Reset(wanted), Result::Ok);
    EXPECT_EQ(Dev().TestCooperativeLevel(), Result::Ok);
    // A reset returns states and viewport to their defaults, at the new size.
    EXPECT_EQ(Dev().GetRenderState(RenderState::CullMode), uint32_t(Cull::CCW));
    EXPECT_EQ(Dev().GetViewport().width, 80u);
    Dev().Clear(kClearTarget, 0xFF123456, 1.0f, 0);
    EXPECT_EQ(ReadPixel(Dev(), 79, 59), 0xFF123456u);
}

TEST_F(DeviceTest, MultisampledBackBufferResolvesForReadBack) {
    PresentParams wanted = Dev().Granted();
    wanted.multisample = true;
    ASSERT_EQ(Dev().Reset(wanted), Result::Ok);
    EXPECT_EQ(Dev().Granted().multisample, Dev().GetCaps().maxSamples >= 2);
    Dev().SetRenderState(RenderState::Lighting, 0u);
    Dev().SetRenderState(RenderState::ZEnable, 0u);
    Dev().SetRenderState(RenderState::CullMode, Cull::None);
    SetPixelSpace(Dev(), kWidth, kHeight);
    Dev().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    auto quad = MakeQuad(Dev(), 9.5f, 9.5f, 19.5f, 19.5f, 0.5f, 0xFF00FF00, false);
    quad->Bind(Dev());
    ASSERT_TRUE(Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    EXPECT_EQ(ReadPixel(Dev(), 14, 14), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(Dev(), 25, 25), 0xFF000000u);
}

TEST(DeviceCreate, FailsCleanlyWithoutAnOpenGLWindow) {
    TestWindow glWindow(32, 32);
    SDL_Window* plain = SDL_CreateWindow("plain", 0, 0, 32, 32, 0);
    ASSERT_NE(plain, nullptr) << SDL_GetError();
    PresentParams params;
    params.width = 32;
    params.height = 32;
    std::string error;
    EXPECT_EQ(Device::Create(plain, params, error), nullptr);
    EXPECT_NE(error.find("OpenGL"), std::string::npos) << error;
    error.clear();
    EXPECT_EQ(Device::Create(nullptr, params, error), nullptr);
    EXPECT_FALSE(error.empty());
    SDL_DestroyWindow(plain);
}

TEST(DeviceCreate, VisibilityFollowsTheWindow) {
    TestWindow window(32, 32);
    ASSERT_NE(window.Get(), nullptr);
    PresentParams params;
    params.width = 32;
    params.height = 32;
    std::string error;
    auto device = Device::Create(window.Get(), params, error);
    ASSERT_NE(device, nullptr) << error;
    EXPECT_TRUE(device->IsWindowVisible());
    SDL_HideWindow(window.Get());
    EXPECT_FALSE(device->IsWindowVisible());
    SDL_ShowWindow(window.Get());
    EXPECT_TRUE(device->IsWindowVisible());
}

}  // namespace
