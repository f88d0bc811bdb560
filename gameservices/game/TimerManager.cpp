#include "gameservices/game/TimerManager.h"

#include "engine/core/AGLog.h"
#include "gameservices/entities/PoolStorage.h"

namespace GameServices::KorvoGame {

namespace {
TimerManager* g_TimerManager = nullptr;
}  // namespace

TimerManager* TimerManager::Instance() {
    if (!g_TimerManager)
        g_TimerManager = new TimerManager();
    return g_TimerManager;
}

void TimerManager::Destroy() {
    delete g_TimerManager;
    g_TimerManager = nullptr;
}

void TimerManager::Initialize(u32 count) {
    if (count > Entities::kMaxPoolCapacity) {
        AGReport("The timer pool asks for %u timers; limited to %u", count,
                 Entities::kMaxPoolCapacity);
        count = Entities::kMaxPoolCapacity;
    }
    m_MaxTimer = count;
    m_NbTimerUsed = 0;
    for (u32 i = 0; i < count; ++i)
        m_Pool.push_back(std::make_unique<Timer>());
}

Timer* TimerManager::AddTimer() {
    if (m_NbTimerUsed + 1 > m_MaxTimer || m_NbTimerUsed >= m_Pool.size()) {
        AGReport("m_NbTimerUsed+1 > m_MaxTimer");
        return nullptr;
    }
    return m_Pool[m_NbTimerUsed++].get();
}

void TimerManager::RemoveTimer(Timer* timer) {
    if (!timer)
        return;
    if (m_Updating) {
        m_Pending.push_back(timer);
        return;
    }
    // Only timers in use: a timer given back twice (by its listener and as a finished
    // single shot) must lower the count once.
    for (u32 i = 0; i < m_NbTimerUsed; ++i) {
        if (m_Pool[i].get() != timer)
            continue;
        if (timer->m_Active)
            return;
        timer->m_Event = FHandler();
        std::unique_ptr<Timer> taken = std::move(m_Pool[i]);
        m_Pool.erase(m_Pool.begin() + i);
        m_Pool.push_back(std::move(taken));
        --m_NbTimerUsed;
        return;
    }
}

void TimerManager::Update(u32 dt) {
    m_Updating = true;
    // Listeners may take timers (the count grows) but never change the pool's order here.
    for (u32 i = 0; i < m_NbTimerUsed; ++i) {
        Timer* timer = m_Pool[i].get();
        if (!timer->m_Active)
            continue;
        timer->m_Elapsed += dt;
        if (timer->m_Elapsed < timer->m_Duration)
            continue;
        timer->m_Event.Fire();
        if (timer->m_SingleShot) {
            timer->m_Active = false;
            RemoveTimer(timer);
            timer->m_Duration = 0;
        }
        timer->m_Elapsed = 0;
    }
    m_Updating = false;
    std::vector<Timer*> pending;
    pending.swap(m_Pending);
    for (Timer* timer : pending)
        RemoveTimer(timer);
}

}  // namespace GameServices::KorvoGame
