#include "gameservices/widget/ScreenManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGScene3D.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetReplayScreen.h"
#include "tests/gameservices/bridge/FakeVideoPlayer.h"
#include "tests/gameservices/widget/LayoutTestSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Widget;

namespace {

// A popup of the layout "box.xaml" (a "Yes" AutoClose button and a "Note" label).
std::string PopupInfo(const std::string& name, int priority) {
    return "<Popup><Layout>box.xaml</Layout><Name>" + name + "</Name><Title Value='T'/>"
           "<Priority>" + std::to_string(priority) + "</Priority><Options><Option Name='Yes' "
           "AutoClose='true'/><Option Name='Gone'/></Options><Messages><Message Name='Note' "
           "Text='n'/><Message Name='Missing'/></Messages></Popup>";
}

class ScreenManagerTest : public widget_test::LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        WriteSamples();
        WriteScreenFile("box.xaml",
                        widget_test::Layout("<Grid><GsWidgetLibrary:Button Name='Yes' Width='9' "
                                            "Height='9'/><GsWidgetLibrary:Label Name='Note'/>"
                                            "</Grid>"));
    }
    // Navigation and popups loaded, "AnswerScreen" current, the level running.
    void Start(const std::string& popups = "") {
        if (!popups.empty())
            WritePopupsFile("<Root><Popups>" + popups + "</Popups></Root>");
        manager.LoadNavigation();
        manager.LoadPopups();
        manager.SetPendingScreen("AnswerScreen");
        manager.Update(16);
        RunLevel();
    }
    // The popup asked for, and the frame that loads it.
    Popup* Show(const char* name) {
        Popup* popup = manager.ShowPopup(name);
        manager.Update(16);
        return popup;
    }
    std::string Open() const {
        std::string names;
        for (Popup* popup : manager.GetOpenPopups())
            names += std::string(popup->Name.c_str()) + " ";
        return names;
    }

    ScreenManager manager;
};

struct Recorder {
    void First() { calls.push_back(std::string("first:") + std::to_string(open->size())); }
    void Second() { calls.push_back("second"); }
    const std::vector<Popup*>* open = nullptr;
    std::vector<std::string> calls;
    FDelegate<Recorder> first{this, &Recorder::First};
    FDelegate<Recorder> second{this, &Recorder::Second};
};

using BuilderTest = widget_test::LayoutFixture;

// A screen of the game's own, registered while it lives.
class GameScreen : public BaseScreen<GameScreen> {
public:
    explicit GameScreen(const char* name) : BaseScreen<GameScreen>(name) {}
    void Process(u32 elapsed) override { processed += elapsed; }
    u32 processed = 0;
};

}  // namespace

TEST_F(ScreenManagerTest, ResetRebuildsTheFileScreensOnlyAndNavigationRegistersScreensAndConnections) {
    GameScreen ownScreen("HintBar");
    ScreenManager& shared = ScreenManager::Instance();
    shared.LoadNavigation();
    shared.LoadPopups();
    shared.SwitchScreen("AnswerScreen");
    const size_t registered = shared.GetRegisteredScreens().size();
    shared.ShowPopup("PopupConfirmAnswer");
    ownScreen.m_RootPanel = new Panel("bar");
    shared.Reset();
    EXPECT_TRUE(shared.GetRegisteredScreens().size() == registered && shared.GetOwnedScreens().size() == 2u);
    EXPECT_EQ(shared.FindScreen("HintBar"), &ownScreen);  // kept, its widgets gone
    EXPECT_TRUE(!ownScreen.m_RootPanel && !shared.GetCurrentScreen() && shared.GetOpenPopups().empty());
    EXPECT_EQ(shared.FindScreen("AnswerScreen")->m_Compositions.size(), 1u);
    // The game screen goes with this test.
    shared.FindScreen("AnswerScreen")->m_Compositions.clear();

    // Navigation registers the screens and their connections.
    Screen gameScreen;
    gameScreen.m_ScreenName = "HintBar";
    gameScreen.m_Kind = 7;
    manager.RegisterScreen(&gameScreen);
    manager.LoadNavigation();
    Screen* answer = manager.FindScreen("AnswerScreen");
    Screen* menus = manager.FindScreen("MenuScreen");
    EXPECT_EQ(manager.GetOwnedScreens(), (std::vector<Screen*>{menus, answer}));
    EXPECT_EQ(answer->m_LayoutFile, "answerscreen.xaml");
    EXPECT_TRUE(gameScreen.m_LayoutFile == "hintbar.xaml" && gameScreen.m_Kind == 1u);
    EXPECT_EQ(answer->m_Compositions, std::vector<Screen*>{&gameScreen});

    // Connections in order, twice when listed twice; unknown names reported each.
    WriteScreenFile(
        "sketch.flow",
        "<Data><Screens><Screen><DisplayName>HintBar</DisplayName><Type>Other</Type>"
        "<Position/></Screen><Screen><DisplayName>AnswerScreen</DisplayName><FileName>answerscreen.xaml"
        "</FileName><Type>Navigation</Type><Position/></Screen></Screens><Connections>"
        "<Connection><Source>HintBar</Source><Target>AnswerScreen</Target></Connection>"
        "<Connection><Source>Nope</Source><Target>Nada</Target></Connection>"
        "<Connection><Source>AnswerScreen</Source><Target>AnswerScreen</Target></Connection>"
        "</Connections></Data>");
    log.Clear();
    answer->m_Kind = 9;
    manager.LoadNavigation();
    EXPECT_EQ(answer->m_Kind, 0u);
    EXPECT_EQ(answer->m_Compositions, (std::vector<Screen*>{&gameScreen, &gameScreen, answer}));
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Screen not registered: Nope",
                                                      "Screen not registered: Nada"}));
    dir.Write("-xml/screen/sketch.flow", "");
    manager.LoadNavigation();
    EXPECT_TRUE(log.Contains("Can not read the navigation file "));
    manager.UnregisterScreen(&gameScreen);
}

