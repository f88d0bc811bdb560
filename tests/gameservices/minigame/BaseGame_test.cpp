#include "gameservices/minigame/BaseGame.h"

#include <gtest/gtest.h>

#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGScene3D.h"


#include <string>
#include <tuple>
#include <vector>

#include "engine/core/AGApplication.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Level.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/EntityDataExtensionFactory.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/ScreenManager.h"
#include "platform/core/Clock.h"
#include "tests/gameservices/bridge/FakeVideoPlayer.h"
#include "tests/gameservices/game/LevelTestSetup.h"

using namespace GameServices;
using Bridge::DeviceSystem;

namespace {

// Records each start-up and shutdown step, with what the step has made seen from outside.
class RecordingGame : public MiniGame::BaseGame {
public:
    using BaseGame::OnLoadLevel, BaseGame::OnNextLevel, BaseGame::OnPreviousLevel;
    std::vector<std::string> steps;

protected:
    void OnStep(const char* step) override {
        std::string text = step;
        if (text == "SetLocalizationLanguage")
            text += std::string(" ") + Bridge::GetLocalizationLanguage().c_str();
        if (text == "DeviceManager")
            text += " " + std::to_string(GetDeviceManager()->GetMinimum()) + "-" +
                    std::to_string(GetDeviceManager()->GetMaximum());
        if (text == "TeamActionManager")
            text += GetTeamActionManager()->IsEnabled() ? " on" : " off";
        if (text == "ChooseFirstLevel" && GetGameFlowManager()->GetNextLevel())
            text += " " + std::to_string(GetGameFlowManager()->GetNextLevel()->GetId());
        steps.push_back(text);
    }
};

struct CountingModule : KorvoGame::IModule {
    explicit CountingModule(bool pausable) : pausable(pausable) {}
    void Update(u32 ms) override { frames.push_back(ms); }
    void Reset() override {}
    bool IsPausable() const override { return pausable; }
    bool pausable;
    std::vector<u32> frames;
};

struct LevelRecorder {
    void On(Entities::Level* level) { closed.push_back(level->GetName().c_str()); }
    void Selected(const TString<char>& name) { selected.push_back(name.c_str()); }
    std::vector<std::string> closed, selected;
    FDelegateParam<LevelRecorder, Entities::Level*> closing{this, &LevelRecorder::On};
    FDelegateParam<LevelRecorder, const TString<char>&> selection{this, &LevelRecorder::Selected};
};

class BaseGameTest : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        WriteLevelFile("levels.xml", TransitionsFile(Entry("Menu", "Menu_file", "unlock", 3) +
                                                     Entry("Minus", "Minus_file", "unlock", -1) +
                                                     Entry("Game", "Game_file", "unlock", 7)));
        WriteParameters("");
    }
    void WriteParameters(const std::string& game) {
        std::string items;
        for (const char* pool : {"FactoryDeviceTriggerKey", "FactoryDeviceTriggerMove", "FactoryDeviceTriggerAccel"})
            items += ParameterItem("GameServices", pool, "4");
        dir.Write("-xml/global/runtimeparameters.xml", ParameterFile(items + game));
    }
    static std::string Game(const std::string& name, const std::string& value) {
        return ParameterItem("Game", name, value);
    }

    platform::FakeClock clock{123456789012ull};
};

