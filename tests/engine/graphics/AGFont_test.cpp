#include "engine/graphics/AGFont.h"

#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCText.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/FontBaker.h"

namespace {

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
    f.name = "small", f.lineHeight = 9;
    for (u32 i = 0; i < 258; ++i)
        f.glyphs.push_back({i == 65 ? 7u : i, i, 0, 5, 8, 0, 0, 0});
    f.glyphs[256].code = 233, f.glyphs[257].code = 9786;
    f.textureWidth = 64;  // without a height (and a material) the texture size is unknown
    Loaded<AGFont> font(authoring::FontBytes(f));
    u32 w = 0, h = 0;
    EXPECT_FALSE(font.GetTextureSize(w, h));
    ASSERT_EQ(font.GlyphCount(), 258u);
    EXPECT_TRUE(font.GetLineHeight() == 9u && std::string(font.GetName().c_str()) == "small");
    // Record 65 whatever code it holds; no record: the "?" glyph; line breaks keep the current glyph.
    for (auto [code, x] : {std::pair{65u, 65u}, {9786u, 257u}, {0x4E00u, u32('?')}, {255u, 255u},
                           {256u, u32('?')}, {u32('\n'), u32('?')}})
        EXPECT_EQ(font.GetGlyph(code).x, x) << code;

    // Fewer than 256 records: codes past the table get "?" when the font has it, else nothing.
    Loaded<AGFont> seventy(SmallFont(70)), ten(SmallFont(10));
    EXPECT_EQ((std::vector<u32>{seventy.GetGlyph(70).x, seventy.GetGlyph(300).x, ten.GetGlyph(10).width,
                                ten.GetGlyph(10).height, ten.GetGlyph(3).x}),
              (std::vector<u32>{'?', '?', 0, 0, 3}));
    // The file's texture size counts only when it has both sides.
    for (auto [width, height] : {std::pair{0u, 64u}, {1u, 1u}}) {
        f.textureWidth = width, f.textureHeight = height;
        LoadBytes(font, authoring::FontBytes(f));
        EXPECT_EQ(font.GetTextureSize(w, h), width != 0) << width;
    }
    // Loaded again from a file without glyphs, a pooled font keeps none of the earlier ones.
    f.glyphs.clear();
    LoadBytes(font, authoring::FontBytes(f));
    EXPECT_EQ(font.GlyphCount(), 0u);
    // A cut file leaves the font empty, its header values included.
    f.header[0] = 12;
    f.glyphs = {{65, 1, 2, 5, 8, 0, 0, 0}};
    ExpectEveryCutEmpty<AGFont>(authoring::FontBytes(f), [](const AGFont& cut) {
        return cut.GlyphCount() == 0 && cut.GetHeaderValue(0) == 0 && cut.GetLineHeight() == 0;
    });
}

// Drawn by a renderer or by itself, a text blends by alpha unless its blend mode says additive;
// Prepare gives back its buffers and forgets the layout that filled them.
TEST_F(FontTest, TextBlendsByAlphaUnlessAdditiveAndPrepareForgetsTheLayout) {
    Loaded<AGFont> font(SmallFont(3));
    PCText text;
    text.SetFont(&font);
    text.SetBox(0, 0, 100, 50);
    text.Layout("\xCF\xA8\xCF\xA9", true);  // codes 1000 and 1001
    ASSERT_GT(text.m_attribute.PartCount(), 0u);
    // A layer's renderer draws it, from the text's own streams.
    const AGRenderAttribute& part = text.m_attribute;
    EXPECT_EQ(std::tuple(u32(part.m_ready), u32(part.m_streams[0].count), part.m_indexBuffers[0] != nullptr),
              std::tuple(1u, 3u, true));
    text.Update();  // uploads the glyphs' colours
    const u32* colors = reinterpret_cast<const u32*>(part.m_streams[0].entries[1].buffer->Data());
    EXPECT_EQ(std::vector<u32>(colors, colors + 8), std::vector<u32>(8, text.GetVertexBuffer()->m_colors[7]));
    using platform::gfx::Blend;
    using enum platform::gfx::RenderState;
    for (auto [mode, type, destBlend] : {std::tuple{2u, AGRenderAttribute::kDiffuseAlpha, Blend::InvSrcAlpha},
                                         {3u, AGRenderAttribute::kAdditive, Blend::One}}) {
        if (mode == 3)
            text.SetBlendMode(mode);
        EXPECT_EQ(text.m_attribute.m_renderTypes[0], type) << mode;
        text.Draw();  // blended, without depth writes or culling
        EXPECT_EQ(std::tuple(Dev().GetRenderState(DestBlend), Dev().GetRenderState(AlphaBlendEnable),
                             Dev().GetRenderState(CullMode), Dev().GetRenderState(ZWriteEnable)),
                  std::tuple(u32(destBlend), 1u, u32(platform::gfx::Cull::None), 0u)) << mode;
    }
    text.Prepare();
    EXPECT_EQ(text.GlyphCount() + text.PlacedGlyphCount() + text.PrimitiveCount() + text.m_attribute.PartCount(), 0u);

    // A copy of a font takes a material of its own, and the header.
    authoring::FontData f;
    f.material = "font.mat", f.header[7] = 77;
    Mount(authoring::PackageWriter().Add("font.mat", TypeKey::Material, authoring::MaterialBytes({}))
              .Add("small.fnt", TypeKey::Font, authoring::FontBytes(f)));
    const AGFont copy(*Get<AGFont>(TypeKey::Font, "small.fnt"));
    EXPECT_TRUE(m_package->Provider(TypeKey::Material)->InstanceCount(authoring::NameId("font.mat")) == 1u &&
                copy.GetHeaderValue(7) == 77u);
}
