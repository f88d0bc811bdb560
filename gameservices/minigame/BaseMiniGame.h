#pragma once
// A game mode: owns what happens in the levels of its name. The level-transition controller
// drives it through the levels' four events; the base turns them into one life cycle: build
// the level's set and load it, wait until its packages are mounted and more than 250 ms have
// passed, start the level's bridge systems once and bring up the AI players, and on leaving
// clean everything up and unmount the packages. Concrete modes override the load, start and
// clean-up steps and call the base bodies.
#include <vector>

#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameservices/game/ActionManager.h"

namespace GameServices::Entities {
class Level;
class Set;
class Team;
}  // namespace GameServices::Entities

namespace GameServices::MiniGame {

class BaseGame;
class IAIFactory;

class BaseMiniGame {
public:
    // Appends the mode to the current game's game modes: construction order is registration
    // order.
    explicit BaseMiniGame(const TString<char>& name);
    // Leaves the game's list and the events it follows while that game is still current.
    virtual ~BaseMiniGame();
    BaseMiniGame(const BaseMiniGame&) = delete;
    BaseMiniGame& operator=(const BaseMiniGame&) = delete;

    // The four level events.
    virtual void EnterLevel(Entities::Level* level);
    virtual void ResumeLevel(Entities::Level* level);
    virtual void StartLevel(Entities::Level* level);
    virtual void LeaveLevel(Entities::Level* level);
    // Follows the four events of every level of the game flow named as this mode; a level
    // is followed once however often this runs.
    virtual void RegisterLevelDelegates();
    virtual void OnLevelResumed() {}
    // Team actions off, then the level file named by the level-file-name member is read into
    // the level's set.
    virtual void LoadLevel(bool initializeSet);
    // Once per loading: the bridge systems of the set, its entities when asked, the AI
    // players, team actions on.
    virtual void InitializeLevel();
    virtual void OnLevelStarted() {}
    virtual void CleanupLevel();
    // Last mounted first.
    virtual void UnloadLevelPackages();

    // Stops following the levels of the game flow (the flow is about to delete them).
    void ForgetLevels();

    // For an action a concrete mode subscribes it to: the level stopped, popups closed, the
    // current level asked for again.
    void OnRestart(Bridge::sActionData* data);

    const TString<char>& GetName() const { return m_Name; }
    const TString<char>& GetLevelFileName() const { return m_LevelFileName; }
    Entities::Level* GetLevel() const { return m_Level; }
    Entities::Set* GetSet() const { return m_Set; }

    // Milliseconds counted towards the next level start, shared by every mode.
    static u32 GetStartAccumulator();
    static void SetStartAccumulator(u32 ms);

protected:
    // Called after each step of the level cycle with its name.
    virtual void OnStep(const char* /*step*/) {}
    // The controller may move on from the current phase, when this mode drives the flow.
    void RaiseDone();

    TString<char> m_Name;
    TString<char> m_LevelFileName;
    Entities::Level* m_Level = nullptr;
    Entities::Set* m_Set = nullptr;
    // Null when the mode has no computer players.
    IAIFactory* m_AIFactory = nullptr;
    std::vector<Entities::Team*> m_Teams;
    bool m_ControlsLevelFlow = true;
    bool m_InitializeSet = false;
    KorvoGame::ActionManagerDelegate<BaseMiniGame> m_RestartDelegate{this, &BaseMiniGame::OnRestart};

private:
    // Each frame while the level waits to start.
    void OnStartFrame(u32 ms);
    // Copies the level's file name and keeps the level; false without one.
    bool TakeLevel(Entities::Level* level);
    // Leaves every event it follows (destruction).
    void Unsubscribe();
    // No more frames for the deferred start.
    void StopWaiting();

    FDelegateParam<BaseMiniGame, Entities::Level*> m_LoadingDelegate{this, &BaseMiniGame::EnterLevel};
    FDelegateParam<BaseMiniGame, Entities::Level*> m_OpeningDelegate{this, &BaseMiniGame::ResumeLevel};
    FDelegateParam<BaseMiniGame, Entities::Level*> m_RunningDelegate{this, &BaseMiniGame::StartLevel};
    FDelegateParam<BaseMiniGame, Entities::Level*> m_ClosingDelegate{this, &BaseMiniGame::LeaveLevel};
    ProcessDelegate<BaseMiniGame> m_StartDelegate{this, &BaseMiniGame::OnStartFrame};
    // The game this mode registered with, and the levels it follows there.
    BaseGame* m_Game = nullptr;
    std::vector<Entities::Level*> m_Followed;
    bool m_WaitingToStart = false;
    // The mode built m_Set at loading; a mode of the same name shares the level but not it.
    bool m_OwnsSet = false;
};

}  // namespace GameServices::MiniGame