// A game on the first level, with a pausable and an unpausable module, a running timer and a set
// holding a prop and a 3D scene; the level running and ready.
class PausingGame : public BaseGameTest {
protected:
    void SetUp() override {
        BaseGameTest::SetUp();
        WriteParameters(Game("StartScreenId", "Menu"));
        dir.Write("-xml/global/popups.xml",
                  "<Root><Popups><Popup><Layout>pause.xaml</Layout><Name>Pause</Name><Priority>5</Priority>"
                  "</Popup></Popups></Root>");
        game.Initialize();
        game.AddModule(&pausable);
        game.AddModule(&always);
        timer = KorvoGame::TimerManager::Instance()->AddTimer();
        timer->m_Duration = 100000;
        timer->m_Active = true;
        set.m_Props.push_back(&prop);
        stage.VolatileDatas.Set(Entities::VolatileDataKeys::kENGINE_DATA_SCENE3D, &scene);
        set.m_SetElements.push_back(&stage);
        game.Update(16);  // the controller loads the first level
        level = game.GetCurrentLevelObject();
        level->SetSet(&set);
        level->SetRunning(true);
        level->SetReady(true);
    }
    void TearDown() override {
        level->SetSet(nullptr);
        game.GetAIManager().m_AIs.push_back(nullptr);  // the players belong to their pools
        game.Shutdown();
        EXPECT_TRUE(game.GetAIManager().m_AIs.empty());
        BaseGameTest::TearDown();
    }

    RecordingGame game;
    CountingModule pausable{true}, always{false};
    KorvoGame::Timer* timer = nullptr;
    Entities::Set set{"Menu"};
    Entities::Prop prop{"p"};
    AGScene3D scene;  // a 3D scene of the set, paused with the game
    Entities::SetElement stage;
    Entities::Level* level = nullptr;
};

}  // namespace

