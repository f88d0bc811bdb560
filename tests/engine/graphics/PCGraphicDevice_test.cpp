// The graphic device and its frame on an offscreen OpenGL window.
#include "engine/graphics/PCGraphicDevice.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/core/Clock.h"
#include "platform/gfx/GlHeaders.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using namespace platform::gfx;
using gfxtest::ReadPixel;

// A layer that records its calls and may draw through a function.
class RecordingLayer : public AGGraphicLayer {
public:
    RecordingLayer(drawtest::Log* log, std::string name)
        : m_log(log), m_name(std::move(name)) {
        SetEnabled(true);  // layers start disabled
    }
    void Update() override { m_log->push_back("update " + m_name); }
    void Render() override {
        m_log->push_back("render " + m_name);
        if (draw)
            draw();
    }
    std::function<void()> draw;

private:
    drawtest::Log* m_log;
    std::string m_name;
};

class GraphicDeviceTest : public drawtest::DeviceFixture<800, 600, false> {
protected:
    static constexpr u32 kAppFlags = 0x80000007;  // cursor, full screen, multisampling, settings

    void Init(u32 flags = 0) { ASSERT_TRUE(m_device.Initialize(m_window->Get(), kWidth, kHeight, flags)); }
    // Clears a rectangle of the back buffer to a colour, as a layer's drawing would.
    void Fill(const Rect& r, u32 argb) {
        Dev().SetViewport({u32(r.left), u32(r.top), u32(r.right - r.left), u32(r.bottom - r.top), 0, 1});
        Dev().Clear(kClearTarget, argb, 1.0f, 0);
    }
};

TEST_F(GraphicDeviceTest, InitialisesAndClearsToTheStartColour) {
    Init(kAppFlags);
    for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}})
        EXPECT_EQ(ReadPixel(Dev(), x, y), 0xFF282828u) << x << "," << y;
    EXPECT_EQ(m_context.GetDevice(), m_device.GetDevice());
    // The offscreen display has no 800 x 600 mode: a window, whatever was asked. Other bits
    // of the flags pass through.
    EXPECT_TRUE(m_device.IsModeUnavailable());
    EXPECT_EQ(m_device.GetModeFlags() & PCGraphicDevice::kModeFullscreen, 0u);
    EXPECT_EQ(m_device.GetModeFlags() & 0x80000001u, 0x80000001u);
    bool msaa = Dev().GetCaps().maxSamples >= 2;
    EXPECT_EQ((m_device.GetModeFlags() & PCGraphicDevice::kModeMultisample) != 0, msaa);
    EXPECT_EQ(Dev().GetRenderState(RenderState::CullMode), u32(Cull::CW));
}

TEST_F(GraphicDeviceTest, StartUpFailsWithAMessageWithoutOpenGL) {
    SDL_Window* plain = SDL_CreateWindow("plain", 0, 0, 64, 64, 0);
    ASSERT_NE(plain, nullptr);
    LogCapture log;
    EXPECT_FALSE(m_device.Initialize(plain, 64, 64, 0));
    EXPECT_EQ(m_device.GetDevice(), nullptr);
    EXPECT_TRUE(log.Contains("Graphic device"));
    EXPECT_NE(std::string(m_device.GetFailureReason()), "");
    m_device.RenderFrame();  // nothing to draw with: does nothing
    EXPECT_FALSE(m_device.ResetDevice(64, 64, 0));
    SDL_DestroyWindow(plain);
}

TEST_F(GraphicDeviceTest, FrameDrawsEnabledLayersInOrderAndClearsFirst) {
    Init();
    drawtest::Log log;
    RecordingLayer a(&log, "a"), b(&log, "b"), off(&log, "off");
    off.SetEnabled(false);
    a.draw = [this] { Fill({0, 0, 100, 100}, 0xFFFF0000); };
    b.draw = [this] {
        Fill({50, 50, 150, 150}, 0xFF00FF00);
        // Left on by the last layer; the next frame's clear must still reach the whole buffer.
        Dev().SetScissorRect({0, 0, 10, 10});
        Dev().SetRenderState(RenderState::ScissorTestEnable, 1u);
    };
    m_device.AddLayer(&a);
    m_device.AddLayer(&off);
    m_device.AddLayer(&b);
    m_device.AddLayer(&a);  // already listed
    EXPECT_EQ(m_device.GetLayerCount(), 3u);

    m_device.UpdateLayers();
    m_device.RenderFrame();
    EXPECT_EQ(log, (drawtest::Log{"update a", "update b", "render a", "render b"}));
    EXPECT_EQ(ReadPixel(Dev(), 10, 10), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(Dev(), 60, 60), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(Dev(), 700, 500), 0xFF000000u);  // the frame clears to black

    m_device.RemoveLayer(&a);
    m_device.RenderFrame();
    EXPECT_EQ(ReadPixel(Dev(), 10, 10), 0xFF000000u);
    EXPECT_EQ(ReadPixel(Dev(), 60, 60), 0xFF00FF00u);
}

