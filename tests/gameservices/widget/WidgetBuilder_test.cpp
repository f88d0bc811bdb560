#include <gtest/gtest.h>

#include <string>

#include "engine/graphics/PCGraphicDevice.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetManager.h"
#include "tests/gameservices/widget/LayoutTestSetup.h"

using namespace GameServices::Widget;
using widget_test::Layout;

namespace {

// A device of the given size without a window.
struct SizedDevice : PCGraphicDevice {
    SizedDevice(u32 width, u32 height) {
        m_width = width;
        m_height = height;
        SetInstance(this);
    }
    ~SizedDevice() override { SetInstance(nullptr); }
};

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

TEST_F(WidgetBuilder, RootPanelsAreCentredAndScaled) {
    const struct {
        u32 screenW, screenH;
        int layoutW, layoutH;
        f32 x, y, scaleX, scaleY;
    } cases[] = {
        {800, 600, 800, 600, 0, 0, 1, 1},
        {1024, 768, 800, 600, 112, 84, 1.28f, 1.28f},
        {800, 600, 400, 200, 200, 200, 2, 3},
        {800, 600, 0, 0, 0, 0, 1, 1},
    };
    for (const auto& c : cases) {
        SizedDevice device(c.screenW, c.screenH);
        Panel* root =
            Build(Layout("<Grid><GsWidgetLibrary:Label/></Grid>", c.layoutW, c.layoutH));
        EXPECT_EQ(root->m_X, c.x) << c.screenW << " " << c.layoutW;
        EXPECT_EQ(root->m_Y, c.y) << c.screenW << " " << c.layoutW;
        EXPECT_FLOAT_EQ(root->m_ScaleX, c.scaleX) << c.layoutW;
        EXPECT_FLOAT_EQ(root->m_ScaleY, c.scaleY) << c.layoutW;
        EXPECT_EQ(std::vector<f32>({root->m_RatioX, root->m_RatioY}), std::vector<f32>({c.scaleX, c.scaleY}));
        EXPECT_TRUE(root->Visible);
        EXPECT_EQ(root->m_Width, static_cast<f32>(c.layoutW));
        const Widget* leaf = static_cast<Panel*>(root->m_Children[0])->m_Children[0];
        EXPECT_EQ(std::vector<f32>({leaf->m_RatioX, leaf->m_RatioY}),
                  std::vector<f32>({root->m_RatioX, root->m_RatioY}));
        // A nested layout keeps (0, 0), takes the parent's ratios and is not scaled.
        Panel* nested = Build(Layout("<Grid/>", 100, 100), root, false);
        EXPECT_EQ(nested->m_X, 0.0f);
        EXPECT_EQ(nested->m_RatioY, root->m_RatioY);
        EXPECT_EQ(nested->m_ScaleX, 1.0f);
        delete nested;
        delete root;
    }
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
        "ImageCenterSize='1,2' ImageBorderSize='3,4'/>"
        "<GsWidgetLibrary:Video Width='1' Height='1' VideoAssetName='Intro' ImageDefault='x/Still.png'/>"
        "<GsWidgetLibrary:Emitter3D Margin='12,34,0,0' Width='1' Height='1' EmitterSource='fx/Spark.emt'/>"
        "<GsWidgetLibrary:ViewPort3D ComponentLevelName='Stage'/>"
        "<GsWidgetLibrary:Image Name='pic' Margin='5,6,0,0' Width='7' Height='8' Visibility='Hidden'/></Grid>"));
    const auto& leaves = static_cast<Panel*>(root->m_Children[0])->m_Children;
    ASSERT_EQ(leaves.size(), 13u);
    const Widget& image = *leaves[12];
    EXPECT_EQ(image.Name, "pic");
    EXPECT_EQ(std::vector<f32>({image.m_X, image.m_Y, image.m_Width, image.m_Height, f32(image.Visible)}),
              std::vector<f32>({5, 6, 7, 8, 0}));
    auto* button = static_cast<Button*>(leaves[0]);
    EXPECT_EQ(button->m_Hit.x, 10.0f);
    EXPECT_EQ(button->m_Hit.maxX, 30.0f);
    EXPECT_EQ(button->m_Enabled, 0);
    EXPECT_EQ(button->m_ButtonBehavior.m_State, 3u);
    EXPECT_EQ(button->m_Images[Button::kDefault], "play.png");
    EXPECT_EQ(button->m_TextStyle.m_Color, "#80FF0000");
    EXPECT_EQ(button->m_TextStyle.m_Size, 22u);
    EXPECT_EQ(button->m_TextStyle.m_HorizontalAlignment, 2);
    EXPECT_EQ(button->m_RenderType, "Add");
    EXPECT_EQ(button->m_Opacity, 0.5f);
    EXPECT_EQ(button->m_Background, "#00000000");
    auto* keys = static_cast<SoftKeyboard*>(leaves[1]);
    EXPECT_EQ(keys->m_TextKeySize, 17);
    EXPECT_EQ(keys->m_TextSpecialSizeQwerty, 0u);
    ASSERT_EQ(keys->m_RowPositions.size(), 3u);
    EXPECT_EQ(keys->m_RowPositions[1].y, 4.0f);
    EXPECT_EQ(keys->m_RowKeys[2], 7u);
    EXPECT_EQ(keys->m_EntryImage, "entry.png");
    auto* slider = static_cast<SliderButton*>(leaves[2]);
    EXPECT_FLOAT_EQ(slider->m_Step, 0.1f);
    EXPECT_EQ(std::vector<f32>({slider->m_Track.m_Size.x, slider->m_Track.m_Size.y, slider->m_Thumb.m_Position.x,
                                slider->m_Thumb.m_Position.y}),
              std::vector<f32>({5, 6, 7, 8}));
    EXPECT_STREQ(slider->m_Images[9].c_str(), "T.png");
    EXPECT_EQ(static_cast<Label*>(leaves[3])->m_TextStyle.m_StringId, "ID");
    EXPECT_EQ(static_cast<Label*>(leaves[3])->m_TextStyle.m_Text, "t");
    EXPECT_EQ(static_cast<CheckBox*>(leaves[4])->m_Checked, 0);
    EXPECT_EQ(static_cast<SliderTrackBar*>(leaves[5])->m_TrackBehavior.m_State, 4u);
    EXPECT_EQ(static_cast<SliderTrackBar*>(leaves[6])->m_TrackBehavior.m_State, 2u);
    EXPECT_EQ(static_cast<SliderTrackBar*>(leaves[6])->m_Maximum, 9.0f);
    auto* window = static_cast<ResizableWindow*>(leaves[8]);
    EXPECT_EQ(std::vector<f32>({window->m_CenterSize.x, window->m_CenterSize.y, window->m_BorderSize.x,
                                window->m_BorderSize.y}),
              std::vector<f32>({1, 2, 3, 4}));
    const std::vector<std::string> texts = {
        static_cast<ScrollText*>(leaves[7])->m_StringId.c_str(), window->m_Parts[1].c_str(),
        static_cast<Video*>(leaves[9])->m_VideoName.c_str(), static_cast<Video*>(leaves[9])->m_DefaultImage.c_str(),
        static_cast<Emitter3D*>(leaves[10])->m_EmitterSource.c_str(),
        static_cast<ViewPort3D*>(leaves[11])->m_ComponentLevel.c_str()};
    EXPECT_EQ(texts, std::vector<std::string>({"S", "T.png", "Intro", "still.png", "fx/Spark.emt", "Stage"}));
    EXPECT_EQ(std::vector<f32>({leaves[10]->m_X, leaves[10]->m_Y}), std::vector<f32>({12, 34}));
    EXPECT_TRUE(Resizes().empty());
    delete root;
}

