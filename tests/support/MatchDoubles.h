#pragma once
// Stand-ins for the round rules and the in-game screen, as far as scripted matches need them:
// the match set-up, the face-off question, buzz, answers and their results, play or pass,
// strikes, the steal, the reveals, the round won, the next round, the end of the main game and
// fast money as one step. They keep the contracts the match mode relies on (which phase each
// writes, which sequence each plays, which flag each sets or clears), so that the real rules
// and screen can take their places under the same scripts.
#include <string>

#include "engine/core/FDelegate.h"
#include "game/rules/IRoundRules.h"
#include "game/rules/QZ11Game.h"

class QZ2011GameContext;

namespace GameShow {
class SequenceManager;
}

namespace QZ2011 {
class Family;
class Question;
}  // namespace QZ2011

namespace match {

// What scripts ask of the in-game screen: the double below, or an adapter of the real screen.
class IMatchScreen {
public:
    virtual ~IMatchScreen() = default;
    // The match set-up: a new match (round 0, phase 0, "Intro") on a dressed stage.
    virtual void StartMatch() = 0;
    // The chosen play (true) or pass, announced through the match mode.
    virtual void ChoosePlayOrPass(bool play) = 0;
    // Fast money as one step: the second player's turn, the reveal and the end.
    virtual void PlayFastMoney() = 0;
};

class RoundRulesDouble : public QZ2011::IRoundRules {
public:
    explicit RoundRulesDouble(QZ2011GameContext& context) : m_Context(context) {}

    // The judged answer (the answer record) applied in the current phase.
    void DispatchAnswerResult();
    void RoundWon() override;
    void RevealNextHiddenAnswer() override;
    void NextRoundOrEnd() override;

    // The family on the left podium (player 1's), and the one facing it.
    QZ2011::Family* LeftFamily() const;
    QZ2011::Family* RightFamily() const;
    // The record of a family slot of the context (0 computer, 1 player 1, 2 player 2).
    QZ2011::Family* FamilyOf(i32 slot) const;
    i32 RightSlot() const;
    // 1 single, 2 double, 3 triple.
    i32 Multiplier() const;
    // The round's winning slot, -1 until decided.
    i32 m_RoundWinner = -1;

private:
    void Play(const char* name);
    // Shows a found answer: the block opens and its points go to the bank.
    void RevealFound(i32 index);
    void FirstFaceOffAnswer(i32 index);
    void SecondFaceOffAnswer(i32 index);
    void RoundAnswer(i32 index);
    void StealAnswer(i32 index);
    void SuddenDeathAnswer(i32 index, bool first);
    void FaceOffWonBy(i32 slot);
    QZ2011::QZ11Game& Match() const;
    QZ2011::Question* CurrentQuestion() const;

    QZ2011GameContext& m_Context;
    // The slot that played the round's answers, for the steal's outcome.
    i32 m_PlayingSlot = -1;
};

class GameScreenDouble : public IMatchScreen {
public:
    GameScreenDouble(QZ2011GameContext& context, RoundRulesDouble& rules);
    ~GameScreenDouble() override;
    GameScreenDouble(const GameScreenDouble&) = delete;
    GameScreenDouble& operator=(const GameScreenDouble&) = delete;

    // One callback on each of the match mode's events 0-22 (after every level start, since
    // the level's clean-up empties them); Detach takes them off.
    void Attach();
    void Detach();
    void StartMatch() override;
    void ChoosePlayOrPass(bool play) override;
    void PlayFastMoney() override;

private:
    struct Callback : IDelegateParam<GameServices::Entities::BaseTeamMember*> {
        void Invoke(GameServices::Entities::BaseTeamMember* member) override { screen->OnEvent(index, member); }
        GameScreenDouble* screen = nullptr;
        int index = 0;
    };
    void OnEvent(int index, GameServices::Entities::BaseTeamMember* member);
    void OnFaceOffQuestion();
    void OnBuzz();
    void OnAnswerEntered();
    void OnAnswerResult();
    void OnRoundAnswerTurn();
    void OnFaceOffWon();
    void OnPlayOrPassChosen();
    void OnSteal();
    void OnFastMoneySecondPlayer();
    void OnFastMoneyReveal();
    void Play(const char* name);
    // "otherTeamAnswerLeft/Right[_Party]" for the family that answers now, with resume pending.
    void PlayAnswerTurn();
    QZ2011::QZ11Game& Match() const;

    QZ2011GameContext& m_Context;
    RoundRulesDouble& m_Rules;
    Callback m_Callbacks[23];
    bool m_Attached = false;
};

}  // namespace match
