#pragma once
// The game mode of the tutorial level: the base life cycle until its own steps are built.
#include "gameservices/minigame/BaseMiniGame.h"

namespace QZ2011 {

class QZ11Tutorial : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "QZ11_Tutorial";

    QZ11Tutorial() : BaseMiniGame(kLevelName) {}
};

}  // namespace QZ2011
