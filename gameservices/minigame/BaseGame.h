#pragma once
// The game as the run loop drives it: publishes itself as the running game, owns the game
// flow, the action, device and team-action managers, the team registry, the saved games and
// the module list, runs the start-up and shutdown sequences, the frame step and the global
// pause.
#include <memory>
#include <vector>

#include "engine/core/AGGameContext.h"
#include "engine/core/FDelegate.h"
#include "engine/core/FHandler.h"
#include "gameservices/game/ActionManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/sEntityDataExtension.h"
#include "gameservices/minigame/AIManager.h"

namespace GameServices::Bridge {
class DeviceSystem;
}

namespace GameServices::Entities {
class Level;
}

namespace GameServices::KorvoGame {
class DeviceManager;
class GameFlowManager;
class IModule;
class SavedGameManager;
class TeamRegistry;
class TimerManager;
}  // namespace GameServices::KorvoGame

namespace GameServices::Widget {
class Panel;
class Popup;
}  // namespace GameServices::Widget

namespace GameServices::MiniGame {

class BaseMiniGame;

class BaseGame : public AGGameContext, public KorvoGame::ICurrentGame {
public:
    // The packages every game mounts at start: the system files and the string tables.
    static constexpr const char* kSystemPackage = "gsSystem.dir";
    static constexpr const char* kStringPackage = "gstrcsystem.dir";
    // The string table the game loads ("<table>_<language>.loc").
    static constexpr const char* kStringTable = "gstrc";
    // The popup a pause shows.
    static constexpr const char* kPausePopup = "Pause";
    // "RuntimeParameters.xml": the section of the game's keys, and the key naming the first level.
    static constexpr const char* kParameterSection = "Game";
    static constexpr const char* kStartScreenKey = "StartScreenId";
    // The framework files the start reads: parameters and level transitions.
    static constexpr const char* kParametersFile = "RuntimeParameters.xml";
    static constexpr const char* kLevelsFile = "Levels.xml";
    BaseGame();
    ~BaseGame() override;
    BaseGame(const BaseGame&) = delete;
    BaseGame& operator=(const BaseGame&) = delete;

    using AGGameContext::Initialize;
    // The start-up sequence, each step reported to OnStep with its name.
    void Initialize() override;
    // Unless paused, the level-transition controller and the timers; then UpdateWorld.
    void Update(u32 frameMs) override;
    // The screen manager, the modules (pausable ones only while not paused); unless paused,
    // the running and ready level's bridge systems; the current screen's transforms.
    void UpdateWorld(u32 frameMs);
    // The shutdown sequence; the services it deletes are made afresh by the next start-up.
    void Shutdown() override;

    KorvoGame::GameFlowManager* GetGameFlowManager() override { return m_GameFlow.get(); }
    KorvoGame::TeamActionManager* GetTeamActionManager() override { return m_Teams.get(); }
    // The set of the game flow's current level; null without one.
    Entities::Set* GetCurrentLevel() override;
    // The runtime level of the game flow's current level transition; null without one.
    Entities::Level* GetCurrentLevelObject() const;
    bool IsPaused() const override { return m_Paused; }
    // Pausing runs one last world step first; asking for the current state does nothing.
    void SetPause(bool paused) override;
    // The popup whose closing ends the pause: while paused, "UnPause" hides the popup
    // named "Pause", and its closing unpauses the game. Borrowed.
    void SetPausePopup(Widget::Popup* popup);
    // Sets the paused flag of every Emitter3D of the panel tree.
    static void PauseEmitters(Widget::Panel* panel, bool paused);

    // The published game, or null when the current game is not a BaseGame.
    static BaseGame* Current();
    // A replayed run with a seed (platform/window/Replay.h) draws from it, so that its draws come
    // alike every run: the program's draws are seeded from it at start-up and again as each level
    // is entered, as the levels before drew at moments the frame rate chose (the menu characters'
    // idle breaks). True when the replay had a seed.
    static bool SeedFromReplay();
    // The game modes in construction order, which is their registration order; borrowed.
    void AddMiniGame(BaseMiniGame* mode) { m_MiniGames.push_back(mode); }
    std::vector<BaseMiniGame*>& GetMiniGames() { return m_MiniGames; }
    AIManager& GetAIManager() { return m_AIManager; }

