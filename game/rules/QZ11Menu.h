#pragma once
// The game mode of the main-menu level: the base life cycle until its own steps are built.
#include "gameservices/minigame/BaseMiniGame.h"

namespace QZ2011 {

class QZ11Menu : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "QZ11_Game_Level0";

    QZ11Menu() : BaseMiniGame(kLevelName) {}
};

}  // namespace QZ2011
