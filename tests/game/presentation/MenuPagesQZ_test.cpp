// The game's decade, difficulty and main-menu pages on a menu screen the test builds, with a
// ten-frame slide, a saved profile and the tutorial levels in the level list.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PcDirectory.h"
#include "game/QZ2011GameContext.h"
#include "game/rules/Family.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "tests/game/rules/MatchStage.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/PopupPress.h"
#include "tests/support/ResourceEnvironment.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/TrackWriter.h"

namespace {

namespace W = GameServices::Widget;
namespace KG = GameServices::KorvoGame;
using GameShow::CompositionBase;

const std::vector<std::string> kDecadeWidgets = {"Button70s", "Button80s", "Button90s", "Button00s", "BackButton"};
const std::vector<std::string> kDifficultyWidgets = {"EasyButton", "NormalButton", "HardButton", "BackButton",
                                                     "ImgEasy",    "ImgNormal",    "ImgHard"};
const std::vector<std::string> kMainMenuWidgets = {"singlePlayerButton", "profileButton", "optionsButton",
                                                   "awardsButton", "exitButton"};
constexpr const char* kDecades[] = {"70", "80", "90", "00"};

class MenuPagesQZ : public profiletest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        GraphicsStartup::RegisterProviders(resources.Resources());
        using authoring::Track;
        authoring::PackageWriter slide;
        slide.Add(CompositionBase::kSlideAnimation, TypeKey::PrscAnimation,
                  authoring::PrscAnimationBytes(10, 100, Track::Vec2().Key(0, {0, 0}).Key(9, {0, 0}), Track::Float(),
                                                Track::Vec2(), Track::Color(), Track::UV()));
        ASSERT_TRUE(slide.WriteFolder(dir.Path() + "/Slide.dir"));
        package.Mount((dir.Path() + "/Slide.dir").c_str(), false);
        const std::string ui = std::string(TALLYVOX_SAMPLE_LEVELS) + "/..";
        dir.Write("-xml/global/gameshowpopups.xml", FileContents(ui + "/global/gameshowpopups.xml"));
        for (const char* layout : {"gameshowpopupprompt.xaml", "gameshowpopupwait.xaml", "gameshowpopupmenu.xaml"})
            dir.Write(std::string("-xml/screen/") + layout, FileContents(ui + "/screens/" + layout));
        screens.LoadPopups();
        compositions.LoadPopups();
        std::string levels;
        for (const char* decade : kDecades)
            levels += std::string("<item><LevelNameId>QZ11_Tutorial</LevelNameId><LevelFileName>QZ11_Tutorial_") +
                      decade + "</LevelFileName></item>";
        flow.LoadLevelTransitions(dir.Write("l.xml", "<root><LevelTransitions><Levels>" + levels + "</Levels>"
                                                     "</LevelTransitions></root>").c_str());
        context.CreateFamilies();
        UseSave(1);
        compositions.m_WardrobeButton = &wardrobe, compositions.m_TagPanel = &tags;
        compositions.m_WardrobeButtonPosition = {5, 6};
        compositions.m_TagPanelPosition = {7, 8};
        compositions.RegisterComposition("compositionDecadeSelector", &decade);
        compositions.RegisterComposition("compositionDifficultySelector", &difficulty);
        compositions.RegisterComposition("compositionMainMenu", &mainMenu);
        mainMenu.SetApplication(&application);
        mainMenu.SetScreens(&screens);
        Build(decade, kDecadeWidgets);
        Build(difficulty, kDifficultyWidgets);
        Build(mainMenu, kMainMenuWidgets);
    }
    void TearDown() override {
        for (CompositionBase* page : Pages())
            page->Uninitialize();
        package.Unmount();
        ProfileTest::TearDown();
    }

    std::vector<CompositionBase*> Pages() { return {&decade, &difficulty, &mainMenu}; }
    // "Ann" in slot 0, "Bob" in slot 1; `current` -1 for no current profile.
    void UseSave(int current) {
        Store(profiletest::DocumentText(current, profiletest::SlotsText({"Ann", "Bob"}, 4)));
        Load();
    }
    // The page's panel at (10, 20) with the named widgets ("Img..." are images), on its own
    // menu screen; then initialized.
    // The decade and difficulty pages, each lacking a widget (reported).
    void BuildPages() {
        log.Clear();
        Build(decade, {"Button70s", "Button90s", "Button00s", "BackButton"});
        Build(difficulty, {"EasyButton", "NormalButton", "HardButton", "BackButton", "ImgEasy", "ImgNormal"});
    }
    void Build(CompositionBase& page, const std::vector<std::string>& widgets) {
        screens_.push_back(std::make_unique<W::Panel>("MenuScreen"));
        auto* root = new W::Panel(page.GetName());
        root->SetPositionXY(10, 20);
        for (const std::string& name : widgets) {
            W::Widget* widget = name.rfind("Img", 0) == 0 ? static_cast<W::Widget*>(new W::Image(name.c_str()))
                                                           : new W::Button(name.c_str());
            root->AddChild(widget);
            made[page.GetName().c_str() + ("/" + name)] = widget;
        }
        screens_.back()->AddChild(root);
        page.Initialize(screens_.back().get(), page.GetName());
    }
    // The only page shown, idle, no switch running; the log cleared.
    void Show(CompositionBase& page) {
        compositions.Reset();
        for (CompositionBase* other : Pages())
            other->OnActivate(false);
        page.ReleaseAnimation();
        page.OnActivate(true);
        log.Clear();
    }
    void Click(CompositionBase& page, const std::string& control) {
        W::Widget* widget = control == "WardrobeButton" ? &wardrobe : made.at(page.GetName().c_str() + ("/" + control));
        widget->GetBehavior()->onPress(false);
    }
    size_t Sounds() const { return log.Count("SFX_ButtonPress_Option2.snd"); }
    std::string Requested() const {
        return flow.GetNextLevel() ? flow.GetNextLevel()->GetLevel()->GetFileName().c_str() : "";
    }
    std::string NextPage() const {
        return compositions.GetLeavingComposition() ? compositions.GetNextCompositionName().c_str() : "";
    }
    u32 Range() const { return devices.GetMinimum() * 10 + devices.GetMaximum(); }
    GameServices::Entities::BaseTeamMember& Second() { return *context.m_PlayerOneFamily->m_Members[1]; }

    ResourceEnvironment resources{false};
    PcDirectory package;
    QZ2011GameContext context;
    KG::GameFlowManager& flow = *context.GetGameFlowManager();
    KG::DeviceManager devices;
    W::ScreenManager screens;
    GameShow::CompositionManager compositions{&screens};
    PCApplicationImpl application;
    W::Button wardrobe{"WardrobeButton"};
    W::Panel tags{"TagPanel"};
    std::vector<std::unique_ptr<W::Panel>> screens_;
    std::map<std::string, W::Widget*> made;
    QZ2011::QZ11DecadeSelector decade;
    QZ2011::QZ11DifficultySelector difficulty;
    GameShow::QZ11MainMenuComposition mainMenu;
};

}  // namespace

