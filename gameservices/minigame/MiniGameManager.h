#pragma once
// The game's game modes, found by name.
#include <vector>

#include "engine/core/TString.h"

namespace GameServices::MiniGame {

class BaseMiniGame;

class MiniGameManager {
public:
    // The first mode of the list with exactly that name; null, reported, when none has it.
    static BaseMiniGame* FindMinigame(const TString<char>& name,
                                      const std::vector<BaseMiniGame*>& modes);
};

}  // namespace GameServices::MiniGame
