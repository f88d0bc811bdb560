#include "tests/support/MatchDoubles.h"

#include <string>

#include "game/QZ2011GameContext.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Phases.h"
#include "questions/QuestionManager.h"

namespace match {

using namespace QZ2011;

namespace {

// Rounds 3 and 4 show six answers; a lower-ranked one counts as not on the board.
constexpr i32 kShownInLongRounds = 6;

i32 TopAnswer(const Question& question) {
    i32 top = -1;
    for (u32 i = 0; i < question.AnswerCount(); ++i)
        if (top < 0 || question.GetAnswer(i).Value() > question.GetAnswer(u32(top)).Value())
            top = i32(i);
    return top;
}

}  // namespace

// --- Round rules -----------------------------------------------------------------------------

QZ11Game& RoundRulesDouble::Match() const { return m_Context.GetMatchMode(); }

Question* RoundRulesDouble::CurrentQuestion() const {
    QuestionManager* questions = m_Context.GetQuestionManager();
    return questions ? questions->CurrentQuestion() : nullptr;
}

void RoundRulesDouble::Play(const char* name) {
    if (GameShow::SequenceManager* sequences = m_Context.GetSequenceManager())
        sequences->PlaySequence(name);
}

Family* RoundRulesDouble::FamilyOf(i32 slot) const {
    switch (slot) {
    case QZ2011GameContext::kComputerFamily:
        return m_Context.m_ComputerFamily;
    case QZ2011GameContext::kPlayerOneFamily:
        return m_Context.m_PlayerOneFamily;
    case QZ2011GameContext::kPlayerTwoFamily:
        return m_Context.m_PlayerTwoFamily;
    default:
        return nullptr;
    }
}

i32 RoundRulesDouble::RightSlot() const {
    return m_Context.m_TwoPlayers ? QZ2011GameContext::kPlayerTwoFamily : QZ2011GameContext::kComputerFamily;
}

Family* RoundRulesDouble::LeftFamily() const { return m_Context.m_PlayerOneFamily; }
Family* RoundRulesDouble::RightFamily() const { return FamilyOf(RightSlot()); }

i32 RoundRulesDouble::Multiplier() const {
    const i32 round = m_Context.m_RoundCounter;
    return round >= 4 ? 3 : round == 3 ? 2 : 1;
}

void RoundRulesDouble::RevealFound(i32 index) {
    Question* question = CurrentQuestion();
    if (!question || index < 0 || u32(index) >= question->AnswerCount())
        return;
    question->GetAnswer(u32(index)).SetRevealed(true);
    Match().RevealAnswerBlock(index);
    m_Context.m_RoundBank += question->GetAnswer(u32(index)).Value();
}

void RoundRulesDouble::DispatchAnswerResult() {
    const i32 index = m_Context.m_AnswerRecord ? m_Context.m_AnswerRecord->m_AnswerIndex : m_Context.m_LastAnswerIndex;
    switch (m_Context.m_GamePhase) {
    case PhaseFaceOffFirstAnswer:
        FirstFaceOffAnswer(index);
        break;
    case PhaseFaceOffSecondAnswer:
        SecondFaceOffAnswer(index);
        break;
    case PhaseRoundAnswers:
        RoundAnswer(index);
        break;
    case PhaseSteal:
        StealAnswer(index);
        break;
    case PhaseSuddenDeathFirstAnswer:
        SuddenDeathAnswer(index, true);
        break;
    case PhaseSuddenDeathSecondAnswer:
        SuddenDeathAnswer(index, false);
        break;
    default:
        break;
    }
}

void RoundRulesDouble::FaceOffWonBy(i32 slot) {
    m_Context.m_FaceOffWinner = slot == QZ2011GameContext::kPlayerOneFamily ? 0 : 1;
    m_Context.m_GamePhase = PhaseFaceOffWon;
    Match().DecideFaceOffWinner();
}

void RoundRulesDouble::FirstFaceOffAnswer(i32 index) {
    AnswerResult* record = m_Context.m_AnswerRecord;
    Question* question = CurrentQuestion();
    RevealFound(index);
    const bool replay = record && record->m_FaceOffReplay;
    if (index >= 0 && question && (index == TopAnswer(*question) || replay)) {
        FaceOffWonBy(m_Context.m_CurrentFamily);
        return;
    }
    if (record)
        record->m_FirstFaceOffAnswer = index;
    m_Context.m_GamePhase = PhaseFaceOffSecondAnswer;
    m_Context.SwitchTurn();
}

void RoundRulesDouble::SecondFaceOffAnswer(i32 index) {
    AnswerResult* record = m_Context.m_AnswerRecord;
    Question* question = CurrentQuestion();
    RevealFound(index);
    const i32 first = record ? record->m_FirstFaceOffAnswer : -1;
    if (first < 0 && index < 0) {
        if (record && !record->m_FaceOffReplay) {
            record->m_FaceOffReplay = 1;
            m_Context.m_GamePhase = PhaseFaceOffFirstAnswer;
            m_Context.SwitchTurn();
        } else {
            if (record)
                record->m_FaceOffReplay = 0;
            m_Context.m_GamePhase = PhaseRoundIntro;
            Match().StartRound();
        }
        return;
    }
    const bool better = index >= 0 && question &&
                        (first < 0 || question->GetAnswer(u32(index)).Value() > question->GetAnswer(u32(first)).Value());
    const i32 current = m_Context.m_CurrentFamily;
    FaceOffWonBy(better ? current
                        : current == QZ2011GameContext::kPlayerOneFamily ? RightSlot()
                                                                         : QZ2011GameContext::kPlayerOneFamily);
}

void RoundRulesDouble::RoundAnswer(i32 index) {
    if (index < 0) {
        Family* family = m_Context.GetCurrentFamily();
        const i32 strikes = family ? ++family->m_Strikes : 1;
        std::string name = "strike" + std::to_string(strikes > 3 ? 3 : strikes);
        if (m_Context.m_TimeUp)
            name += "_TimeUp";
        if (strikes >= 3) {
            if (family)
                family->m_Strikes = 0;
            m_Context.m_AnswerAgain = 0;
            m_PlayingSlot = m_Context.m_CurrentFamily;
            m_Context.m_GamePhase = PhaseSteal;
            m_Context.SwitchTurn();
            m_Context.m_AIMayAct = 0;
        } else {
            m_Context.m_AnswerAgain = 1;
        }
        Play(name.c_str());
        return;
    }
    RevealFound(index);
    if (QZ11Game::IsBoardComplete()) {
        m_Context.m_AnswerAgain = 0;
        m_RoundWinner = m_Context.m_CurrentFamily;
        m_Context.m_GamePhase = PhaseRoundComplete;
    } else {
        m_Context.m_AnswerAgain = 1;
    }
    Play("right_answer_round");
}

void RoundRulesDouble::StealAnswer(i32 index) {
    const i32 stealer = m_Context.m_CurrentFamily;
    m_Context.m_GamePhase = PhaseStealResult;
    if (index >= 0) {
        RevealFound(index);
        m_RoundWinner = stealer;
        Play("steal_ok");
    } else {
        m_RoundWinner = m_PlayingSlot;
        Play(stealer == QZ2011GameContext::kPlayerOneFamily ? "steal_fail_left" : "steal_fail_right");
    }
}

void RoundRulesDouble::SuddenDeathAnswer(i32 index, bool first) {
    Question* question = CurrentQuestion();
    RevealFound(index);
    if (first && !(index >= 0 && question && index == TopAnswer(*question))) {
        if (m_Context.m_AnswerRecord)
            m_Context.m_AnswerRecord->m_FirstFaceOffAnswer = index;
        m_Context.m_GamePhase = PhaseSuddenDeathSecondAnswer;
        m_Context.SwitchTurn();
        return;
    }
    const i32 current = m_Context.m_CurrentFamily;
    const i32 other = current == QZ2011GameContext::kPlayerOneFamily ? RightSlot() : QZ2011GameContext::kPlayerOneFamily;
    const i32 earlier = m_Context.m_AnswerRecord ? m_Context.m_AnswerRecord->m_FirstFaceOffAnswer : -1;
    const bool won = first || (index >= 0 && question &&
                               (earlier < 0 ||
                                question->GetAnswer(u32(index)).Value() > question->GetAnswer(u32(earlier)).Value()));
    m_RoundWinner = won ? current : other;
    RoundWon();
}

void RoundRulesDouble::RoundWon() {
    const i32 winner = m_RoundWinner >= 0 ? m_RoundWinner : m_Context.m_CurrentFamily;
    Family* family = FamilyOf(winner);
    if (family) {
        family->m_Score += i32(m_Context.m_RoundBank) * Multiplier();
        Match().SetScoreDisplay(family->m_Side != 0, family->m_Score);
    }
    m_Context.m_RoundBank = 0;
    m_Context.m_GamePhase = PhaseRoundWon;
    if (family && HasReachedEndScore(family->m_Score))
        Play("blank");
    else
        Play(winner == QZ2011GameContext::kPlayerOneFamily ? "round_won_left" : "round_won_right");
}

void RoundRulesDouble::RevealNextHiddenAnswer() {
    Question* question = CurrentQuestion();
    const bool longRound = m_Context.m_RoundCounter == 3 || m_Context.m_RoundCounter == 4;
    const u32 shown = question ? question->AnswerCount() : 0;
    for (u32 i = 0; i < shown && (!longRound || i32(i) < kShownInLongRounds); ++i) {
        RightAnswer& answer = question->GetAnswer(i);
        if (answer.IsRevealed())
            continue;
        answer.SetRevealed(true);
        Match().RevealAnswerBlock(i32(i));
        m_Context.m_GamePhase = PhaseRevealRemaining;
        Play(("reveal_answer" + std::to_string(i + 1)).c_str());
        return;
    }
    m_Context.m_GamePhase = PhaseRoundComplete;
    Play("blank");
}

void RoundRulesDouble::NextRoundOrEnd() {
    m_Context.m_RoundCounter = m_Context.m_RoundCounter + 1;
    m_RoundWinner = -1;
    m_PlayingSlot = -1;
    Match().FireScoreChanged();
    Family* left = LeftFamily();
    Family* right = RightFamily();
    const i32 leftScore = left ? left->m_Score : 0;
    const i32 rightScore = right ? right->m_Score : 0;
    const bool ended = HasReachedEndScore(leftScore) || HasReachedEndScore(rightScore);
    if (!ended && m_Context.m_RoundCounter <= 5) {
        m_Context.m_GamePhase = PhaseRoundIntro;
        Match().StartRound();
        return;
    }
    const bool leftWon = leftScore >= rightScore;
    if (m_Context.m_TwoPlayers || leftWon) {
        m_Context.m_GamePhase = PhaseFastMoneyIntro;
        Play(leftWon ? "fast_money_round_left" : "fast_money_round_right");
    } else {
        m_Context.m_GamePhase = PhaseGameEnd;
        Play("end_game_loose");
    }
}

// --- In-game screen --------------------------------------------------------------------------

GameScreenDouble::GameScreenDouble(QZ2011GameContext& context, RoundRulesDouble& rules)
    : m_Context(context), m_Rules(rules) {
    for (int i = 0; i < 23; ++i) {
        m_Callbacks[i].screen = this;
        m_Callbacks[i].index = i;
    }
}

GameScreenDouble::~GameScreenDouble() { Detach(); }

QZ11Game& GameScreenDouble::Match() const { return m_Context.GetMatchMode(); }

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
    m_Rules.m_RoundWinner = -1;
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
    m_Context.m_StruckOutAnswers = 0;
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
    const i32 phase = m_Context.m_GamePhase;
    if (phase == PhaseRoundAnswers || phase == PhaseSteal)
        Play("preanswer_round");
    else if (m_Context.m_LastAnswerIndex >= 0)
        Play("right_answer_faceoff");
    else
        Play(m_Context.m_TimeUp ? "time_is_up" : "wrong_answer_faceoff");
    // Raised after the result sequence started, so that no replaced sequence's end takes it.
    m_Context.m_AnswerPending = 1;
}

void GameScreenDouble::OnAnswerResult() {
    m_Context.m_AnswerPending = 0;
    const i32 before = m_Context.m_GamePhase;
    m_Rules.DispatchAnswerResult();
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
