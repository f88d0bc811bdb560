#pragma once
// The computer family's player (family slot 0, buzz side 1). It watches the match, waits a
// drawn delay and then acts through the same team actions as a device would: "BuzzSinglePlayer"
// and "EnterAIAnswer". Its answers are picked, not typed: the pick's index goes into the
// context, where the answer check takes it; its play-or-pass choice is written there directly.
// How fast and how strong it is comes from the level's tuning of the chosen decade and
// difficulty, read at the first update after each Reset.
#include "engine/core/TString.h"
#include "gameservices/minigame/AIManager.h"

namespace QZ2011 {

class Question;

class QZAI : public GameServices::MiniGame::BaseAI {
public:
    enum State : i32 {
        StateReset = 0,
        StateIdle = 1,
        StateBuzz = 2,
        StateFaceOffAnswer = 3,
        StatePlayOrPass = 4,
        StateRoundAnswer = 5,
        StateSuddenDeathAnswer = 6,
        StateIdleToo = 7,
        StateSteal = 8,
        StateWatch = 9
    };
    // Every countdown after a level read.
    static constexpr i32 kInitialCountdownMs = 4013;

    QZAI() = default;

    // Back to state 0; the next update reads the level's tuning again.
    void Reset() override;
    // dt in milliseconds: the level's tuning first when due, then the state's step.
    void Update(u32 ms) override;
    // The current level's tuning into this player, the family name and the member names into
    // the context, every countdown to its initial value. Without the level's record the
    // values held stay (reported).
    void LoadLevelData();

    // Tuning (0..9 in the level data); AnswerDifficulty is carried, no decision reads it.
    i32 m_BuzzerSpeed = 0;
    i32 m_AnswerAccuracy = 0;
    i32 m_AnswerDifficulty = 0;
    i32 m_BasicRoundStrength = 0;
    i32 m_Steal = 0;
    TString<char> m_FamilyName;
    TString<char> m_Female1;
    TString<char> m_Female2;
    TString<char> m_Male1;
    TString<char> m_Male2;

    i32 m_State = StateReset;
    u8 m_LoadLevelData = 1;
    i32 m_BuzzCountdown = 0;
    i32 m_AnswerCountdown = 0;
    i32 m_PlayOrPassCountdown = 0;
    i32 m_StealCountdown = 0;
    i32 m_RoundAnswerCountdown = 0;

private:
    void Watch();
    void BuzzStep(u32 ms);
    // The shared pattern of the waiting states: the countdown runs until it ends or the
    // player skips; then the state's action and back to watching. A turn taken away meanwhile
    // (the answer time ran out) drops the wait without acting.
    void WaitStep(i32& countdown, u32 ms);
    void Act();
    // d <= chance gives a right answer, else a wrong one; the answer is then entered.
    void AnswerWithChance(i32 chance);
    void AnswerTopAnswer();
    void ChoosePlayOrPass();
    // The typed text into the context, the turn used up, then "EnterAIAnswer".
    void EnterAnswer(const char* text, i32 chosenIndex);
    // A right pick's first accepted form; false (nothing picked) when no answer is left.
    bool PickRight(Question* question);
    void PickWrong(Question* question);
};

}  // namespace QZ2011
