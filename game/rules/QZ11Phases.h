#pragma once
// The phases of a match, held in the context's m_GamePhase, and the end score of the main game.

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

// The main game ends once a family has this many points.
constexpr int kEndScore = 300;

// The one test of the end of the main game, shared by the round rules and the phase step.
constexpr bool HasReachedEndScore(int score) { return score >= kEndScore; }

}  // namespace QZ2011
