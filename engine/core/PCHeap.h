#pragma once
// A private heap with a byte limit, over malloc. Each block remembers the size that was
// asked for, so Free returns exactly what Alloc counted. Destroying the heap releases the
// blocks still in it.
#include "engine/core/AGHeapImpl.h"

class PCHeap : public AGHeapImpl {
public:
    explicit PCHeap(u32 limit) : m_limit(limit) {}
    PCHeap(const PCHeap&) = delete;
    PCHeap& operator=(const PCHeap&) = delete;
    ~PCHeap() override;

    // Refuses (null) a request that would take the used bytes past the limit.
    void* Alloc(u32 size) override;
    void Free(void* block) override;

    u32 Used() const { return m_used; }
    u32 Limit() const { return m_limit; }

private:
    // In front of every block; 32 bytes, so blocks keep malloc's 16-byte alignment.
    struct alignas(16) BlockLink {
        BlockLink* prev;
        BlockLink* next;
        u32 size;
    };

    BlockLink* m_blocks = nullptr;
    u32 m_used = 0;
    u32 m_limit = 0;
};