TEST_F(BaseGameTest, StartUpRunsItsStepsInOrderShutdownLeavesFreshSingletonsAndTheFirstLevelIsChosen) {
    RecordingGame().steps.clear();  // a game gone is no longer the current one
    EXPECT_EQ(KorvoGame::ICurrentGame::Get(), nullptr);
    WriteParameters(Game("NbPlayer", "4") + Game("NbPlayerRequired", "2") + Game("NbGlobalTimer", "3") +
                    Game("StartScreenId", "Game"));
    dir.Write("-xml/screen/sketch.flow", "<Data><Screens><Screen><DisplayName>Lobby</DisplayName><FileName>lobby.xaml"
                                         "</FileName></Screen></Screens><Connections/></Data>");
    AGApplication::s_uiLanguage = 3;  // not a supported language: english
    for (int run = 0; run < 2; ++run) {
        RecordingGame game;
        ASSERT_EQ(MiniGame::BaseGame::Current(), &game);
        game.Initialize();
        const std::vector<std::string> start = {
            "LoadPackage gsSystem.dir", "SetLocalizationLanguage english", "LoadPackage gstrcsystem.dir",
            "LoadLocalizationTable", "LoadRuntimeParameters", "ReadPlayers", "LoadBehaviors",
            "DeviceManager 2-4", "AddModule DeviceSystem", "AddModule GameFlowManager",
            "RegisterFactory playercursor", "SetActionContext", "TeamActionManager off", "StartServices",
            "VideoEndCallback", "CharacterSingletons", "TimerManager", "EntityDataExtensions",
            "SavedGameManager", "RegisterLevelDelegates", "ChooseFirstLevel 7", "SeedRandom",
            "AddModule AIManager", "PreloadCharacterAssemblies"};
        EXPECT_EQ(game.steps, start);
        const std::vector<KorvoGame::IModule*> modules = {DeviceSystem::Instance(), game.GetGameFlowManager(),
                                                          &game.GetAIManager()};
        EXPECT_EQ(game.GetModules(), modules);
        // A surviving timer manager would have doubled its pool.
        EXPECT_EQ(KorvoGame::TimerManager::Instance()->GetMaxTimer(), 3u);
        EXPECT_EQ(KorvoGame::EntityDataExtensionFactory::Instance()->Count(), 2u);  // spawners and zones
        EXPECT_EQ(Entities::GameEntityFactory::Instance()->GetFactory("playercursor")->GetMaxSize(), 6u);
        EXPECT_TRUE(Entities::GameEntityFactory::Instance()->GetPropFactory() &&
                    Entities::GameEntityFactory::Instance()->GetCharacterFactory());
        // The seed is the clock's reading.
        const u32 drawn = Bridge::RandomRange(0, 1000000);
        Bridge::SeedRandom(u32(clock.Now()), 362436069u, 521288629u, 88675123u);
        EXPECT_EQ(Bridge::RandomRange(0, 1000000), drawn);

        game.steps.clear();
        Widget::ScreenManager& screens = Widget::ScreenManager::Instance();
        screens.SetPendingScreen("Lobby");
        game.Update(16);  // the first level is loading: it is current
        EXPECT_EQ(screens.GetCurrentScreen(), screens.FindScreen("Lobby"));  // the frame switched screens
        LevelRecorder recorder;
        game.GetCurrentLevelObject()->SetRunning(true);
        game.GetCurrentLevelObject()->GetClosingEvent().AddDelegate(&recorder.closing);
        Bridge::FileSystem::UsePackages();
        game.Shutdown();
        EXPECT_FALSE(Bridge::FileSystem::UsesPackages());  // the file system went with the game
        const std::vector<std::string> end = {
            "UnloadLocalizationTable", "ClosePopups", "CloseLevel", "FileSystem::Destroy",
            "EntityDataExtensions::Delete", "EntityDataExtensionFactory::Destroy", "DestroyEngineAnimationFactories",
            "RenderingSystem::Shutdown", "DestroyEntityAnimationFactories", "RuntimeParameters::Destroy",
            "TimerManager::Destroy", "AssetFactories::Destroy", "ResetBehaviors", "DeviceSystem::Shutdown",
            "CharacterManagers::Destroy", "CollisionSystem::Shutdown", "DeleteManagers", "PartPools"};
        EXPECT_EQ(std::pair(game.steps, recorder.closed), std::pair(end, std::vector<std::string>{"Game"}));
        EXPECT_TRUE(Bridge::IDeviceSystem::Get() == nullptr && KorvoGame::TeamActionManager::Get() == nullptr);
        EXPECT_EQ(KorvoGame::GetFactoryCapacity("FactoryDeviceTriggerKey"), 0u);  // the parameters went too
        // The next run reads its parameters afresh.
        Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
    }
    AGApplication::s_uiLanguage = 0;
    // The first level comes from the start level id else from the start screen.
    // (parameters, step, reported invalid)
    const std::tuple<std::string, std::string, bool> cases[] = {
        {Game("StartLevelId", "3") + Game("StartScreenId", "Game"), "ChooseFirstLevel 3", false},
        {Game("StartLevelId", "-1"), "ChooseFirstLevel -1", true},
        {Game("StartLevelId", "x"), "ChooseFirstLevel", false},
    };
    for (const auto& [parameters, step, invalid] : cases) {
        SCOPED_TRACE(parameters);
        WriteParameters(parameters);
        Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
        LogCapture lines;
        RecordingGame game;
        game.Initialize();
        EXPECT_EQ(std::pair(game.steps.at(20), lines.Contains("Invalid Level Id")), std::pair(step, invalid));
        EXPECT_EQ(lines.Contains("Can not find the Level id:0"), step == "ChooseFirstLevel");
        EXPECT_EQ(KorvoGame::TimerManager::Instance()->GetMaxTimer(), 10u);  // without "NbGlobalTimer"
        game.Shutdown();
    }
}

TEST_F(PausingGame, LevelSystemsRunWhenRunningAndReady) {
    for (int flags = 0; flags < 4; ++flags) {
        level->SetRunning(flags & 1);
        level->SetReady(flags & 2);
        prop.Synchronize = false;
        game.Update(16);
        EXPECT_EQ(prop.Synchronize, flags == 3) << flags;
    }
}