TEST_F(ScreenManagerTest, ThePopupPausesTheGameOnceTheLevelRunsAndShowsItsTexts) {
    manager.LoadNavigation();
    manager.LoadPopups();
    manager.SwitchScreen("AnswerScreen");
    Popup* popup = manager.ShowPopup("PopupConfirmAnswer");
    popup->SetMessageText("LabelAnswer", "QW");
    manager.Update(16);
    EXPECT_FALSE(game.paused);
    RunLevel();
    manager.Update(16);
    EXPECT_TRUE(game.paused);
    ASSERT_TRUE(popup->m_Loaded);
    // The keyboard behind the popup takes no typing while the game is paused.
    game.Key(game.members[0], 'A');
    EXPECT_EQ(static_cast<SoftKeyboard*>(Widget::FindChild("AnswerKeyboard", popup->m_Manager->GetCurrentScreen()->m_RootPanel))
                  ->GetEnteredText(), "");
    // The popup's numbers follow the screen's: root, grid, 3 widgets, hint bar, grid, label.
    EXPECT_EQ(popup->m_Panel->m_DrawOrder, 9u);
    EXPECT_EQ(manager.GetCurrentScreen()->m_RootPanel->m_InputLocked, 1);
    // The title and the message set in code.
    for (const auto& [name, text] : {std::pair{"Title", "Confirm"}, {"LabelAnswer", "QW"}})
        EXPECT_EQ(static_cast<Label*>(Widget::FindChild(name, popup->m_Panel))->m_TextStyle.m_Text, text);
    EXPECT_TRUE(manager.ShowPopup("Unknown") == nullptr && log.Contains("Popup not registered: Unknown"));
    // A reset drops the open popup and its pause.
    manager.Reset();
    EXPECT_TRUE(manager.GetOpenPopups().empty() && !game.paused);
}

