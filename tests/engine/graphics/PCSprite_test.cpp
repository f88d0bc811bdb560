#include "engine/graphics/PCSprite.h"

#include <cstring>
#include <functional>

#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCTexture.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "platform/gfx/GlHeaders.h"
#include "tests/support/FragmentQuery.h"
#include "tests/support/LogCapture.h"

namespace {

// Texel (x, y) of the 256 x 128 test image: red = x, green = 2y, blue 0x80.
u32 GridTexel(u32 x, u32 y) { return 0xFF000080u | (x << 16) | ((2 * y) << 8); }

class SpriteTest : public drawtest::DrawingFixture {
protected:
    void SetUp() override {
        DrawingFixture::SetUp();
        std::vector<u32> grid;
        for (u32 y = 0; y < 128; ++y)
            for (u32 x = 0; x < 256; ++x)
                grid.push_back(GridTexel(x, y));
        authoring::PackageWriter writer;
        drawtest::AddMaterial(writer, "grid", {"grid.png"});
        drawtest::AddMaterial(writer, "missing", {"missing.png"});
        drawtest::AddMaterial(writer, "dim", {"dim.png"});
        writer.Add("grid.png", TypeKey::Texture, authoring::PngBytes(grid, 256, 128))
            .Add("dim.png", TypeKey::Texture, drawtest::SolidPng(8, 8, 0x70000000u))
            .Add("dim.spt", TypeKey::Sprite, authoring::SpriteBytes(2, 8, 8, "dim.mat"))
            .Add("grid.spt", TypeKey::Sprite, authoring::SpriteBytes(2, 10, 10, "grid.mat"))
            .Add("lost.spt", TypeKey::Sprite, authoring::SpriteBytes(2, 10, 10, "missing.mat"))
            .Add("plain.spt", TypeKey::Sprite, authoring::SpriteBytes(0, 20, 10, ""));
        Mount(writer);
    }
};

using TextureTest = drawtest::DrawingFixture;

// The fragments the frame shades, where GL counts them; -1 where it does not.
double FrameFragments(const std::function<void()>& frame) {
    const double fragments = FragmentsOf(frame);
    if (fragments < 0)
        frame();
    return fragments;
}

}  // namespace

