#pragma once
// The difficulty page ("compositionDifficultySelector"): until its buttons are built it only offers the way
// back to the main menu.
#include "game/StandInComposition.h"

namespace QZ2011 {

class QZ11DifficultySelector : public StandInComposition {
public:
    static constexpr const char* kName = "compositionDifficultySelector";
};

}  // namespace QZ2011
