#include "gameservices/widget/Screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameservices/widget/SoftKeyboard.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Widget;

namespace {

// Builds a panel named after its layout file and records each call.
class BuilderTest : public ::testing::Test {
protected:
    BuilderTest() {
        Screen::SetPanelBuilder([this](Panel* parent, const TString<char>& layout, bool reset) {
            calls.push_back({parent, layout.c_str(), reset});
            return new Panel(layout);
        });
    }
    ~BuilderTest() override { Screen::SetPanelBuilder(nullptr); }

    struct Call {
        Panel* parent;
        std::string layout;
        bool reset;
    };
    std::vector<Call> calls;
    widget_test::TestGame game;
};

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
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].layout, "own.xaml");
    EXPECT_EQ(calls[0].parent, nullptr);
    EXPECT_TRUE(calls[0].reset);
    EXPECT_EQ(calls[1].parent, screen.m_RootPanel);
    EXPECT_FALSE(calls[2].reset);
    const auto& children = screen.m_RootPanel->m_Children;
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0]->Name, "first.xaml");
    EXPECT_EQ(children[0]->m_X, 10.0f);
    EXPECT_EQ(children[0]->m_Hit.y, 20.0f);
    EXPECT_EQ(children[1]->Name, "second.xaml");
    EXPECT_EQ(children[1]->m_Y, 40.0f);
    EXPECT_EQ(children[1]->m_Parent, screen.m_RootPanel);

    screen.onUnload();
    EXPECT_EQ(screen.m_RootPanel, nullptr);
    EXPECT_TRUE(screen.m_Compositions.empty());
    screen.onLoad();
    ASSERT_NE(screen.m_RootPanel, nullptr);
    EXPECT_TRUE(screen.m_RootPanel->m_Children.empty());
    EXPECT_EQ(calls.size(), 4u);
    EXPECT_FALSE(screen.IsA(TypeIds::Widget));
    EXPECT_TRUE(screen.IsA(TypeIds::Screen));
}

TEST_F(BuilderTest, AGameScreenProcessesOncePerFrameWhileLoaded) {
    GameScreen screen;
    EXPECT_EQ(ScreenManager::Instance().FindScreen("ScreenGame"), &screen);
    EXPECT_EQ(screen.m_OwnedByGame, 1);
    game.flow.Update(16);
    EXPECT_EQ(screen.processed, 0);
    screen.onLoad();
    game.flow.Update(16);
    game.flow.Update(0);  // no frame
    game.flow.Update(20);
    EXPECT_EQ(screen.processed, 2);
    EXPECT_EQ(screen.last, 20u);
    screen.onUnload();
    game.flow.Update(16);
    EXPECT_EQ(screen.processed, 2);
    // Loading twice adds the process once.
    screen.onLoad();
    screen.onLoad();
    game.flow.Update(16);
    EXPECT_EQ(screen.processed, 3);
}

TEST_F(BuilderTest, DeletedScreensAndWidgetsLeaveNoDelegateBehind) {
    Screen::SetPanelBuilder([](Panel*, const TString<char>& layout, bool) {
        auto* root = new Panel(layout);
        root->AddChild(new Button("ok"));
        root->AddChild(new SoftKeyboard("keys"));
        auto* inner = new Panel("inner");
        inner->AddChild(new SliderTrackBar("bar"));
        root->AddChild(inner);
        return root;
    });
    {
        auto* screen = new GameScreen();
        screen->onLoad();
        EXPECT_GT(game.FrameDelegates(), 5u);
        auto* keyboard = new SoftKeyboard("loose");
        Panel tree("tree");
        tree.AddChild(new CheckBox("check"));
        delete keyboard;
        delete screen;
    }
    EXPECT_EQ(ScreenManager::Instance().FindScreen("ScreenGame"), nullptr);
    EXPECT_EQ(game.FrameDelegates(), 0u);
    LogCapture log;
    game.Move(game.members[0], 10, 10);
    GameServices::Bridge::sActionData data;
    GameServices::KorvoGame::TeamActionData action(&data, 'A', &game.members[0]);
    game.teams.SimulateTeamAction(&action, "SoftKey");
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
