#include "gameservices/widget/LayoutRecords.h"

#include <gtest/gtest.h>

#include <clocale>
#include <set>
#include <string>
#include <vector>

#include "engine/core/XmlReader.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
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

class WidgetBuilder : public widget_test::LayoutFixture {
protected:
    Panel* Build(const std::string& layout, Panel* parent = nullptr, bool reset = true) {
        WriteScreenFile("test.xaml", layout);
        return WidgetManager::Instance().BuildPanel(parent, "test.xaml", reset);
    }
    // The size-check messages logged.
    std::vector<std::string> Resizes() const {
        std::vector<std::string> lines;
        for (const std::string& line : log.Lines())
            if (line.find("resize") != std::string::npos)
                lines.push_back(line);
        return lines;
    }
};

}  // namespace

TEST(LayoutRecords, StructureElementNamesKindBlocksAndBoundedKeyRowsAndNesting) {
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
    // Kind blocks fall back.
    EXPECT_EQ(Only("<GsWidgetLibrary:Label FontFamily='A.ttf'/>").m_Values.Text("TextFontName"), "A.ttf");
    const sWidget scroll = Only("<GsWidgetLibrary:ScrollText FontFamily='A.ttf' TextFontName='B.ttf'/>");
    EXPECT_EQ(scroll.m_Values.Text("TextFontName"), "B.ttf");
    EXPECT_EQ(scroll.m_Values.Text("SpecialTextFontName"), "A.ttf");
    const sWidget check = Only("<GsWidgetLibrary:CheckBox TextOffsetBetweenCharacter='-4'/>");
    EXPECT_EQ(check.m_Values.Int("TextOffsetBetweenCharacter"), -4);
    // Only the element's own block is read.
    EXPECT_EQ(Only("<GsWidgetLibrary:Image Text='t'/>").m_Values.m_Texts.size(), 1u);
    // Key rows and nesting are bounded.
    log.Clear();
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
    window = Read(Layout(open + close));
    u32 depth = 0;
    for (const sWidget* w = &window.m_Widgets[0]; w; ++depth)
        w = w->m_Children.empty() ? nullptr : &w->m_Children[0];
    EXPECT_EQ(depth, kMaxWidgetDepth);
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{"Layout nested deeper than 64 widgets: the content of g63 is not read"});
}