TEST_F(GraphicDeviceTest, HiddenWindowRendersNothingAndSleeps) {
    Init();
    drawtest::Log log;
    RecordingLayer layer(&log, "layer");
    m_device.AddLayer(&layer);
    SDL_HideWindow(m_window->Get());
    platform::FakeClock clock;
    for (int i = 0; i < 3; ++i)
        m_device.RenderFrame();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(clock.SleptNs(), 3 * 15 * 1000000ull);
    EXPECT_EQ(ReadPixel(Dev(), 400, 300), 0xFF282828u);  // still the start colour
    SDL_ShowWindow(m_window->Get());
    m_device.RenderFrame();
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(clock.SleptNs(), 3 * 15 * 1000000ull);
}

struct CallbackLog {
    std::vector<std::pair<int, bool>> calls;
    PCGraphicDevice* device = nullptr;
    u32 selfId = 0;
};

TEST_F(GraphicDeviceTest, ResetCallsCallbacksFalseThenTrueWithSteppedIds) {
    Init();
    CallbackLog log;
    log.device = &m_device;
    auto first = [](void* c, bool restored) { static_cast<CallbackLog*>(c)->calls.push_back({1, restored}); };
    auto second = [](void* c, bool restored) { static_cast<CallbackLog*>(c)->calls.push_back({2, restored}); };
    auto once = [](void* c, bool restored) {
        auto* l = static_cast<CallbackLog*>(c);
        l->calls.push_back({3, restored});
        l->device->UnregisterResetCallback(l->selfId);  // gone after its first call
    };
    u32 id1 = m_device.RegisterResetCallback(&log, first);
    u32 id2 = m_device.RegisterResetCallback(&log, second);
    log.selfId = m_device.RegisterResetCallback(&log, once);
    EXPECT_EQ(id1, 0xC6F20000u);
    EXPECT_EQ(id2, 0xC6F20004u);
    EXPECT_EQ(log.selfId, 0xC6F20008u);

    Dev().SetRenderState(RenderState::CullMode, Cull::None);
    EXPECT_TRUE(m_device.ResetDevice(640, 480, PCGraphicDevice::kModeFullscreen));
    using Calls = std::vector<std::pair<int, bool>>;
    EXPECT_EQ(log.calls, (Calls{{1, false}, {2, false}, {3, false}, {1, true}, {2, true}}));
    // Full screen falls back to a window; defaults are set again; the size is taken.
    EXPECT_EQ(m_device.GetModeFlags() & PCGraphicDevice::kModeFullscreen, 0u);
    EXPECT_EQ(Dev().GetRenderState(RenderState::CullMode), u32(Cull::CW));
    EXPECT_EQ(m_device.GetWidth(), 640u);
    EXPECT_EQ(Dev().Granted().width, 640u);

    log.calls.clear();
    m_device.UnregisterResetCallback(id1);
    u32 id4 = m_device.RegisterResetCallback(&log, first);
    EXPECT_EQ(id4, 0xC6F2000Cu);
    EXPECT_TRUE(m_device.ResetDevice(640, 480, 0));
    EXPECT_EQ(log.calls, (Calls{{2, false}, {1, false}, {2, true}, {1, true}}));
}

TEST_F(GraphicDeviceTest, NotResetResetsOnceAndLostSkipsTheFrame) {
    Init();
    drawtest::Log log;
    RecordingLayer layer(&log, "layer");
    m_device.AddLayer(&layer);
    int resets = 0;
    m_device.RegisterResetCallback(&resets, [](void* c, bool restored) {
        if (restored)
            ++*static_cast<int*>(c);
    });
    platform::FakeClock clock;

    Dev().ForceCooperativeLevel(Result::DeviceNotReset);
    m_device.RenderFrame();
    m_device.RenderFrame();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(log.size(), 2u);  // both frames drawn

    Dev().ForceCooperativeLevel(Result::DeviceLost);
    m_device.RenderFrame();
    m_device.RenderFrame();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(clock.SleptNs(), 2 * 15 * 1000000ull);

    // The device comes back waiting for a reset: one reset, then frames again.
    Dev().ForceCooperativeLevel(Result::DeviceNotReset);
    m_device.RenderFrame();
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(log.size(), 3u);
}

}  // namespace

