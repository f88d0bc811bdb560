#pragma once
// The award checks of the match. Counts its calls until the awards are kept per profile.
#include "engine/core/AGTypes.h"

namespace QZ2011 {

class AwardManager {
public:
    // A face-off won in the 00s.
    void CheckWinFaceOff() { ++m_WinFaceOffChecks; }

    u32 m_WinFaceOffChecks = 0;
};

}  // namespace QZ2011
