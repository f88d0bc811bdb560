#include "engine/core/AGRadixManager.h"

#include "engine/core/AGLog.h"
#include "engine/core/AGMemory.h"

void AGRadixManager::Reserve(u32 buffer, u32 n) {
    if (buffer >= kBufferCount)
        return;
    AGRadixBuffer& b = m_buffers[buffer];
    b.used = 0;
    if (n <= b.capacity)
        return;
    FreeBlock(b.work[0]);
    FreeBlock(b.work[1]);
    b.work[0] = static_cast<AGRadixPair*>(AllocBlock(size_t(n) * sizeof(AGRadixPair)));
    b.work[1] = static_cast<AGRadixPair*>(AllocBlock(size_t(n) * sizeof(AGRadixPair)));
    if (!b.work[0] || !b.work[1]) {
        FreeBlock(b.work[0]);
        FreeBlock(b.work[1]);
        b.work[0] = b.work[1] = nullptr;
        b.capacity = 0;
        AGReport("Radix buffer %u: cannot reserve %u entries.", buffer, n);
        return;
    }
    b.capacity = n;
}

void AGRadixManager::FreeBuffers() {
    for (AGRadixBuffer& b : m_buffers) {
        FreeBlock(b.work[0]);
        FreeBlock(b.work[1]);
        b.work[0] = b.work[1] = nullptr;
        b.used = 0;
        b.capacity = 0;
    }
}
