#pragma once
// Skin-animation parameters: the skin's name and the avatar model types it animates.
#include <vector>

#include "engine/core/TString.h"

namespace GameServices::MiniGame {

// Avatar model types, from the words of skin "Model" ids.
enum : i32 {
    kModelAll = -1,
    kModelHead = 0,
    kModelEyeLeft = 1,
    kModelEyeRight = 2,
    kModelHair = 3,
    kModelTop = 4,
    kModelBottom = 5,
    kModelFootwear = 6,
    kModelEyewear = 7,
};

// "all", "head", "eyeleft", "eyeright", "hair", "top", "bottom", "footwear", "eyewear"
// (in any case). Another word is reported and gives false with type untouched.
bool StringToModelType(const TString<char>& word, i32& type);

class BehaviorActionSkin {
public:
    virtual ~BehaviorActionSkin() = default;

    // Appends the type of each known word, in order; unknown words are reported and left out.
    void AddModels(const std::vector<TString<char>>& words);

    TString<char> m_Name;
    std::vector<i32> m_ModelTypes;
};

}  // namespace GameServices::MiniGame