TEST_F(PausingGame, OnlyTheUnpausableModulesRun) {
    const i32 phase = game.GetGameFlowManager()->GetController()->GetPhase();
    const u32 elapsed = timer->m_Elapsed;
    pausable.frames.clear();
    always.frames.clear();
    // Pausing renders the set even when it is not ready.
    prop.Synchronize = false;
    level->SetReady(false);
    game.SetPause(true);
    game.SetPause(true);  // already paused: no second world step
    EXPECT_TRUE(game.IsPaused() && DeviceSystem::Instance()->IsPaused() && prop.Synchronize);
    EXPECT_TRUE(g_renderPause == 1 && scene.IsPaused() && pausable.frames == std::vector<u32>{16});
    level->SetReady(true);
    game.GetGameFlowManager()->GetController()->SetDone(true);
    for (int frame = 0; frame < 2; ++frame) {
        prop.Synchronize = false;
        game.Update(20);
        EXPECT_FALSE(prop.Synchronize);
    }
    EXPECT_EQ(std::pair(always.frames, timer->m_Elapsed), std::pair(std::vector<u32>{16, 20, 20}, elapsed));
    EXPECT_EQ(game.GetGameFlowManager()->GetController()->GetRequestedPhase(), phase);

    game.SetPause(false);
    EXPECT_EQ(g_renderPause, 0);
    game.UnregisterModule(&always);  // it runs no more
    game.Update(20);
    EXPECT_TRUE(pausable.frames == (std::vector<u32>{16, 20}) && timer->m_Elapsed == elapsed + 20 &&
                always.frames.size() == 3u);
    EXPECT_NE(game.GetGameFlowManager()->GetController()->GetRequestedPhase(), phase);
}

// "UnPause" hides the pause popup; its closing ends the pause, once, and resumes the sounds.
TEST_F(PausingGame, ThePausePopupEndsThePause) {
    SilentAudioScope audio;
    game.SetPause(true);
    Widget::Popup* popup = Widget::ScreenManager::Instance().ShowPopup("Pause");
    game.SetPausePopup(popup);
    KorvoGame::TeamActionManager* teams = game.GetTeamActionManager();
    teams->SetEnabled(true);
    Entities::BaseTeamMember member;
    KorvoGame::TeamActionData data(nullptr, 0, &member);
    teams->SimulateTeamAction(&data, "UnPause");
    EXPECT_TRUE(Widget::ScreenManager::Instance().GetOpenPopups().empty());
    popup->Close();
    EXPECT_FALSE(game.IsPaused() || DeviceSystem::Instance()->IsPaused());
    EXPECT_EQ(audio.Impl().PauseDepth(), 0u);
    game.SetPause(true);
    popup->Close();
    EXPECT_TRUE(game.IsPaused());
}

TEST_F(BaseGameTest, LevelCyclingWrapsAndLoadLevelRequestsTheSelection) {
    LevelRecorder recorder;
    MiniGame::BaseGame::GetLevelSelectionEvent().AddDelegate(&recorder.selection);
    {
        RecordingGame game;
        game.OnNextLevel(nullptr);  // no levels yet: nothing to select
        game.Initialize();
        auto* cursors = Entities::GameEntityFactory::Instance()->GetFactory("playercursor");
        cursors->Release(cursors->Alloc(true));  // no level comes next: the cursor finds no set
        for (char step : std::string("pnnp"))
            step == 'p' ? game.OnPreviousLevel(nullptr) : game.OnNextLevel(nullptr);
        EXPECT_EQ(recorder.selected, (std::vector<std::string>{"Game_file", "Menu_file", "Minus_file", "Menu_file"}));
        game.OnLoadLevel(nullptr);
        EXPECT_EQ(game.GetGameFlowManager()->GetNextLevel()->GetId(), 3);
    }
    MiniGame::BaseGame::GetLevelSelectionEvent().RemoveDelegate(&recorder.selection);
    EXPECT_EQ(Bridge::IDeviceSystem::Get(), nullptr);  // a started game shuts down when destroyed
    EXPECT_EQ(MiniGame::BaseGame::LanguageName(12), TString<char>("russian"));
    EXPECT_TRUE(MiniGame::BaseGame::LanguageName(13).IsEmpty() && log.Contains("unknow language id"));
}