namespace {

// A smooth-shaded triangle and, on a half-pixel offset, a point-sampled 16 x 16 texture of 8
// pixels a texel, drawn over the frame's black.
class ReferenceFrame : public RecordingLayer {
public:
    static u32 Texel(u32 i) { return 0xFF000000u | (i * 0x10307u & 0xFFFFFFu); }

    ReferenceFrame(drawtest::Log* log, Device& device) : RecordingLayer(log, "reference"), m_device(device) {
        m_texture = device.CreateTexture(16, 16, 0, Format::X8R8G8B8);
        LockedRect locked{};
        if (m_texture->LockRect(locked, false)) {
            for (u32 i = 0; i < 256; ++i)
                static_cast<u32*>(locked.bits)[i] = Texel(i);
            m_texture->UnlockRect();
        }
        m_triangle = std::make_unique<gfxtest::Mesh>(
            device, std::vector<Vec3>{{101.3f, 40.2f, 0.5f}, {700.7f, 130.9f, 0.5f}, {260.1f, 520.6f, 0.5f}},
            std::vector<uint32_t>{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}, std::vector<float>{});
        m_textured = gfxtest::MakeQuad(device, 400.5f, 300.5f, 528.5f, 428.5f, 0.5f, 0xFFFFFFFFu, true);
        draw = [this] { Draw(); };
    }
    ~ReferenceFrame() override { m_texture->Release(); }

private:
    void Draw() {
        Device& d = m_device;
        d.SetViewport({0, 0, 800, 600, 0, 1});
        gfxtest::SetPixelSpace(d, 800, 600);
        d.SetRenderState(RenderState::Lighting, 0u);
        d.SetRenderState(RenderState::CullMode, Cull::None);
        d.SetRenderState(RenderState::ZEnable, 0u);
        d.SetSamplerState(0, SamplerState::MinFilter, TextureFilter::Point);
        d.SetSamplerState(0, SamplerState::MagFilter, TextureFilter::Point);
        d.SetTexture(0, nullptr);
        m_triangle->Bind(d);
        d.DrawPrimitive(PrimitiveType::TriangleList, 0, 1);
        d.SetTexture(0, m_texture);
        m_textured->Bind(d);
        d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
    }

    Device& m_device;
    Texture* m_texture = nullptr;
    std::unique_ptr<gfxtest::Mesh> m_triangle, m_textured;
};

}  // namespace

// The picture a frame shows, with multisampling off and on, toggled by resets as the settings
// and Alt+Enter toggle it, in a plain and a multisampled window: off, texels land whole and
// the shading is exact; on, the same picture except at edges, where a pixel lies between its
// neighbours.
TEST_F(GraphicDeviceTest, FramesWithAndWithoutMultisamplingShowTheSamePicture) {
  for (int samples : {0, 4}) {
    SCOPED_TRACE(samples);
    m_device.Shutdown();
    m_window = std::make_unique<gfxtest::TestWindow>(int(kWidth), int(kHeight), samples);
    Init();
    drawtest::Log log;
    auto frame = [&](u32 flags) {
        EXPECT_TRUE(m_device.ResetDevice(kWidth, kHeight, flags));
        ReferenceFrame layer(&log, Dev());
        m_device.AddLayer(&layer);
        m_device.RenderFrame();
        m_device.RemoveLayer(&layer);
        Image image;
        EXPECT_TRUE(Dev().ReadBackBuffer({0, 0, int(kWidth), int(kHeight)}, image));
        image.pixels.resize(size_t(kWidth) * kHeight);
        return image.pixels;
    };
    const std::vector<u32> plain = frame(0);
    EXPECT_EQ(m_device.GetModeFlags() & PCGraphicDevice::kModeMultisample, 0u);
    auto at = [](const std::vector<u32>& image, u32 x, u32 y) { return image[size_t(y) * kWidth + x]; };
    for (u32 i : {0u, 17u, 130u, 255u})
        EXPECT_EQ(at(plain, 400 + 8 * (i % 16) + 4, 300 + 8 * (i / 16) + 4), ReferenceFrame::Texel(i)) << i;
    // The corners' colours weighted by the pixel centre's barycentric coordinates.
    for (auto [x, y, argb] : {std::tuple{120u, 60u, 0xFFF00509u}, {354u, 230u, 0xFF555555u}, {300u, 400u, 0xFF2324B8u}})
        EXPECT_TRUE(gfxtest::ColorNear(at(plain, x, y), argb, 2)) << x << "," << y;
    EXPECT_EQ(at(plain, 700, 40), 0xFF000000u);

    if (Dev().GetCaps().maxSamples < 2)
        GTEST_SKIP() << "no multisampling";
    const std::vector<u32> smooth = frame(PCGraphicDevice::kModeMultisample);
    EXPECT_NE(m_device.GetModeFlags() & PCGraphicDevice::kModeMultisample, 0u);
    int smoothed = 0, wrong = 0;
    for (int y = 0; y < int(kHeight) && wrong < 5; ++y)
        for (int x = 0; x < int(kWidth); ++x) {
            const u32 p = at(smooth, x, y), q = at(plain, x, y);
            smoothed += p != q;
            // Per channel, within the lowest and highest of the 3 x 3 plain pixels around.
            bool ok = true, flat = true;
            for (int shift = 0; shift < 24; shift += 8) {
                int lo = 255, hi = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int c = gfxtest::Channel(at(plain, std::clamp(x + dx, 0, int(kWidth) - 1),
                                                          std::clamp(y + dy, 0, int(kHeight) - 1)), shift);
                        lo = std::min(lo, c);
                        hi = std::max(hi, c);
                    }
                flat &= lo == hi;
                ok &= gfxtest::Channel(p, shift) + 1 >= lo && gfxtest::Channel(p, shift) <= hi + 1;
            }
            if (!ok || (flat && p != q))
                ADD_FAILURE() << x << "," << y << std::hex << " 0x" << p << " beside 0x" << q << " " << ++wrong;
        }
    EXPECT_GT(smoothed, 500);  // the edges are smoothed
  }
}

