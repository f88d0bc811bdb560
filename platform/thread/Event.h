#pragma once
// Events with manual or automatic reset and the wait results of the engine's threading
// interface. A set auto-reset event releases one waiter and clears itself.
#include <cstdint>

namespace platform {

inline constexpr uint32_t kWaitSignalled = 0;
inline constexpr uint32_t kWaitAbandoned = 256;
inline constexpr uint32_t kWaitTimeout = 257;
inline constexpr uint32_t kWaitFailed = 258;
inline constexpr uint32_t kWaitInfinite = 0xFFFFFFFFu;

class Event {
public:
    Event(bool manualReset, bool initiallySet) : m_manual(manualReset), m_set(initiallySet) {}
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    bool IsManualReset() const { return m_manual; }

    // kWaitSignalled or kWaitTimeout.
    uint32_t Wait(uint32_t timeoutMs);

    // Waits for any (the index of the first set event is returned) or all (0 is returned)
    // of count events. kWaitTimeout on time-out, kWaitFailed for no events or a null one.
    // Auto-reset events are consumed only when the wait is satisfied.
    static uint32_t WaitMany(Event* const* events, uint32_t count, bool waitAll,
                             uint32_t timeoutMs);

private:
    bool m_manual;
    bool m_set;
};

}  // namespace platform