TEST_F(WidgetBuilder, SizeChecksNameTheirKind) {
    const struct {
        const char* element;
        char digit;
    } kinds[] = {{"Button", '1'},   {"CheckBox", '2'},        {"SliderButton", '3'},
                 {"SliderTrackBar", '4'}, {"Emitter3D", '5'}, {"ResizableWindow", '6'},
                 {"Video", '7'},    {"SoftKeyboard", '8'},    {"Image", 0},
                 {"Label", 0},      {"ScrollText", 0}};
    for (const auto& k : kinds) {
        log.Clear();
        delete Build(Layout(std::string("<Grid><GsWidgetLibrary:") + k.element + "/></Grid>"));
        const std::vector<std::string> lines = Resizes();
        if (!k.digit) {
            EXPECT_TRUE(lines.empty()) << k.element;
            continue;
        }
        ASSERT_EQ(lines.size(), 2u) << k.element;
        EXPECT_EQ(lines[0][0], k.digit);
        EXPECT_NE(lines[0].find("width"), std::string::npos);
        EXPECT_NE(lines[1].find("height"), std::string::npos);
    }
}

TEST_F(WidgetBuilder, CompositorsNestOtherLayoutsOnly) {
    WriteScreenFile("scores.xaml",
                    Layout("<Grid Name='inner'/>", 300, 100, "Scores"));
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
    EXPECT_EQ(board->Name, "board");
    EXPECT_EQ(std::vector<f32>({board->m_X, board->m_Y, board->m_MarginLeft, board->m_MarginTop,
                                board->m_MarginRight, board->m_MarginBottom}),
              std::vector<f32>({40, 50, 40, 50, 3, 4}));
    EXPECT_EQ(board->m_Width, 200.0f);
    EXPECT_EQ(board->m_Hit.maxY, 80.0f);
    EXPECT_EQ(board->m_Resizable, 1u);
    EXPECT_EQ(board->m_ScaleX, 1.0f);
    ASSERT_EQ(board->m_Children.size(), 1u);
    EXPECT_EQ(board->m_Children[0]->Name, "inner");
    EXPECT_EQ(children[1]->Name, "self");
    EXPECT_EQ(children[1]->m_Resizable, 0u);
    EXPECT_TRUE(static_cast<Panel*>(children[1])->m_Children.empty());
    auto* loop = static_cast<Panel*>(static_cast<Panel*>(children[2])->m_Children[0]);
    ASSERT_EQ(loop->m_Children.size(), 1u);
    EXPECT_TRUE(static_cast<Panel*>(loop->m_Children[0])->m_Children.empty());
    EXPECT_EQ(children[3]->Name, "last");
    EXPECT_EQ(log.Lines().size(), 2u);
    EXPECT_TRUE(log.Contains("Layout Test.xaml is already being built"));
    EXPECT_TRUE(log.Contains("Layout test.xaml is already being built"));
    delete root;
}

TEST_F(WidgetBuilder, UnreadableAndTooDeepLayoutsStillGiveAPanel) {
    Panel* missing = WidgetManager::Instance().BuildPanel(nullptr, "", true);
    EXPECT_TRUE(missing->m_Children.empty());
    EXPECT_EQ(missing->m_ScaleX, 1.0f);
    EXPECT_TRUE(log.Contains("The name of this window is incorect."));
    EXPECT_TRUE(log.Contains("Can not read the level file: "));
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
    EXPECT_TRUE(deep->m_Children.empty());
    EXPECT_TRUE(log.Contains("nested deeper than 256"));
    delete deep;
}
