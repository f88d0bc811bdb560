#pragma once
// The game's main-menu page ("compositionMainMenu"): the show's main menu whose play
// button leads to the decade-choice level.
#include "gameshow/MainMenuComposition.h"

namespace GameShow {

class QZ11MainMenuComposition : public MainMenuComposition {
public:
    static constexpr const char* kPlayLevel = "QZ11_Game_Level1";

    QZ11MainMenuComposition() { SetNextLevel(kPlayLevel); }
};

}  // namespace GameShow
