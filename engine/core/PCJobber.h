#pragma once
// One worker thread that runs posted jobs in posting order. Post is for one producer
// thread (the main thread).
#include <memory>

#include "engine/core/AGJobSet.h"

namespace platform {
class Thread;
}

class PCJobber {
public:
    // States of the worker.
    static constexpr u32 kStateCreated = 0;
    static constexpr u32 kStateRunRequested = 1;
    static constexpr u32 kStateExitRequested = 3;
    static constexpr u32 kDefaultStopTimeoutMs = 10000;

    PCJobber() = default;
    PCJobber(const PCJobber&) = delete;
    PCJobber& operator=(const PCJobber&) = delete;
    // Stops the worker.
    virtual ~PCJobber();

    // Creates the wake event, the job store (a ring when ring is true; the non-wrapping
    // store is not provided) and the thread; applies a non-zero affinity mask.
    virtual bool Start(u32 reserved, u32 capacity, u32 affinityMask, bool ring, u32 reserved2);
    // Asks the worker to leave after its current job (no further job starts) and waits
    // for it. A worker that does not end within the stop time-out is abandoned with a
    // report; its job store then stays alive until the thread itself ends.
    virtual void Stop();
    // False when the store is full or the jobber is not started. Wakes the worker when the
    // store goes from empty to one job.
    virtual bool Post(AGJobFn function, uintptr_t argument);
    virtual i32 Count() const;
    virtual u32 Room() const;
    virtual void Wake();
    virtual void Interrupt();
    virtual bool RunJobs();

    // Started and not stopped.
    bool IsStarted() const { return m_worker != nullptr; }
    u32 AffinityMask() const { return m_affinityMask; }
    void SetStopTimeout(u32 ms) { m_stopTimeoutMs = ms; }

private:
    struct Worker;
    static u32 WorkerRoutine(void* context);

    std::shared_ptr<Worker> m_worker;
    platform::Thread* m_thread = nullptr;
    u32 m_affinityMask = 0;
    u32 m_stopTimeoutMs = kDefaultStopTimeoutMs;
#ifndef NDEBUG
    const void* m_producer = nullptr;
#endif
};
