// Seeded random damage to the files of materials, texture slots, sprites, lights, fonts and
// PNG textures: each load ends loaded or empty, without an out-of-bounds access (checked by
// the sanitizer build) and without a hang, and what loaded can be used.
#include <gtest/gtest.h>

#include <random>

#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/PCLight.h"
#include "engine/graphics/PCMaterial.h"
#include "engine/graphics/PCSprite.h"
#include "engine/graphics/PCText.h"
#include "engine/graphics/PCTexture.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/FontBaker.h"

using authoring::Track;

namespace {

constexpr int kRounds = 5000;

// One to three changes: a flipped bit, an extreme word, a cut or an inserted byte.
std::string Damage(std::string bytes, std::mt19937& rng) {
    static const u32 kWords[] = {0, 1, 255, 256, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0x7F800000, 0xFFC00000};
    const int changes = 1 + int(rng() % 3);
    for (int c = 0; c < changes && !bytes.empty(); ++c) {
        const size_t at = rng() % bytes.size();
        switch (rng() % 4) {
        case 0: bytes[at] = char(bytes[at] ^ (1 << (rng() % 8))); break;
        case 1:
            for (size_t i = 0, w = kWords[rng() % 9]; i < 4 && at + i < bytes.size(); ++i)
                bytes[at + i] = char(w >> (8 * i));
            break;
        case 2: bytes.resize(at); break;
        default: bytes.insert(bytes.begin() + long(at), char(rng())); break;
        }
    }
    return bytes;
}

template <typename T, typename Use>
void Mutate(const std::string& original, u32 seed, Use use) {
    std::mt19937 rng(seed);
    LogCapture quiet;
    for (int round = 0; round < kRounds; ++round) {
        T resource;
        LoadBytes(resource, Damage(original, rng));
        use(resource);
    }
    EXPECT_GT(quiet.Lines().size(), 0u);
}

}  // namespace

TEST(DrawingMutation, MaterialsAndTextureSlots) {
    authoring::MaterialData material;
    material.alpha = Track::Float().Key(0, {1}).Key(10, {0.5f}).Key(20, {0});
    material.slots = {"a", "b", "c"};
    Mutate<PCMaterial>(authoring::MaterialBytes(material), 11, [](PCMaterial& m) {
        u32 w = 0, h = 0;
        m.GetLargestTextureSize(w, h);
        m.Update();
        m.BindTextures();
    });
    authoring::TextureSlotData slot;
    slot.textures = {"a", "b", "c"};
    slot.controller = authoring::SlotController{30, 1.0f, 30.0f};
    slot.uv = Track::UV().Interpolation(Track::StepId()).UVKey(0, 0, 1, 1, 0, 0, 0).UVKey(10, 1, 2, 2, 0.5f, 0.5f, 3).UVKey(20, 2, 1, 1, 0, 0, 0);
    Mutate<AGTextureSlot>(authoring::TextureSlotBytes(slot), 12, [](AGTextureSlot& s) {
        for (int i = 0; i < 4; ++i) {
            if (AGController* c = s.GetController())
                c->UpdateBy(250.0f);
            s.Update(0);
        }
        EXPECT_TRUE(s.GetCurrentTexture() == nullptr || s.GetCurrentFrame() < s.TextureCount());
    });
}

TEST(DrawingMutation, SpritesAndLights) {
    Mutate<PCSprite>(authoring::SpriteBytes(2, 64, 32, ""), 13, [](PCSprite& s) {
        s.Update();
        s.Draw();
    });
    authoring::LightData light;
    light.kind = 1;
    light.innerCone = 20;
    light.outerCone = 40;
    Mutate<PCLight>(authoring::LightBytes(light), 14, [](PCLight& l) { l.Apply(); });
}

TEST(DrawingMutation, Fonts) {
    authoring::FontData font;
    font.name = "mutant";
    font.lineHeight = 12;
    font.textureWidth = font.textureHeight = 128;
    for (u32 c = 0; c < 260; ++c)
        font.glyphs.push_back({c < 256 ? c : 0x2000 + c, c % 128, c / 2, 8, 10, 0, -2, 0});
    Mutate<AGFont>(authoring::FontBytes(font), 15, [](AGFont& f) {
        AGText text;
        text.SetFont(&f);
        text.SetBox(0, 0, 100, 60);
        text.Layout("Hello, wide \xE2\x80\xA2 world of text\nand a second line", true);
        EXPECT_EQ(text.PrimitiveCount(), 2 * text.PlacedGlyphCount());
        EXPECT_LE(text.PlacedGlyphCount(), text.GlyphCount());
    });
}

using DrawingMutationDevice = drawtest::DrawingFixture;

TEST_F(DrawingMutationDevice, PngTextures) {
    std::vector<u32> pixels;
    for (u32 i = 0; i < 8 * 6; ++i)
        pixels.push_back(0xFF000000u | i * 0x050301u);
    Mutate<PCTexture>(authoring::PngBytes(pixels, 8, 6), 16, [](PCTexture& t) {
        std::vector<u32> rgba(size_t(t.GetWidth()) * t.GetHeight());
        EXPECT_EQ(t.ReadPixels(rgba.data()), t.GetWidth() != 0);
        t.Bind(0);
    });
}
