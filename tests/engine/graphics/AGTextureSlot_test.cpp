#include "engine/graphics/AGTextureSlot.h"

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/PCMaterial.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"

namespace {

constexpr u32 kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;

// 16 x 16, quadrants red (top left), green (top right), blue (bottom left), white.
std::string QuadrantPng() {
    std::vector<u32> pixels;
    for (u32 y = 0; y < 16; ++y)
        for (u32 x = 0; x < 16; ++x)
            pixels.push_back(y < 8 ? (x < 8 ? kRed : kGreen) : (x < 8 ? kBlue : kWhite));
    return authoring::PngBytes(pixels, 16, 16);
}

class TextureSlotTest : public drawtest::DrawingFixture {
protected:
    // A package with slot "<name>_slot" (the textures and UV track given, an own controller of
    // 30 frames at 30 frames a second unless given), material "<name>.mat" and a sprite
    // "<name>.spt" drawing it.
    void AddSlot(const std::string& name, std::vector<std::string> textures, const Track& uv,
                 authoring::SlotController controller = {30, 1.0f, 30.0f}) {
        drawtest::AddMaterial(m_writer, name, std::move(textures), 0xFFFFFFFFu, controller, uv);
        m_writer.Add(name + ".spt", TypeKey::Sprite, authoring::SpriteBytes(2, 1, 1, name + ".mat"));
    }
    PCSprite* Draw(const std::string& name, f32 x) {
        PCSprite* s = Get<PCSprite>(TypeKey::Sprite, name + ".spt");
        m_sprites.push_back(s);
        s->SetPosition({x, 0});
        Show(*s);
        return s;
    }
    AGTextureSlot* SlotOf(PCSprite* s) { return s->GetMaterial()->GetSlot(0); }
    authoring::PackageWriter m_writer;
};

}  // namespace

TEST_F(TextureSlotTest, StepFlipBookShowsTheKeyedTextureIgnoresFramesItDoesNotHaveAndRunsItsOwnController) {
    drawtest::ScopedTimer clock;  // 16 ms frames: one frame of "own" at 62.5 frames a second
    m_writer.Add("r.png", TypeKey::Texture, drawtest::SolidPng(16, 16, kRed))
        .Add("g.png", TypeKey::Texture, drawtest::SolidPng(16, 16, kGreen))
        .Add("b.png", TypeKey::Texture, drawtest::SolidPng(16, 16, kBlue));
    // Stepped keys, the first showing texture 0 at frame 0.
    const auto steps = [] { return Track::UV().Interpolation(Track::StepId()).UVKey(0, 0, 1, 1, 0, 0, 0); };
    AddSlot("flip", {"r.png", "g.png", "b.png"}, steps().UVKey(10, 1, 1, 1, 0, 0, 0).UVKey(20, 2, 1, 1, 0, 0, 0));
    AddSlot("bad", {"r.png", "g.png"}, steps().UVKey(10, 7, 1, 1, 0, 0, 0));
    AddSlot("own", {"r.png", "g.png"}, steps().UVKey(1, 1, 1, 1, 0, 0, 0), {3, 1.0f, 62.5f});
    Mount(m_writer);
    PCSprite* flip = Draw("flip", 0);
    PCSprite* bad = Draw("bad", 20);
    PCSprite* own = Draw("own", 40);
    // Its own controller runs over the stored frame count, once per timer frame.
    const AGController* ownController = SlotOf(own)->GetOwnedController();
    EXPECT_EQ(ownController->GetEndTime(), 32.0f);
    EXPECT_TRUE(ownController->GetMode() == u32(AGController::kLoop) && flip->GetMaterial()->IsFlipBook());
    AGController* controller = SlotOf(flip)->GetController();
    const f32 frameMs = 1000.0f / 30.0f;
    for (auto [frame, color] : {std::pair{0.0f, kRed}, {15.0f, kGreen}, {25.0f, kBlue}}) {
        controller->SetTime(frame * frameMs);
        SlotOf(bad)->GetController()->SetTime(frame * frameMs);
        Frame();
        EXPECT_EQ(Pixel(8, 8), color) << frame;
        EXPECT_EQ(Pixel(28, 8), kRed) << frame;  // key 10 names texture 7 of 2: ignored
    }
    EXPECT_TRUE(ownController->GetTime() == 16.0f && Pixel(48, 8) == kGreen);
    own->Update();  // the same timer frame: the controller does not move again
    EXPECT_EQ(ownController->GetTime(), 16.0f);
    AGTextureSlot copy(*SlotOf(flip));  // a copy starts on the frame shown
    EXPECT_EQ(copy.GetCurrentFrame(), 2u);
    // Loaded again from nothing, it gives its textures back and holds none.
    copy.Load(nullptr, 0, false, true);
    EXPECT_EQ(copy.GetTexture(0), nullptr);
}