TEST_F(ScreenManagerTest, FocusGoesToTheLastPopupAboveTheTop) {
    Start(PopupInfo("A2", 2) + PopupInfo("B1", 1) + PopupInfo("C3", 3) + PopupInfo("D2", 2) +
          PopupInfo("Z0", 0));
    Popup* a2 = Show("A2");
    manager.ShowPopup("B1");
    Popup* c3 = Show("C3");
    EXPECT_EQ(manager.GetTopPopup(), c3);
    // A replay waits on the popup with the focus; the screen under it takes no input.
    const WidgetReplayScreen replay(&manager);
    EXPECT_TRUE(replay.IsShown("Popup/box/Yes") && !replay.IsShown("Popup/other/Yes") &&
                !replay.IsShown("Popup/box/Note/Yes") && !replay.IsShown("AnswerScreen/SubmitButton"));
    EXPECT_EQ((std::vector<u8>{a2->m_InputLocked, a2->m_Panel->m_InputLocked, c3->m_InputLocked,
                               c3->m_Panel->m_InputLocked}), (std::vector<u8>{1, 1, 0, 0}));
    EXPECT_FALSE(manager.FindPopup("B1")->m_Loaded);
    Show("D2");
    EXPECT_TRUE(manager.GetTopPopup() == c3 && !manager.FindPopup("D2")->m_Loaded);
    EXPECT_TRUE(log.Contains("Can not find the button in popup Gone"));
    EXPECT_TRUE(log.Contains("Can not find the label in popup Missing"));

    // The covered popup takes the focus back, its input unlocked. A closed popup closes once.
    Recorder closed;
    c3->m_ClosedEvent.AddDelegate(&closed.second);
    for (const char* name : {"B1", "D2", "C3"})
        manager.HidePopup(name);
    manager.Update(16);
    EXPECT_TRUE(manager.GetTopPopup() == a2 && a2->m_Panel->m_InputLocked == 0);
    manager.HidePopup("A2");
    manager.HidePopup("A2");
    EXPECT_TRUE(log.Contains("Did not find the popup to remove"));
    // With no popup open the screen's button is shown, but not on another screen's name, nor
    // under a hidden panel.
    manager.Update(16);
    Widget* grid = Widget::FindChild("RootGrid", manager.GetCurrentScreen()->m_RootPanel);
    EXPECT_TRUE(replay.IsShown("AnswerScreen/RootGrid/SubmitButton") && !replay.IsShown("Popup/box/Yes") &&
                !replay.IsShown("HintBar/SubmitButton"));
    grid->SetVisible(false);
    EXPECT_FALSE(replay.IsShown("AnswerScreen/SubmitButton"));
    grid->SetVisible(true);
    Popup* z0 = Show("Z0");
    EXPECT_TRUE(manager.GetTopPopup() == nullptr && !z0->m_Loaded && closed.calls.size() == 1u);
    c3->m_ClosedEvent.RemoveDelegate(&closed.second);
    // The saved-game form gives the priority first.
    EXPECT_TRUE(manager.ShowPopup("Z0", 900) && !manager.ShowPopup("None", 900));
    manager.Update(16);
    EXPECT_EQ(manager.GetTopPopup(), z0);
}

TEST_F(ScreenManagerTest, AutoCloseHidesBeforeTheCallbacksAndTheLastCloseResumes) {
    Start(PopupInfo("P", 2));
    Recorder recorder;
    recorder.open = &manager.GetOpenPopups();
    for (auto [name, callback] : {std::pair{"P", &recorder.first}, {"P", &recorder.second}, {"Q", &recorder.second}})
        manager.SetPopupButtonCallback(name, "Yes", callback);
    EXPECT_TRUE(log.Contains("Popup not registered: Q"));
    manager.FindPopup("P")->AddButtonCallback("No", &recorder.second);
    EXPECT_TRUE(log.Contains("Button not found: No"));
    Popup* popup = Show("P");
    auto* emitter = new Emitter3D("E");
    manager.GetCurrentScreen()->m_RootPanel->AddChild(emitter);
    PauseEmitters(manager.GetCurrentScreen()->m_RootPanel, true);
    auto* yes = static_cast<Button*>(Widget::FindChild("Yes", popup->m_Panel));
    yes->m_ButtonBehavior.Event(kEventClick).Fire();
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"first:0", "second"}));
    EXPECT_TRUE(popup->m_Loaded && emitter->m_Paused == 1);  // until the popup closes
    Recorder closed;
    popup->m_ClosedEvent.AddDelegate(&closed.second);
    // The game's pause besides the flag, which the last close undoes.
    SilentAudioScope audio;
    FakeVideoPlayerScope video;
    audio.Impl().Pause();
    g_renderPause = 1;
    AGScene3D scene;  // a paused 3D scene of the level
    scene.SetPaused(true);
    GameServices::Entities::SetElement stage;
    stage.VolatileDatas.Set(GameServices::Entities::VolatileDataKeys::kENGINE_DATA_SCENE3D, &scene);
    GameServices::Entities::Set set("Quiz");
    set.m_SetElements.push_back(&stage);
    game.level = &set;
    manager.Update(16);
    EXPECT_EQ(audio.Impl().PauseDepth() + g_renderPause, 0u);
    EXPECT_EQ(video.player->Take(), std::vector<std::string>{"resume"});
    EXPECT_TRUE(popup->m_Panel == nullptr && closed.calls.size() == 1u);
    popup->m_ClosedEvent.RemoveDelegate(&closed.second);
    EXPECT_TRUE(!game.paused && emitter->m_Paused == 0 && !scene.IsPaused() &&
                manager.GetCurrentScreen()->m_PopupLock == 0 &&
                manager.GetCurrentScreen()->m_RootPanel->m_InputLocked == 0);

    // Callbacks bind at the next load; removing clears them all.
    manager.ClearPopupButtonCallback("P", "Yes");
    Show("P");
    yes = static_cast<Button*>(Widget::FindChild("Yes", popup->m_Panel));
    yes->m_ButtonBehavior.Event(kEventClick).Fire();
    EXPECT_EQ(std::pair(recorder.calls.size(), Open()), std::pair(size_t(2), std::string()));
}

