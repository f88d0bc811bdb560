#include "platform/core/Clock.h"

#include <cerrno>
#include <ctime>

namespace platform {

namespace {

std::atomic<ClockSource*> g_source{nullptr};

uint64_t SystemNow() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * kClockFrequency + uint64_t(ts.tv_nsec);
}

void SystemSleep(uint64_t ns) {
    timespec ts;
    ts.tv_sec = time_t(ns / kClockFrequency);
    ts.tv_nsec = long(ns % kClockFrequency);
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

}  // namespace

uint64_t NowNs() {
    ClockSource* source = g_source.load(std::memory_order_acquire);
    return source ? source->Now() : SystemNow();
}

void SleepNs(uint64_t ns) {
    if (ns == 0)
        return;
    ClockSource* source = g_source.load(std::memory_order_acquire);
    if (source)
        source->Sleep(ns);
    else
        SystemSleep(ns);
}

uint32_t ClockSpeed() {
    ClockSource* source = g_source.load(std::memory_order_acquire);
    return source ? source->Speed() : 1;
}

void SetClockSource(ClockSource* source) {
    g_source.store(source, std::memory_order_release);
}

FakeClock::FakeClock(uint64_t start) : m_now(start) {
    SetClockSource(this);
}

FakeClock::~FakeClock() {
    ClockSource* expected = this;
    g_source.compare_exchange_strong(expected, nullptr);
}

ScaledClock::ScaledClock(uint32_t factor)
    : m_base(g_source.load(std::memory_order_acquire)), m_origin(BaseNow()), m_factor(factor ? factor : 1) {
    SetClockSource(this);
}

ScaledClock::~ScaledClock() {
    ClockSource* expected = this;
    g_source.compare_exchange_strong(expected, m_base);
}

uint64_t ScaledClock::BaseNow() const {
    return m_base ? m_base->Now() : SystemNow();
}

uint64_t ScaledClock::Now() {
    return m_origin + (BaseNow() - m_origin) * m_factor;
}

void ScaledClock::Sleep(uint64_t ns) {
    ns /= m_factor;
    if (m_base)
        m_base->Sleep(ns);
    else if (ns)
        SystemSleep(ns);
}

}  // namespace platform
