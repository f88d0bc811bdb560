#include "tests/support/MatchDoubles.h"

#include <string>

#include "game/QZ2011GameContext.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Phases.h"
#include "game/rules/RoundRules.h"
#include "questions/QuestionManager.h"

namespace match {

using namespace QZ2011;

// --- In-game screen --------------------------------------------------------------------------

GameScreenDouble::GameScreenDouble(QZ2011GameContext& context) : m_Context(context) {
    for (int i = 0; i < 23; ++i) {
        m_Callbacks[i].screen = this;
        m_Callbacks[i].index = i;
    }
}

GameScreenDouble::~GameScreenDouble() { Detach(); }

QZ11Game& GameScreenDouble::Match() const { return m_Context.GetMatchMode(); }

RoundRules& GameScreenDouble::Rules() const { return m_Context.GetRoundRules(); }

void GameScreenDouble::Attach() {
    Detach();
    for (int i = 0; i < 23; ++i)
        Match().Event(i).AddDelegate(&m_Callbacks[i]);
    m_Attached = true;
}

void GameScreenDouble::Detach() {
    if (!m_Attached)
        return;
    for (int i = 0; i < 23; ++i)
        Match().Event(i).RemoveDelegate(&m_Callbacks[i]);
    m_Attached = false;
}

void GameScreenDouble::Play(const char* name) {
    if (GameShow::SequenceManager* sequences = m_Context.GetSequenceManager())
        sequences->PlaySequence(name);
}

void GameScreenDouble::StartMatch() {
    m_Context.ResetGameState();
    if (m_Context.m_PlayerOneFamily)
        m_Context.m_PlayerOneFamily->m_Side = 0;
    for (Family* family : {m_Context.m_PlayerOneFamily, m_Context.m_ComputerFamily, m_Context.m_PlayerTwoFamily})
        if (family) {
            family->m_Score = 0;
            family->m_Strikes = 0;
        }
    for (Family* family : {m_Context.m_ComputerFamily, m_Context.m_PlayerTwoFamily})
        if (family)
            family->m_Side = 1;
    m_Context.m_RoundCounter = 0;
    m_Context.m_GamePhase = PhaseShowStart;
    Play("Intro");
    Match().SetScoreDisplay(false, -1);
    Match().SetScoreDisplay(true, -1);
    Match().HideAllContestants();
    Match().SetCrowdVisible(true);
    Match().ResetBoardBlocks();
    QZ11Game::ApplyStageDressing();
}

void GameScreenDouble::ChoosePlayOrPass(bool play) {
    m_Context.m_PlayChosen = play ? 1 : 0;
    Match().FirePlayOrPassChosen();
}

void GameScreenDouble::PlayFastMoney() {
    m_Context.m_GamePhase = PhaseFastMoneySecondPlayer;
    Play("fast_money_round2");
}

void GameScreenDouble::OnEvent(int index, GameServices::Entities::BaseTeamMember*) {
    switch (index) {
    case 0:
        OnBuzz();
        break;
    case 3:
        OnAnswerEntered();
        break;
    case 4:
        OnFaceOffQuestion();
        break;
    case 5:  // the answer turn
    case 7:  // resume
        m_Context.m_AnswerEntryOpen = 1;
        break;
    case 6: {
        // The face-off members of the round, one podium further each round.
        const i32 round = m_Context.m_RoundCounter > 0 ? m_Context.m_RoundCounter : 1;
        m_Context.m_LeftMemberIndex = m_Context.m_RightMemberIndex = (round - 1) % 4;
        break;
    }
    case 8:
        OnFaceOffWon();
        break;
    case 10:
        OnFastMoneySecondPlayer();
        break;
    case 11:
        OnFastMoneyReveal();
        break;
    case 13:
        OnRoundAnswerTurn();
        break;
    case 14:
        OnPlayOrPassChosen();
        break;
    case 16:
        OnSteal();
        break;
    case 17:
        OnAnswerResult();
        break;
    default:
        break;
    }
}

void GameScreenDouble::OnFaceOffQuestion() {
    QuestionManager* questions = m_Context.GetQuestionManager();
    Question* question = questions ? questions->NextQuestion() : nullptr;
    if (m_Context.m_AnswerRecord)
        m_Context.m_AnswerRecord->m_FirstFaceOffAnswer = -1;
    m_Context.m_GamePhase = PhaseFaceOffQuestion;
    const u32 answers = question ? question->AnswerCount() : 0;
    Match().SetupBoardBlocks(i32(answers));
    u32 k = answers < 1 ? 1 : answers > 8 ? 8 : answers;
    if (m_Context.m_RoundCounter == 5)
        k = 1;
    Play(("buzz" + std::to_string(k) + "_left").c_str());
}

void GameScreenDouble::OnBuzz() {
    const i32 phase = m_Context.m_GamePhase;
    if (phase != PhaseFaceOffBuzz && phase != PhaseSuddenDeathBuzz)
        return;
    m_Context.m_CurrentFamily = m_Context.m_TwoPlayers ? QZ2011GameContext::kPlayerTwoFamily
                                                       : QZ2011GameContext::kComputerFamily;
    m_Context.m_GamePhase = phase == PhaseSuddenDeathBuzz ? PhaseSuddenDeathFirstAnswer : PhaseFaceOffFirstAnswer;
    Play(m_Context.m_BuzzOwner == 0 ? "host_number_answer_left" : "host_number_answer_right");
}

void GameScreenDouble::OnAnswerEntered() {
    m_Context.m_AnswerEntryOpen = 0;
    // The answer is shown: scored by the rules, its block opened.
    AnswerResult* record = m_Context.m_AnswerRecord;
    if (record) {
        Rules().ScoreRevealedAnswer(*record);
        if (record->m_AnswerIndex >= 0)
            Match().RevealAnswerBlock(record->m_AnswerIndex);
    }
    const i32 phase = m_Context.m_GamePhase;
    if (phase == PhaseRoundAnswers || phase == PhaseSteal)
        Play("preanswer_round");
    else if (record && record->m_AnswerIndex >= 0)
        Play("right_answer_faceoff");
    else
        Play(m_Context.m_TimeUp ? "time_is_up" : "wrong_answer_faceoff");
    // Raised after the result sequence started, so that no replaced sequence's end takes it.
    m_Context.m_AnswerPending = 1;
}

void GameScreenDouble::OnAnswerResult() {
    m_Context.m_AnswerPending = 0;
    const i32 before = m_Context.m_GamePhase;
    if (m_Context.m_AnswerRecord)
        Rules().DispatchAnswerResult(*m_Context.m_AnswerRecord);
    const i32 after = m_Context.m_GamePhase;
    // The other family answers the face-off question (or the first one again in a replay).
    if (after == PhaseFaceOffSecondAnswer || after == PhaseSuddenDeathSecondAnswer ||
        (after == PhaseFaceOffFirstAnswer && before == PhaseFaceOffSecondAnswer))
        PlayAnswerTurn();
}

void GameScreenDouble::PlayAnswerTurn() {
    const bool left = m_Context.m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily;
    Play(left ? "otherTeamAnswerLeft" : m_Context.m_TwoPlayers ? "otherTeamAnswerRight_Party" : "otherTeamAnswerRight");
    m_Context.m_AnswerTurnPending = 1;
}

void GameScreenDouble::OnRoundAnswerTurn() { PlayAnswerTurn(); }

void GameScreenDouble::OnFaceOffWon() {
    Play(m_Context.m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily ? "playOrPassLeft" : "playOrPassRight");
}

void GameScreenDouble::OnPlayOrPassChosen() {
    const bool computerChose = !m_Context.m_TwoPlayers && m_Context.m_FaceOffWinner == 1;
    if (!m_Context.m_PlayChosen)
        m_Context.SwitchTurn();
    const bool left = m_Context.m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily;
    if (computerChose)
        Play(left ? "play_or_pass_AI_left" : "play_or_pass_AI_right");
    else
        Play(left ? "transitionLeftFamily" : "transitionRightFamily");
}

void GameScreenDouble::OnSteal() {
    const bool left = m_Context.m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily;
    Play(left ? "transitionLeftFamily03" : "transitionRightFamily03");
    m_Context.m_AnswerEntryOpen = 1;
}

void GameScreenDouble::OnFastMoneySecondPlayer() {
    m_Context.m_GamePhase = PhaseFastMoneyReveal;
    Play("fast_money_round_reveal1");
}

void GameScreenDouble::OnFastMoneyReveal() {
    m_Context.m_GamePhase = PhaseGameEnd;
    Play("end_game_normal_win_left");
}

}  // namespace match
