#pragma once
// The award checks of the match. Counts its calls until the awards are kept per profile.
#include "engine/core/AGTypes.h"

namespace QZ2011 {

class AwardManager {
public:
    // A face-off won in the 00s.
    void CheckWinFaceOff() { ++m_WinFaceOffChecks; }
    // Grants again every award the current profile has earned; none are kept per profile
    // yet, so there is nothing to grant.
    void CheckAllUnlocks() { ++m_UnlockChecks; }

    u32 m_WinFaceOffChecks = 0;
    u32 m_UnlockChecks = 0;
};

}  // namespace QZ2011
