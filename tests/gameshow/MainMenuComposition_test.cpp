#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "engine/core/PCApplicationImpl.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/MainMenuComposition.h"
#include "tests/gameshow/PageTestSetup.h"
#include "tests/support/PopupPress.h"

using namespace GameShow;
namespace W = GameServices::Widget;
namespace KG = GameServices::KorvoGame;

namespace {

// A running game as far as the page sees it: the pause and a game flow that knows no level.
class PauseRecorder : public KG::ICurrentGame {
public:
    KG::GameFlowManager* GetGameFlowManager() override { return &flow; }
    KG::TeamActionManager* GetTeamActionManager() override { return nullptr; }
    GameServices::Entities::Set* GetCurrentLevel() override { return nullptr; }
    bool IsPaused() const override { return paused; }
    void SetPause(bool value) override { paused = value; }
    bool paused = false;
    KG::GameFlowManager flow;
};

const char* const kButtons[] = {"singlePlayerButton", "profileButton", "optionsButton", "awardsButton", "exitButton"};

bool Own(const PCApplicationImpl& application, const void* page) {
    return application.GetCloseCallback().object == page && application.GetActivatedCallback().object == page &&
           application.GetDeactivatedCallback().object == page;
}

class MainMenu : public pagetest::MenuAvatarTest {
protected:
    void SetUp() override {
        MenuAvatarTest::SetUp();
        for (const char* look : {"AppearanceMale02.xml", "AppearanceFemale01.xml"})
            pagetest::CopyLook(dir, look);
        LoadPopups({"gameshowpopupprompt.xaml"});
        compositions.m_WardrobeButton = &wardrobeButton;
        compositions.RegisterComposition(CompositionManager::kMainMenu, &page);
        page.SetApplication(&application);
        page.SetGame(&game);
        page.SetScreens(&screens);
    }
    void TearDown() override {
        page.Uninitialize();
        MenuAvatarTest::TearDown();
    }

    // The page let go and a fresh screen for the next Start.
    void Rebuild() {
        page.Uninitialize();
        page.SetNextLevel("");
        screen = std::make_unique<W::Panel>("MenuScreen");
        made.clear();
    }
    // The page's panel with the named buttons; the save loaded with the current slot.
    void Start(const std::vector<std::string>& buttons, int current = -1) {
        auto* root = new W::Panel(CompositionManager::kMainMenu);
        for (const std::string& name : buttons) {
            auto* button = new W::Button(name.c_str());
            root->AddChild(button);
            made[name] = button;
        }
        screen->AddChild(root);
        Store(profiletest::DocumentText(current, profiletest::SlotsText({"Ann", "Bob"}, 4)));
        Load();
        log.Clear();
        page.Initialize(screen.get(), CompositionManager::kMainMenu);
    }
    void Click(const std::string& name) { pagetest::Click(made.at(name)); }
    void PressPopup(const char* button) { PressPopupButton(screens, "VerifyQuit", button); }
    bool QuitPromptOpen() const {
        const auto& open = screens.GetOpenPopups();
        return std::find(open.begin(), open.end(), screens.FindPopup("VerifyQuit")) != open.end();
    }
    size_t LinesWith(const std::string& text) const { return pagetest::Count(log, text); }
    bool Close() { return application.GetCloseCallback().fn(application.GetCloseCallback().object); }
    void Focus(bool gained) {
        const PCApplicationImpl::Callback& callback =
            gained ? application.GetActivatedCallback() : application.GetDeactivatedCallback();
        callback.fn(callback.object);
    }

    std::unique_ptr<W::Panel> screen = std::make_unique<W::Panel>("MenuScreen");
    W::Button wardrobeButton{"WardrobeButton"};
    std::map<std::string, W::Widget*> made;
    MainMenuComposition page;
    PCApplicationImpl application;
    PauseRecorder game;
};

}  // namespace

