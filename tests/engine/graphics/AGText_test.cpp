#include "engine/graphics/AGText.h"

#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCText.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/FontBaker.h"

namespace {

// Every code 0-255 is 10 x 10 pixels at its cell of a 256 x 256 texture; lines are 12 apart.
std::string GridFont(u32 textureSize = 256) {
    authoring::FontData f;
    f.lineHeight = 12, f.textureWidth = f.textureHeight = textureSize;
    for (u32 c = 0; c < 256; ++c)
        f.glyphs.push_back({c, (c % 16) * 16, (c / 16) * 16, 10, 10, 0, 0, 0});
    return authoring::FontBytes(f);
}

class TextLayout : public ::testing::Test {
protected:
    // Lays the string out in a box of width x height (away from the origin: only its size
    // counts); returns the top-left corner of glyph g.
    void Lay(AGText& text, const char* s, f32 width, f32 height = 200, u32 hAlign = 0, u32 vAlign = 0) {
        text.SetFont(&m_font);
        text.SetBox(5, 3, 5 + width, 3 + height);
        text.SetAlignment(hAlign, vAlign);
        text.Layout(s);
    }
    static AGVec3 Corner(const AGText& text, u32 g) { return text.GetVertexBuffer()->m_positions[4 * g]; }
    Loaded<AGFont> m_font{GridFont()};
};

}  // namespace

TEST_F(TextLayout, WrapsWordsThenCharactersAlignsLinesAndStopsAtTheBoxBottom) {
    struct Case { const char* text; f32 width, height; u32 hAlign, vAlign; u32 glyph; f32 x, y; } cases[] = {
        {"aaa bbb ccc", 100, 200, 0, 0, 6, 0, 12},   // "ccc" would reach 102: next line
        {"abcdefghijkl", 100, 200, 0, 0, 9, 0, 12},  // one long word breaks at the box edge
        {"ab", 100, 200, 1, 0, 0, 40, 0},            // centred: (100 - 20) / 2
        {"ab", 100, 200, 2, 0, 1, 90, 0},            // right
        {"ab\ncd", 100, 200, 2, 2, 2, 80, 188},      // right, bottom: 12 + (200 - 12 - 12)
        {"ab", 6, 200, 1, 0, 1, -2, 12},             // wider than the box: moved left
        {"ab", 100, 100, 0, 1, 0, 0, 44},            // middle: (100 - 12) / 2
    };
    for (const Case& k : cases) {
        AGText laid;
        Lay(laid, k.text, k.width, k.height, k.hAlign, k.vAlign);
        AGText text(laid);  // a copy lays out the same
        text.Layout(k.text);
        ASSERT_LT(k.glyph, text.PlacedGlyphCount()) << k.text;
        EXPECT_FLOAT_EQ(Corner(text, k.glyph).x, k.x) << k.text << " glyph " << k.glyph;
        EXPECT_FLOAT_EQ(Corner(text, k.glyph).y, k.y) << k.text << " glyph " << k.glyph;
    }
    // Two lines of nine fit in 30 pixels; the third would reach 34: layout stops, and only the
    // placed glyphs count and move with the alignment.
    AGText text;
    Lay(text, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 100, 30, 0, 2);
    EXPECT_EQ(std::make_tuple(Corner(text, 18).y, text.GlyphCount(), text.PlacedGlyphCount()),
              std::make_tuple(0.0f, 29u, 18u));
    Lay(text, "aaaaaaaaaaaaaaaaaa", 100, 22);  // a second line ending on the bottom edge is cut
    EXPECT_EQ(text.PlacedGlyphCount(), 9u);
    // Turned half round its pivot, the origin lands at twice the pivot (at a pixel's centre).
    text.SetPivot({10.25f, 20.25f, 0.0f});
    text.SetRotation(180.0f);
    text.Update();
    EXPECT_EQ(std::pair(text.GetWorld().m[12], text.GetWorld().m[13]), std::pair(20.5f, 40.5f));
}

TEST_F(TextLayout, EmptyTextsAndTextsWithoutTextureSizeDrawNothingAndLongOnesAreCut) {
    PCText text;
    // Glyph quads are indexed with 16 bits: at most 16383 glyphs of four vertices.
    Lay(text, std::string(20000, 'a').c_str(), 100000, 100000);
    EXPECT_EQ(text.GlyphCount(), 16383u);
    Lay(text, "abc", 100);
    EXPECT_EQ(text.PlacedGlyphCount(), 3u);
    // Only the first line is measured; without a font nothing is.
    EXPECT_TRUE(text.MeasureText("ab\ncd") == text.MeasureText("ab") && text.MeasureText("ab") > 0.0f);
    EXPECT_EQ(AGText().MeasureText("ab"), 0.0f);
    for (const char* blank : {"", " \t\r\n "}) {
        text.Layout(blank);
        EXPECT_EQ(text.PlacedGlyphCount() + text.PrimitiveCount(), 0u);
        EXPECT_STREQ(text.GetString().c_str(), " ");
    }
    Loaded<AGFont> sizeless(GridFont(0));
    text.SetFont(&sizeless);
    text.Layout("abc");
    EXPECT_EQ(text.PrimitiveCount(), 0u);
    // A negative scale on either side gives glyphs no size: none is placed.
    text.SetScale({-1.0f, 1.0f});
    Lay(text, "abc", 100);
    EXPECT_EQ(text.PlacedGlyphCount(), 0u);
}

TEST_F(TextLayout, Utf8IsDecodedOnlyWhenFlaggedAndBrokenSequencesShowAQuestionMark) {
    struct Case { const char* bytes; bool utf8; std::vector<u32> codes; } cases[] = {
        {"\xC3\xA9t\xC3\xA9", true, {0xE9, 't', 0xE9}},
        {"\xC3\xA9", false, {0xC3, 0xA9}},
        {"\xE2\x82\xAC!", true, {0x20AC, '!'}},
        {"\xF0\x9F\x98\x80", true, {0x1F600}},
        {"\xFF" "a\x80", true, {'?', 'a', '?'}},
        {"a\xE2\x82", true, {'a', '?'}},  // cut by the end of the string
        {"\xC3" "ab", true, {'?', 'a', 'b'}}};
    for (const Case& k : cases) {
        const u32 length = u32(std::strlen(k.bytes));
        std::vector<u32> codes;
        for (u32 pos = 0; pos < length;)
            codes.push_back(AGText::DecodeCharacter(k.bytes, length, pos, k.utf8));
        EXPECT_EQ(codes, k.codes) << k.bytes;
    }
}

TEST_F(TextLayout, ColourTextIsHexWithOrWithoutPrefix) {
    LogCapture log;
    for (const char* form : {"FF00C080", "0xFF00C080", "0XFF00C080", " \t#ff00c080"})
        EXPECT_EQ(ParseColorText(form), 0xFF00C080u) << form;
    EXPECT_TRUE(ParseColorText("") == 0xFFFF00FFu && ParseColorText(nullptr) == 0xFFFF00FFu);
    EXPECT_TRUE(log.Lines().empty() && ParseColorText("red") == 0u && log.Lines().size() == 1u);
    EXPECT_TRUE(ParseColorText("1FF00C080") == 0xFFFFFFFFu && log.Lines().size() == 2u);  // nine digits
}
