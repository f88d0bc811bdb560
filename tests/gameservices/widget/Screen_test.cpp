#include "gameservices/widget/Screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/AGController.h"
#include "gameservices/entities/Set.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "tests/gameservices/widget/LayoutTestSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Widget;

namespace {

using BuilderTest = widget_test::LayoutFixture;

class GameScreen : public BaseScreen<GameScreen> {
public:
    GameScreen() : BaseScreen<GameScreen>("ScreenGame") {}
    void Process(u32 elapsed) override {
        ++processed;
        last = elapsed;
    }
    int processed = 0;
    u32 last = 0;
};

}  // namespace

TEST_F(BuilderTest, CompositionsArePlacedOnTheFirstVisitOnly) {
    WriteScreenFile("own.xaml", widget_test::Layout("<Grid Name=\"G\"/>", 800, 600, "Own"));
    WriteScreenFile("first.xaml", widget_test::Layout("<Grid/>", 100, 50, "First"));
    WriteScreenFile("second.xaml", widget_test::Layout("<Grid/>", 100, 50, "Second"));
    Screen first, second, screen;
    first.m_LayoutFile = "first.xaml";
    first.m_X = 10.0f;
    first.m_Y = 20.0f;
    second.m_LayoutFile = "second.xaml";
    second.m_X = 30.0f;
    second.m_Y = 40.0f;
    screen.m_LayoutFile = "own.xaml";
    screen.m_Compositions = {&first, &second};

    screen.onLoad();
    ASSERT_NE(screen.m_RootPanel, nullptr);
    EXPECT_EQ(screen.m_RootPanel->Name, "Own");
    EXPECT_EQ(screen.m_RootPanel->m_DrawOrder, 1u);
    const auto& children = screen.m_RootPanel->m_Children;
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[1]->Name, "First");
    EXPECT_EQ(children[1]->m_X, 10.0f);
    EXPECT_EQ(children[1]->m_Hit.y, 20.0f);
    EXPECT_EQ(children[2]->Name, "Second");
    EXPECT_EQ(children[2]->m_Y, 40.0f);
    EXPECT_EQ(children[2]->m_Parent, screen.m_RootPanel);
    EXPECT_EQ(children[2]->m_ScaleX, 1.0f);

    screen.onUnload();
    EXPECT_EQ(screen.m_RootPanel, nullptr);
    EXPECT_TRUE(screen.m_Compositions.empty());
    screen.onLoad();
    ASSERT_NE(screen.m_RootPanel, nullptr);
    EXPECT_EQ(screen.m_RootPanel->m_Children.size(), 1u);
    EXPECT_FALSE(screen.IsA(TypeIds::Widget));
    EXPECT_TRUE(screen.IsA(TypeIds::Screen));
}

TEST_F(BuilderTest, AGameScreenProcessesOncePerFrameWhileLoaded) {
    GameScreen screen;
    EXPECT_EQ(ScreenManager::Instance().FindScreen("ScreenGame"), &screen);
    EXPECT_EQ(screen.m_OwnedByGame, 1);
    game.flow.Update(16);
    EXPECT_EQ(screen.processed, 0);
    struct Counting : AGController {
        void Update() override { ++updates; }
        int updates = 0;
    } controller;
    GameServices::Entities::Set level;
    game.level = &level;
    screen.onLoad();
    EXPECT_EQ(screen.m_CurrentLevel, &level);
    screen.m_Controllers.push_back(&controller);
    game.flow.Update(16);
    game.flow.Update(0);  // no frame
    game.flow.Update(20);
    EXPECT_EQ(screen.processed, 2);
    EXPECT_EQ(controller.updates, 2);
    EXPECT_EQ(screen.last, 20u);
    screen.onUnload();
    EXPECT_TRUE(screen.m_Controllers.empty());
    game.flow.Update(16);
    EXPECT_EQ(screen.processed, 2);
    // Loading twice adds the process once.
    screen.onLoad();
    screen.onLoad();
    game.flow.Update(16);
    EXPECT_EQ(screen.processed, 3);
}

TEST_F(BuilderTest, DeletedScreensAndWidgetsLeaveNoDelegateBehind) {
    WriteScreenFile("game.xaml",
                    widget_test::Layout("<Grid><GsWidgetLibrary:Button Name=\"ok\"/>"
                                        "<GsWidgetLibrary:SoftKeyboard Name=\"keys\"/><Grid>"
                                        "<GsWidgetLibrary:SliderTrackBar Name=\"bar\"/></Grid>"
                                        "</Grid>"));
    {
        auto* screen = new GameScreen();
        screen->m_LayoutFile = "game.xaml";
        screen->onLoad();
        EXPECT_GT(game.FrameDelegates(), 5u);
        auto* keyboard = new SoftKeyboard("loose");
        Panel tree("tree");
        tree.AddChild(new CheckBox("check"));
        Emitter3D emitter{"emitter"};
        Image image{"image"};
        widget_test::Counter click;
        image.AddEventDelegate(kEventClick, &click.delegate);  // starts listening
        delete keyboard;
        delete screen;
    }
    EXPECT_EQ(ScreenManager::Instance().FindScreen("ScreenGame"), nullptr);
    EXPECT_EQ(game.FrameDelegates(), 0u);
    log.Clear();
    game.Move(game.members[0], 10, 10);
    game.Key(game.members[0], 'A');
    game.Click(game.members[0], 10, 10, true);
    EXPECT_EQ(log.Lines().size(), 3u);
    for (const auto& line : log.Lines())
        EXPECT_NE(line.find("Can not find the action"), std::string::npos) << line;
}

TEST(ScrollText, LinesComeFromTheTextOrItsStringId) {
    ScrollText text("credits");
    text.SetText("one,,three");
    ASSERT_EQ(text.m_Lines.size(), 3u);
    EXPECT_EQ(text.m_Lines[1], "");
    EXPECT_EQ(text.m_Lines[2], "three");
    text.SetText("");
    EXPECT_EQ(text.m_Lines.size(), 3u);
    // A string id with no text in the tables keeps the lines.
    text.m_StringId = "NO_SUCH_STRING";
    text.SetText("a,b");
    EXPECT_EQ(text.m_Lines.size(), 3u);
}
