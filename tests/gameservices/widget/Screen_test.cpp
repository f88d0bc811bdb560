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
    const std::string missing = "TeamActionManager - Can not find the action: ";
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{missing + "moves", missing + "softkey", missing + "click"}));
}

TEST(ScrollText, LinesComeFromTheTextOrItsStringId) {
    ScrollText text("credits");
    text.SetText("one,,three");
    ASSERT_EQ(text.m_Lines.size(), 3u);
    EXPECT_EQ(text.m_Lines[1] + "|" + text.m_Lines[2], "|three");
    text.SetText("");
    EXPECT_EQ(text.m_Lines.size(), 3u);
    // A string id with no text in the tables keeps the lines.
    text.m_StringId = "NO_SUCH_STRING";
    text.SetText("a,b");
    EXPECT_EQ(text.m_Lines.size(), 3u);
}
