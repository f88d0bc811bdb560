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

// A frame of shapes whose edges fall between, on and across pixel centres, drawn as a layer
// over the frame's black: a smooth-shaded triangle, a point-sampled texture on a half-pixel
// offset, a half-transparent quad and a quad with edges on pixel centres. Expected() computes
// each pixel from the same inputs.
class ReferenceFrame : public RecordingLayer {
public:
    static constexpr float kTriangle[3][2] = {{101.3f, 40.2f}, {700.7f, 130.9f}, {260.1f, 520.6f}};
    static constexpr u32 kCorners[3] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    static constexpr float kTextured[4] = {400.5f, 300.5f, 528.5f, 428.5f};  // 8 pixels a texel
    static constexpr float kBlended[4] = {330.25f, 200.75f, 610.0f, 350.0f};
    static constexpr u32 kBlendColour = 0x80FFC040u;
    static constexpr float kInteger[4] = {20.0f, 500.0f, 90.0f, 590.0f};
    static constexpr u32 kIntegerColour = 0xFFC0C0C0u;

    static u32 Texel(u32 i) { return 0xFF000000u | (i * 0x10307u & 0xFFFFFFu); }

    ReferenceFrame(drawtest::Log* log, Device& device) : RecordingLayer(log, "reference"), m_device(device) {
        m_texture = device.CreateTexture(16, 16, 0, Format::X8R8G8B8);
        LockedRect locked{};
        if (m_texture->LockRect(locked, false)) {
            for (u32 i = 0; i < 256; ++i)
                static_cast<u32*>(locked.bits)[i] = Texel(i);
            m_texture->UnlockRect();
        }
        std::vector<Vec3> corners;
        for (const auto& c : kTriangle)
            corners.push_back({c[0], c[1], 0.5f});
        m_triangle = std::make_unique<gfxtest::Mesh>(device, corners, std::vector<uint32_t>(kCorners, kCorners + 3),
                                                     std::vector<float>{});
        auto quad = [&](const float (&r)[4], u32 argb, bool textured) {
            return gfxtest::MakeQuad(device, r[0], r[1], r[2], r[3], 0.5f, argb, textured);
        };
        m_textured = quad(kTextured, 0xFFFFFFFFu, true);
        m_blended = quad(kBlended, kBlendColour, false);
        m_integer = quad(kInteger, kIntegerColour, false);
        draw = [this] { Draw(); };
    }
    ~ReferenceFrame() override { m_texture->Release(); }

    // The picture, with the pixels whose centre lies within a pixel of an edge (where the
    // coverage rests on rounding) marked 0, except along the integer quad's edges.
    static std::vector<u32> Expected() {
        std::vector<u32> out(size_t(kWidth) * kHeight);
        auto near = [](float v, float edge) { return std::fabs(v - edge) < 1.0f; };
        for (u32 py = 0; py < kHeight; ++py)
            for (u32 px = 0; px < kWidth; ++px) {
                const float x = float(px), y = float(py);
                float c[3] = {0, 0, 0};  // r, g, b in 0..255
                bool unsure = false;
                // Barycentric weights of the centre in the triangle.
                const auto& t = kTriangle;
                float w[3];
                const float area = (t[1][0] - t[0][0]) * (t[2][1] - t[0][1]) - (t[2][0] - t[0][0]) * (t[1][1] - t[0][1]);
                for (int k = 0; k < 3; ++k) {
                    const auto& a = t[(k + 1) % 3];
                    const auto& b = t[(k + 2) % 3];
                    const float cross = (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0]);
                    w[k] = cross / area;
                    const float length = std::hypot(b[0] - a[0], b[1] - a[1]);
                    unsure |= std::fabs(cross) / length < 1.0f;
                }
                if (w[0] >= 0 && w[1] >= 0 && w[2] >= 0)
                    for (int ch = 0; ch < 3; ++ch)
                        for (int k = 0; k < 3; ++k)
                            c[ch] += w[k] * float((kCorners[k] >> (16 - 8 * ch)) & 0xFF);
                auto inside = [&](const float (&r)[4]) {
                    unsure |= (near(x, r[0]) || near(x, r[2])) && y > r[1] - 1 && y < r[3] + 1;
                    unsure |= (near(y, r[1]) || near(y, r[3])) && x > r[0] - 1 && x < r[2] + 1;
                    return x >= r[0] && x < r[2] && y >= r[1] && y < r[3];
                };
                if (inside(kTextured)) {
                    const u32 texel = Texel(u32((y - kTextured[1]) / 8) * 16 + u32((x - kTextured[0]) / 8));
                    for (int ch = 0; ch < 3; ++ch)
                        c[ch] = float((texel >> (16 - 8 * ch)) & 0xFF);
                }
                if (inside(kBlended)) {
                    const float a = float(kBlendColour >> 24) / 255.0f;
                    for (int ch = 0; ch < 3; ++ch)
                        c[ch] = a * float((kBlendColour >> (16 - 8 * ch)) & 0xFF) + (1 - a) * c[ch];
                }
                // Centres on these edges follow the top-left rule: never unsure.
                if (x >= kInteger[0] && x < kInteger[2] && y >= kInteger[1] && y < kInteger[3])
                    for (float& v : c)
                        v = float(kIntegerColour & 0xFF);
                out[size_t(py) * kWidth + px] =
                    unsure ? 0u : 0xFF000000u | u32(std::lround(c[0])) << 16 | u32(std::lround(c[1])) << 8 | u32(std::lround(c[2]));
            }
        return out;
    }

