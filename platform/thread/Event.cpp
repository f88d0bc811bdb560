#include "platform/thread/Event.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

namespace {

// One lock and one condition for every event: waits over several events need a single
// point to sleep on, and the engine holds only a handful of events.
struct EventHub {
    std::mutex lock;
    std::condition_variable changed;
};

EventHub& Hub() {
    static EventHub* hub = new EventHub;  // never destroyed: threads may outlive statics
    return *hub;
}

}  // namespace

void Event::Set() {
    EventHub& hub = Hub();
    {
        std::lock_guard<std::mutex> guard(hub.lock);
        m_set = true;
    }
    hub.changed.notify_all();
}

void Event::Reset() {
    std::lock_guard<std::mutex> guard(Hub().lock);
    m_set = false;
}

uint32_t Event::Wait(uint32_t timeoutMs) {
    Event* self = this;
    return WaitMany(&self, 1, false, timeoutMs);
}

uint32_t Event::WaitMany(Event* const* events, uint32_t count, bool waitAll,
                         uint32_t timeoutMs) {
    if (count == 0 || !events)
        return kWaitFailed;
    for (uint32_t i = 0; i < count; ++i)
        if (!events[i])
            return kWaitFailed;

    EventHub& hub = Hub();
    std::unique_lock<std::mutex> guard(hub.lock);
    // The index of a satisfied wait, or count while unsatisfied; consumes auto-reset events.
    auto attempt = [&]() -> uint32_t {
        if (waitAll) {
            for (uint32_t i = 0; i < count; ++i)
                if (!events[i]->m_set)
                    return count;
            for (uint32_t i = 0; i < count; ++i)
                if (!events[i]->m_manual)
                    events[i]->m_set = false;
            return 0;
        }
        for (uint32_t i = 0; i < count; ++i) {
            if (events[i]->m_set) {
                if (!events[i]->m_manual)
                    events[i]->m_set = false;
                return i;
            }
        }
        return count;
    };

    uint32_t result = attempt();
    if (result != count)
        return result;
    if (timeoutMs == 0)
        return kWaitTimeout;
    if (timeoutMs == kWaitInfinite) {
        while ((result = attempt()) == count)
            hub.changed.wait(guard);
        return result;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while ((result = attempt()) == count) {
        if (hub.changed.wait_until(guard, deadline) == std::cv_status::timeout) {
            result = attempt();
            return result == count ? kWaitTimeout : result;
        }
    }
    return result;
}

}  // namespace platform
