#include "engine/core/AGJobSet.h"

#include "engine/core/AGMemory.h"

AGJobSet::~AGJobSet() {
    m_count.store(0);
    FreeBlock(m_storage);
    m_storage = nullptr;
}

bool AGJobSet::Setup(u32 capacity) {
    if (m_storage || capacity == 0)
        return false;
    m_storage = static_cast<AGJob*>(AllocZeroed(size_t(capacity) * sizeof(AGJob)));
    if (!m_storage)
        return false;
    m_capacity = capacity;
    m_write = m_read = 0;
    m_count.store(0);
    return true;
}

bool AGJobSet::EndRun() {
    i32 expected = 1;
    return m_running.compare_exchange_strong(expected, 0, std::memory_order_acq_rel);
}

bool AGJobSet::BeginRun() {
    i32 expected = 0;
    return m_running.compare_exchange_strong(expected, 1, std::memory_order_acq_rel);
}

bool PCJobRing::Push(AGJobFn function, uintptr_t argument) {
    if (!m_storage || u32(Count()) >= m_capacity)
        return false;
    m_storage[m_write] = AGJob{function, argument};
    IncrementCount();
    m_write = (m_write + 1) % m_capacity;
    return true;
}

bool PCJobRing::RunAll() {
    if (!m_storage || Count() == 0)
        return false;
    BeginRun();
    do {
        const AGJob job = m_storage[m_read];
        if (job.function)
            job.function(job.argument);
        m_read = (m_read + 1) % m_capacity;
        DecrementCount();
        if (BeginRun())
            break;  // interrupted while the job ran
    } while (Count() > 0);
    EndRun();
    return true;
}
