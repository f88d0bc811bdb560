#pragma once
// The award rules: twenty awards, each earned by repeating something in one-player matches of
// one decade. Progress is kept in integer counters and earned awards in boolean flags, both
// attributes of player 0's profile, so they are saved with it. The callers test the player
// mode and the decade before each check; a check only counts and unlocks.
#include <vector>

#include "engine/core/AGTypes.h"
#include "engine/core/TString.h"

namespace GameServices::MiniGame {
class BaseMiniGame;
}

namespace QZ2011 {

class QZ11Game;

// What the award rules need of the game context.
class AwardContext {
public:
    virtual ~AwardContext() = default;
    // The match's decade: 0 = 70s, 1 = 80s, 2 = 90s, 3 = 00s; anything else when none is chosen.
    virtual i32 GetAwardDecade() const = 0;
    // The match's difficulty: 0 easy, 1 medium, 2 hard.
    virtual i32 GetAwardDifficulty() const = 0;
    // The award notice: keeps the title for the achievement panel and grants the award of
    // that title on the awards page, with the new mark.
    virtual void NotifyAwardUnlocked(const TString<char>& title, bool isNew) = 0;
};

class AwardManager {
public:
    static constexpr u32 kAwardCount = 20;

    // One row of the award table.
    struct Award {
        const char* counterKey;
        const char* flagKey;
        // The counter value at which the award unlocks.
        i32 goal;
        // Equal to the award's title in "Awards.xml".
        const char* title;
    };
    // In table order: the order of the re-grant pass.
    static const Award kAwards[kAwardCount];

    // Declares the forty keys with the profile manager (the four "win25Matches" counters, their
    // four flags, then each further counter followed by its flag) and finds the match mode
    // ("QZ11_Game_Level2") among the modes, reported when absent. The context gets the notices;
    // without one an unlock is reported and sends no notice, and the decade and difficulty
    // checks do nothing.
    explicit AwardManager(AwardContext* context = nullptr,
                          const std::vector<GameServices::MiniGame::BaseMiniGame*>& modes = {});
    virtual ~AwardManager();
    AwardManager(const AwardManager&) = delete;
    AwardManager& operator=(const AwardManager&) = delete;

    // The "win25Matches" row of the context's decade; another decade does nothing.
    void CheckWin25Matches();
    // Counting checks: the counter grows by one and the award unlocks at its goal.
    void CheckSteal();
    void CheckCompleteBoard();
    void CheckBeatDouble();
    void CheckFaceoffTop();
    void CheckGoodAnswerFaceOff();
    void CheckWin20K();
    void CheckWinWithSuddenDeath();
    void CheckWinAMatch();
    void CheckGiveAllTopsFM();
    void CheckCorrectAnswerInLast5Seconds();
    void CheckWin1stRound();
    void CheckWinFaceOff();
    void CheckTopAnswerIn5Sec();
    // Summing checks: the counter grows by the argument; the award unlocks once the sum
    // reaches the goal.
    void CheckEarnDollarsFM(i32 amount);
    void CheckEarnPointsFM(i32 points);
    // The difficulties won, one decimal digit each (difficulty + 1); the award unlocks at the
    // win of a third distinct difficulty, and the history then reads 123.
    void CheckWinEasyMedHardInARow();

    // Sends the notice again, with the new mark false, for every award whose flag is set, in
    // table order; no event, no counter or flag changes.
    void CheckAllUnlocks();

    i32 GetPlayerId() const { return m_PlayerId; }
    // Null when no match mode was found.
    QZ11Game* GetGame() const { return m_Game; }

private:
    // True when the row's flag is set, and without a profile (reported): nothing to count.
    bool IsEarned(u32 row) const;
    void Count(u32 row, i32 amount);
    // Flag, notice with the new mark, achievement event.
    void Unlock(u32 row);

    AwardContext* m_Context = nullptr;
    i32 m_PlayerId = 0;
    QZ11Game* m_Game = nullptr;
};

}  // namespace QZ2011
