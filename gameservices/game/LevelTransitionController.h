#pragma once
// Walks a level through its phases: loading, opening, running, closing. Entering a phase
// shows the phase's screen and fires the level's phase event; the game modes raise the done
// flag when the work of a phase is finished. Requests are acted on at the next Update.
#include "engine/core/AGTypes.h"

namespace GameServices::KorvoGame {

class IScreenChangeService;
class LevelTransition;

class LevelTransitionController {
public:
    enum Phase : i32 {
        kPhaseNone = -1,
        kPhaseOpening = 0,
        kPhaseLoading = 1,
        kPhaseRunning = 2,
        kPhaseClosing = 3,
    };

    LevelTransitionController() = default;
    virtual ~LevelTransitionController() = default;
    LevelTransitionController(const LevelTransitionController&) = delete;
    LevelTransitionController& operator=(const LevelTransitionController&) = delete;

    // Null: phases change screens on nobody.
    void SetScreenManager(IScreenChangeService* screens) { m_Screens = screens; }

    // Asks for target: with nothing loaded it is loaded; while a level runs, that level is
    // closed first and target becomes current when closing starts. Dropped in the other
    // phases (false). The level closed is always the current one: leaving is accepted for
    // the callers' sake and otherwise unused, since a stale or null one would close a level
    // that was never loaded.
    bool RequestLevel(LevelTransition* target, LevelTransition* leaving);

    // Runs the entry step of a newly requested phase, then advances on the done flag:
    // loading -> opening -> running, closing -> loading.
    void Update();

    void SetDone(bool done) { m_Done = done; }
    bool IsDone() const { return m_Done; }

    LevelTransition* GetCurrent() const { return m_Current; }
    LevelTransition* GetLeaving() const { return m_Leaving; }
    LevelTransition* GetNext() const { return m_Next; }
    i32 GetPhase() const { return m_Phase; }
    i32 GetRequestedPhase() const { return m_RequestedPhase; }

private:
    void EnterPhase(i32 phase);

    LevelTransition* m_Current = nullptr;
    LevelTransition* m_Leaving = nullptr;
    LevelTransition* m_Next = nullptr;
    i32 m_Phase = kPhaseNone;
    i32 m_RequestedPhase = kPhaseNone;
    bool m_Done = false;
    IScreenChangeService* m_Screens = nullptr;
};

}  // namespace GameServices::KorvoGame