TEST_F(MenuPagesQZ, TheMainMenuStartsGamesThenLetsGoOfEverything) {
    // The main menu starts one one-player game, waits for no device, then lets go of everything.
    context.m_TwoPlayers = 1;
    devices.SetDeviceRange(2, 4);
    Show(mainMenu);
    // Device events while not waiting change nothing.
    GameServices::Bridge::DeviceInfos infos{};
    KG::TeamActionManager::GetFreeDeviceConnectedEvent().Fire(infos);
    KG::TeamActionManager::GetMemberDeviceLostEvent().Fire(&Second());
    EXPECT_TRUE(Range() == 24u && NextPage().empty() && screens.GetOpenPopups().empty());
    for (int click = 0; click < 2; ++click)
        Click(mainMenu, "singlePlayerButton");
    // The second click meets the slide; the framework's play handler is not reached.
    EXPECT_EQ(Second().m_Computer + Second().m_Active + Second().m_ComputerPlay + Second().m_ComputerPlay2, 4);
    EXPECT_TRUE(context.m_TwoPlayers == 0u && NextPage() == "compositionDecadeSelector" && Sounds() == 1u &&
                Requested().empty());
    PressPopupButton(screens, "WaitingForDevice", "Back");
    EXPECT_EQ(std::pair(Range(), Sounds()), std::pair(11u, size_t(2)));
    // The two-player start, every device there: the menu's avatar hidden and left out of drawing.
    GameServices::Entities::Set stage;
    GameServices::Entities::Character avatar(GameShow::PlayerProfileManager::kAvatarName);
    stage.m_Characters = {&avatar};
    manager->SetServices({saves.get(), teams, teamActions, &stage});
    mainMenu.StartTwoPlayerGame();
    EXPECT_EQ(std::tuple(avatar.Visible, avatar.Synchronize, context.m_TwoPlayers, manager->GetPlayerCount(),
                         Second().m_Computer + Second().m_ComputerPlay + Second().m_ComputerPlay2),
              std::tuple(false, false, 1u, 1u, 0));

    mainMenu.OnScreenEnter();
    std::vector<W::Widget*> controls = {&wardrobe};
    for (const auto& [name, widget] : made)
        if (name.find("/Img") == std::string::npos)
            controls.push_back(widget);
    auto listeners = [](W::Widget* widget) { return widget->GetBehavior()->Event(W::kEventClick).Count(); };
    const size_t deviceListeners = match_stage::DeviceListeners();
    for (W::Widget* control : controls)
        EXPECT_EQ(listeners(control), control == &wardrobe ? 3u : 1u) << control->Name.c_str();
    for (CompositionBase* page : Pages()) {
        page->Uninitialize();
        EXPECT_EQ(page->GetRootPanel(), nullptr);
    }
    for (W::Widget* control : controls)
        EXPECT_EQ(listeners(control), 0u) << control->Name.c_str();
    EXPECT_EQ(match_stage::DeviceListeners(), deviceListeners - 2);
    PressPopupButton(screens, "WaitingForDevice", "Back");
    EXPECT_EQ(Sounds(), 2u) << "the popup's Back is let go";
}