TEST_F(SpriteTest, SpritesWithoutAUsableTextureKeepTheirSizeAndDrawTheirColour) {
    LogCapture log;
    PCSprite* textured = Get<PCSprite>(TypeKey::Sprite, "grid.spt");
    PCSprite* plain = Get<PCSprite>(TypeKey::Sprite, "plain.spt");
    PCSprite* lost = Get<PCSprite>(TypeKey::Sprite, "lost.spt");
    m_sprites = {textured, plain, lost};
    // A sprite takes its texture's size; one whose texture did not load keeps the file's.
    EXPECT_EQ((std::vector<u32>{textured->GetHeight(), lost->GetWidth(), plain->GetWidth(),
                                plain->GetVertexBuffer()->TexCoordCount()}),
              (std::vector<u32>{128, 10, 20, 0}));
    EXPECT_TRUE(log.Contains("no image data"));
    // Drawn after a textured sprite, the plain one shows its colour, not the texture.
    textured->SetPosition({0, 0});
    plain->SetPosition({40, 30});
    plain->SetColor(0xFF00C000u);
    lost->SetPosition({100, 100});
    lost->SetColor(0xFF0000C0u);
    Show(*textured, 1);
    Show(*plain, 2);
    Show(*lost, 3);
    Frame();
    EXPECT_TRUE(Pixel(60, 40) == 0xFF00C000u && Pixel(61, 31) != 0xFF00C000u && Pixel(105, 105) == 0xFF0000C0u);
    // Opacity replaces the alpha and keeps the colour: half green over texel (40, 30) below.
    plain->SetOpacity(0.5f);
    EXPECT_EQ(plain->GetVertexBuffer()->m_colors.Data()[3], 0x7F00C000u);
    Frame();
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(41, 31), 0xFF147E40u, 2)) << std::hex << Pixel(41, 31);
    Dev().SetTextureStageState(0, platform::gfx::StageState::ColorArg1, platform::gfx::TextureArg::Texture);
    plain->Draw();  // opaque: with depth writes, unblended, coloured by its vertices
    EXPECT_EQ(std::tuple(Dev().GetRenderState(platform::gfx::RenderState::ZWriteEnable),
                         Dev().GetRenderState(platform::gfx::RenderState::AlphaBlendEnable),
                         Dev().GetTextureStageState(0, platform::gfx::StageState::ColorArg1)),
              std::tuple(1u, 0u, u32(platform::gfx::TextureArg::Diffuse)));
    EXPECT_EQ(Pixel(41, 31) & 0xFFFFFFu, 0x00C000u);
    plain->SetBlendMode(4);  // a mode of no states of its own draws blended
    plain->Draw();
    EXPECT_EQ(Dev().GetRenderState(platform::gfx::RenderState::AlphaBlendEnable), 1u);
    textured->Draw();  // binds the texture the plain one took off
    EXPECT_NE(Dev().GetTexture(0), nullptr);

    plain->SetScale({2.0f, 3.0f});
    EXPECT_TRUE(plain->GetLocal().m[0] == 2.0f && plain->GetLocal().m[5] == 3.0f);
    // A material set later brings texture coordinates, and clearing it gives it back.
    AGBaseProvider* materials = m_package->Provider(TypeKey::Material);
    const u32 held = materials->InstanceCount(authoring::NameId("grid.mat"));
    plain->SetMaterial("grid.mat");
    EXPECT_EQ(plain->GetVertexBuffer()->TexCoordCount(), 4u);
    EXPECT_EQ(materials->InstanceCount(authoring::NameId("grid.mat")), held + 1);
    plain->ClearMaterial();
    EXPECT_EQ(materials->InstanceCount(authoring::NameId("grid.mat")), held);
    // A copy takes the texture rectangle set on its original, and a vertex buffer of the provider.
    textured->SetTextureRect(0.25f, 0.5f, 0.75f, 0.875f);
    const u32 buffers = m_package->Provider(TypeKey::VertexBuffer)->InstanceCount(0);
    {
        PCSprite copy(*textured);
        EXPECT_EQ(m_package->Provider(TypeKey::VertexBuffer)->InstanceCount(0), buffers + 1);
        const AGVec2* uv = copy.GetVertexBuffer()->m_texCoords.Data();
        EXPECT_EQ((std::vector<f32>{uv[0].x, uv[0].y, uv[3].x, uv[3].y}),
                  (std::vector<f32>{0.25f, 0.5f, 0.75f, 0.875f}));
        copy.Prepare();  // gives its buffer back at once, and only once
        EXPECT_EQ(m_package->Provider(TypeKey::VertexBuffer)->InstanceCount(0), buffers);
    }
    EXPECT_EQ(m_package->Provider(TypeKey::VertexBuffer)->InstanceCount(0), buffers) << "the copy's buffer given back";
    // The original's quad keeps its coordinates through a change of material.
    textured->SetMaterial("grid.mat");
    EXPECT_EQ(textured->GetVertexBuffer()->m_texCoords.Data()[3].x, 1.0f);
    // Streams made again without texture coordinates hold none.
    PCQuadStreams streams;
    ASSERT_TRUE(streams.Create(4, true, 0) && streams.Create(4, false, 0));
    EXPECT_EQ(streams.TexCoords(), nullptr);
    PCSprite().UpdateVertices();  // no vertex buffer: no quad to place
}

