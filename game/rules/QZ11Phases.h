#pragma once
// The phases of a match, held in the context's m_GamePhase, and the end score of the main game.
#include "engine/core/AGTypes.h"

namespace QZ2011 {

enum Phase : int {
    PhaseNone = -1,
    PhaseShowStart = 0,
    PhaseLeftFamilyPose = 1,
    PhaseRightFamilyPose = 2,
    PhaseLeftFamilyIntro = 3,
    PhaseRightFamilyIntro = 4,
    PhaseRoundIntro = 5,
    PhaseFaceOffQuestion = 6,
    PhaseFaceOffBuzz = 7,
    PhaseFaceOffFirstAnswer = 8,
    PhaseFaceOffSecondAnswer = 9,
    PhaseFaceOffWon = 10,
    PhasePlayOrPass = 11,
    PhaseRoundAnswers = 12,
    PhaseSteal = 13,
    PhaseStealResult = 14,
    PhaseRevealOthers = 15,
    PhaseRevealRemaining = 16,
    PhaseSuddenDeathBuzz = 17,
    PhaseRoundComplete = 18,
    PhaseRoundWon = 19,
    PhaseSuddenDeathFirstAnswer = 20,
    PhaseSuddenDeathSecondAnswer = 21,
    PhaseFastMoneyIntro = 23,
    PhaseFastMoneyFirstPlayer = 24,
    PhaseFastMoneySecondPlayer = 25,
    PhaseFastMoneyReveal = 26,
    PhaseGameEnd = 28,
    PhaseFastMoneyWon = 29,
    PhaseGameOver = 30
};

// The context's phase: read and written as an integer; every write, of a new value or the same
// one, is reported to one observer (the match harness records the writes in order).
class GamePhaseField {
public:
    using Observer = void (*)(void* owner, i32 phase);

    explicit constexpr GamePhaseField(i32 value) : m_Value(value) {}
    GamePhaseField(const GamePhaseField&) = delete;
    GamePhaseField& operator=(const GamePhaseField&) = delete;

    GamePhaseField& operator=(i32 value) {
        m_Value = value;
        if (m_Observer)
            m_Observer(m_Owner, value);
        return *this;
    }
    operator i32() const { return m_Value; }

    // Null stops the reports.
    void SetObserver(Observer observer, void* owner) {
        m_Observer = observer;
        m_Owner = owner;
    }

private:
    i32 m_Value;
    Observer m_Observer = nullptr;
    void* m_Owner = nullptr;
};

// The main game ends once a family has this many points.
constexpr int kEndScore = 300;

// The one test of the end of the main game, shared by the round rules and the phase step.
constexpr bool HasReachedEndScore(int score) { return score >= kEndScore; }

}  // namespace QZ2011