// A layout lacking a widget loads with a report.
TEST_F(MenuPagesQZ, ALayoutLackingAWidgetLoads) {
    BuildPages();
    EXPECT_EQ(log.Count("Button80s") + log.Count("ImgHard"), 2u);
    EXPECT_TRUE(decade.IsTransitionRunning() && difficulty.IsTransitionRunning()) << "a bound page slides in";
}

TEST_F(MenuPagesQZ, AMatchStartsOnlyWithACurrentProfile) {
    BuildPages();
    // A match starts only with a current profile; without a decade the difficulty page reports it.
    context.m_Decade = 4;
    difficulty.OnActivate(false);
    log.Clear();
    difficulty.OnActivate(true);
    EXPECT_EQ(log.Count("Initialize difficulty without specify decade!!!"), 1u);
    context.m_Difficulty = 3;
    EXPECT_STREQ(difficulty.BuildStartMessage().c_str(), "RUNNING DECADE WITH DIFFICULTY LEVEL ");
    context.m_Decade = 3;
    for (int current : {-1, 1}) {
        UseSave(current);
        Show(difficulty);
        Click(difficulty, "HardButton");
        EXPECT_EQ(std::tuple(log.Count("RUNNING DECADE 00 WITH DIFFICULTY LEVEL HARD\n"), Requested(),
                             manager->GetPlayerSlot(0), log.Count("no current profile")),
                  std::tuple(size_t(current != -1), current == -1 ? "" : "QZ11_Tutorial_00", current, size_t(current == -1)));
    }
    context.m_Decade = 1;
    Show(difficulty);
    // No family past the hard one.
    EXPECT_STREQ((static_cast<W::Image*>(made.at("compositionDifficultySelector/ImgNormal"))->m_ImageName +
                  QZ2011::QZ11DifficultySelector::FamilyImage(3, 1)).c_str(), "Family_Big_Normal80.png");
    Show(decade);
    Click(decade, "Button70s");
    EXPECT_EQ(context.m_Decade, 0u);
}

