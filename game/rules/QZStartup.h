#pragma once
// The game mode of the start-up level: the base life cycle until its own steps are built.
#include "gameservices/minigame/BaseMiniGame.h"

namespace QZ2011 {

class QZStartup : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "LevelStartup";

    explicit QZStartup(const TString<char>& levelName) : BaseMiniGame(levelName) {}
};

}  // namespace QZ2011
