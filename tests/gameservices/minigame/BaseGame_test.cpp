#include "gameservices/minigame/BaseGame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices;
using Bridge::DeviceSystem;

namespace {

class RecordingGame : public MiniGame::BaseGame {
public:
    std::vector<std::string> steps;

protected:
    void OnStep(const char* step) override {
        std::string text = step;
        // What each step has made, seen from outside.
        if (text == "DeviceSystem")
            text += Bridge::IDeviceSystem::Get() == DeviceSystem::Instance() ? " published" : " missing";
        if (text == "DeviceSystem::SetActive")
            text += DeviceSystem::Instance()->IsActive() ? " on" : " off";
        if (text == "LoadNavigation")
            text += Widget::ScreenManager::Instance().FindScreen("Start") ? " Start" : " none";
        if (text == "SetLocalizationLanguage")
            text += std::string(" ") + Bridge::GetLocalizationLanguage().c_str();
        steps.push_back(text);
    }
};

struct CountingModule : KorvoGame::IModule {
    explicit CountingModule(bool pausable) : pausable(pausable) {}
    void Update(u32) override { ++updates; }
    void Reset() override {}
    bool IsPausable() const override { return pausable; }
    bool pausable;
    int updates = 0;
};

struct MoveCounter {
    void On(Bridge::sActionData*) { ++moves; }
    int moves = 0;
    FDelegateParam<MoveCounter, Bridge::sActionData*> delegate{this, &MoveCounter::On};
};

class BaseGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadCapacities(dir, {{"FactoryDeviceTriggerKey", 4}, {"FactoryDeviceTriggerMove", 4},
                             {"FactoryDeviceTriggerAccel", 4}});
        Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
    }
    TempDir dir;
    LogCapture log;
};

}  // namespace

TEST_F(BaseGameTest, StartUpAndShutdownRunInTheirOrderAndPublishTheGame) {
    {
        RecordingGame gone;
    }
    EXPECT_EQ(KorvoGame::ICurrentGame::Get(), nullptr);
    RecordingGame game;
    EXPECT_EQ(KorvoGame::ICurrentGame::Get(), &game);
    dir.Write("-xml/screen/sketch.flow",
              "<Data><Screens><Screen><DisplayName>Start</DisplayName><FileName>start.xaml"
              "</FileName><Position/></Screen></Screens><Connections/></Data>");
    game.Initialize();
    const std::vector<std::string> start = {
        "DeviceSystem published", "DeviceManager", "SetActionContext", "TeamActionManager",
        "SetLocalizationLanguage english", "LoadLocalizationTable", "DeviceSystem::Startup",
        "DeviceSystem::SetActive on", "RenderingSystem::Startup", "AddModule DeviceSystem", "AddModule GameFlowManager",
        "SetScreenManager", "LoadNavigation Start", "LoadPopups"};
    EXPECT_EQ(game.steps, start);
    EXPECT_EQ(KorvoGame::DeviceManager::Get(), game.GetDeviceManager());
    EXPECT_EQ(KorvoGame::TeamActionManager::Get(), game.GetTeamActionManager());
    EXPECT_NE(game.GetGameFlowManager(), nullptr);
    EXPECT_TRUE(log.Contains("Can't find the action context!Default"));

    game.steps.clear();
    Bridge::FileSystem::UsePackages();
    game.Shutdown();
    const std::vector<std::string> end = {"DeviceSystem::SetActive off", "UnloadLocalizationTable",
                                          "CloseCurrentScreen", "DeviceSystem::Shutdown",
                                          "RenderingSystem::Shutdown", "FileSystem::Destroy"};
    EXPECT_EQ(game.steps, end);
    EXPECT_EQ(Bridge::IDeviceSystem::Get(), nullptr);
    EXPECT_EQ(KorvoGame::DeviceManager::Get(), nullptr);
    EXPECT_EQ(KorvoGame::TeamActionManager::Get(), nullptr);
    EXPECT_FALSE(Bridge::FileSystem::UsesPackages());
    // The next game start makes a new device system.
    DeviceSystem* fresh = DeviceSystem::Instance();
    EXPECT_EQ(Bridge::IDeviceSystem::Get(), fresh);
    DeviceSystem::Shutdown();
}

