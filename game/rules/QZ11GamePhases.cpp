#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/Family.h"
#include "game/rules/IRoundRules.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "game/rules/ShowSequences.h"

namespace QZ2011 {

namespace {

// The family that plays for a side of the buzzers: side 0 is player 1's, side 1 the
// computer family's or player 2's; any other side none.
i32 FamilyOfSide(const QZ2011GameContext& context, i32 side) {
    if (side == 0)
        return QZ2011GameContext::kPlayerOneFamily;
    if (side == 1)
        return context.m_TwoPlayers != 0 ? QZ2011GameContext::kPlayerTwoFamily : QZ2011GameContext::kComputerFamily;
    return QZ2011GameContext::kNoFamily;
}

// The side that buzzed: the other side when the owner is 1, player 1's for any other owner.
i32 BuzzerSide(const QZ2011GameContext& context) { return context.m_BuzzOwner == 1 ? 1 : 0; }

}  // namespace

void QZ11Game::OnSequenceEnd() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    // The flags come first, in this order, each in place of the phase's step.
    if (context->m_AnswerTurnPending) {
        context->m_AnswerTurnPending = 0;
        if (context->m_GamePhase != PhaseSteal)
            FireResume();
        return;
    }
    if (context->m_AnswerPending) {
        // Its owner clears it once the result is applied.
        FireAnswerResult();
        return;
    }
    if (context->m_AnswerAgain) {
        context->m_AnswerAgain = 0;
        context->m_AnswerTurnPending = 1;
        FireWithPlayerOne(RoundAnswerTurnEvent);
        return;
    }
    // The round rules carry the ends of the reveal and round-won phases.
    auto rules = [this]() -> IRoundRules* {
        if (!m_RoundRules && !m_NoRulesReported) {
            m_NoRulesReported = true;
            AGReport("QZ11Game : no round rules to end the phase");
        }
        return m_RoundRules;
    };
    const bool single = context->m_TwoPlayers == 0;
    switch (context->m_GamePhase) {
    case PhaseShowStart:
        context->m_GamePhase = PhaseLeftFamilyPose;
        PlayLeftFamilyPose();
        break;
    case PhaseLeftFamilyPose:
        context->m_GamePhase = PhaseLeftFamilyIntro;
        PlayLeftFamilyIntro();
        break;
    case PhaseLeftFamilyIntro:
        context->m_GamePhase = PhaseRightFamilyPose;
        PlayRightFamilyPose();
        break;
    case PhaseRightFamilyPose:
        context->m_GamePhase = PhaseRightFamilyIntro;
        PlayRightFamilyIntro();
        break;
    case PhaseRightFamilyIntro:
        if (context->m_AnswerRecord)
            context->m_AnswerRecord->m_FaceOffReplay = 0;
        context->m_GamePhase = PhaseRoundIntro;
        StartRound();
        break;
    case PhaseRoundIntro:
        FireFaceOffQuestion();
        break;
    case PhaseFaceOffQuestion:
        context->m_GamePhase = context->m_RoundCounter == 5 ? PhaseSuddenDeathBuzz : PhaseFaceOffBuzz;
        context->m_BuzzOwner = -1;
        FireBuzzOpen();
        break;
    case PhaseFaceOffBuzz:
        if (!single)
            context->m_CurrentFamily = QZ2011GameContext::kPlayerTwoFamily;
        else if (context->m_FaceOffWinner == 1)
            context->m_CurrentFamily = QZ2011GameContext::kComputerFamily;
        else if (context->m_FaceOffWinner == 0)
            context->m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
        else
            context->m_CurrentFamily = QZ2011GameContext::kPlayerTwoFamily;
        context->m_GamePhase = PhaseFaceOffWon;
        break;
    case PhaseFaceOffFirstAnswer:
    case PhaseSuddenDeathFirstAnswer:
        context->m_CurrentFamily = FamilyOfSide(*context, BuzzerSide(*context));
        StartAnswerTurn();
        break;
    case PhaseSuddenDeathSecondAnswer:
        context->m_CurrentFamily = FamilyOfSide(*context, context->GetOtherBuzzSide());
        StartAnswerTurn();
        break;
    case PhaseFaceOffWon:
        context->m_GamePhase = PhasePlayOrPass;
        break;
    case PhasePlayOrPass:
        context->m_GamePhase = PhaseRoundAnswers;
        StartRoundAnswerTurn();
        break;
    case PhaseSteal:
        // Announced once a round.
        if (!context->m_StealStarted) {
            context->m_StealStarted = 1;
            context->m_AIMayAct = 1;
            FireSteal();
        }
        break;
    case PhaseStealResult:
        if (IsBoardComplete()) {
            if (IRoundRules* roundRules = rules())
                roundRules->RoundWon();
        } else {
            context->m_GamePhase = PhaseRevealOthers;
            if (GameShow::SequenceManager* sequences = context->GetSequenceManager())
                sequences->PlaySequence(ShowSequenceStem(kSeqRevealOthers));
        }
        break;
    case PhaseRevealOthers:
        if (IRoundRules* roundRules = rules())
            roundRules->RevealNextHiddenAnswer();
        FireOthersRevealed();
        break;
    case PhaseRevealRemaining:
        if (IRoundRules* roundRules = rules())
            roundRules->RevealNextHiddenAnswer();
        break;
    case PhaseSuddenDeathBuzz:
        context->m_BuzzOwner = -1;
        if (single && context->m_FaceOffWinner == 1)
            context->m_CurrentFamily = QZ2011GameContext::kComputerFamily;
        else if (single && context->m_FaceOffWinner == 0)
            context->m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
        break;
    case PhaseRoundComplete:
        if (IRoundRules* roundRules = rules())
            roundRules->RoundWon();
        break;
    case PhaseRoundWon:
        if (IRoundRules* roundRules = rules())
            roundRules->NextRoundOrEnd();
        break;
    case PhaseFastMoneyIntro:
        StartFastMoney();
        break;
    case PhaseFastMoneySecondPlayer:
        FireFastMoneySecondPlayer();
        break;
    case PhaseFastMoneyReveal:
    case PhaseFastMoneyWon:
        FireFastMoneyReveal();
        break;
    case PhaseGameEnd: {
        // A match the computer family won ends on its own sequence.
        if (single && context->m_ComputerFamily && HasReachedEndScore(context->m_ComputerFamily->m_Score))
            break;
        const bool left = context->m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily;
        if (GameShow::SequenceManager* sequences = context->GetSequenceManager())
            sequences->PlaySequence(ShowSequenceStem(left ? kSeqSeeYouLeft : kSeqSeeYouRight));
        context->m_GamePhase = PhaseGameOver;
        break;
    }
    default:
        // 9, 12, 22, 24, 27, 30 and any value outside the match.
        break;
    }
}

}  // namespace QZ2011
