#include <gtest/gtest.h>

#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"
#include "tools/content/InterfaceArt.h"
#include "tools/content/InterfaceLayout.h"

// The interface sources' own rules: layout records, name ranges, recipes and moves. What the
// real sources build is held by the content checker.
namespace {

TEST(InterfaceSources, RangesPlaceTheirWidgets) {
    TempDir dir;
    dir.Write("l.txt", "screen S 800 600\nstyle s Label TextColor=#FF000000\nstyle b s Text=\"a & b\"\n"
              "grid G 1 2 30 40\n b Cell{1..3}x 10 20 5 6 \\\n each=2,100,50 Text=\"{n}: {p|q|r}\"\nend\n");
    content::Output out(dir.Path(), {});
    const content::Layout layout = content::ReadLayout(content::SourceFile(dir.Path(), "l.txt"), out);
    ASSERT_TRUE(out.Errors().empty());
    const std::string xaml = content::LayoutXaml(layout);
    for (const char* expected :
         {"x:Name=\"S\" Width=\"800\" Height=\"600\"",
          "<Grid Name=\"G\" Margin=\"1,2,0,0\" Width=\"30\" Height=\"40\">",
          "<GsWidgetLibrary:Label Name=\"Cell1x\" Margin=\"10,20,0,0\" Width=\"5\" Height=\"6\" "
          "TextColor=\"#FF000000\" Text=\"1: p\"/>",
          "Name=\"Cell2x\" Margin=\"110,20,0,0\"", "Name=\"Cell3x\" Margin=\"10,70,0,0\"", "Text=\"3: r\""})
        EXPECT_NE(xaml.find(expected), std::string::npos) << expected << "\n" << xaml;
}

TEST(InterfaceSources, BadRecordsAreToldWithTheirLine) {
    TempDir dir;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"grid A 0 0 10 10\n", ":2: error: grid without \"end\""},
        {"end\n", ":2: error: \"end\" without an open grid"},
        {"nostyle A 0 0 1 1\n", ":2: error: unknown style \"nostyle\""},
        {"style s Wobble\n", ":2: error: expected: style <name> <Kind or style>"},
        {"style s Label\ns A 0 0 1\n", ":3: error: expected: s <Name> <x> <y> <width> <height>"},
        {"style s Label\ns A{3..1} 0 0 1 1\n", ":3: error: bad name range \"A{3..1}\""},
        {"style s Label\ns A{1..3} 0 0 1 1 Text={a|b}\n", ":3: error: \"{a|b}\" has no choice for A3"},
        {"style s Label Text=\"open\n", ":2: error: unclosed quote"},
        {"style s Label\ns A 0 0 1 1 nokey\n", ":3: error: \"nokey\" is not key=value"},
        {"style s Label \\\n", ":2: error: the record goes on past the end of the file"}};
    for (const auto& [records, message] : cases) {
        dir.Write("l.txt", "screen S 800 600\n" + records);
        content::Output bad(dir.Path(), {});
        content::ReadLayout(content::SourceFile(dir.Path(), "l.txt"), bad);
        ASSERT_EQ(bad.Errors().size(), 1u) << records;
        EXPECT_EQ(bad.Errors()[0].rfind("l.txt" + message, 0), 0u) << bad.Errors()[0];
    }
}

TEST(InterfaceSources, PicturesAndFontsNeedTheirSource) {
    TempDir dir;
    dir.Write("content/layouts/flow.txt", "S S.xaml Navigation 0 0\n");
    dir.Write("content/layouts/s.txt", "screen S 800 600\nstyle l Label TextFontName=nofont.fon\nstyle i Image\n"
              "l A 0 0 1 1\ni B 0 0 1 1 ImageDefault=nopic.png\ni C 0 0 1 1 ImageDefault=Own_1.png\n");
    dir.Write("content/fonts.txt", "license /usr/share/doc/fonts-dejavu-core/copyright\n");
    dir.Write("content/animations.txt", "");
    dir.Write("content/art/interface.txt", "elsewhere own_\n");
    content::Output art(dir.Path(), {"Global2D.dir"});
    content::GenerateInterfaceArt(art);
    EXPECT_EQ(art.Errors(), (std::vector<std::string>{
                  "content/layouts/s.txt: error: image \"nopic.png\" has no recipe in content/art/interface.txt",
                  "content/layouts/s.txt: error: font \"nofont.fon\" is not in content/fonts.txt"}));
}

TEST(InterfaceSources, BadRecipesAndMovesAreRefused) {
    content::Output out("", {});
    content::FontSet fonts(out);
    std::vector<uint32_t> argb;
    std::string error, bytes;
    const std::vector<std::vector<std::string>> recipes = {{"solid"}, {"solid", "FF00"},
                                                           {"panel", "FF000000", "FF000000", "FF000000", "2"},
                                                           {"digit", "FFFFFFFF", "0", "12"},
                                                           {"blur", "FF000000"},
                                                           {"text", "FFFFFFFF", "00000000", "nofont", "x"}};
    for (const auto& recipe : recipes)
        EXPECT_FALSE(content::DrawRecipe(recipe, 8, 8, fonts, argb, error)) << recipe[0];
    // Text the picture would cut: a line too wide, or lines too many for its height.
    content::Output sample(TALLYVOX_CONTENT_SOURCES, {});
    content::FontSet sampleFonts(sample);
    for (const char* text : {"MMMM", "M|M|M"})
        EXPECT_FALSE(content::DrawRecipe({"text", "FFFFFFFF", "00000000", "tvx_sans_14", text}, 40, 32, sampleFonts, argb,
                                         error)) << text;
    EXPECT_TRUE(content::DrawRecipe({"text", "FFFFFFFF", "00000000", "tvx_sans_14", "M|M"}, 40, 40, sampleFonts, argb,
                                    error)) << error;
    ASSERT_TRUE(content::DrawRecipe({"digit", "FFFFFFFF", "FF000000", "1"}, 16, 32, fonts, argb, error)) << error;
    // A one: right-hand segments lit, left-hand column dark.
    EXPECT_EQ(argb[size_t(8) * 16 + 3], 0xFF000000u);
    EXPECT_EQ(argb[size_t(8) * 16 + 12], 0xFFFFFFFFu);
    // A clear panel fill leaves only its frame.
    ASSERT_TRUE(content::DrawRecipe({"panel", "00000000", "00000000", "FF00FF00", "2", "0"}, 8, 8, fonts, argb, error));
    EXPECT_EQ(argb[0], 0xFF00FF00u);
    EXPECT_EQ(argb[4 * 8 + 4], 0u);
    for (const auto& move : std::vector<std::vector<std::string>>{
             {"1", "fadein"}, {"20", "wobble"}, {"20", "slide", "5"}, {"20", "pop", "1", "2"}})
        EXPECT_FALSE(content::AnimationBytes(move, bytes, error)) << move[1];
    ASSERT_TRUE(content::AnimationBytes({"20", "slide", "0", "300"}, bytes, error));
    AGMemBuffer buffer;
    buffer.SetWindow(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size()));
    AGPrscAnimation animation;
    animation.Load(&buffer, 0, false, true);
    AGVec2 start{};
    ASSERT_TRUE(animation.m_position.Evaluate(0.0f, start));
    EXPECT_FLOAT_EQ(start.y, -300.0f);  // 300 pixels down, stored upwards
}

}  // namespace
