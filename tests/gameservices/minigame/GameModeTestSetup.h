#pragma once
// A game whose flow knows `studio` (file "studio.xml", one prop) and "Lobby" (a package that
// never mounts: nothing can be mounted here), run frame by frame; modes recording their steps.
#include <memory>
#include <string>
#include <vector>

#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/minigame/AIFactory.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/minigame/BaseMiniGame.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/gameservices/game/RecordingBridgeSystems.h"

using namespace GameServices;

// Records tag + step, with what the step set: input, the level's 3D layer or team actions.
template <typename Mode>
struct RecordingMode : Mode {
    template <typename... Args>
    RecordingMode(std::vector<std::string>& steps, std::string tag, Args... args) : Mode(args...), steps(steps), tag(tag) {}
    void OnStep(const char* step) override {
        const std::string name = step;
        std::string text = tag + name;
        if (name.starts_with("Input") || name == "OnLevelResumed")
            text += Bridge::DeviceSystem::Instance()->IsActive() ? " +" : " -";
        else if (name.ends_with("Initialize") || name.ends_with("Cleanup"))
            text += this->GetSet()->VolatileDatas.HasData(Entities::VolatileDataKeys::kENGINE_DATA_LAYER_3D) ? " +" : " -";
        else if (name == "LoadLevel" || name.starts_with("TeamActions") || name == "OnLevelStarted")
            text += KorvoGame::TeamActionManager::Get()->IsEnabled() ? " +" : " -";
        steps.push_back(text);
    }
    void OnLevelResumed() override { OnStep("OnLevelResumed"); }
    void OnLevelStarted() override { OnStep("OnLevelStarted"); }
    using Mode::m_AIFactory, Mode::m_ControlsLevelFlow, Mode::m_Teams;
    std::vector<std::string>& steps;
    std::string tag;
};

class GameModeTest : public LevelFixture {
protected:
    struct Game : MiniGame::BaseGame {
        KorvoGame::TeamActionManager* GetTeamActionManager() override { return teams.get(); }
        KorvoGame::DeviceManager devices;  // after the device system the fixture publishes
        KorvoGame::ActionManager actions;
        std::unique_ptr<KorvoGame::TeamActionManager> teams = std::make_unique<KorvoGame::TeamActionManager>(actions, devices);
    };
    void SetUp() override {
        LevelFixture::SetUp();
        MiniGame::BaseMiniGame::SetStartAccumulator(0);
        Bridge::DeviceSystem::Instance();
        game = std::make_unique<Game>();
        Flow().SetBridgeSystems(RecordingBridgeSystems::Instance());
        WriteLevelFile("levels.xml", TransitionsFile(Entry(studio, "studio", "unlock", 1) +
                                                     Entry("Lobby", "lobby", "unlock", 2)));
        WriteLevel("studio", "<Props><item><Name>Desk</Name></item></Props>");
        WriteLevel("lobby", "<Packages><Package name=\"lobby.dir\"/></Packages>");
        Flow().LoadLevelTransitions(Bridge::FileSystem::GetFilePath(Bridge::FILE_LEVEL_XML, "Levels.xml"));
    }
    void TearDown() override {
        modes.clear();
        game.reset();
        Bridge::DeviceSystem::Shutdown();
        LevelFixture::TearDown();
    }
    KorvoGame::GameFlowManager& Flow() { return *game->GetGameFlowManager(); }
    Entities::Level& Level(size_t i) { return *Flow().GetTransitions()[i]->GetLevel(); }
    template <typename Mode = MiniGame::BaseMiniGame, typename... Args>
    RecordingMode<Mode>& AddMode(std::string tag, Args... args) {
        modes.push_back(std::make_unique<RecordingMode<Mode>>(steps, tag, args...));
        return static_cast<RecordingMode<Mode>&>(*modes.back());
    }
    // Binds the modes, asks for the level when one is named, then runs the frames as the
    // game's frame step does: the controller, then the game flow.
    void Run(const char* level, std::initializer_list<u32> frames) {
        for (MiniGame::BaseMiniGame* mode : game->GetMiniGames())
            mode->RegisterLevelDelegates();
        if (level)
            Flow().SetNextLevel(level, nullptr, true);
        for (u32 ms : frames) {
            Flow().GetController()->Update();
            Flow().Update(ms);
        }
    }
    std::string studio = "Studio";
    std::unique_ptr<Game> game;
    std::vector<std::string> steps;
    std::vector<std::unique_ptr<MiniGame::BaseMiniGame>> modes;
};
