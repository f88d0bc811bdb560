#include "gameservices/widget/LayoutRecords.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "engine/core/XmlReader.h"
#include "gameservices/widget/WidgetManager.h"
#include "tests/gameservices/widget/LayoutTestSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Widget;
using widget_test::Layout;

namespace {

sWindow Read(const std::string& text) {
    sWindow window;
    GameServices::Utilities::XmlReader reader;
    reader.ReadText(text.c_str(), "UserControl", window);
    return window;
}

// The one widget of a Grid holding the element.
sWidget Only(const std::string& element) {
    sWindow window = Read(Layout("<Grid>" + element + "</Grid>"));
    return window.m_Widgets[0].m_Children[0];
}

}  // namespace

TEST(LayoutRecords, StructureAndElementNames) {
    LogCapture log;
    sWindow window = Read(Layout(
        "<GsWidgetLibrary:Label Name='before'/><Grid Name='g'><GsWidgetLibrary:Image Name='i'>"
        "<GsWidgetLibrary:Label Name='inner'/></GsWidgetLibrary:Image><Button Name='plain'/>"
        "<GsWidgetLibrary:Compositor/></Grid><GsWidgetLibrary:Label Name='after'/>"));
    ASSERT_EQ(window.m_Widgets.size(), 2u);
    EXPECT_EQ(window.m_Widgets[0].m_Name + window.m_Widgets[1].m_Name, "gafter");
    const auto& children = window.m_Widgets[0].m_Children;
    ASSERT_EQ(children.size(), 3u);
    EXPECT_TRUE(children[0].m_Children.empty());
    EXPECT_EQ((std::vector<u32>{u32(children[0].m_Type), u32(children[1].m_Type), u32(children[2].m_Type)}),
              (std::vector<u32>{u32(kLayoutImage), u32(kLayoutNone), u32(kLayoutCompositor)}));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Unknown layout element: Button"});
    EXPECT_EQ(LayoutTypeOf("grid"), kLayoutNone);
}

TEST(LayoutRecords, KindBlocksFallBackAndDefault) {
    EXPECT_EQ(Only("<GsWidgetLibrary:Label FontFamily='A.ttf'/>").m_Values.Text("TextFontName"),
              "A.ttf");
    const sWidget scroll =
        Only("<GsWidgetLibrary:ScrollText FontFamily='A.ttf' TextFontName='B.ttf'/>");
    EXPECT_EQ(scroll.m_Values.Text("TextFontName"), "B.ttf");
    EXPECT_EQ(scroll.m_Values.Text("SpecialTextFontName"), "A.ttf");
    EXPECT_EQ(scroll.m_Values.Float("Speed"), 0.5f);
    const sWidget check = Only("<GsWidgetLibrary:CheckBox TextOffsetBetweenCharacter='-4'/>");
    EXPECT_EQ(check.m_Values.Int("TextOffsetBetweenCharacter"), -4);
    EXPECT_EQ(check.m_Values.UInt("TextSpaceWidth"), 6u);
    // Only the element's own block is read.
    EXPECT_EQ(Only("<GsWidgetLibrary:Image Text='t'/>").m_Values.m_Texts.size(), 1u);
}

TEST(LayoutRecords, KeyRowsAndNestingAreBounded) {
    LogCapture log;
    const sWidget keys = Only(
        "<GsWidgetLibrary:SoftKeyboard NumberKeyRow1='4000000000' NumberKeyRow2='128' "
        "NumberKeyRow3='129'/>");
    EXPECT_EQ(keys.m_Values.UInt("NumberKeyRow1") + keys.m_Values.UInt("NumberKeyRow3"), 256u);
    ASSERT_EQ(log.Lines().size(), 2u);
    EXPECT_TRUE(log.Contains("NumberKeyRow1 of 4000000000 keys taken as 128"));
    log.Clear();
    std::string open, close;
    for (int i = 0; i < 200; ++i) {
        open += "<Grid Name='g" + std::to_string(i) + "'>";
        close += "</Grid>";
    }
    sWindow window = Read(Layout(open + close));
    u32 depth = 0;
    for (const sWidget* w = &window.m_Widgets[0]; w; ++depth)
        w = w->m_Children.empty() ? nullptr : &w->m_Children[0];
    EXPECT_EQ(depth, kMaxWidgetDepth);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{
                               "Layout nested deeper than 64 widgets: the content of g63 is not "
                               "read"});
}

using GameServices::Widget::Margin;
using GameServices::Widget::WidgetManager;

TEST(WidgetManager, AlignmentWordsAreExact) {
    const struct {
        const char* word;
        i32 vertical, horizontal;
    } cases[] = {
        {"Top", 0, 1},   {"Left", 1, 0},    {"Bottom", 2, 1}, {"Right", 1, 2},
        {"Stretch", 3, 3}, {"bottom", 1, 1}, {"Top ", 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WidgetManager::ParseVerticalAlignment(c.word), c.vertical) << c.word;
        EXPECT_EQ(WidgetManager::ParseHorizontalAlignment(c.word), c.horizontal) << c.word;
    }
}

TEST(WidgetManager, PositionsAndMarginsTakeMissingPiecesAsZero) {
    LogCapture log;
    const struct {
        const char* text;
        f32 x, y;
        Margin margin;
    } cases[] = {
        {"10", 10, 0, {10, 0, 0, 0}},
        {"", 0, 0, {0, 0, 0, 0}},
        {"5,6,7,8", 5, 6, {5, 6, 7, 8}},
        {"-1.5,x,,2.25", -1.5f, 0, {-1.5f, 0, 0, 2.25f}},
    };
    // Numbers do not follow the process locale.
    const char* previous = setlocale(LC_NUMERIC, "de_DE.UTF-8");
    for (const auto& c : cases) {
        const AGVec2 p = WidgetManager::ParsePosition(c.text);
        const Margin m = WidgetManager::ParseMargin(c.text);
        EXPECT_EQ(std::vector<f32>({p.x, p.y, m.m_Left, m.m_Top, m.m_Right, m.m_Bottom}),
                  std::vector<f32>({c.x, c.y, c.margin.m_Left, c.margin.m_Top, c.margin.m_Right, c.margin.m_Bottom}))
            << c.text;
    }
    if (previous)
        setlocale(LC_NUMERIC, "C");
    EXPECT_TRUE(log.Lines().empty());

    // Five pieces: the leading ones are kept, and the text reported.
    EXPECT_EQ(WidgetManager::ParsePosition("1,2,3,4,5").y + WidgetManager::ParseMargin("1,2,3,4,5").m_Bottom, 6.0f);
    EXPECT_TRUE(log.Contains("failed to extract the position") && log.Contains("failed to extract the margin"));
}