TEST_F(TextureTest, PixelsGoOutAsRgbaAndComeBackAsArgbAndAddressModesReachTheStageBound) {
    using namespace platform::gfx;
    Loaded<PCTexture> texture(authoring::PngBytes({0x80102030u, 0xFF405060u}, 2, 1));
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
    Loaded<PCTexture> dynamic(authoring::PngBytes({0xFF000000u}, 1, 1));
    PCContextManager::Get()->Set9Ex(false);
    EXPECT_EQ(dynamic.GetDeviceTexture()->GetUsage(), u32(kUsageDynamic));

    texture.SetAddressMode(0, PCTexture::kClamp);
    texture.SetAddressMode(1, PCTexture::kMirror);
    texture.SetAddressMode(1, 3);  // not a mode: ignored
    texture.Bind(3);
    EXPECT_EQ(Dev().GetSamplerState(3, SamplerState::AddressU), u32(TextureAddress::Clamp));
    EXPECT_EQ(Dev().GetSamplerState(3, SamplerState::AddressV), u32(TextureAddress::Mirror));
    EXPECT_EQ(Dev().GetTexture(3), texture.GetDeviceTexture());

    // A clone has its own pixels; the source stays unlocked.
    PCTexture clone(texture);
    u32 cloned[2] = {};
    EXPECT_TRUE(clone.ReadPixels(cloned) && cloned[1] == written[1]);
    const u32 other[2] = {1, 2};
    ASSERT_TRUE(clone.WritePixels(other));
    EXPECT_TRUE(texture.ReadPixels(rgba) && rgba[0] == written[0]);

    // A file that does not decode leaves a texture without pixels or size, which binds as none.
    LogCapture log;
    Loaded<PCTexture> broken("not a png");
    EXPECT_TRUE(!broken.ReadPixels(rgba) && !broken.WritePixels(written) && log.Lines().size() == 1u);
    EXPECT_EQ(broken.GetWidth() + broken.GetHeight(), 0u);
    broken.Bind(3);
    EXPECT_EQ(Dev().GetTexture(3), nullptr);
    // A dynamic texture takes the size asked for.
    ASSERT_TRUE(broken.CreateDynamicTexture(4, 3));
    EXPECT_TRUE(broken.GetWidth() == 4 && broken.GetHeight() == 3);
}

TEST_F(SpriteTest, AWindowDimDrawsAsTheShadeOfWhatLiesBeneath) {
    PCSprite* grid = Get<PCSprite>(TypeKey::Sprite, "grid.spt");
    PCSprite* plain = Get<PCSprite>(TypeKey::Sprite, "plain.spt");
    PCSprite* dim = Get<PCSprite>(TypeKey::Sprite, "dim.spt");
    m_sprites = {grid, plain, dim};
    // Under the dim a picture from the window's corner, over it a green box; the dim, placed at
    // 0, leaves out the window's first row and column (a picture lands a pixel on), which keep
    // the picture as it is.
    grid->SetPosition({-1, -1});
    plain->SetPosition({40, 30});
    plain->SetColor(0xFF00C000u);
    dim->SetSize(kWidth, kHeight);
    dim->UpdateVertices();
    dim->SetPosition({0, 0});
    dim->SetOpacity(0.6f);
    Show(*grid, 1);
    Show(*dim, 2);
    Show(*plain, 3);
    const platform::gfx::Rect window{0, 0, i32(kWidth), i32(kHeight)};
    m_layer.Update();
    const double drawnFragments = FrameFragments([this] { Frame(); });
    const std::vector<u32> drawn = gfxtest::ReadPixels(Dev(), window);
    dim->SetFlags(AGRenderable::kDim);
    m_device.InvalidateFrame();
    const double shadedFragments = FrameFragments([this] { Frame(); });
    const std::vector<u32> shaded = gfxtest::ReadPixels(Dev(), window);
    ASSERT_EQ(shaded.size(), drawn.size());
    size_t unlike = 0;
    for (size_t i = 0; i < drawn.size(); ++i)
        unlike += !gfxtest::ColorNear(shaded[i], drawn[i], 1);
    EXPECT_EQ(unlike, 0u) << "first row " << std::hex << drawn[1] << " / " << shaded[1] << ", inside "
                          << drawn[kWidth + 1] << " / " << shaded[kWidth + 1];
    EXPECT_EQ(Dev().GetRenderState(platform::gfx::RenderState::Shade), 0u);
    // The dim's pass over the whole window is not drawn.
    if (drawnFragments >= 0) {
        EXPECT_LE(shadedFragments, drawnFragments - 0.9 * kWidth * kHeight);
    }
}
