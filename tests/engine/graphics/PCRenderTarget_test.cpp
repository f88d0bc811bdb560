// Render targets: created on demand, filled from the back buffer, rebuilt around resets.
#include "engine/graphics/PCRenderTarget.h"

#include "tests/engine/graphics/DrawingTestSupport.h"

namespace {

using namespace platform::gfx;
using RenderTargetTest = drawtest::DeviceFixture<64, 48>;

TEST_F(RenderTargetTest, CaptureCopiesTheBackBufferAndResetsRebuildIt) {
    std::unique_ptr<AGRenderTarget> base(m_device.CreateRenderTarget(16, 12));
    auto* target = dynamic_cast<PCRenderTarget*>(base.get());
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->GetTexture(), nullptr);  // empty until created
    ASSERT_TRUE(target->Create(16, 12));
    ASSERT_NE(target->GetTexture(), nullptr);
    EXPECT_EQ(target->GetTexture()->Width(), 16u);

    Device& d = Dev();
    d.Clear(kClearTarget, 0xFF00FF00, 1.0f, 0);
    target->Capture();
    // Draw the target back over the whole screen and read its colour.
    d.Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    d.SetRenderState(RenderState::CullMode, Cull::None);
    d.SetRenderState(RenderState::ZEnable, 0u);
    gfxtest::SetPixelSpace(d, 64, 48);
    d.SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
    d.SetTexture(0, target->GetTexture());
    auto quad = gfxtest::MakeQuad(d, -0.5f, -0.5f, 63.5f, 47.5f, 0.5f, 0xFFFFFFFF);
    quad->Bind(d);
    ASSERT_TRUE(d.DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2));
    d.SetTexture(0, nullptr);
    EXPECT_EQ(Pixel(30, 20), 0xFF00FF00u);

    // A reset drops the texture (seen by a callback registered after the target's) and
    // makes a new one.
    struct Seen {
        PCRenderTarget* target;
        std::vector<bool> hadTexture;
    } seen{target, {}};
    u32 id = m_device.RegisterResetCallback(&seen, [](void* c, bool) {
        auto* s = static_cast<Seen*>(c);
        s->hadTexture.push_back(s->target->GetTexture() != nullptr);
    });
    ASSERT_TRUE(m_device.ResetDevice(64, 48, 0));
    EXPECT_EQ(seen.hadTexture, (std::vector<bool>{false, true}));
    m_device.UnregisterResetCallback(id);

    // Destroyed targets leave the reset callbacks: a later reset must not reach them.
    base.reset();
    EXPECT_TRUE(m_device.ResetDevice(64, 48, 0));
}

TEST_F(RenderTargetTest, WithoutADeviceNothingIsCreated) {
    PCGraphicDevice::SetInstance(nullptr);
    PCRenderTarget target;
    EXPECT_FALSE(target.Create(8, 8));
    target.Capture();
    PCGraphicDevice::SetInstance(&m_device);
}

}  // namespace
