#pragma once
// Skin-animation parameters: the skin's name and the ids of the models it animates.
#include <vector>

#include "engine/core/TString.h"

namespace GameServices::MiniGame {

struct BehaviorActionSkin {
    TString<char> m_Name;
    std::vector<TString<char>> m_Models;
};

}  // namespace GameServices::MiniGame
