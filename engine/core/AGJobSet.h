#pragma once
// A fixed store of jobs shared by one producer (the main thread) and one runner (the
// worker). An entry is written before the count that publishes it is raised, and run
// before the count is lowered.
#include <atomic>
#include <cstdint>

#include "engine/core/AGTypes.h"

// A job: a function and a pointer-sized argument.
using AGJobFn = void (*)(uintptr_t argument);
struct AGJob {
    AGJobFn function = nullptr;
    uintptr_t argument = 0;
};

class AGJobSet {
public:
    AGJobSet() = default;
    AGJobSet(const AGJobSet&) = delete;
    AGJobSet& operator=(const AGJobSet&) = delete;
    // Count 0, storage freed.
    virtual ~AGJobSet();

    // Allocates capacity zeroed entries; fails when storage exists or capacity is 0.
    bool Setup(u32 capacity);

    virtual bool Push(AGJobFn function, uintptr_t argument) = 0;
    // Runs pending jobs in order; false when there was none.
    virtual bool RunAll() = 0;
    // True when the store has just gone from empty to one job.
    virtual bool IsFirstPending() const { return false; }
    virtual i32 Count() const { return m_count.load(std::memory_order_acquire); }
    virtual u32 Room() const { return m_capacity - u32(Count()); }
    virtual void IncrementCount() { m_count.fetch_add(1, std::memory_order_release); }
    virtual void DecrementCount() { m_count.fetch_sub(1, std::memory_order_acq_rel); }
    // running 1 -> 0; true when it was 1.
    virtual bool EndRun();
    // running 0 -> 1; true when it was 0.
    virtual bool BeginRun();
    // Ends a running pass after its current job.
    virtual void Interrupt() { m_running.store(0, std::memory_order_release); }

    u32 Capacity() const { return m_capacity; }

protected:
    AGJob* m_storage = nullptr;
    u32 m_capacity = 0;
    u32 m_write = 0;  // the producer's
    u32 m_read = 0;   // the runner's
    std::atomic<i32> m_count{0};
    std::atomic<i32> m_running{0};
};

// The ring: wraps from the last entry to the first.
class PCJobRing : public AGJobSet {
public:
    // False when the ring is full.
    bool Push(AGJobFn function, uintptr_t argument) override;
    // A job pushed while the pass drains is run in the same pass.
    bool RunAll() override;
    bool IsFirstPending() const override { return Count() < 2; }
};