    KorvoGame::ActionManager* GetActionManager() { return m_Actions.get(); }
    KorvoGame::DeviceManager* GetDeviceManager() { return m_Devices.get(); }
    KorvoGame::TeamRegistry* GetTeamRegistry() { return m_Registry.get(); }
    KorvoGame::SavedGameManager* GetSavedGameManager() { return m_SavedGames.get(); }
    // Updated in the order added; borrowed.
    void AddModule(KorvoGame::IModule* module);
    // Removes the first entry of the module; nothing when absent.
    void UnregisterModule(KorvoGame::IModule* module);
    const std::vector<KorvoGame::IModule*>& GetModules() const { return m_Modules; }

    // Subscribes the level-cycling handlers to "NextLevel", "PreviousLevel" and "LoadLevel".
    void ListenLevelActions();
    const TString<char>& GetSelectedLevel() const { return m_SelectedLevel; }
    // Fired with the file name of the level chosen by "NextLevel" or "PreviousLevel".
    static FHandlerParam<const TString<char>&>& GetLevelSelectionEvent() { return s_LevelSelection; }

    // The language name for a user-interface language index; "unknow language id" and
    // empty for an index outside the table.
    static TString<char> LanguageName(u32 index);

protected:
    // Called after each start-up and shutdown step with its name.
    virtual void OnStep(const char* /*step*/) {}
    // Binds every game mode to the levels of its name, in registration order.
    virtual void RegisterLevelDelegates();

    void OnNextLevel(Bridge::sActionData* data);
    void OnPreviousLevel(Bridge::sActionData* data);
    void OnLoadLevel(Bridge::sActionData* data);
    // "UnPause" while paused hides the pause popup.
    void OnUnPauseRequest(KorvoGame::TeamActionData* data);
    // The pause popup closed: the pause ends.
    void OnUnPause();

private:
    // What the constructor makes: the game flow, the action manager, the team registry and
    // the saved games.
    void CreateManagers();
    void SelectLevel(i32 index);
    void ChooseFirstLevel();

    std::unique_ptr<KorvoGame::GameFlowManager> m_GameFlow;
    std::unique_ptr<KorvoGame::ActionManager> m_Actions;
    std::unique_ptr<KorvoGame::TeamRegistry> m_Registry;
    std::vector<BaseMiniGame*> m_MiniGames;
    KorvoGame::TimerManager* m_Timers = nullptr;
    std::unique_ptr<KorvoGame::DeviceManager> m_Devices;
    std::unique_ptr<KorvoGame::TeamActionManager> m_Teams;
    AIManager m_AIManager;
    std::unique_ptr<KorvoGame::SavedGameManager> m_SavedGames;
    Bridge::DeviceSystem* m_DeviceSystem = nullptr;
    KorvoGame::ActionManagerDelegate<BaseGame> m_NextLevel{this, &BaseGame::OnNextLevel};
    KorvoGame::ActionManagerDelegate<BaseGame> m_PreviousLevel{this, &BaseGame::OnPreviousLevel};
    KorvoGame::ActionManagerDelegate<BaseGame> m_LoadLevel{this, &BaseGame::OnLoadLevel};
    Widget::Popup* m_PausePopup = nullptr;
    bool m_Paused = false;
    bool m_Started = false;
    TString<char> m_ActionContext = "Default";
    u32 m_TimerCount = 10;
    TString<char> m_StartLevelId;
    TString<char> m_StartScreenId;
    i32 m_LevelIndex = 0;
    TString<char> m_SelectedLevel;
    u32 m_PlayerCount = 1;
    u32 m_RequiredPlayers = 1;
    TString<char> m_Language;
    std::vector<KorvoGame::IModule*> m_Modules;
    // The extension prototypes offered to every set element read, from start-up to shutdown.
    std::unique_ptr<KorvoGame::sEntityDataExtension> m_SpawnerExtension;
    std::unique_ptr<KorvoGame::sEntityDataExtension> m_ViewportZoneExtension;
    KorvoGame::TeamActionManagerDelegate<BaseGame> m_UnPauseRequest{this, &BaseGame::OnUnPauseRequest};
    FDelegate<BaseGame> m_UnPause{this, &BaseGame::OnUnPause};

    static inline FHandlerParam<const TString<char>&> s_LevelSelection;
};

}  // namespace GameServices::MiniGame
