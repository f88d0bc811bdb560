#pragma once
// A game with a level-transitions file of two levels, "Studio" (or as named; file "studio.xml", two
// packages and a prop) and "Lobby", driven frame by frame through its game flow; game modes
// that record their level steps.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/entities/Level.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/minigame/BaseMiniGame.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "engine/core/PcDirectory.h"
#include "tests/support/ResourceEnvironment.h"

// Packages mount; no engine resource of the level systems can be made, so they keep none.
class PackageEnvironment {
public:
    PackageEnvironment() {
        AGResourceManager::SetInstance(new AGResourceManager());
        AGMemoryPoolManager::SetInstance(new AGMemoryPoolManager());
        PCFileManager::SetInstance(new PCFileManager());
        AGResourceManager::Get()->RegisterProvider(new AGProvider<PcDirectory>(TypeKey::Directory));
    }
    ~PackageEnvironment() {
        delete PCFileManager::Get();
        PCFileManager::SetInstance(nullptr);
        delete AGResourceManager::Get();
        AGResourceManager::SetInstance(nullptr);
        delete AGMemoryPoolManager::Get();
        AGMemoryPoolManager::SetInstance(nullptr);
    }
    PackageEnvironment(const PackageEnvironment&) = delete;
    PackageEnvironment& operator=(const PackageEnvironment&) = delete;
};

// Records "tag:step" for every level step of the mode.
template <typename Mode>
class RecordingMode : public Mode {
public:
    template <typename... Args>
    RecordingMode(std::vector<std::string>& steps, std::string tag, Args&&... args)
        : Mode(std::forward<Args>(args)...), m_Steps(steps), m_Tag(std::move(tag)) {}

    using Mode::m_AIFactory;
    using Mode::m_ControlsLevelFlow;
    using Mode::m_Teams;

protected:
    // With what the step changed, seen from outside.
    void OnStep(const char* step) override {
        std::string text = m_Tag + ":" + step;
        const std::string name = step;
        if (name == "LoadLevel" || name == "TeamActions on")
            text += GameServices::KorvoGame::TeamActionManager::Get()->IsEnabled() ? " +" : " -";
        if (name == "Input off" || name == "Input on")
            text += GameServices::Bridge::DeviceSystem::Instance()->IsActive() ? " +" : " -";
        if (name == "Set::Clear")
            text += " " + std::to_string(this->GetSet()->m_Props.size());
        m_Steps.push_back(text);
    }

private:
    std::vector<std::string>& m_Steps;
    std::string m_Tag;
};

class GameModeTest : public LevelFixture {
protected:
    // The game's team actions are the test's own: the game starts none of its services.
    class Game : public GameServices::MiniGame::BaseGame {
    public:
        GameServices::KorvoGame::TeamActionManager* GetTeamActionManager() override { return teams; }
        GameServices::KorvoGame::TeamActionManager* teams = nullptr;
    };

    void SetUp() override {
        using namespace GameServices;
        LevelFixture::SetUp();
        MiniGame::BaseMiniGame::SetStartAccumulator(0);
        Bridge::DeviceSystem::Instance();
        devices = std::make_unique<KorvoGame::DeviceManager>();
        teams = std::make_unique<KorvoGame::TeamActionManager>(actions, *devices);
        game = std::make_unique<Game>();
        game->teams = teams.get();
        WriteLevelFile("levels.xml",
                       "<root><LevelTransitions><Levels>" + Entry(studio, "studio", 1) +
                           Entry("Lobby", "lobby", 2) + "</Levels></LevelTransitions></root>");
        WriteLevel("studio", "<Packages><Package name=\"a.dir\"/><Package name=\"b.dir\"/>"
                             "</Packages><Props><item><Name>Desk</Name></item></Props>");
        Flow().LoadLevelTransitions(
            Bridge::FileSystem::GetFilePath(Bridge::FILE_LEVEL_XML, "Levels.xml"));
    }
    void TearDown() override {
        modes.clear();
        game.reset();
        teams.reset();
        devices.reset();
        GameServices::Bridge::DeviceSystem::Shutdown();
        LevelFixture::TearDown();
    }

    static std::string Entry(const std::string& name, const std::string& file, int id) {
        return "<item><LevelNameId>" + name + "</LevelNameId><LevelFileName>" + file +
               "</LevelFileName><Status>unlock</Status><LevelTransitionId>" + std::to_string(id) +
               "</LevelTransitionId></item>";
    }

    GameServices::KorvoGame::GameFlowManager& Flow() { return *game->GetGameFlowManager(); }
    GameServices::KorvoGame::LevelTransitionController& Controller() { return *Flow().GetController(); }
    GameServices::Entities::Level* Studio() { return Flow().GetTransitions()[0]->GetLevel(); }

    template <typename Mode = GameServices::MiniGame::BaseMiniGame, typename... Args>
    RecordingMode<Mode>& AddMode(std::string tag, Args&&... args) {
        auto mode = std::make_unique<RecordingMode<Mode>>(steps, std::move(tag),
                                                          std::forward<Args>(args)...);
        RecordingMode<Mode>& made = *mode;
        modes.push_back(std::move(mode));
        return made;
    }
    void RegisterModes() {
        for (GameServices::MiniGame::BaseMiniGame* mode : game->GetMiniGames())
            mode->RegisterLevelDelegates();
    }

    // What the game's frame step does for the level flow: the controller, then the frame.
    void Frame(u32 ms) {
        Controller().Update();
        Flow().Update(ms);
    }
    // Asks for the level and runs the frames that take it to running.
    void RunStudio() {
        Flow().SetNextLevel(studio.c_str(), nullptr, true);
        for (u32 ms : {16u, 251u, 16u, 16u, 16u})
            Frame(ms);
    }
    void LeaveStudio() {
        Flow().SetNextLevel("Lobby", nullptr, true);
        Frame(16);
    }

    std::string studio = "Studio";
    PackageEnvironment env;
    GameServices::KorvoGame::ActionManager actions;
    std::unique_ptr<GameServices::KorvoGame::DeviceManager> devices;
    std::unique_ptr<GameServices::KorvoGame::TeamActionManager> teams;
    std::unique_ptr<Game> game;
    std::vector<std::string> steps;
    std::vector<std::unique_ptr<GameServices::MiniGame::BaseMiniGame>> modes;
};
