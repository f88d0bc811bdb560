#include "game/rules/RoundRules.h"

#include <string>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZCharacter.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "game/rules/ShowSequences.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "questions/Question.h"
#include "questions/QuestionManager.h"

namespace QZ2011 {

namespace {

// The log line of each step of the round counter, by the round it reaches.
constexpr const char* kRoundLines[5] = {"--+++ START SINGLE ROUND 1 +++--", "--+++ START SINGLE ROUND 2 +++--",
                                        "--+++ START DOUBLE ROUND +++--", "--+++ START TRIPLE ROUND +++--",
                                        "--+++ START SUDDEN DEATH +++--"};
constexpr i32 kSuddenDeathRound = 5;

bool IsLongRound(i32 round) { return round == 3 || round == 4; }

}  // namespace

QZ11Game& RoundRules::Game() const { return m_Context.GetMatchMode(); }

Question* RoundRules::CurrentQuestion() const {
    QuestionManager* questions = m_Context.GetQuestionManager();
    return questions ? questions->CurrentQuestion() : nullptr;
}

void RoundRules::Play(const char* sequence) const {
    if (GameShow::SequenceManager* sequences = m_Context.GetSequenceManager())
        sequences->PlaySequence(sequence);
}

void RoundRules::Gesture(bool left, u8 QZBehaviorCharacter::*request) const {
    for (int member = 0; member < 4; ++member)
        if (QZCharacter* contestant = Game().GetContestant((left ? 0 : 4) + member))
            contestant->m_Behavior.*request = 1;
}

bool RoundRules::OnePlayer() const { return m_Context.m_TwoPlayers == 0; }

Family* RoundRules::RightFamily() const {
    return OnePlayer() ? m_Context.m_ComputerFamily : m_Context.m_PlayerTwoFamily;
}

i32 RoundRules::Multiplier() const {
    const i32 round = m_Context.m_RoundCounter;
    if (round == 3)
        return 2;
    return round == 4 || round == kSuddenDeathRound ? 3 : 1;
}

TString<char> RoundRules::MakeRevealSequenceName(const TString<char>& number) {
    return TString<char>(ShowSequenceStem(kSeqRevealAnswer)) + number;
}

void RoundRules::CheckTypedAnswer(AnswerResult& record) {
    i32 index = -1;
    Question* question = CurrentQuestion();
    if (m_Context.m_GamePhase != PhaseFastMoneySecondPlayer && question) {
        if (m_Context.m_CurrentFamily == QZ2011GameContext::kComputerFamily) {
            // The pick of an earlier turn must not stand for an answer that was never given.
            const i32 chosen = m_Context.m_ChosenAnswerIndex;
            const bool valid = chosen >= 0 && u32(chosen) < question->AnswerCount();
            index = m_Context.m_TimeUp || !valid ? -1 : chosen;
        } else {
            // The player's answer is what the on-screen keyboard holds; without one (no screen
            // loaded), the context's typed text.
            const TString<char> typed = m_Context.m_AnswerKeyboard ? m_Context.m_AnswerKeyboard->GetEnteredText()
                                                                   : m_Context.m_TypedAnswer;
            index = question->CheckAnswer(std::string(typed.c_str()));
        }
        // Fast money keeps the last main round's counter: the strike-out is the main game's.
        if (index >= kLongRoundAnswers && IsLongRound(m_Context.m_RoundCounter) &&
            m_Context.m_GamePhase < PhaseFastMoneyIntro) {
            ++record.m_StruckOut;
            m_Context.m_StruckOutAnswers = u32(record.m_StruckOut);
            index = -1;
        }
    }
    record.m_AnswerIndex = index;
    m_Context.m_LastAnswerIndex = index;
}

void RoundRules::ScoreRevealedAnswer(AnswerResult& record) {
    Question* question = CurrentQuestion();
    i32 index = record.m_AnswerIndex;
    if (!question || index < 0 || u32(index) >= question->AnswerCount() ||
        question->GetAnswer(u32(index)).IsRevealed())
        index = -1;
    if (index != 0 && m_Context.m_RoundCounter == kSuddenDeathRound)
        index = -1;
    record.m_AnswerIndex = index;
    if (index < 0)
        return;
    RightAnswer& answer = question->GetAnswer(u32(index));
    answer.SetRevealed(true);
    if (m_Context.m_GamePhase != PhaseSteal)
        m_Context.m_RoundBank += answer.Value() * u32(Multiplier());
}

void RoundRules::DispatchAnswerResult(AnswerResult& record) {
    switch (m_Context.m_GamePhase) {
    case PhaseFaceOffFirstAnswer:
        FaceOffFirstAnswer(record);
        break;
    case PhaseFaceOffSecondAnswer:
        FaceOffSecondAnswer(record);
        break;
    case PhaseRoundAnswers:
        RoundAnswer(record);
        break;
    case PhaseSteal:
        StealAnswer(record);
        break;
    case PhaseSuddenDeathFirstAnswer:
        SuddenDeathFirstAnswer(record);
        break;
    case PhaseSuddenDeathSecondAnswer:
        SuddenDeathSecondAnswer(record);
        break;
    default:
        break;
    }
}

void RoundRules::FaceOffFirstAnswer(AnswerResult& record) {
    record.m_StruckOut = 0;
    const i32 index = record.m_AnswerIndex;
    if (index == 0 || (record.m_FaceOffReplay && index != -1)) {
        m_Context.m_FaceOffWinner = m_Context.m_BuzzOwner;
        m_Context.m_GamePhase = PhaseFaceOffWon;
        Game().DecideFaceOffWinner();
    } else {
        record.m_FirstFaceOffAnswer = index;
        m_Context.m_GamePhase = PhaseFaceOffSecondAnswer;
        m_Context.m_FaceOffWinner = -1;
        m_Context.SwitchTurn();
    }
    // Player one's own face-off answers only.
    AwardManager* awards = m_Context.GetAwardManager();
    if (!OnePlayer() || m_Context.m_BuzzOwner != 0 || !awards)
        return;
    if (index == 0 && m_Context.m_Decade == 0)
        awards->CheckFaceoffTop();
    if (index != -1 && m_Context.m_Decade == 1)
        awards->CheckGoodAnswerFaceOff();
}

void RoundRules::FaceOffSecondAnswer(AnswerResult& record) {
    const i32 index = record.m_AnswerIndex;
    const i32 first = record.m_FirstFaceOffAnswer;
    if (record.m_FaceOffReplay && index == -1) {
        // Both families missed the replay too: the round opens again with a new question.
        m_Context.m_GamePhase = PhaseRoundIntro;
        Game().StartRound();
        record.m_FaceOffReplay = 0;
        m_Context.m_FaceOffWinner = -1;
    } else if (index == -1 && first == -1) {
        // Both missed: the buzzing family answers again, and any right answer wins then.
        record.m_FaceOffReplay = 1;
        m_Context.m_GamePhase = PhaseFaceOffFirstAnswer;
        m_Context.m_FaceOffWinner = -1;
        m_Context.SwitchTurn();
    } else {
        // The better-ranked answer wins; equal ranks go to the second family.
        const bool secondWins = first == -1 || (index != -1 && index <= first);
        m_Context.m_FaceOffWinner = secondWins ? m_Context.GetOtherBuzzSide() : m_Context.m_BuzzOwner;
        m_Context.m_GamePhase = PhaseFaceOffWon;
        Game().DecideFaceOffWinner();
    }
    AwardManager* awards = m_Context.GetAwardManager();
    if (!OnePlayer() || m_Context.m_BuzzOwner != 1 || !awards)
        return;
    if (index == 0 && m_Context.m_Decade == 0)
        awards->CheckFaceoffTop();
    if (index != -1 && m_Context.m_Decade == 1)
        awards->CheckGoodAnswerFaceOff();
}

void RoundRules::RoundAnswer(AnswerResult& record) {
    m_Context.m_AnswerAgain = 1;
    if (record.m_AnswerIndex == -1) {
        Family* family = m_Context.GetCurrentFamily();
        const i32 strikes = family ? ++family->m_Strikes : 0;
        if (strikes >= 1 && strikes <= 3) {
            std::string name = SequenceName(kSeqStrike, u32(strikes));
            if (m_Context.m_TimeUp) {
                name = SequenceName(kSeqStrikeTimeUp, u32(strikes));
                m_Context.m_TimeUp = 0;
            }
            Play(name.c_str());
        }
        if (strikes == 3) {
            // The steal clears the playing family's strikes.
            m_Context.m_AnswerAgain = 0;
            StartSteal();
        }
    } else {
        m_Context.m_TimeUp = 0;
        Play(ShowSequenceStem(kSeqRightAnswerRound));
    }
    Question* question = CurrentQuestion();
    if (!question)
        return;
    const i32 answers = i32(question->AnswerCount());
    const i32 valid = answers - i32(question->RemainingRightAnswers()) - record.m_StruckOut;
    if (valid != answers && !(valid >= kLongRoundAnswers && IsLongRound(m_Context.m_RoundCounter)))
        return;
    m_Context.m_AnswerAgain = 0;
    m_Context.m_GamePhase = PhaseRoundComplete;
    AwardManager* awards = m_Context.GetAwardManager();
    // Only player one's family completing the board counts: after a pass the computer plays it.
    if (OnePlayer() && m_Context.m_FaceOffWinner == 0 && m_Context.m_Decade == 0 &&
        m_Context.m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily && m_Context.m_PlayerOneFamily &&
        m_Context.m_PlayerOneFamily->m_Strikes == 0 && awards)
        awards->CheckCompleteBoard();
}

void RoundRules::StartSteal() {
    if (Family* family = m_Context.GetCurrentFamily())
        family->m_Strikes = 0;
    m_Context.m_GamePhase = PhaseSteal;
    m_Context.SwitchTurn();
    m_Context.m_AIMayAct = 0;
}

void RoundRules::StealAnswer(AnswerResult& record) {
    if (record.m_AnswerIndex != -1) {
        BankRoundPoints(record);
        Play(ShowSequenceStem(kSeqStealOk));
        Family* stealer = m_Context.GetCurrentFamily();
        AwardManager* awards = m_Context.GetAwardManager();
        if (stealer && stealer->m_Side == 0 && OnePlayer() && m_Context.m_Decade == 0 && awards)
            awards->CheckSteal();
    } else {
        // The bank goes to the family that played the round.
        m_Context.SwitchTurn();
        Family* family = m_Context.GetCurrentFamily();
        if (family) {
            family->m_Score += i32(m_Context.m_RoundBank);
            family->m_Strikes = 0;
        }
        Game().FireScoreChanged();
        m_Context.m_RoundBank = 0;
        // The sequence and the gestures are those of the family that missed the steal.
        const bool stealerLeft = family && family->m_Side == 1;
        Play(ShowSequenceStem(stealerLeft ? kSeqStealFailLeft : kSeqStealFailRight));
        Game().HideAllContestants();
        if (stealerLeft) {
            Game().PlaceLeftFamily();
            Gesture(true, &QZBehaviorCharacter::LoseSmallFamilyRequest);
        } else {
            Game().PlaceRightFamily();
            Gesture(false, &QZBehaviorCharacter::LoseSmallRequest);
        }
    }
    m_Context.m_FaceOffWinner = -1;
    m_Context.m_GamePhase = PhaseStealResult;
}

void RoundRules::SuddenDeathFirstAnswer(AnswerResult& record) {
    if (record.m_AnswerIndex == 0) {
        m_Context.m_GamePhase = PhaseRoundIntro;
        BankRoundPoints(record);
        NextRoundOrEnd(record);
        return;
    }
    m_Context.m_GamePhase = PhaseSuddenDeathSecondAnswer;
    m_Context.m_FaceOffWinner = -1;
    m_Context.SwitchTurn();
}

void RoundRules::SuddenDeathSecondAnswer(AnswerResult& record) {
    if (record.m_AnswerIndex == 0)
        BankRoundPoints(record);
    m_Context.m_GamePhase = PhaseRoundIntro;
    m_Context.m_FaceOffWinner = -1;
    NextRoundOrEnd(record);
}

void RoundRules::RoundWon(AnswerResult& record) {
    m_Context.m_GamePhase = PhaseRoundWon;
    if (Family* family = m_Context.GetCurrentFamily()) {
        if (HasReachedEndScore(family->m_Score + i32(m_Context.m_RoundBank))) {
            // The match is about to end: no round-won show.
            Play(ShowSequenceStem(kSeqBlank));
        } else if (family->m_Side == 1) {
            Play(ShowSequenceStem(kSeqRoundWonRight));
            Game().HideAllContestants();
            Game().PlaceRightFamily();
            Gesture(false, &QZBehaviorCharacter::WinMedRequest);
        } else {
            Play(ShowSequenceStem(kSeqRoundWonLeft));
            Game().HideAllContestants();
            Game().PlaceLeftFamily();
            Gesture(true, &QZBehaviorCharacter::WinMedFamilyRequest);
        }
    }
    BankRoundPoints(record);
}

void RoundRules::BankRoundPoints(AnswerResult&) {
    Family* family = m_Context.GetCurrentFamily();
    if (!family)
        return;
    family->m_Score += i32(m_Context.m_RoundBank);
    Game().FireScoreChanged();
    m_Context.m_RoundBank = 0;
    family->m_Strikes = 0;
    m_Context.m_FaceOffWinner = -1;
    AwardManager* awards = m_Context.GetAwardManager();
    Family* playerOne = m_Context.m_PlayerOneFamily;
    Family* computer = m_Context.m_ComputerFamily;
    if (!OnePlayer() || !awards || !playerOne || !computer || playerOne->m_Score <= computer->m_Score)
        return;
    if (m_Context.m_RoundCounter == 3 && m_Context.m_Decade == 0)
        awards->CheckBeatDouble();
    if (m_Context.m_RoundCounter == 1 && m_Context.m_Decade == 3)
        awards->CheckWin1stRound();
}

void RoundRules::RevealNextHiddenAnswer(AnswerResult& record) {
    m_Context.m_GamePhase = PhaseRevealRemaining;
    Question* question = CurrentQuestion();
    u32 count = question ? question->AnswerCount() : 0;
    // No sequence reveals a ninth answer: a longer question shows its first eight.
    if (count > kMaxRevealedAnswers)
        count = kMaxRevealedAnswers;
    if ((m_Context.m_Decade == 2 || m_Context.m_Decade == 3) && IsLongRound(m_Context.m_RoundCounter) &&
        count > u32(kLongRoundAnswers))
        count = u32(kLongRoundAnswers);
    for (u32 i = 0; i < count; ++i) {
        RightAnswer& answer = question->GetAnswer(i);
        if (answer.IsRevealed())
            continue;
        Play(MakeRevealSequenceName(std::to_string(i + 1).c_str()).c_str());
        answer.SetRevealed(true);
        return;
    }
    m_Context.m_AnswerAgain = 0;
    m_Context.m_GamePhase = PhaseRoundComplete;
    Play(ShowSequenceStem(kSeqBlank));
    BankRoundPoints(record);
}

void RoundRules::NextRoundOrEnd(AnswerResult& record) {
    i32& round = m_Context.m_RoundCounter;
    if (round >= 0 && round < kSuddenDeathRound) {
        ++round;
        AGReport("%s", kRoundLines[round - 1]);
    }
    Game().FireScoreChanged();
    Family* left = m_Context.m_PlayerOneFamily;
    Family* right = RightFamily();
    const bool leftReached = left && HasReachedEndScore(left->m_Score);
    const bool rightReached = right && HasReachedEndScore(right->m_Score);
    if (!leftReached && !rightReached) {
        if (round == kSuddenDeathRound) {
            m_Context.m_WentToSuddenDeath = 1;
            m_Context.m_GamePhase = PhaseRoundIntro;
            m_Context.m_BuzzOwner = -1;
        } else {
            record.m_FaceOffReplay = 0;
            m_Context.m_GamePhase = PhaseRoundIntro;
        }
        Game().StartRound();
        return;
    }
    AwardManager* awards = m_Context.GetAwardManager();
    if (OnePlayer() && !leftReached) {
        // The computer family won.
        m_Context.m_GamePhase = PhaseGameEnd;
        Play(ShowSequenceStem(kSeqLoose));
        Game().HideAllContestants();
        Game().PlaceRightFamily();
        Gesture(false, &QZBehaviorCharacter::WinMedRequest);
    } else {
        Game().SetStageScreens(true);
        m_Context.m_GamePhase = PhaseFastMoneyIntro;
        Play(ShowSequenceStem(leftReached ? kSeqFastMoneyRoundLeft : kSeqFastMoneyRoundRight));
        if (OnePlayer() && awards)
            awards->CheckWin25Matches();
        Game().HideAllContestants();
        const bool playerOneTurn = m_Context.m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily;
        if (playerOneTurn) {
            Game().PlaceLeftFamily();
            Gesture(true, &QZBehaviorCharacter::WinMedFamilyRequest);
        } else {
            Game().PlaceRightFamily();
            Gesture(false, &QZBehaviorCharacter::WinMedRequest);
        }
        if (OnePlayer() && m_Context.m_Decade == 2 && awards) {
            awards->CheckWinAMatch();
            awards->CheckWinEasyMedHardInARow();
        }
    }
    if (OnePlayer() && m_Context.m_Decade == 1 && leftReached && m_Context.m_WentToSuddenDeath && awards)
        awards->CheckWinWithSuddenDeath();
    // The questions asked and the match-end awards reach the save together.
    if (QuestionManager* questions = m_Context.GetQuestionManager())
        questions->SaveProgress();
}

template <typename Step>
void RoundRules::WithRecord(Step step) {
    if (!m_Context.m_AnswerRecord) {
        AGReport("RoundRules : no answer record");
        return;
    }
    step(*m_Context.m_AnswerRecord);
}

void RoundRules::RoundWon() {
    WithRecord([this](AnswerResult& record) { RoundWon(record); });
}

void RoundRules::RevealNextHiddenAnswer() {
    WithRecord([this](AnswerResult& record) { RevealNextHiddenAnswer(record); });
}

void RoundRules::NextRoundOrEnd() {
    WithRecord([this](AnswerResult& record) { NextRoundOrEnd(record); });
}

}  // namespace QZ2011
