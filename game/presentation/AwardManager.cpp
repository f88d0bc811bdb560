#include "game/presentation/AwardManager.h"

#include <algorithm>
#include <cstdint>

#include "engine/core/AGLog.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/minigame/MiniGameManager.h"
#include "gameshow/PlayerProfileManager.h"

namespace QZ2011 {

namespace {

enum Row : u32 {
    kWin25Matches70 = 0,
    kSteal = 4,
    kCompleteBoard,
    kBeatDouble,
    kFaceoffTop,
    kEarnDollarsFM,
    kGoodAnswerFaceOff,
    kWin20K,
    kWinWithSuddenDeath,
    kWinAMatch,
    kGiveAllTopsFM,
    kWinEasyMedHardInARow,
    kCorrectAnswerInLast5Seconds,
    kWin1stRound,
    kWinFaceOff,
    kTopAnswerIn5Sec,
    kEarnPointsFM,
};

// The difficulty history once the award is earned: all three digits.
constexpr i32 kFullHistory = 123;

}  // namespace

// The goals are the rules' own; the digits in a key are not the goal.
const AwardManager::Award AwardManager::kAwards[kAwardCount] = {
    {"win25Matches70", "unlockWin25Matches70", 10, "70s Pro"},
    {"win25Matches80", "unlockWin25Matches80", 10, "80s Pro"},
    {"win25Matches90", "unlockWin25Matches90", 10, "90s Pro"},
    {"win25Matches00", "unlockWin25Matches00", 10, "00s Pro"},
    {"5Steal70", "unlock5Steal70", 5, "The Thief"},
    {"10CompleteBoard70", "unlock10CompleteBoard70", 10, "Board Cleaner"},
    {"10BeatDouble70", "unlock10BeatDouble70", 10, "The Double"},
    {"20FaceoffTop70", "unlock20FaceoffTop70", 20, "Survey Beast"},
    {"100kEarnDollarsFM80", "unlock100kEarnDollarsFM80", 100000, "All About Money"},
    {"10GiveGoodAnswerFaceOff80", "unlock10GiveGoodAnswerFaceOff80", 10, "Faceoff Champ"},
    {"10Win20K80", "unlock10Win20K80", 5, "Until The End"},
    {"5WinWithGoingToSuddenDeath80", "unlock5WinWithGoingToSuddenDeath80", 1, "The Comeback"},
    {"1WinAMatch90", "unlock1WinAMatch90", 1, "The Beginner"},
    {"1GiveAllTopsFM90", "unlock1GiveAllTopsFM90", 1, "Top Player"},
    {"1WinEasyMedHardInARow90", "unlock1WinEasyMedHardInARow90", kFullHistory, "Beat Them All"},
    {"10GiveCorrectAnswerInLast5Seconds90", "unlock10GiveCorrectAnswerInLast5Seconds90", 10, "Time Is Nothing"},
    {"5Win1stRound00", "unlock5Win1stRound00", 5, "Good Start"},
    {"5WinFaceOff00", "unlock5WinFaceOff00", 5, "Faceoff Acolyte"},
    {"10GiveTopAnswerIn5Sec00", "unlock10GiveTopAnswerIn5Sec00", 10, "Time Is Money"},
    {"2500EarnPointsFM00", "unlock2500EarnPointsFM00", 1000, "Points Vessel"},
};

AwardManager::AwardManager(AwardContext* context,
                           const std::vector<GameServices::MiniGame::BaseMiniGame*>& modes)
    : m_Context(context) {
    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    for (u32 row = 0; row < 4; ++row)
        profiles->AddAttribute(kAwards[row].counterKey);
    for (u32 row = 0; row < 4; ++row)
        profiles->AddAttribute(kAwards[row].flagKey);
    for (u32 row = 4; row < kAwardCount; ++row) {
        profiles->AddAttribute(kAwards[row].counterKey);
        profiles->AddAttribute(kAwards[row].flagKey);
    }
    if (m_Context)
        m_Game = dynamic_cast<QZ11Game*>(
            GameServices::MiniGame::MiniGameManager::FindMinigame(QZ11Game::kLevelName, modes));
}

AwardManager::~AwardManager() = default;

bool AwardManager::IsEarned(u32 row) const {
    // A missing profile is reported by the lookup, once per check.
    if (!GameShow::PlayerProfileManager::Instance()->GetProfile(m_PlayerId))
        return true;
    bool earned = false;
    GameShow::GetAchievementFlag(m_PlayerId, kAwards[row].flagKey, earned);
    return earned;
}

void AwardManager::Count(u32 row, i32 amount) {
    if (IsEarned(row))
        return;
    int value = 0;
    GameShow::GetAchievementValue(m_PlayerId, kAwards[row].counterKey, value);
    // A saved counter near the limit stays at the limit.
    const int64_t sum = std::clamp<int64_t>(int64_t(value) + amount, INT32_MIN, INT32_MAX);
    value = int(sum);
    GameShow::SetAchievementValue(m_PlayerId, kAwards[row].counterKey, value);
    if (value >= kAwards[row].goal)
        Unlock(row);
}

void AwardManager::Unlock(u32 row) {
    GameShow::SetAchievementFlag(m_PlayerId, kAwards[row].flagKey);
    if (m_Context)
        m_Context->NotifyAwardUnlocked(kAwards[row].title, true);
    else
        AGReport("AwardManager : no game context for the notice of '%s'", kAwards[row].title);
    if (m_Game)
        m_Game->FireAchievementUnlocked();
}

void AwardManager::CheckWin25Matches() {
    const i32 decade = m_Context ? m_Context->GetAwardDecade() : -1;
    if (decade >= 0 && decade <= 3)
        Count(kWin25Matches70 + u32(decade), 1);
}

void AwardManager::CheckSteal() { Count(kSteal, 1); }
void AwardManager::CheckCompleteBoard() { Count(kCompleteBoard, 1); }
void AwardManager::CheckBeatDouble() { Count(kBeatDouble, 1); }
void AwardManager::CheckFaceoffTop() { Count(kFaceoffTop, 1); }
void AwardManager::CheckGoodAnswerFaceOff() { Count(kGoodAnswerFaceOff, 1); }
void AwardManager::CheckWin20K() { Count(kWin20K, 1); }
void AwardManager::CheckWinWithSuddenDeath() { Count(kWinWithSuddenDeath, 1); }
void AwardManager::CheckWinAMatch() { Count(kWinAMatch, 1); }
void AwardManager::CheckGiveAllTopsFM() { Count(kGiveAllTopsFM, 1); }
void AwardManager::CheckCorrectAnswerInLast5Seconds() { Count(kCorrectAnswerInLast5Seconds, 1); }
void AwardManager::CheckWin1stRound() { Count(kWin1stRound, 1); }
void AwardManager::CheckWinFaceOff() { Count(kWinFaceOff, 1); }
void AwardManager::CheckTopAnswerIn5Sec() { Count(kTopAnswerIn5Sec, 1); }
void AwardManager::CheckEarnDollarsFM(i32 amount) { Count(kEarnDollarsFM, amount); }
void AwardManager::CheckEarnPointsFM(i32 points) { Count(kEarnPointsFM, points); }

void AwardManager::CheckWinEasyMedHardInARow() {
    const i32 difficulty = m_Context ? m_Context->GetAwardDifficulty() : -1;
    if (difficulty < 0 || difficulty > 2) {
        AGReport("AwardManager : no difficulty %d to remember", difficulty);
        return;
    }
    const u32 row = kWinEasyMedHardInARow;
    if (IsEarned(row))
        return;
    const Award& award = kAwards[row];
    const int won = difficulty + 1;
    int history = 0;
    GameShow::GetAchievementValue(m_PlayerId, award.counterKey, history);
    if (history < 0 || history > 99) {
        AGReport("AwardManager : difficulty history %d is not one of two digits; started again", history);
        history = 0;
    }
    if (history == 0) {
        history = won;
    } else if (history < 10) {
        if (won != history)
            history += 10 * won;
    } else if (won != history / 10 && won != history % 10) {
        Unlock(row);
        history = kFullHistory;
    }
    GameShow::SetAchievementValue(m_PlayerId, award.counterKey, history);
}

void AwardManager::CheckAllUnlocks() {
    if (!GameShow::PlayerProfileManager::Instance()->GetProfile(m_PlayerId))
        return;
    if (!m_Context) {
        AGReport("AwardManager : no game context to grant the earned awards");
        return;
    }
    for (const Award& award : kAwards) {
        bool earned = false;
        GameShow::GetAchievementFlag(m_PlayerId, award.flagKey, earned);
        if (earned)
            m_Context->NotifyAwardUnlocked(award.title, false);
    }
}

}  // namespace QZ2011
