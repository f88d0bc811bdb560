#include "gameservices/game/LevelTransitionController.h"

#include "engine/core/AGLog.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/LevelTransition.h"

namespace GameServices::KorvoGame {

bool LevelTransitionController::RequestLevel(LevelTransition* target, LevelTransition* leaving) {
    (void)leaving;
    if (!target) {
        AGReport("LevelTransitionController: no level to go to");
        return false;
    }
    switch (m_Phase) {
    case kPhaseNone:
        m_Current = target;
        m_RequestedPhase = kPhaseLoading;
        return true;
    case kPhaseRunning:
        m_Leaving = m_Current;
        m_Next = target;
        m_RequestedPhase = kPhaseClosing;
        return true;
    default:
        return false;
    }
}

void LevelTransitionController::Update() {
    if (m_RequestedPhase != m_Phase) {
        // The entry step runs before the phase changes: a request made by a listener of the
        // phase event is judged against the phase being left.
        const i32 entered = m_RequestedPhase;
        EnterPhase(entered);
        m_Phase = entered;
    }
    if (!m_Done)
        return;
    switch (m_Phase) {
    case kPhaseLoading:
        m_RequestedPhase = kPhaseOpening;
        break;
    case kPhaseOpening:
        m_RequestedPhase = kPhaseRunning;
        break;
    case kPhaseClosing:
        m_RequestedPhase = kPhaseLoading;
        break;
    default:
        break;
    }
    m_Done = false;
}

void LevelTransitionController::EnterPhase(i32 phase) {
    if (!m_Current)
        return;
    const TString<char>* screen = nullptr;
    Entities::Level* level = m_Current->GetLevel();
    switch (phase) {
    case kPhaseLoading:
        screen = m_Current->GetLoadingScreen();
        break;
    case kPhaseOpening:
        screen = m_Current->GetOpeningScreen();
        break;
    case kPhaseRunning:
        screen = m_Current->GetRunningScreen();
        break;
    case kPhaseClosing:
        screen = m_Current->GetClosingScreen();
        level = m_Leaving ? m_Leaving->GetLevel() : nullptr;
        break;
    default:
        return;
    }
    if (m_Screens) {
        if (screen)
            m_Screens->SetPendingScreen(*screen);
        else
            m_Screens->CloseCurrentScreen();
    }
    if (level) {
        switch (phase) {
        case kPhaseLoading:
            level->GetLoadingEvent().Fire(level);
            break;
        case kPhaseOpening:
            level->GetOpeningEvent().Fire(level);
            break;
        case kPhaseRunning:
            level->GetRunningEvent().Fire(level);
            break;
        default:
            level->GetClosingEvent().Fire(level);
            break;
        }
    }
    if (phase == kPhaseClosing)
        m_Current = m_Next;
}

}  // namespace GameServices::KorvoGame
