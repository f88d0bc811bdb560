#pragma once
// The monotonic clock: 64-bit nanoseconds from an arbitrary origin, never stored as a float.
// Tests install a FakeClock, which replaces both the readings and the sleeps of this file, so
// code that paces itself with SleepNs runs instantly under test.
#include <atomic>
#include <cstdint>

namespace platform {

class ClockSource {
public:
    virtual ~ClockSource() = default;
    virtual uint64_t Now() = 0;
    virtual void Sleep(uint64_t ns) = 0;
    // How many times as fast as the system's clock this one runs.
    virtual uint32_t Speed() const { return 1; }
};

// Readings of the installed source (CLOCK_MONOTONIC when none is installed).
uint64_t NowNs();
// Sleeps for at least ns; 0 returns at once.
void SleepNs(uint64_t ns);
inline void SleepMs(uint32_t ms) {
    SleepNs(uint64_t(ms) * 1000000u);
}
inline constexpr uint64_t kClockFrequency = 1000000000u;  // readings per second

// The installed source's speed (1 for the system clock).
uint32_t ClockSpeed();
// Null restores the system clock.
void SetClockSource(ClockSource* source);

// A clock that moves only when told to, or by the time asked to sleep. Installs itself for
// its lifetime.
class FakeClock : public ClockSource {
public:
    explicit FakeClock(uint64_t start = 0);
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    uint64_t Now() override { return m_now.load(); }
    void Sleep(uint64_t ns) override {
        m_now.fetch_add(ns);
        m_slept.fetch_add(ns);
    }
    void Set(uint64_t ns) { m_now.store(ns); }
    void Advance(uint64_t ns) { m_now.fetch_add(ns); }
    void AdvanceMs(double ms) { m_now.fetch_add(uint64_t(ms * 1e6 + 0.5)); }
    // Total time asked to sleep since construction.
    uint64_t SleptNs() const { return m_slept.load(); }

private:
    std::atomic<uint64_t> m_now;
    std::atomic<uint64_t> m_slept{0};
};

// A clock that runs factor times as fast as the one installed before it, from the moment it
// is installed, and sleeps factor times shorter: a scripted run plays its timed course faster.
// Installs itself for its lifetime and puts the one before back after.
class ScaledClock : public ClockSource {
public:
    explicit ScaledClock(uint32_t factor);
    ~ScaledClock() override;
    ScaledClock(const ScaledClock&) = delete;
    ScaledClock& operator=(const ScaledClock&) = delete;

    uint64_t Now() override;
    void Sleep(uint64_t ns) override;
    uint32_t Speed() const override { return m_factor * (m_base ? m_base->Speed() : 1); }

private:
    uint64_t BaseNow() const;

    ClockSource* m_base;
    uint64_t m_origin;
    uint32_t m_factor;
};

}  // namespace platform
