#pragma once
// The game mode of the main-menu level: the framework's level life cycle, unchanged.
#include "gameservices/minigame/BaseMiniGame.h"

namespace QZ2011 {

class QZ11Menu : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "QZ11_Game_Level0";

    QZ11Menu();

    void RegisterLevelDelegates() override;
    void OnLevelResumed() override;
    void InitializeLevel() override;
    void OnLevelStarted() override;
    void CleanupLevel() override;
};

}  // namespace QZ2011
