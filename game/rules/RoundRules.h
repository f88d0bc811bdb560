#pragma once
// The round rules: what an answer is worth, who has the turn and which phase and sequence come
// next, from the face-off to the end of the main game at 300 points and the entry to fast
// money. They work on the game context that owns them and on its answer record; they hold no
// state of their own. The in-game screen calls the three answer operations (check, score,
// dispatch); the match mode's phase step calls the round-won, reveal and next-round steps.
#include "engine/core/AGTypes.h"
#include "engine/core/TString.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/IRoundRules.h"

class QZ2011GameContext;

namespace QZ2011 {

class Family;
class Question;
class QZ11Game;
class QZBehaviorCharacter;

class RoundRules : public IRoundRules {
public:
    // Answers that count in rounds 3 and 4; a lower-ranked one is struck out.
    static constexpr i32 kLongRoundAnswers = 6;
    // The reveal sequences run from "reveal_answer1" to "reveal_answer8".
    static constexpr u32 kMaxRevealedAnswers = 8;

    explicit RoundRules(QZ2011GameContext& context) : m_Context(context) {}
    RoundRules(const RoundRules&) = delete;
    RoundRules& operator=(const RoundRules&) = delete;

    // The entered answer's index in the current question (-1 wrong) into the record and
    // m_LastAnswerIndex: the computer family's pick on its turn (wrong once its time ran out),
    // else the typed text matched; nothing matches in the second fast-money turn. In rounds 3
    // and 4 of the main game an answer ranked below the sixth is struck out.
    void CheckTypedAnswer(AnswerResult& record);
    // Shows the recorded answer: an answer already on the board, or anything but the top
    // answer in sudden death, becomes wrong; a right one is revealed and, outside the steal,
    // its points times the round's multiplier go to the bank.
    void ScoreRevealedAnswer(AnswerResult& record);
    // The rule of the current phase (8, 9, 12, 13, 20, 21); other phases nothing.
    void DispatchAnswerResult(AnswerResult& record);

    void FaceOffFirstAnswer(AnswerResult& record);
    void FaceOffSecondAnswer(AnswerResult& record);
    void RoundAnswer(AnswerResult& record);
    void StartSteal();
    void StealAnswer(AnswerResult& record);
    void SuddenDeathFirstAnswer(AnswerResult& record);
    void SuddenDeathSecondAnswer(AnswerResult& record);
    void RoundWon(AnswerResult& record);
    // The bank to the family that has the turn; strikes and face-off winner cleared.
    void BankRoundPoints(AnswerResult& record);
    void RevealNextHiddenAnswer(AnswerResult& record);
    void NextRoundOrEnd(AnswerResult& record);
    // "reveal_answer" followed by the number.
    static TString<char> MakeRevealSequenceName(const TString<char>& number);

    // 1 in rounds 1 and 2, 2 in round 3, 3 in rounds 4 and 5.
    i32 Multiplier() const;

    // The phase step's calls, on the context's answer record.
    void RoundWon() override;
    void RevealNextHiddenAnswer() override;
    void NextRoundOrEnd() override;

private:
    QZ11Game& Game() const;
    Question* CurrentQuestion() const;
    void Play(const char* sequence) const;
    // One gesture request on the four contestants of a side.
    void Gesture(bool left, u8 QZBehaviorCharacter::*request) const;
    bool OnePlayer() const;
    // The family on the right podium: the computer family, or player two's.
    Family* RightFamily() const;
    // Runs an operation of the phase step on the context's record, reported when there is none.
    template <typename Step>
    void WithRecord(Step step);

    QZ2011GameContext& m_Context;
};

}  // namespace QZ2011
