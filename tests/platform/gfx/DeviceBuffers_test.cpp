// Back buffers the window serves itself and ones drawn off screen (another size, or
// multisampling the window lacks or has): clears and read-back agree, Present shows the
// picture upright over the whole window, and drawing goes on after it. The offscreen
// driver's window keeps its pixels across the swap; GL numbers its rows bottom up.
#include "platform/gfx/Device.h"

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace gfxtest;

uint32_t WindowPixel(int x, int y) {
    uint32_t p = 0;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(x, 47 - y, 1, 1, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &p);
    return p | 0xFF000000u;
}

TEST(DeviceBuffers, OnAndOffTheWindowClearReadPresentAndDrawAlike) {
    const uint32_t red = 0xFFFF0000, blue = 0xFF0000FF, green = 0xFF00FF00;
    // The window's samples, the back buffer's size, and whether it is multisampled.
    const std::tuple<int, uint32_t, uint32_t, bool> cases[] = {
        {0, 64, 48, false}, {0, 32, 24, false}, {0, 64, 48, true}, {4, 64, 48, true}, {4, 32, 24, false}};
    for (auto [windowSamples, width, height, multisample] : cases) {
        SCOPED_TRACE(testing::Message() << windowSamples << " samples, " << width << " x " << height
                                        << (multisample ? " multisampled" : ""));
        TestWindow window(64, 48, windowSamples);
        ASSERT_NE(window.Get(), nullptr) << SDL_GetError();
        std::string error;
        std::unique_ptr<Device> device = Device::Create(window.Get(), {width, height, false, multisample}, error);
        ASSERT_NE(device, nullptr) << error;
        Device& d = *device;
        const int32_t w = int32_t(width), h = int32_t(height);
        d.Clear(kClearTarget | kClearZBuffer, 0x000000FF, 1.0f, 0);  // blue, read back opaque
        d.SetViewport({0, 0, width, height / 2, 0.0f, 1.0f});
        d.Clear(kClearTarget, red, 1.0f, 0);
        EXPECT_EQ(std::pair(ReadPixel(d, 0, 0), ReadPixel(d, w - 1, h - 1)), std::pair(red, blue));
        // Rows top first, clipped to the buffer.
        Image image;
        ASSERT_TRUE(d.ReadBackBuffer({-5, h / 2 - 1, 1, h / 2 + 1}, image));
        EXPECT_EQ(image.pixels, (std::vector<uint32_t>{red, blue}));
        EXPECT_FALSE(d.ReadBackBuffer({w, 0, w + 1, 1}, image));

        // The corners too: scaling blends no row or column of the far side in.
        auto shown = [&](int corner, uint32_t topLeft) {
            d.Present();
            const std::vector<uint32_t> shownCorners = {WindowPixel(corner, corner), WindowPixel(63, 0),
                                                        WindowPixel(0, 47), WindowPixel(63, 47)};
            EXPECT_EQ(shownCorners, (std::vector{topLeft, red, blue, blue}));
        };
        shown(0, red);

        d.SetRenderState(RenderState::Lighting, 0u);
        d.SetRenderState(RenderState::CullMode, Cull::None);
        d.SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
        d.SetTextureStageState(0, StageState::ColorArg1, TextureArg::Diffuse);
        d.SetTextureStageState(0, StageState::TexCoordIndex, kTexCoordSphereMap);  // left on for Present
        d.SetViewport({0, 0, width, height, 0.0f, 1.0f});
        SetPixelSpace(d, width, height);
        const Mesh quad(d, {{0, 0, 0.5f}, {4, 0, 0.5f}, {0, 4, 0.5f}, {4, 4, 0.5f}},
                        std::vector<uint32_t>(4, green), {});
        quad.Bind(d);
        ASSERT_TRUE(d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
        shown(2, green);  // inside the quad
        // The texture a Present through a quad of its own draws from.
        const GLint presentCopy = GlInt(GL_TEXTURE_BINDING_2D);
        // Present may draw with states of its own: the next draw sends the device's again.
        d.Clear(kClearTarget, blue, 1.0f, 0);
        ASSERT_TRUE(d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
        EXPECT_EQ(std::pair(ReadPixel(d, 1, 1), glIsEnabled(GL_DEPTH_TEST)), std::pair(green, GLboolean(GL_TRUE)));
        // Draws go where they should: multisampled exactly when asked for (the driver grants it).
        EXPECT_EQ(std::pair(GlInt(GL_SAMPLES) > 0, d.Granted().multisample), std::pair(multisample, multisample));
        // A one-pixel corner survives the resolve and Present's copy: no blit is off by a row or
        // column, nor cut by the scissor box the corner's clear leaves in GL.
        d.Clear(kClearTarget, red, 1.0f, 0);
        d.SetViewport({0, height - 1, 1, 1, 0.0f, 1.0f});
        d.Clear(kClearTarget, green, 1.0f, 0);
        d.SetViewport({width + 4, 0, 8, 8, 0.0f, 1.0f});  // off the buffer's side: clears nothing
        d.Clear(kClearTarget, blue, 1.0f, 0);
        d.Present();
        EXPECT_EQ(std::pair(WindowPixel(0, 47), WindowPixel(2, 2)), std::pair(green, red));
        EXPECT_EQ(std::pair(ReadPixel(d, 0, h - 1), ReadPixel(d, 1, h - 1)), std::pair(green, red));
        // A reset lets that copy go.
        ASSERT_EQ(d.Reset({width, height, false, multisample}), Result::Ok);
        EXPECT_EQ(d.Granted().multisample, multisample);  // the driver multisamples
        EXPECT_TRUE(windowSamples == 0 || multisample || !glIsTexture(GLuint(presentCopy)));
        // Back at the window's own size, drawing goes straight into the window.
        ASSERT_EQ(d.Reset({64, 48, false, false}), Result::Ok);
        d.Clear(kClearTarget, red, 1.0f, 0);
        EXPECT_EQ(std::pair(ReadPixel(d, 63, 47), WindowPixel(63, 47)), std::pair(red, red));
    }
}

}  // namespace
