#pragma once
// Frame timer on the monotonic clock. Each Update clamps the measured frame to [16, 84] ms
// and smooths it (two steps of s = 0.9 s + 0.1 raw, restarting at raw when the first step
// is 34 ms or more away from it). The smoothed value is kept as a float and handed out in
// whole milliseconds with the fraction carried to the next frame, so that over time the
// frame times add up to the time that really passed.
#include "engine/core/AGSingleton.h"
#include "engine/core/AGTimerManager.h"

class PCTimerManager : public AGTimerManager, public AGSingleton<PCTimerManager> {
public:
    static constexpr f64 kMinFrameMs = 16.0;
    static constexpr f64 kMaxFrameMs = 84.0;
    static constexpr f64 kResetDistanceMs = 34.0;

    void Initialize() override;
    void Update() override;
    void Shutdown() override {}

    // The smoothed frame time before rounding down to whole milliseconds.
    f64 GetSmoothedMs() const { return m_smoothedMs; }

private:
    u64 m_previousReading = 0;
    u64 m_currentReading = 0;
    u64 m_frequency = 0;
    f64 m_smoothedMs = 16.0;
    f64 m_carryMs = 0.0;
};
