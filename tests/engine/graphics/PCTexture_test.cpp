#include "engine/graphics/PCTexture.h"

#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"

using TextureTest = drawtest::DrawingFixture;
using namespace platform::gfx;

TEST_F(TextureTest, PixelsGoOutAsRgbaAndComeBackAsArgbAndAddressModesReachTheStageBound) {
    PCTexture texture;
    LoadBytes(texture, authoring::PngBytes({0x80102030u, 0xFF405060u}, 2, 1));
    u32 rgba[2] = {};
    ASSERT_TRUE(texture.ReadPixels(rgba));
    EXPECT_EQ(std::vector<u32>(rgba, rgba + 2), (std::vector<u32>{0x10203080u, 0x405060FFu}));
    const u32 written[2] = {0x11223344u, 0xAABBCCDDu};
    ASSERT_TRUE(texture.WritePixels(written));
    LockedRect locked{};
    ASSERT_TRUE(texture.GetDeviceTexture()->LockRect(locked, true));
    EXPECT_EQ(static_cast<const u32*>(locked.bits)[1], 0xDDAABBCCu);
    texture.GetDeviceTexture()->UnlockRect();
    // Loaded textures are dynamic on an extended context only.
    EXPECT_EQ(texture.GetDeviceTexture()->GetUsage(), 0u);
    PCContextManager::Get()->Set9Ex(true);
    PCTexture dynamic;
    LoadBytes(dynamic, authoring::PngBytes({0xFF000000u}, 1, 1));
    PCContextManager::Get()->Set9Ex(false);
    EXPECT_EQ(dynamic.GetDeviceTexture()->GetUsage(), u32(kUsageDynamic));

    texture.SetAddressMode(0, PCTexture::kClamp);
    texture.SetAddressMode(1, PCTexture::kMirror);
    texture.Bind(3);
    EXPECT_EQ(Dev().GetSamplerState(3, SamplerState::AddressU), u32(TextureAddress::Clamp));
    EXPECT_EQ(Dev().GetSamplerState(3, SamplerState::AddressV), u32(TextureAddress::Mirror));
    EXPECT_EQ(Dev().GetTexture(3), texture.GetDeviceTexture());

    // A clone has its own pixels; the source stays unlocked.
    PCTexture clone(texture);
    u32 cloned[2] = {};
    ASSERT_TRUE(clone.ReadPixels(cloned));
    EXPECT_EQ(cloned[1], written[1]);
    const u32 other[2] = {1, 2};
    ASSERT_TRUE(clone.WritePixels(other));
    EXPECT_TRUE(texture.ReadPixels(rgba) && rgba[0] == written[0]);

    // A file that does not decode leaves a texture without pixels, which binds as none.
    LogCapture log;
    PCTexture broken;
    LoadBytes(broken, "not a png");
    EXPECT_TRUE(!broken.ReadPixels(rgba) && log.Lines().size() == 1u);
    broken.Bind(3);
    EXPECT_EQ(Dev().GetTexture(3), nullptr);
    // A dynamic texture takes the size asked for.
    ASSERT_TRUE(broken.CreateDynamicTexture(4, 3));
    EXPECT_TRUE(broken.GetWidth() == 4 && broken.GetHeight() == 3);
}