private:
    static constexpr u32 kWidth = 800, kHeight = 600;

    void Draw() {
        Device& d = m_device;
        d.SetViewport({0, 0, kWidth, kHeight, 0, 1});
        gfxtest::SetPixelSpace(d, kWidth, kHeight);
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
        d.SetTexture(0, nullptr);
        d.SetTextureStageState(0, StageState::AlphaArg1, TextureArg::Diffuse);
        d.SetRenderState(RenderState::AlphaBlendEnable, 1u);
        d.SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
        d.SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
        m_blended->Bind(d);
        d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
        d.SetRenderState(RenderState::AlphaBlendEnable, 0u);
        m_integer->Bind(d);
        d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
    }

    Device& m_device;
    Texture* m_texture = nullptr;
    std::unique_ptr<gfxtest::Mesh> m_triangle, m_textured, m_blended, m_integer;
};

// Per channel, the lowest and highest of the 3 x 3 pixels around (x, y).
std::pair<u32, u32> Neighbourhood(const std::vector<u32>& image, int x, int y, int width, int height) {
    u32 lo = 0xFFFFFFFFu, hi = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = std::clamp(x + dx, 0, width - 1), ny = std::clamp(y + dy, 0, height - 1);
            const u32 p = image[size_t(ny) * width + nx];
            for (int shift = 0; shift < 24; shift += 8) {
                const u32 mask = 0xFFu << shift;
                lo = (lo & ~mask) | std::min(lo & mask, p & mask);
                hi = (hi & ~mask) | std::max(hi & mask, p & mask);
            }
        }
    return {lo, hi};
}

}  // namespace

// The picture a frame shows, with multisampling off and on, toggled by resets as the settings
// and Alt+Enter toggle it, in a plain and a multisampled window: off, every pixel is what the
// shapes make of it (within rounding of shading); on, the same picture except at edges, where
// a pixel lies between its neighbours.
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
    const std::vector<u32> expected = ReferenceFrame::Expected();
    const std::vector<u32> plain = frame(0);
    EXPECT_EQ(m_device.GetModeFlags() & PCGraphicDevice::kModeMultisample, 0u);
    int wrong = 0;
    for (u32 i = 0; i < plain.size() && wrong < 5; ++i)
        if (expected[i] != 0 && !gfxtest::ColorNear(plain[i], expected[i], 2)) {
            ++wrong;
            ADD_FAILURE() << i % kWidth << "," << i / kWidth << ": " << gfxtest::ColorNear(plain[i], expected[i], 2).message();
        }

    if (Dev().GetCaps().maxSamples < 2)
        GTEST_SKIP() << "no multisampling";
    const std::vector<u32> smooth = frame(PCGraphicDevice::kModeMultisample);
    EXPECT_NE(m_device.GetModeFlags() & PCGraphicDevice::kModeMultisample, 0u);
    int smoothed = 0;
    wrong = 0;
    for (int y = 0; y < int(kHeight) && wrong < 5; ++y)
        for (int x = 0; x < int(kWidth); ++x) {
            const u32 p = smooth[size_t(y) * kWidth + x], q = plain[size_t(y) * kWidth + x];
            auto [lo, hi] = Neighbourhood(plain, x, y, int(kWidth), int(kHeight));
            smoothed += p != q;
            bool ok = lo == hi ? p == q : true;
            for (int shift = 0; shift < 24; shift += 8)
                ok &= ((p >> shift) & 0xFF) + 1 >= ((lo >> shift) & 0xFF) && ((p >> shift) & 0xFF) <= ((hi >> shift) & 0xFF) + 1;
            if (!ok)
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
