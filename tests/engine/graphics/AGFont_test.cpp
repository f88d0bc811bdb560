#include "engine/graphics/AGFont.h"

#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCSprite.h"
#include "engine/graphics/PCText.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/FontBaker.h"

namespace {

constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr u32 kEuro = 0x20AC;

// A font of count records whose record i holds code 1000 + i, 5 pixels wide.
std::string SmallFont(u32 count) {
    authoring::FontData f;
    f.textureWidth = f.textureHeight = 64;
    for (u32 i = 0; i < count; ++i)
        f.glyphs.push_back({1000 + i, i, 0, 5, 8, 0, 0, 0});
    return authoring::FontBytes(f);
}

using FontTest = drawtest::DrawingFixture;

}  // namespace

TEST(AGFont, LookupIsDirectUpTo255AndSearchedAboveWithAReplacementForMissingCodes) {
    authoring::FontData f;
    f.name = "small";
    f.lineHeight = 9;
    for (u32 i = 0; i < 258; ++i)
        f.glyphs.push_back({i == 65 ? 7u : i, i, 0, 5, 8, 0, 0, 0});
    f.glyphs[256].code = 233;
    f.glyphs[257].code = 9786;
    f.textureWidth = 64;  // without a height (and a material) the texture size is unknown
    AGFont font;
    LoadBytes(font, authoring::FontBytes(f));
    u32 w = 0, h = 0;
    EXPECT_FALSE(font.GetTextureSize(w, h));
    ASSERT_EQ(font.GlyphCount(), 258u);
    EXPECT_EQ(font.GetLineHeight(), 9u);
    // Record 65 whatever code it holds; no record: the "?" glyph; line breaks keep the current glyph.
    for (auto [code, x] : {std::pair{65u, 65u}, {9786u, 257u}, {0x4E00u, u32('?')}, {255u, 255u},
                           {256u, u32('?')}, {u32('\n'), u32('?')}})
        EXPECT_EQ(font.GetGlyph(code).x, x) << code;

    // Fewer than 256 records: codes past the table get "?" when the font has it, else nothing.
    AGFont seventy, ten;
    LoadBytes(seventy, SmallFont(70));
    LoadBytes(ten, SmallFont(10));
    EXPECT_EQ(seventy.GetGlyph(200).x, u32('?'));
    EXPECT_EQ(seventy.GetGlyph(300).x, u32('?'));
    EXPECT_EQ(ten.GetGlyph(65).width, 0u);
    EXPECT_EQ(ten.GetGlyph(3).x, 3u);
    // The file's texture size counts only when it has both sides.
    for (auto [width, height] : {std::pair{0u, 64u}, {1u, 1u}}) {
        f.textureWidth = width;
        f.textureHeight = height;
        LoadBytes(font, authoring::FontBytes(f));
        EXPECT_EQ(font.GetTextureSize(w, h), width != 0) << width;
    }
    // Loaded again from a file without glyphs, a pooled font keeps none of the earlier ones.
    f.glyphs.clear();
    LoadBytes(font, authoring::FontBytes(f));
    EXPECT_EQ(font.GlyphCount(), 0u);
}

