#pragma once
// A recursive lock with the enter/leave shape of a critical section: the owning thread may
// enter again and must leave as often as it entered.
#include <mutex>

namespace platform {

class CriticalSection {
public:
    void Enter() { m_mutex.lock(); }
    bool TryEnter() { return m_mutex.try_lock(); }
    void Leave() { m_mutex.unlock(); }

    // Scoped Enter/Leave.
    class Lock {
    public:
        explicit Lock(CriticalSection& section) : m_section(section) { m_section.Enter(); }
        ~Lock() { m_section.Leave(); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CriticalSection& m_section;
    };

private:
    std::recursive_mutex m_mutex;
};

}  // namespace platform
