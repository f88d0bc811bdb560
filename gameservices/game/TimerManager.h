#pragma once
// A fixed pool of countdown timers stepped with the game's frame time. The game context
// steps it each frame, while not paused, before its modules.
#include <memory>
#include <vector>

#include "engine/core/FHandler.h"
#include "gameservices/game/IModule.h"

namespace GameServices::KorvoGame {

// Its user sets the duration and the flags and adds listeners to the event.
struct Timer {
    FHandler m_Event;
    u32 m_Duration = 0;
    u32 m_Elapsed = 0;
    bool m_SingleShot = false;
    bool m_Active = false;
};

class TimerManager : public IModule {
public:
    // The game's manager, created on first call.
    static TimerManager* Instance();
    // Deletes the singleton (game end); the next Instance() makes a fresh one.
    static void Destroy();

    TimerManager() = default;
    TimerManager(const TimerManager&) = delete;
    TimerManager& operator=(const TimerManager&) = delete;

    // Appends count timers (at most the pool cap) to the pool, which then hands out at most
    // that many.
    void Initialize(u32 count);
    // The next free timer, inactive; null, reported, when all are in use.
    Timer* AddTimer();
    // Gives back a timer in use and clears its listeners; an active timer stays in use.
    // While the timers are being stepped the removal waits for the end of the step.
    void RemoveTimer(Timer* timer);

    // Each active timer in use gains dt; one that reaches its duration fires, then a
    // single-shot timer is stopped and given back, a repeating one restarts from 0.
    void Update(u32 dt) override;
    void Reset() override {}
    bool IsPausable() const override { return true; }

    u32 GetMaxTimer() const { return m_MaxTimer; }
    u32 GetUsedCount() const { return m_NbTimerUsed; }

private:
    bool m_Updating = false;
    std::vector<std::unique_ptr<Timer>> m_Pool;
    std::vector<Timer*> m_Pending;
    u32 m_MaxTimer = 0;
    u32 m_NbTimerUsed = 0;
};

}  // namespace GameServices::KorvoGame