TEST_F(BaseGameTest, WhilePausedOnlyTheModulesThatAreNotPausableUpdate) {
    RecordingGame game;
    game.Initialize();
    MoveCounter counter;
    DeviceSystem::Instance()->ListenMove("axis-all", &counter.delegate);
    CountingModule pausable(true), always(false);
    game.AddModule(&pausable);
    game.AddModule(&always);
    KorvoGame::LevelTransition level;
    game.GetGameFlowManager()->GetController()->RequestLevel(&level, nullptr);

    game.SetPause(true);
    EXPECT_TRUE(game.IsPaused());
    game.Update(16);
    game.Update(16);
    EXPECT_EQ(counter.moves, 2);
    EXPECT_EQ(always.updates, 2);
    EXPECT_EQ(pausable.updates, 0);
    EXPECT_EQ(game.GetGameFlowManager()->GetLastFrameTime(), 0u);
    EXPECT_EQ(game.GetGameFlowManager()->GetController()->GetPhase(),
              KorvoGame::LevelTransitionController::kPhaseNone);

    game.SetPause(false);
    game.Update(16);
    EXPECT_EQ(counter.moves, 3);
    EXPECT_EQ(pausable.updates, 1);
    EXPECT_EQ(game.GetGameFlowManager()->GetLastFrameTime(), 16u);
    EXPECT_NE(game.GetGameFlowManager()->GetController()->GetPhase(),
              KorvoGame::LevelTransitionController::kPhaseNone);
    game.RemoveModule(&pausable);
    game.RemoveModule(&always);
    game.Shutdown();
}

TEST_F(BaseGameTest, TheScreenManagerRunsPausedOrNotAndLeavesWithTheLevel) {
    dir.Write("-xml/screen/sketch.flow",
              "<Data><Screens><Screen><DisplayName>Start</DisplayName><FileName>start.xaml"
              "</FileName><Position/></Screen></Screens><Connections/></Data>");
    dir.Write("-xml/screen/start.xaml",
              "<UserControl Width='800' Height='600'><Grid><GsWidgetLibrary:Emitter3D Name='e'/>"
              "</Grid></UserControl>");
    RecordingGame game;
    game.Initialize();
    Widget::ScreenManager& screens = Widget::ScreenManager::Instance();
    screens.SetPendingScreen("Start");
    game.SetPause(true);
    game.Update(16);
    ASSERT_NE(screens.GetCurrentScreen(), nullptr);
    Widget::Panel* root = screens.GetCurrentScreen()->m_RootPanel;
    auto* emitter = static_cast<Widget::Emitter3D*>(Widget::Widget::FindChild("e", root));
    EXPECT_EQ(emitter->m_Paused, 0);
    MiniGame::BaseGame::PauseEmitters(root, true);
    EXPECT_EQ(emitter->m_Paused, 1);
    MiniGame::BaseGame::PauseEmitters(root, false);
    EXPECT_EQ(emitter->m_Paused, 0);
    game.CleanupLevel();
    EXPECT_EQ(screens.GetCurrentScreen(), nullptr);
    EXPECT_TRUE(DeviceSystem::Instance()->IsActive());
    game.Shutdown();
}

TEST_F(BaseGameTest, TheLevelDriverRunsTheLevelSystemsInTheirOrder) {
    RecordingGame game;
    game.Initialize();
    Entities::AudioAsset theme;  // no sound data: its set-up reports
    theme.Name = "Theme";
    Entities::Set level("Level");
    level.m_AudioAssets.push_back(&theme);
    game.steps.clear();
    game.Update(16);  // no level yet
    LogCapture log;
    game.StartLevel(&level);
    EXPECT_TRUE(log.Contains("Audio asset Theme has no audio data"));
    EXPECT_EQ(game.GetCurrentLevel(), &level);
    EXPECT_TRUE(game.IsLevelReady());
    EXPECT_TRUE(level.VolatileDatas.HasData(Entities::VolatileDataKeys::kENGINE_DATA_LAYER_3D));
    game.Update(16);
    game.SetPause(true);  // one last world step
    game.Update(16);
    game.SetPause(false);
    game.ResumeLevel();
    game.CleanupLevel();
    EXPECT_FALSE(game.IsLevelReady());
    EXPECT_FALSE(level.VolatileDatas.HasData(Entities::VolatileDataKeys::kENGINE_DATA_LAYER_3D));
    game.Update(16);
    const std::vector<std::string> expected = {
        "RenderingSystem::Initialize", "AudioProcessingSystem::Initialize", "VideoProcessingSystem::Initialize",
        "RenderingSystem::Update",     "RenderingSystem::Update",           "DeviceSystem::SetActive on",
        "DeviceSystem::SetActive off", "RenderingSystem::Cleanup",          "AudioProcessingSystem::Cleanup",
        "VideoProcessingSystem::Cleanup", "DeviceSystem::SetActive on",     "CloseCurrentScreen"};
    EXPECT_EQ(game.steps, expected);
    game.Shutdown();
}
