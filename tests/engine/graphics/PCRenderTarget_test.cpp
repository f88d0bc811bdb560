// Render targets: created on demand, rebuilt around resets. The copy itself is shown by the
// device's tests.
#include "engine/graphics/PCRenderTarget.h"

#include "tests/engine/graphics/DrawingTestSupport.h"

namespace {

using namespace platform::gfx;
using RenderTargetTest = drawtest::DeviceFixture<64, 48>;

TEST_F(RenderTargetTest, ResetsRebuildTheTextureAndDestroyedTargetsLeaveTheCallbacks) {
    std::unique_ptr<AGRenderTarget> base(m_device.CreateRenderTarget(16, 12));
    auto* target = dynamic_cast<PCRenderTarget*>(base.get());
    EXPECT_EQ(target->GetTexture(), nullptr);  // empty until created
    ASSERT_TRUE(target->Create(16, 12));
    EXPECT_EQ(target->GetTexture()->Width(), 16u);

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
    ASSERT_TRUE(m_device.ResetDevice(64, 48, PCGraphicDevice::kModeMultisample));
    EXPECT_EQ(seen.hadTexture, (std::vector<bool>{false, true}));
    // The reset keeps the multisample flag exactly when the device granted it.
    EXPECT_EQ((m_device.GetModeFlags() & PCGraphicDevice::kModeMultisample) != 0, Dev().GetCaps().maxSamples >= 2);
    m_device.UnregisterResetCallback(id);

    // Destroyed targets leave the reset callbacks: a later reset must not reach them.
    base.reset();
    EXPECT_TRUE(m_device.ResetDevice(64, 48, 0));
}

}  // namespace