TEST_F(ScreenManagerTest, ShowingTwiceOrWhileClosingKeepsOneEntry) {
    Start(PopupInfo("P", 1));
    // Popups wait while a screen change is pending.
    manager.SetPendingScreen("AnswerScreen");
    Popup* popup = Show("P");
    EXPECT_TRUE(!popup->m_Loaded && manager.ShowPopup("P") == popup);
    manager.HidePopup("P");
    manager.Update(16);
    EXPECT_EQ(std::pair(Open(), manager.GetPopupsInUse()), std::pair(std::string(), 0u));
    Show("P");
    ASSERT_TRUE(popup->m_Loaded);
    manager.HidePopupEntity(popup);
    EXPECT_EQ(Show("P"), popup);
    EXPECT_TRUE(Open() == "P " && popup->m_Loaded);
    // Shut down with the popup hidden and shown again before the next update: deleted once.
    manager.HidePopup("P");
    manager.ShowPopup("P");
}

TEST_F(ScreenManagerTest, TheTwentyFirstPopupIsSkipped) {
    std::string popups;
    for (int i = 0; i < 21; ++i)
        popups += PopupInfo("P" + std::to_string(i), 1);
    Start(popups);
    EXPECT_TRUE(manager.FindPopup("P20") == nullptr && log.Contains("More than 20 popups: P20 is skipped"));
    // Reloading replaces the popups without keeping the old ones.
    Show("P3");
    // Popups refresh only when they change: a pause the game sets itself stays as it is.
    game.paused = false;
    manager.Update(16);
    EXPECT_FALSE(game.paused);
    manager.LoadPopups();
    game.paused = true;
    manager.Update(16);
    EXPECT_TRUE(game.paused && manager.GetRegisteredPopups().size() == 20u);
    EXPECT_EQ(manager.GetTopPopup(), nullptr);
}

TEST_F(BuilderTest, DeletedScreensAndWidgetsLeaveNoDelegateBehind) {
    WriteScreenFile("game.xaml",
                    widget_test::Layout("<Grid><GsWidgetLibrary:Button Name=\"ok\"/>"
                                        "<GsWidgetLibrary:SoftKeyboard Name=\"keys\"/><Grid>"
                                        "<GsWidgetLibrary:SliderTrackBar Name=\"bar\"/></Grid>"
                                        "</Grid>"));
    {
        auto* screen = new GameScreen("ScreenGame");
        screen->m_LayoutFile = "game.xaml";
        screen->onLoad();
        EXPECT_GT(game.FrameDelegates(), 5u);
        game.flow.GetFrameEvent().Fire(16);  // a loaded screen runs every frame of the game flow
        EXPECT_EQ(screen->processed, 16u);
        auto* keyboard = new SoftKeyboard("loose");
        Panel tree("tree");
        tree.AddChild(new CheckBox("check"));
        const u32 delegates = game.FrameDelegates();
        tree.Reset();  // the panel's own frame step goes at once, its children's with them
        EXPECT_EQ(game.FrameDelegates(), delegates - 1);
        Emitter3D emitter{"emitter"};
        Image image{"image"};
        widget_test::Counter click;
        image.AddEventDelegate(kEventClick, &click.delegate);  // starts listening
        delete keyboard;
        delete screen;
    }
    EXPECT_TRUE(ScreenManager::Instance().FindScreen("ScreenGame") == nullptr && game.FrameDelegates() == 0u);
    log.Clear();
    game.Move(game.members[0], 10, 10);
    game.Key(game.members[0], 'A');
    game.Click(game.members[0], 10, 10, true);
    const std::string missing = "TeamActionManager - Can not find the action: ";
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{missing + "moves", missing + "softkey", missing + "click"}));
}