TEST_F(WidgetBuilder, LeafWidgetsTakeTheirValues) {
    Panel* root = Build(Layout(
        "<Grid><GsWidgetLibrary:Button Margin='10,20,0,0' Width='30' Height='9' "
        "IsEnabled='False' ImageDefault='/Skin;component/Images/Play.png' TextColor='#80FF0000' "
        "TextSize='22' TextHorizontalAlignment='Right' RenderType='Add' Opacity='0.5' "
        "Background='#00000000'/>"
        "<GsWidgetLibrary:SoftKeyboard Width='1' Height='1' TextKeySize='17.9' "
        "TextSpecialSizeQWERTY='-2.5' Row2Position='3,4' NumberKeyRow3='7' "
        "ImageEntryDefault='a\\Entry.PNG'/>"
        "<GsWidgetLibrary:SliderButton Width='1' Height='1' SliderGranularity='0.1' "
        "ImageTrackSize='5,6' ImageThumbPosition='7,8' ImageTrackDisabled='T.png'/>"
        "<GsWidgetLibrary:Label StringId='ID' Text='t'/>"
        "<GsWidgetLibrary:CheckBox Width='1' Height='1'/>"
        "<GsWidgetLibrary:SliderTrackBar Width='1' Height='1' IsEnabled='False'/>"
        "<GsWidgetLibrary:SliderTrackBar Width='1' Height='1' SliderMaximum='9'/>"
        "<GsWidgetLibrary:ScrollText StringId='S'/>"
        "<GsWidgetLibrary:ResizableWindow Width='1' Height='1' ImageTopDefault='T.png' "
        "ImageCenterSize='0.5,0.75' ImageBorderSize='0.25,4'/>"
        "<GsWidgetLibrary:Video Width='1' Height='1' VideoAssetName='Intro' ImageDefault='x/Still.png'/>"
        "<GsWidgetLibrary:Emitter3D Margin='12,34,0,0' Width='1' Height='1' EmitterSource='fx/Spark.emt'/>"
        "<GsWidgetLibrary:ViewPort3D ComponentLevelName='Stage'/>"
        "<GsWidgetLibrary:Image Name='pic' Margin='5,6,0,0' Width='7' Height='8' Visibility='Hidden'/></Grid>"));
    const auto& leaves = static_cast<Panel*>(root->m_Children[0])->m_Children;
    ASSERT_EQ(leaves.size(), 13u);
    const Widget& image = *leaves[12];
    auto* button = static_cast<Button*>(leaves[0]);
    auto* keys = static_cast<SoftKeyboard*>(leaves[1]);
    auto* slider = static_cast<SliderButton*>(leaves[2]);
    auto* label = static_cast<Label*>(leaves[3]);
    auto* window = static_cast<ResizableWindow*>(leaves[8]);
    ASSERT_EQ(keys->m_RowPositions.size(), 3u);
    using F = std::vector<f32>;
    const F numbers = {image.m_X, image.m_Y, image.m_Width, image.m_Height, f32(image.Visible),
                       button->m_Hit.x, button->m_Hit.maxX, f32(button->m_Enabled),
                       f32(button->m_ButtonBehavior.m_State), f32(button->m_TextStyle.m_Size),
                       f32(button->m_TextStyle.m_HorizontalAlignment), button->m_Opacity,
                       f32(keys->m_TextKeySize), f32(keys->m_TextSpecialSizeQwerty),
                       keys->m_RowPositions[1].y, f32(keys->m_RowKeys[2]), slider->m_Track.m_Size.x,
                       slider->m_Track.m_Size.y, slider->m_Thumb.m_Position.x, slider->m_Thumb.m_Position.y,
                       f32(static_cast<CheckBox*>(leaves[4])->m_Checked),
                       f32(static_cast<SliderTrackBar*>(leaves[5])->m_TrackBehavior.m_State),
                       f32(static_cast<SliderTrackBar*>(leaves[6])->m_TrackBehavior.m_State),
                       static_cast<SliderTrackBar*>(leaves[6])->m_Maximum, window->m_CenterSize.x,
                       window->m_CenterSize.y, window->m_BorderSize.x, window->m_BorderSize.y,
                       leaves[10]->m_X, leaves[10]->m_Y};
    // A window's sizes are fractions of its size: 4 is taken as 1.
    EXPECT_EQ(numbers, F({5, 6, 7, 8, 0, 10, 30, 0, 3, 22, 2, 0.5f, 17, 0, 4, 7, 5, 6, 7, 8, 0, 4, 2, 9, 0.5f, 0.75f,
                          0.25f, 1, 12, 34}));
    EXPECT_TRUE(log.Contains("ImageBorderSize \"0.25,4\" is no pair of fractions from 0 to 1; taken as 0.25,1"));
    EXPECT_FLOAT_EQ(slider->m_Step, 0.1f);
    const std::vector<std::string> texts = {
        image.Name.c_str(), button->m_Images[Button::kDefault].c_str(), button->m_TextStyle.m_Color.c_str(),
        button->m_RenderType.c_str(), button->m_Background.c_str(), keys->m_EntryImage.c_str(),
        slider->m_Images[9].c_str(), label->m_TextStyle.m_StringId.c_str(), label->m_TextStyle.m_Text.c_str(),
        static_cast<ScrollText*>(leaves[7])->m_StringId.c_str(), window->m_Parts[5].c_str(),
        static_cast<Video*>(leaves[9])->m_VideoName.c_str(), static_cast<Video*>(leaves[9])->m_DefaultImage.c_str(),
        static_cast<Emitter3D*>(leaves[10])->m_EmitterSource.c_str(),
        static_cast<ViewPort3D*>(leaves[11])->m_ComponentLevel.c_str()};
    EXPECT_EQ(texts, std::vector<std::string>({"pic", "play.png", "#80FF0000", "Add", "#00000000", "entry.png",
                                               "T.png", "ID", "t", "S", "T.png", "Intro", "still.png",
                                               "fx/Spark.emt", "Stage"}));
    EXPECT_TRUE(Resizes().empty());
    delete root;
}

TEST_F(WidgetBuilder, AnEnabledButtonStartsIdle) {
    // An enabled button starts idle rather than disabled or hovered.
    Panel* root = Build(Layout("<Grid><GsWidgetLibrary:Button/></Grid>"));
    const auto* enabled = static_cast<Button*>(static_cast<Panel*>(root->m_Children[0])->m_Children[0]);
    EXPECT_EQ(enabled->m_ButtonBehavior.m_State, WidgetBehavior::kIdle);
    delete root;
}

TEST_F(WidgetBuilder, SizeChecksNameTheirKind) {
    // The size checks name their kind.
    const struct { const char* element; char digit; } kinds[] = {
        {"Button", '1'}, {"SliderTrackBar", '4'}, {"ResizableWindow", '6'},
        {"SoftKeyboard", '8'}, {"Image", 0}};
    for (const auto& k : kinds) {
        log.Clear();
        delete Build(Layout(std::string("<Grid><GsWidgetLibrary:") + k.element + "/></Grid>"));
        const std::vector<std::string> lines = Resizes();
        if (!k.digit) {
            EXPECT_TRUE(lines.empty()) << k.element;
            continue;
        }
        ASSERT_EQ(lines.size(), 2u) << k.element;
        EXPECT_TRUE(lines[0][0] == k.digit && lines[1].find("height") != std::string::npos) << k.element;
    }
}