TEST_F(FontTest, BakedFontDrawsEachGlyphOfTallyvoxInTheBoxLayoutGivesIt) {
    authoring::BakedFont baked;
    std::string error;
    ASSERT_TRUE(authoring::BakeFont(kDejaVu, 24, {kEuro}, "dejavu24", baked, error)) << error;
    authoring::PackageWriter writer;
    authoring::AddBakedFont(writer, "dejavu24", baked);
    writer.Add("back.spt", TypeKey::Sprite, authoring::SpriteBytes(0, kWidth, kHeight, ""));
    Mount(writer);
    AGFont* font = Get<AGFont>(TypeKey::Font, "dejavu24.fon");
    EXPECT_EQ(font->GetHeaderValue(0), 24u);
    EXPECT_EQ(font->GetHeaderValue(8), 0u);  // beyond the header
    EXPECT_GT(font->GetGlyph('T').width, 0u);
    EXPECT_EQ(font->GetGlyph(kEuro).code, kEuro);

    PCText text;
    text.SetFont(font);
    text.SetBox(0, 0, 300, 100);
    text.SetPosition({20, 30});
    text.SetColor(0xFFFFFFFFu);
    text.Layout("Tallyvox");
    ASSERT_EQ(text.PlacedGlyphCount(), 8u);
    EXPECT_EQ(text.m_attribute.m_primitiveCounts[0], 16u);
    EXPECT_EQ(text.m_attribute.m_depthWrites[0], 0u);  // glyph boxes never hide what is drawn later
    // The pen moves right; the line ends at the last glyph's right edge (by the snapped position).
    const AGVec3* p = text.GetVertexBuffer()->m_positions.Data();
    for (u32 g = 1; g < 8; ++g)
        EXPECT_GE(p[4 * g].x, p[4 * (g - 1) + 1].x) << "glyph " << g;
    const int right = int(p[4 * 7 + 1].x + 21);
    // The brightest green of the line's glyphs, drawn anew; nothing left of the line.
    platform::gfx::Image screen;
    auto brightest = [&](int x0 = 21, int x1 = 0) {
        text.Update();
        Frame();
        u32 most = 0;
        EXPECT_TRUE(Dev().ReadBackBuffer({0, 0, int(kWidth), int(kHeight)}, screen));
        for (int y = 31; y < 31 + int(font->GetLineHeight()); ++y)
            for (int x = x0; x < (x1 ? x1 : right); ++x)
                most = std::max(most, (screen.pixels[size_t(y) * kWidth + size_t(x)] >> 8) & 0xFFu);
        return most;
    };
    Show(text);
    EXPECT_GT(brightest(), 0x80u);
    EXPECT_EQ(brightest(0, 20), 0u);
    m_layer.RemoveRenderable(&text);

    // Its own draw places it by its world and, in mode 3, adds texel and colour onto what lies
    // below: the white glyphs saturate.
    PCSprite* back = Get<PCSprite>(TypeKey::Sprite, "back.spt");
    back->SetColor(0xFF202020u);
    Show(*back, 0);
    struct OwnDraw : drawtest::TestRenderable {
        using TestRenderable::TestRenderable;
        // After a draw that left blending off.
        void Draw() override {
            PCContextManager::Get()->GetDevice()->SetRenderState(platform::gfx::RenderState::AlphaBlendEnable, 0u);
            inner->Draw();
        }
        AGRenderable* inner = nullptr;
    };
    drawtest::Log calls;
    OwnDraw own(&calls, "text");
    own.inner = &text;
    Show(own, 1);
    text.SetColor(0xFF404040u);
    // Drawn by a layer's renderer, the text takes the render type of its blend mode: alpha
    // unless told otherwise.
    EXPECT_EQ(text.m_attribute.m_renderTypes[0], AGRenderAttribute::kDiffuseAlpha);
    for (const auto& [mode, type] :
         {std::pair{1u, AGRenderAttribute::kDiffuseAlpha}, {3u, AGRenderAttribute::kAdditive}}) {
        text.SetBlendMode(mode);
        ASSERT_GT(text.m_attribute.PartCount(), 0u);
        EXPECT_EQ(text.m_attribute.m_renderTypes[0], type) << mode;
    }
    EXPECT_EQ(brightest(), 0xFFu);
    // In mode 1 its own draw blends: half-opaque white glyphs lie between the two colours.
    text.SetBlendMode(1);
    text.SetColor(0x80FFFFFFu);
    EXPECT_NEAR(double(brightest()), 0x20 + 0xDF / 2.0, 3.0);
    m_layer.RemoveRenderable(&own);
    m_layer.RemoveRenderable(back);
    GiveBack(TypeKey::Sprite, back);
    text.Prepare();  // gives back its buffers and forgets the layout that filled them
    EXPECT_EQ(text.GlyphCount() + text.PlacedGlyphCount() + text.PrimitiveCount(), 0u);
    GiveBack(TypeKey::Font, font);
}
