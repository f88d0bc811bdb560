#pragma once
// Sort buffers shared by the renderers: each holds two work arrays of (key, value) pairs and
// a counting area for a byte-wise radix sort. The value is pointer-sized so that it can carry
// the sorted object itself.
#include <cstdint>

#include "engine/core/AGSingleton.h"
#include "engine/core/AGTypes.h"

struct AGRadixPair {
    u32 key;
    uintptr_t value;
};

struct AGRadixBuffer {
    AGRadixPair* work[2] = {nullptr, nullptr};
    u32 counts[6144] = {};
    u32 used = 0;
    u32 capacity = 0;
};

class AGRadixManager : public AGSingleton<AGRadixManager> {
public:
    static constexpr u32 kBufferCount = 2;

    AGRadixManager() = default;
    AGRadixManager(const AGRadixManager&) = delete;
    AGRadixManager& operator=(const AGRadixManager&) = delete;
    ~AGRadixManager() override { FreeBuffers(); }

    // Grows buffer to n pairs when n exceeds its capacity (the old contents are dropped);
    // never shrinks. The used count becomes 0 in every case. On allocation failure the
    // buffer is left empty with capacity 0 and the failure is reported.
    void Reserve(u32 buffer, u32 n);
    // Frees both work arrays of both buffers.
    void FreeBuffers();

    AGRadixBuffer& Buffer(u32 index) { return m_buffers[index]; }
    const AGRadixBuffer& Buffer(u32 index) const { return m_buffers[index]; }

private:
    AGRadixBuffer m_buffers[kBufferCount];
};