// A back buffer smaller than the window is shown scaled to it and upright, in a plain and in a
// multisampled window, with and without multisampling, frame after frame (states set once
// still hold after a present); and once the window's size is asked again, the next frame is
// drawn at it.
TEST_F(GraphicDeviceTest, ASmallerBackBufferIsShownScaledAndUprightInAnyWindow) {
    const u32 kMultisample = PCGraphicDevice::kModeMultisample;
    for (auto [samples, flags] : {std::pair{0, 0u}, {0, kMultisample}, {4, 0u}, {4, kMultisample}}) {
        SCOPED_TRACE(testing::Message() << samples << " samples, flags " << flags);
        m_device.Shutdown();
        m_window = std::make_unique<gfxtest::TestWindow>(int(kWidth), int(kHeight), samples);
        Init(flags);
        ASSERT_TRUE(m_device.ResetDevice(400, 300, flags));
        drawtest::Log log;
        RecordingLayer layer(&log, "quarters");
        auto veil = gfxtest::MakeQuad(Dev(), 0, 0, 100, 100, 0.5f, 0x80FFFFFFu, false);
        layer.draw = [&] {
            Fill({0, 0, 200, 150}, 0xFFFF0000u);
            Fill({200, 0, 400, 150}, 0xFF00FF00u);
            Fill({0, 150, 400, 300}, 0xFF0000FFu);
            Device& d = Dev();
            d.SetViewport({0, 0, 400, 300, 0, 1});
            gfxtest::SetPixelSpace(d, 400, 300);
            d.SetRenderState(RenderState::Lighting, 0u);
            d.SetRenderState(RenderState::ZEnable, 0u);
            d.SetRenderState(RenderState::CullMode, Cull::None);
            d.SetRenderState(RenderState::AlphaBlendEnable, 1u);
            d.SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
            d.SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
            d.SetTextureStageState(0, StageState::AlphaArg1, TextureArg::Diffuse);
            d.SetTexture(0, nullptr);
            veil->Bind(d);
            d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
        };
        m_device.AddLayer(&layer);
        for (int frame = 0; frame < 2; ++frame) {
            m_device.RenderFrame();
            // GL numbers the window's rows bottom up.
            auto shown = [](int x, int y) {
                u32 p = 0;
                glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
                glReadPixels(x, int(kHeight) - 1 - y, 1, 1, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &p);
                return p | 0xFF000000u;
            };
            EXPECT_EQ(shown(300, 250), 0xFFFF0000u);
            EXPECT_EQ(shown(700, 200), 0xFF00FF00u);
            EXPECT_EQ(shown(100, 500), 0xFF0000FFu);
            EXPECT_EQ(shown(700, 590), 0xFF0000FFu);
            EXPECT_EQ(ReadPixel(Dev(), 300, 50), 0xFF00FF00u);
            EXPECT_TRUE(gfxtest::ColorNear(ReadPixel(Dev(), 50, 50), 0xFFFF8080u, 2));  // half veiled
        }
        ASSERT_TRUE(m_device.ResetDevice(kWidth, kHeight, flags));
        m_device.RenderFrame();
        EXPECT_EQ(ReadPixel(Dev(), 150, 100), 0xFFFF0000u);
        EXPECT_EQ(ReadPixel(Dev(), 500, 100), 0xFF000000u);  // cleared: outside the layer's quarters
        m_device.RemoveLayer(&layer);
    }
}
