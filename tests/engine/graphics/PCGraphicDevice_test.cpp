// The graphic device and its frame on an offscreen OpenGL window.
#include "engine/graphics/PCGraphicDevice.h"

#include <functional>
#include <future>
#include <mutex>

#include "engine/graphics/PCRenderTarget.h"
#include "platform/core/Clock.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using namespace platform::gfx;
using gfxtest::ReadPixel;

// A layer that records its calls and may draw through a function.
class RecordingLayer : public AGGraphicLayer {
public:
    RecordingLayer(drawtest::Log* log, std::string name) : m_log(log), m_name(std::move(name)) {
        SetEnabled(true);  // layers start disabled
    }
    void Update() override { m_log->push_back("update " + m_name); }
    void Render() override {
        if (!drawtest::Digesting())
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

TEST_F(GraphicDeviceTest, StartUpFailsWithAMessageWithoutOpenGL) {
    SDL_Window* plain = SDL_CreateWindow("plain", 0, 0, 64, 64, 0);
    ASSERT_NE(plain, nullptr);
    LogCapture log;
    EXPECT_FALSE(m_device.IsModeUnavailable()) << "until a start-up finds otherwise";
    EXPECT_TRUE(!m_device.Initialize(plain, 64, 64, 0) && std::string(m_device.GetFailureReason()) != "");
    m_device.RenderFrame();  // nothing to draw with: does nothing
    EXPECT_FALSE(m_device.ResetDevice(64, 64, 0));
    SDL_DestroyWindow(plain);
}

// Keeps the pixels of every bitmap a frame capture hands over.
struct CaptureSink : AGBitmapReceiver {
    void ReceiveBitmap(const AGBitmap& bitmap) override {
        const u32* pixels = static_cast<const u32*>(bitmap.pixels);
        frames.emplace_back(pixels, pixels + size_t(bitmap.pitch / 4) * bitmap.height);
    }
    std::vector<std::vector<u32>> frames;
};

// A frame clears, then draws the enabled layers in order, or the custom render in their place
// while that is on (off before any start-up; the scale is the device's own too). A capture
// hands its consumer the source rectangle box-scaled to its size, when on and given both sizes.
TEST_F(GraphicDeviceTest, FrameDrawsEnabledLayersInOrderOrTheCustomRenderAndACaptureScalesIt) {
    m_device.SetScale(2.0f, 0.5f);
    EXPECT_EQ(std::tuple(m_device.IsCustomRender(), m_device.GetXScale(), m_device.GetYScale()),
              std::tuple(false, 2.0f, 0.5f));
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
    for (RecordingLayer* layer : {&a, &off, &b, &a})  // the second a is already listed
        m_device.AddLayer(layer);

    m_device.UpdateLayers();
    m_device.RenderFrame();
    EXPECT_EQ(ReadPixel(Dev(), 700, 500), 0xFF000000u);  // the frame clears to black

    m_device.RemoveLayer(&a);  // the others keep their order; past the end there is no layer
    EXPECT_EQ(std::vector<AGGraphicLayer*>({m_device.GetLayer(0), m_device.GetLayer(1), m_device.GetLayer(2)}),
              std::vector<AGGraphicLayer*>({&off, &b, nullptr}));
    m_device.SetCustomRenderer(&log, [](void* c) { static_cast<drawtest::Log*>(c)->push_back("custom"); });
    m_device.BeginCustomRender();
    m_device.RenderFrame();
    m_device.ResetCustomRender();
    CaptureSink sink;
    auto* capture = new PCFrameCapture;
    EXPECT_EQ(std::tuple(capture->enabled, capture->width, capture->height), std::tuple(false, 0u, 0u));
    capture->consumer = &sink;
    capture->source = {0, 0, 100, 100};
    capture->enabled = true;
    m_device.SetFrameCapture(capture);
    capture->height = 2;
    m_device.RenderFrame();  // no width yet: nothing
    capture->width = 2;
    m_device.RenderFrame();
    Init();  // a new start-up drops the capture
    m_device.RenderFrame();
    EXPECT_EQ(log, (drawtest::Log{"update a", "update b", "render a", "render b", "custom", "render b", "render b",
                                  "render b"}));
    EXPECT_EQ(sink.frames, (std::vector<std::vector<u32>>{{0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF00FF00u}}));
}

// A frame that would draw what the window shows is neither drawn nor presented: a mark left in
// the back buffer stays. A change of a clear's colour, of vertex bytes or of texels, and an
// invalidation, draw the next frame, and its picture.
TEST_F(GraphicDeviceTest, AStillFrameIsNotDrawnAgainAndAnyChangeDrawsTheNext) {
    Init();
    drawtest::Log log;
    RecordingLayer layer(&log, "layer");
    m_device.AddLayer(&layer);
    u32 argb = 0xFFFF0000;
    gfxtest::Mesh quad(Dev(), {{10, 10, 0}, {30, 10, 0}, {10, 30, 0}, {30, 30, 0}}, {}, {0, 0, 1, 0, 0, 1, 1, 1});
    Texture* texture = Dev().CreateTexture(2, 2, 0, Format::A8R8G8B8);
    layer.draw = [&] {
        Fill({0, 0, 8, 8}, argb);
        gfxtest::SetPixelSpace(Dev(), kWidth, kHeight);
        Dev().SetRenderState(RenderState::Lighting, 0u);
        Dev().SetRenderState(RenderState::CullMode, Cull::None);
        Dev().SetTexture(0, texture);
        quad.Bind(Dev());
        Dev().DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
    };
    auto frame = [&] {
        Fill({700, 500, 701, 501}, 0xFF0000FF);  // the mark
        m_device.RenderFrame();
        return std::tuple(m_device.FrameSkipped(), ReadPixel(Dev(), 700, 500), ReadPixel(Dev(), 4, 4));
    };
    using Shown = std::tuple<bool, u32, u32>;
    EXPECT_EQ(frame(), Shown(false, 0xFF000000u, argb));
    EXPECT_EQ(frame(), Shown(true, 0xFF0000FFu, argb));
    argb = 0xFF00FF00;
    EXPECT_EQ(frame(), Shown(false, 0xFF000000u, argb));
    EXPECT_EQ(frame(), Shown(true, 0xFF0000FFu, argb));
    static_cast<float*>(quad.Stream(0)->Lock(0, 0))[0] = 11.0f;
    EXPECT_EQ(frame(), Shown(false, 0xFF000000u, argb));
    LockedRect texels;
    ASSERT_TRUE(texture->LockRect(texels, false));
    texture->UnlockRect();
    EXPECT_EQ(frame(), Shown(false, 0xFF000000u, argb));
    m_device.InvalidateFrame();
    EXPECT_EQ(frame(), Shown(false, 0xFF000000u, argb));
    EXPECT_EQ(frame(), Shown(true, 0xFF0000FFu, argb));
    texture->Release();
}

struct CallbackLog { std::vector<std::pair<int, bool>> calls; PCGraphicDevice* device = nullptr; u32 selfId = 0; };

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
    EXPECT_EQ(std::vector<u32>({id1, id2, log.selfId}), std::vector<u32>({0xC6F20000u, 0xC6F20004u, 0xC6F20008u}));

    Dev().SetRenderState(RenderState::CullMode, Cull::None);
    EXPECT_TRUE(m_device.ResetDevice(640, 480, PCGraphicDevice::kModeFullscreen | 1));
    using Calls = std::vector<std::pair<int, bool>>;
    EXPECT_EQ(log.calls, (Calls{{1, false}, {2, false}, {3, false}, {1, true}, {2, true}}));
    // Full screen falls back to a window, other flags kept; defaults are set again; the size is taken.
    EXPECT_EQ(std::vector<u32>({m_device.GetModeFlags(),
                                Dev().GetRenderState(RenderState::CullMode), Dev().Granted().width}),
              std::vector<u32>({1u, u32(Cull::CW), 640u}));

    log.calls.clear();
    m_device.UnregisterResetCallback(id1);
    EXPECT_TRUE(m_device.RegisterResetCallback(&log, first) == 0xC6F2000Cu && m_device.ResetDevice(640, 480, 0));
    EXPECT_EQ(log.calls, (Calls{{2, false}, {1, false}, {2, true}, {1, true}}));
    m_device.RenderFrame();  // the frame's viewport takes the size of the reset
    EXPECT_TRUE(Dev().GetViewport().width == 640u && Dev().GetViewport().height == 480u);
}

// Hidden, a window draws nothing and sleeps; a device waiting for a reset is reset once and
// draws; a lost one skips the frame and sleeps.
TEST_F(GraphicDeviceTest, HiddenOrLostSkipsTheFrameAndNotResetResetsOnce) {
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
    SDL_HideWindow(m_window->Get());
    m_device.RenderFrame();
    EXPECT_TRUE(log.empty() && clock.SleptNs() == 15 * 1000000ull);
    SDL_ShowWindow(m_window->Get());
    m_device.RenderFrame();
    EXPECT_EQ(clock.SleptNs(), 15 * 1000000ull);
    log.clear();

    Dev().ForceCooperativeLevel(Result::DeviceNotReset);
    m_device.RenderFrame();
    m_device.RenderFrame();
    EXPECT_EQ(std::make_pair(resets, log.size()), std::make_pair(1, size_t(1)));  // the second is the same

    Dev().ForceCooperativeLevel(Result::DeviceLost);
    m_device.RenderFrame();
    m_device.RenderFrame();
    EXPECT_TRUE(log.size() == 1u && clock.SleptNs() == 3 * 15 * 1000000ull);

    // The device comes back waiting for a reset: one reset, then frames again.
    Dev().ForceCooperativeLevel(Result::DeviceNotReset);
    m_device.RenderFrame();
    EXPECT_EQ(std::make_pair(resets, log.size()), std::make_pair(2, size_t(2)));
}

// Render targets: created on demand, rebuilt around resets. The copy itself is shown by the
// device's tests.
using RenderTargetTest = drawtest::DeviceFixture<64, 48>;

TEST_F(RenderTargetTest, ResetsRebuildTheTextureAndDestroyedTargetsLeaveTheCallbacks) {
    std::unique_ptr<AGRenderTarget> base(m_device.CreateRenderTarget(16, 12));
    auto* target = dynamic_cast<PCRenderTarget*>(base.get());
    EXPECT_EQ(target->GetTexture(), nullptr);  // empty until created
    ASSERT_TRUE(target->Create(16, 12));
    EXPECT_EQ(target->GetTexture()->Width(), 16u);

    // A reset drops the texture (seen by a callback registered after the target's) and
    // makes a new one.
    struct Seen { PCRenderTarget* target; std::vector<bool> hadTexture; } seen{target, {}};
    u32 id = m_device.RegisterResetCallback(&seen, [](void* c, bool) {
        auto* s = static_cast<Seen*>(c);
        s->hadTexture.push_back(s->target->GetTexture() != nullptr);
    });
    ASSERT_TRUE(m_device.ResetDevice(64, 48, PCGraphicDevice::kModeMultisample));
    EXPECT_EQ(seen.hadTexture, (std::vector<bool>{false, true}));
    // The reset keeps the multisample flag exactly when the device granted it.
    EXPECT_EQ((m_device.GetModeFlags() & PCGraphicDevice::kModeMultisample) != 0, Dev().GetCaps().maxSamples >= 2);
    m_device.UnregisterResetCallback(id);

    // Destroyed targets give the device's lock back and leave the reset callbacks: a later reset
    // must not reach them.
    base.reset();
    EXPECT_TRUE(std::async(std::launch::async, [this] {
        return std::unique_lock(m_device.GetLock(), std::try_to_lock).owns_lock();
    }).get());
    EXPECT_TRUE(m_device.ResetDevice(64, 48, 0));
}

// Copies between bitmap records.
TEST(AGCopyBitmap, BlockRowsAndReversedRows) {
    std::vector<u32> src = {1, 2, 3, 4, 5, 6};  // 2 x 3
    const AGBitmap s{src.data(), 2, 3, 4, 8, 0};
    // A padded destination (pitch of 3 pixels) is written row by row, the padding kept; different
    // row orders turn the picture upside down; a pitch shorter than a row copies nothing.
    const std::tuple<u32, u8, std::vector<u32>> cases[] = {
        {8, 0, src}, {12, 0, {1, 2, 0xEE, 3, 4, 0xEE, 5, 6, 0xEE}}, {8, 1, {5, 6, 3, 4, 1, 2}},
        {4, 0, std::vector<u32>(6, 0xEE)}};
    for (const auto& [pitch, rowOrder, want] : cases) {
        std::vector<u32> dst(want.size(), 0xEE);
        AGBitmap d{dst.data(), 2, 3, 4, pitch, rowOrder};
        AGCopyBitmap(d, s);
        EXPECT_EQ(dst, want) << pitch << " " << int(rowOrder);
    }
}

}  // namespace
