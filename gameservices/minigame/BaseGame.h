#pragma once
// The game as the run loop drives it: owns the game flow, the action, device and team-action
// managers and the module list, brings the bridge up at game start and down at game end, and
// publishes itself as the running game.
#include <memory>
#include <vector>

#include "engine/core/AGGameContext.h"
#include "gameservices/game/ActionManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/minigame/AIManager.h"

namespace GameServices::KorvoGame {
class DeviceManager;
class GameFlowManager;
class IModule;
class SavedGameManager;
class TeamActionManager;
}  // namespace GameServices::KorvoGame

namespace GameServices::Widget {
class Panel;
}

namespace GameServices::MiniGame {

class BaseMiniGame;

class BaseGame : public AGGameContext, public KorvoGame::ICurrentGame {
public:
    BaseGame();
    ~BaseGame() override;
    BaseGame(const BaseGame&) = delete;
    BaseGame& operator=(const BaseGame&) = delete;

    using AGGameContext::Initialize;
    // Game start: the device system, the device manager, the action context, the team-action
    // manager, the string tables, the device system's start-up, the device system and the
    // game flow in the module list, then the screen manager installed with its navigation
    // and popups files.
    void Initialize() override;
    // Unless paused, the level controller; the screen manager; then every module, the
    // pausable ones only while the game is not paused; unless paused, the current level's
    // audio and video, then the world step.
    void Update(u32 frameMs) override;
    // Game end: the device system made inactive, the string tables unloaded, the current
    // screen and the popups closed, the managers deleted, the device system shut down and the
    // file system destroyed.
    void Shutdown() override;
    // The level driver. Start: the Set becomes the current level, its systems are set up and
    // it is ready, so that each unpaused frame updates them. Resume: the device system made
    // active. Clean-up: the device system made inactive, the level's systems cleaned, the
    // device system made active again, then the current screen closed.
    void StartLevel(Entities::Set* level);
    void ResumeLevel();
    virtual void CleanupLevel();
    bool IsLevelReady() const { return m_LevelReady && m_CurrentLevel; }

    KorvoGame::GameFlowManager* GetGameFlowManager() override { return m_GameFlow.get(); }
    KorvoGame::TeamActionManager* GetTeamActionManager() override { return m_Teams.get(); }
    Entities::Set* GetCurrentLevel() override { return m_CurrentLevel; }
    bool IsPaused() const override { return m_Paused; }
    // Pausing runs one last world step first.
    void SetPause(bool paused) override;
    // Sets the paused flag of every Emitter3D of the panel tree.
    static void PauseEmitters(Widget::Panel* panel, bool paused);

    // The published game, or null when the current game is not a BaseGame.
    static BaseGame* Current();
    // The game modes in construction order, which is their registration order; borrowed.
    void AddMiniGame(BaseMiniGame* mode) { m_MiniGames.push_back(mode); }
    std::vector<BaseMiniGame*>& GetMiniGames() { return m_MiniGames; }
    AIManager& GetAIManager() { return m_AIManager; }

    void SetCurrentLevel(Entities::Set* level) { m_CurrentLevel = level; }
    KorvoGame::ActionManager& GetActionManager() { return m_Actions; }
    KorvoGame::DeviceManager* GetDeviceManager() { return m_Devices.get(); }
    // Updated in the order added; borrowed.
    void AddModule(KorvoGame::IModule* module);
    void RemoveModule(KorvoGame::IModule* module);

protected:
    // Called after each start-up and shutdown step with its name.
    virtual void OnStep(const char* /*step*/) {}
    // The game's saved-game slots, which show their popups through the screen manager; none
    // by default.
    virtual KorvoGame::SavedGameManager* GetSavedGameManager() { return nullptr; }
    // What runs each unpaused frame after the modules: the ready level's systems, then the
    // current screen's transforms.
    void StepWorld();
    // The level's systems, one phase each, in their order.
    virtual void InitializeLevelSystems(Entities::Set& level);
    virtual void UpdateLevelSystems(Entities::Set& level);
    virtual void CleanupLevelSystems(Entities::Set& level);

private:
    std::unique_ptr<KorvoGame::GameFlowManager> m_GameFlow;
    KorvoGame::ActionManager m_Actions;
    std::unique_ptr<KorvoGame::DeviceManager> m_Devices;
    std::unique_ptr<KorvoGame::TeamActionManager> m_Teams;
    std::vector<KorvoGame::IModule*> m_Modules;
    std::vector<BaseMiniGame*> m_MiniGames;
    AIManager m_AIManager;
    Entities::Set* m_CurrentLevel = nullptr;
    bool m_Paused = false;
    bool m_Started = false;
    bool m_LevelReady = false;
};

}  // namespace GameServices::MiniGame