// Every attribute a kind's block reads from the file is used by the kind's builder, and the
// builder asks for no name its block lacks.
TEST_F(WidgetBuilder, EveryAttributeOfEveryKindReachesItsBuilder) {
    for (const char* kind : {"Button", "CheckBox", "SliderButton", "SliderTrackBar", "Image", "Label", "ScrollText",
                             "SoftKeyboard", "Emitter3D", "ResizableWindow", "Video", "ViewPort3D", "Compositor"}) {
        sWidget record = Only(std::string("<GsWidgetLibrary:") + kind + "/>");
        Panel parent;
        WidgetManager::Instance().CreateWidget(&parent, record);
        const LayoutValues& v = record.m_Values;
        std::set<std::string> read;
        const auto names = [&read](const auto& values) {
            for (const auto& entry : values)
                read.insert(entry.first);
        };
        names(v.m_Texts), names(v.m_UInts), names(v.m_Ints), names(v.m_Floats);
        EXPECT_EQ(v.m_Asked, read) << kind;
    }
}

TEST_F(WidgetBuilder, CompositorsNestOtherLayoutsOnlyAndUnreadableOrTooDeepLayoutsStillGiveAPanel) {
    WriteScreenFile("scores.xaml", Layout("<Grid Name='inner' Margin='0,0,5,6'/>", 300, 100, "Scores"));
    WriteScreenFile("loop.xaml",
                    Layout("<Grid><GsWidgetLibrary:Compositor Name='again' Source='x/Test.xaml'/>"
                           "</Grid>", 10, 10, "Loop"));
    Panel* root = Build(Layout(
        "<Grid><GsWidgetLibrary:Compositor Name='board' Margin='40,50,3,4' Width='200' "
        "Height='80' Resizable='True' Source='/Theme/Parts/Scores.xaml'/>"
        "<GsWidgetLibrary:Compositor Name='self' Source='Test.xaml'/>"
        "<GsWidgetLibrary:Compositor Name='ancestor' Source='loop.xaml'/>"
        "<GsWidgetLibrary:Label Name='last'/></Grid>"));
    const auto& children = static_cast<Panel*>(root->m_Children[0])->m_Children;
    ASSERT_EQ(children.size(), 4u);
    auto* board = static_cast<Panel*>(children[0]);
    EXPECT_EQ(std::vector<f32>({board->m_X, board->m_Y, board->m_MarginRight, board->m_MarginBottom,
                                board->m_Hit.maxY, f32(board->m_Resizable), board->m_ScaleX}),
              std::vector<f32>({40, 50, 3, 4, 80, 1, 1}));
    ASSERT_EQ(board->m_Children.size(), 1u);
    const Widget& inner = *board->m_Children[0];
    EXPECT_TRUE(inner.Name == "inner" && inner.m_MarginRight == 5 && inner.m_MarginBottom == 6);
    EXPECT_TRUE(static_cast<Panel*>(children[1])->m_Children.empty());
    auto* loop = static_cast<Panel*>(static_cast<Panel*>(children[2])->m_Children[0]);
    ASSERT_EQ(loop->m_Children.size(), 1u);
    EXPECT_TRUE(static_cast<Panel*>(loop->m_Children[0])->m_Children.empty());
    const std::string tail = " is already being built: it is not nested again";
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Layout Test.xaml" + tail, "Layout test.xaml" + tail}));
    delete root;
    // A root layout is scaled to the screen (the 800 x 600 fallback here) and centred on it.
    Panel* half = Build(Layout("<Grid/>", 400, 300));
    EXPECT_EQ((std::vector<f32>{half->m_RatioX, half->m_RatioY, half->m_X, half->m_Y}),
              (std::vector<f32>{2, 2, 200, 150}));
    delete half;
    // Unreadable and too deep layouts still give a panel.
    Panel* missing = WidgetManager::Instance().BuildPanel(nullptr, "", true);
    EXPECT_TRUE(missing->m_Children.empty() && log.Contains("The name of this window is incorect."));
    EXPECT_TRUE(log.Contains("Can not read the layout file: "));
    delete missing;
    sWindow unread;
    EXPECT_FALSE(WidgetManager::Instance().ReadLayout("nothing.xaml", unread));
    // Refused by the XML layer before it is parsed.
    std::string open, close;
    for (int i = 0; i < 10000; ++i) {
        open += "<Grid>";
        close += "</Grid>";
    }
    log.Clear();
    Panel* deep = Build(Layout(open + close));
    EXPECT_TRUE(deep->m_Children.empty() && log.Contains("nested deeper than 256"));
    delete deep;
}