TEST_F(TextureSlotTest, TranslatedAndRotatedUVKeysMoveTheSampledTexels) {
    m_writer.Add("quad.png", TypeKey::Texture, QuadrantPng());
    const char* names[] = {"still", "shifted", "turned", "slid", "wide"};
    const Track keys[] = {Track::UV().UVKey(0, 0, 1, 1, 0, 0, 0), Track::UV().UVKey(0, 0, 1, 1, 0.25f, 0.25f, 0),
                          Track::UV().UVKey(0, 0, 1, 1, 0, 0, 1.5707964f), Track::UV().UVKey(0, 0, 1, 1, 0.5f, 0, 0),
                          Track::UV().UVKey(0, 0, 2, 1, 0, 0, 0)};
    for (int s = 0; s < 5; ++s)
        AddSlot(names[s], {"quad.png"}, keys[s]);
    AddSlot("lost", {"missing.png"}, Track::UV().UVKey(0, 0, 1, 1, 0, 0, 0));
    Mount(m_writer);
    for (int s = 0; s < 5; ++s)
        Draw(names[s], 20.0f * s);
    Frame();
    // Unchanged; a quarter texture back along u and on along v (wrapping; a half would hide the
    // direction); a quarter turn about the centre; half a texture along u alone; u stretched
    // twice about the centre, the left half showing on both sides.
    const std::vector<u32> expected[5] = {{kRed, kGreen, kBlue, kWhite}, {kBlue, kWhite, kRed, kGreen},
                                          {kBlue, kRed, kWhite, kGreen}, {kGreen, kRed, kWhite, kBlue},
                                          {kRed, kRed, kBlue, kBlue}};
    for (int s = 0; s < 5; ++s) {
        const int x = 20 * s;
        EXPECT_EQ(std::vector<u32>({Pixel(x + 5, 5), Pixel(x + 13, 5), Pixel(x + 5, 13), Pixel(x + 13, 13)}), expected[s])
            << names[s];
    }
    // A material without slots takes the texture off stage 0.
    ASSERT_NE(Dev().GetTexture(0), nullptr);
    Loaded<PCMaterial> bare(authoring::MaterialBytes({.alpha = Track::Float().Key(0, {1}).Key(10, {0.5f}), .slots = {}}));
    bare.BindTextures();
    EXPECT_EQ(Dev().GetTexture(0), nullptr);
    auto* lent = m_package->Instance<AGTextureSlot>(TypeKey::TextureSlot, "still_slot");
    bare.SetSingleSlot(lent);  // a slot of its own, given back with the material
    EXPECT_TRUE(bare.SlotCount() == 1 && bare.GetSlot(0) == lent);
    // Applied, its alpha follows the slot's controller: frame 5 of the fade.
    lent->GetController()->SetTime(5 * lent->GetController()->GetFrameDuration());
    bare.Apply();
    EXPECT_NEAR(bare.DeviceMaterial().diffuse.a, 0.75f, 1e-4f);
    // So does a slot whose texture is missing.
    Frame();
    ASSERT_NE(Dev().GetTexture(0), nullptr);
    m_sprites.push_back(Get<PCSprite>(TypeKey::Sprite, "lost.spt"));
    m_sprites.back()->GetMaterial()->BindTextures();
    EXPECT_EQ(Dev().GetTexture(0), nullptr);
}
