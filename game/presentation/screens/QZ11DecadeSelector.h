#pragma once
// The decade page ("compositionDecadeSelector"): until its buttons are built it only offers the way
// back to the main menu.
#include "game/StandInComposition.h"

namespace QZ2011 {

class QZ11DecadeSelector : public StandInComposition {
public:
    static constexpr const char* kName = "compositionDecadeSelector";
};

}  // namespace QZ2011
