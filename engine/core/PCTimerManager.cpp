#include "engine/core/PCTimerManager.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Clock.h"

namespace {

// The smoothing weights are 0.9f and 1 - 0.9f (not 0.1f), so that they add up to exactly 1
// and a steady frame time is its own fixed point.
constexpr f64 kKeep = f64(0.9f);
constexpr f64 kTake = f64(1.0f - 0.9f);

u32 ReadingToMs(u64 reading, u64 frequency) {
    return u32(reading / (frequency / 1000u));
}

}  // namespace

void PCTimerManager::Initialize() {
    m_frequency = platform::kClockFrequency;
    m_currentReading = platform::NowNs();
    m_previousReading = m_currentReading;
    m_currentMs = m_previousMs = ReadingToMs(m_currentReading, m_frequency);
    m_frameMs = 16;
    m_smoothedMs = 16.0;
    m_carryMs = 0.0;
}

void PCTimerManager::Update() {
    if (m_frequency == 0)
        Initialize();
    ++m_frameNumber;
    m_previousReading = m_currentReading;
    m_currentReading = platform::NowNs();
    u64 delta = m_currentReading >= m_previousReading ? m_currentReading - m_previousReading : 0;
    f64 raw = f64(delta) * 1000.0 / f64(m_frequency);
    raw = std::clamp(raw, kMinFrameMs, kMaxFrameMs);
    m_previousMs = ReadingToMs(m_previousReading, m_frequency);
    m_currentMs = ReadingToMs(m_currentReading, m_frequency);

    f64 s = kKeep * m_smoothedMs + kTake * raw;
    if (std::fabs(s - raw) >= kResetDistanceMs)
        m_smoothedMs = raw;
    else
        m_smoothedMs = kKeep * s + kTake * raw;

    // Whole milliseconds out, the remainder carried; the tiny bias absorbs rounding in the
    // weights so that a steady 33.0 does not come out as 32.999.
    f64 total = m_smoothedMs + m_carryMs;
    f64 whole = std::floor(total + 1e-9);
    m_carryMs = total - whole;
    if (m_carryMs < 0.0)
        m_carryMs = 0.0;
    m_frameMs = u32(whole);
}
