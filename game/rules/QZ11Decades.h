#pragma once
// The game mode of the decade-choice level: the base life cycle; what the level shows and
// does is its data and its screens' work.
#include "gameservices/minigame/BaseMiniGame.h"

namespace QZ2011 {

class QZ11Decades : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "QZ11_Game_Level1";

    QZ11Decades();

    void RegisterLevelDelegates() override;
    void OnLevelResumed() override;
    void InitializeLevel() override;
    void OnLevelStarted() override;
    void CleanupLevel() override;
};

}  // namespace QZ2011
