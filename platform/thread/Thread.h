#pragma once
// A thread with a timed wait for its end. The handle may be destroyed while the thread
// still runs (the thread is then detached and its state lives until it ends).
#include <cstddef>
#include <cstdint>
#include <memory>

#include <pthread.h>

namespace platform {

class Thread {
public:
    using Routine = uint32_t (*)(void* context);

    // Starts the routine at once; null when the thread cannot be created. stackSize 0 takes
    // the default.
    static Thread* Create(size_t stackSize, Routine routine, void* context);
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Joins the thread when it has ended, else detaches it.
    ~Thread();

    // True when the thread has ended within timeoutMs (kWaitInfinite waits for good).
    bool Wait(uint32_t timeoutMs);
    bool HasEnded() const;
    uint32_t ExitCode() const;
    // Applies the CPU mask (bits beyond the machine's CPUs are ignored). True when the
    // previous mask was not empty.
    bool SetAffinity(uint64_t mask);
    // A small process-unique number.
    uint32_t Id() const { return m_id; }
    bool IsCurrent() const;

private:
    struct State;
    Thread() = default;
    static void* Entry(void* arg);

    pthread_t m_thread{};
    std::shared_ptr<State> m_state;
    uint32_t m_id = 0;
    bool m_joined = false;
};

}  // namespace platform
