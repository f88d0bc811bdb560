#pragma once
// A stand-in for the in-game screen, as far as scripted matches need it: the match set-up, the
// face-off question, the buzz, an entered answer scored and shown, its result dispatched to the
// round rules, the other family's turn staged, play or pass, the steal's turn, and fast money
// as one step. It keeps the contracts the match mode relies on (which phase each callback
// writes, which sequence it plays, which flag it sets or clears), so that the real screen can
// take its place under the same scripts.
#include <string>

#include "engine/core/FDelegate.h"
#include "game/rules/QZ11Game.h"

class QZ2011GameContext;

namespace GameShow {
class SequenceManager;
}

namespace QZ2011 {
class RoundRules;
}

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

class GameScreenDouble : public IMatchScreen {
public:
    explicit GameScreenDouble(QZ2011GameContext& context);
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

    QZ2011::RoundRules& Rules() const;

    QZ2011GameContext& m_Context;
    Callback m_Callbacks[23];
    bool m_Attached = false;
};

}  // namespace match
