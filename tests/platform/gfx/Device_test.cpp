// Clears, the frame and read-back. Creation, visibility and reset are shown through the
// graphic device in the engine's tests.
#include "platform/gfx/Device.h"

#include "platform/gfx/GlHeaders.h"
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
    EXPECT_EQ(ReadPixel(Dev(), 12, 8), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(Dev(), 20, 6), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(Dev(), 20, 8), 0xFF0000FFu);
    EXPECT_EQ(ReadPixel(Dev(), 40, 8), 0xFF000000u);

    // A viewport sharing three sides with the buffer clears only itself.
    Dev().SetRenderState(RenderState::ScissorTestEnable, 0u);
    Dev().SetViewport({0, 0, 32, kHeight, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFFFFFFFF, 1.0f, 0);
    EXPECT_EQ(ReadPixel(Dev(), 31, 40), 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(Dev(), 40, 8), 0xFF000000u);
}

// The back buffer reads opaque, rows top first, clipped to the screen; Present shows it upright.
TEST_F(DeviceTest, ReadBackAndPresentKeepTheRowsUpright) {
    Dev().Clear(kClearTarget, 0x00336699, 1.0f, 0);
    Dev().SetViewport({0, 0, kWidth, 1, 0.0f, 1.0f});
    Dev().Clear(kClearTarget, 0xFFFF0000, 1.0f, 0);
    Image image;
    ASSERT_TRUE(Dev().ReadBackBuffer({-5, -5, 2, 2}, image));
    ASSERT_EQ(image.width * image.height, 4u);
    EXPECT_EQ(image.pixels[0], 0xFFFF0000u);
    EXPECT_EQ(image.pixels[2], 0xFF336699u);
    EXPECT_FALSE(Dev().ReadBackBuffer({64, 0, 70, 5}, image));

    Dev().Present();
    // The offscreen driver's window surface keeps its pixels across the swap. GL numbers the
    // window's rows bottom up.
    uint32_t shown[2] = {};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(5, GLint(kHeight) - 2, 1, 2, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, shown);
    EXPECT_EQ(shown[1] | 0xFF000000u, 0xFFFF0000u);
    EXPECT_EQ(shown[0] | 0xFF000000u, 0xFF336699u);
    EXPECT_EQ(ReadPixel(Dev(), 1, 1), 0xFF336699u);
}

}  // namespace