// Each control once on the idle page, once while the page slides (only the difficulty buttons,
// which take no idle test, act then).
TEST_F(MenuPagesQZ, EveryControlLeadsWhereTheTableSays) {
    BuildPages();
    const struct {
        bool decadePage;
        const char* control;
        u32 decadeBefore;
        const char* nextPage;
        u32 decadeAfter, difficultyAfter, devicesMax;
        const char *returnPage, *level;
    } rows[] = {
        {true, "Button70s", 3, "compositionDifficultySelector", 0, 9, 4, "", ""},
        {true, "Button00s", 0, "compositionDifficultySelector", 3, 9, 4, "", ""},
        {true, "BackButton", 2, "compositionMainMenu", 2, 9, 1, "", ""},
        {true, "WardrobeButton", 2, "compositionWardrobe", 2, 9, 4, "compositionDecadeSelector", ""},
        {false, "EasyButton", 2, "", 2, 0, 4, "", "QZ11_Tutorial_90"},
        {false, "HardButton", 3, "", 3, 2, 4, "", "QZ11_Tutorial_00"},
        {false, "BackButton", 2, "compositionDecadeSelector", 2, 9, 4, "", ""},
        {false, "WardrobeButton", 2, "compositionWardrobe", 2, 9, 4, "compositionDifficultySelector", ""}};
    for (const auto& row : rows) {
        for (bool sliding : {false, true}) {
            SCOPED_TRACE(std::string(row.decadePage ? "decade page " : "difficulty page ") + row.control +
                         (sliding ? " sliding" : ""));
            CompositionBase& page = row.decadePage ? static_cast<CompositionBase&>(decade) : difficulty;
            context.m_TwoPlayers = 0, context.m_Decade = row.decadeBefore, context.m_Difficulty = 9;
            devices.SetDeviceRange(1, 4);
            compositions.m_ReturnComposition = "";
            manager->ClearPlayers();
            flow.SetNextLevel("QZ11_Tutorial", nullptr, true);
            Show(page);
            // The profile bar stands at its stored place, marked for drawing.
            EXPECT_EQ(std::tuple(wardrobe.m_X, wardrobe.m_Y, tags.m_X, tags.m_Y, wardrobe.Synchronize || tags.Synchronize),
                      std::tuple(5.0f, 6.0f, 7.0f, 8.0f, false));
            if (sliding)
                compositions.SetNextComposition(&page, "elsewhere");
            Click(page, row.control);
            const bool starts = *row.level != '\0';
            const bool acts = !sliding || starts;
            // The difficulty buttons play no sound; every other control plays it once.
            EXPECT_EQ(std::tuple(NextPage(), context.m_Decade, context.m_Difficulty, Range(),
                                 std::string(compositions.m_ReturnComposition.c_str()), Sounds(), Requested()),
                      std::tuple(sliding ? "elsewhere" : row.nextPage, acts ? row.decadeAfter : row.decadeBefore,
                                 acts ? row.difficultyAfter : 9u, acts ? 10 + row.devicesMax : 14u,
                                 acts ? row.returnPage : "", acts && !starts ? 1u : 0u,
                                 acts && starts ? row.level : "QZ11_Tutorial_70"));
            EXPECT_EQ(manager->GetPlayerSlot(0), acts && starts ? 1 : -1) << "player one plays the current profile";
        }
    }
}