TEST_F(MainMenu, MissingButtonsAreReportedExceptTheOptionalAwardsButton) {
    const struct {
        std::vector<std::string> present;
        std::vector<std::string> reported;
        bool awards;
    } cases[] = {
        {{"singlePlayerButton", "profileButton", "optionsButton", "exitButton"}, {}, false},
        {{"profileButton", "awardsButton"}, {"singlePlayerButton", "optionsButton", "exitButton"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.present.size());
        Rebuild();
        Start(c.present);
        std::vector<std::string> reported;
        for (const std::string& line : log.Lines())
            if (line.find("can not find ") != std::string::npos)
                reported.push_back(line.substr(line.find("can not find ") + 13));
        EXPECT_EQ(reported, c.reported);
        EXPECT_EQ(page.HasAwardsButton(), c.awards);
        EXPECT_EQ(LinesWith("awardsButton"), 0u);
        EXPECT_TRUE(Own(application, &page));
    }
}

TEST_F(MainMenu, TheCloseRequestAsksFirstAndTheFocusPausesUnlessAPromptIsUp) {
    Start({kButtons, kButtons + 5}, 0);
    EXPECT_FALSE(Close());
    EXPECT_TRUE(QuitPromptOpen());
    Focus(false);
    EXPECT_TRUE(game.paused);
    Focus(true);
    EXPECT_TRUE(game.paused) << "the quit prompt is up";
    PressPopup("Cancel");
    Focus(true);
    EXPECT_FALSE(game.paused);
    // An in-game popup keeps the pause too; no popup, or popups not loaded, does not.
    for (i32 state : {CompositionManager::kPopupMenu, CompositionManager::kPopupReturnPrompt,
                      CompositionManager::kPopupNone, CompositionManager::kPopupNotReady}) {
        SCOPED_TRACE(state);
        compositions.m_PopupState = state;
        Focus(false);
        Focus(true);
        EXPECT_EQ(game.paused, state == CompositionManager::kPopupMenu || state == CompositionManager::kPopupReturnPrompt);
    }
    compositions.m_PopupState = CompositionManager::kPopupNone;
    EXPECT_FALSE(Close());
    EXPECT_FALSE(page.IsQuitConfirmed());
    PressPopup("Confirm");
    EXPECT_TRUE(page.IsQuitConfirmed());
    EXPECT_TRUE(Close());
    EXPECT_EQ(popupEvents.events, (std::vector<bool>{true, true}));
}

TEST_F(MainMenu, UninitializeOrDestructionClearsOnlyTheCallbacksThatAreStillItsOwn) {
    Start({kButtons, kButtons + 5}, 0);
    int other = 0;
    application.SetCloseCallback(&other, [](void*) { return true; });
    page.Uninitialize();
    EXPECT_EQ(application.GetCloseCallback().object, &other);
    EXPECT_EQ(application.GetActivatedCallback().fn, nullptr);
    EXPECT_EQ(application.GetDeactivatedCallback().fn, nullptr);
    // Nothing listens any more.
    EXPECT_EQ(made.at("exitButton")->GetBehavior()->Event(W::kEventClick).Count(), 0u);
    compositions.QuitCancelled.Fire();
    EXPECT_TRUE(popupEvents.events.empty());

    // A page destroyed while initialized takes its window callbacks with it.
    {
        MainMenuComposition gone;
        compositions.RegisterComposition(CompositionManager::kMainMenu, &gone);
        gone.SetApplication(&application);
        gone.Initialize(screen.get(), CompositionManager::kMainMenu);
        EXPECT_EQ(application.GetCloseCallback().object, &gone);
    }
    compositions.RegisterComposition(CompositionManager::kMainMenu, &page);
    EXPECT_EQ(application.GetCloseCallback().fn, nullptr);
    EXPECT_EQ(application.GetActivatedCallback().fn, nullptr);
}

TEST_F(MainMenu, PlayMapsPlayerZeroToTheCurrentProfileOrToNone) {
    const struct {
        int current;
        i32 slot;
    } cases[] = {{1, 1}, {-1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        Rebuild();
        Start({kButtons, kButtons + 5}, c.current);
        manager->AssignPlayer(0, 0);
        manager->AssignPlayer(1, 0);
        page.OnActivate(true);
        Click("singlePlayerButton");
        EXPECT_EQ(manager->GetPlayerSlot(0), c.slot);
        EXPECT_EQ(manager->GetPlayerSlot(1), -1);
        EXPECT_EQ(LinesWith("The next level is not set"), 1u);
        log.Clear();
        page.SetNextLevel("QZ11_Game_Level1");
        Click("singlePlayerButton");
        EXPECT_EQ(LinesWith("The next level is not set"), 0u);
        EXPECT_EQ(LinesWith("Can not find the Level is :QZ11_Game_Level1"), 1u) << "the level is asked for";
    }
}
