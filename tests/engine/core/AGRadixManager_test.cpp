#include "engine/core/AGRadixManager.h"

#include <gtest/gtest.h>

#include "engine/core/AGMemory.h"

TEST(AGRadixManager, ReserveOnlyGrowsAndFreeBuffersGivesEverythingBack) {
    const u64 start = GetHeapCounters().current;
    {
        AGRadixManager radix;
        radix.Reserve(0, 256);
        radix.Reserve(1, 64);
        AGRadixBuffer& b = radix.Buffer(0);
        const AGRadixPair* work = b.work[0];
        b.used = 100;
        for (u32 n : {10u, 256u}) {
            radix.Reserve(0, n);
            EXPECT_TRUE(b.capacity == 256 && b.work[0] == work && b.used == 0) << n;
        }
        const u64 before = GetHeapCounters().current;
        radix.Reserve(0, 1000);
        // The old arrays went back: only the growth is counted (two heap blocks' headers
        // and alignment aside).
        EXPECT_EQ(b.capacity, 1000u);
        EXPECT_LE(GetHeapCounters().current - before, 2 * (1000 - 256) * sizeof(AGRadixPair) + 64);
        // Both work arrays hold the whole capacity, and a value holds a pointer.
        b.work[0][999] = {1, reinterpret_cast<uintptr_t>(&b)};
        b.work[1][999] = {3, 4};
        EXPECT_EQ(reinterpret_cast<AGRadixBuffer*>(b.work[0][999].value), &b);
        radix.Reserve(5, 10);  // no such buffer: ignored
        radix.FreeBuffers();
        for (u32 i = 0; i < AGRadixManager::kBufferCount; ++i)
            EXPECT_TRUE(!radix.Buffer(i).capacity && !radix.Buffer(i).work[0] && !radix.Buffer(i).work[1])
                << i;
        EXPECT_EQ(GetHeapCounters().current, start);
        radix.Reserve(1, 300);  // freed by the destructor
    }
    EXPECT_EQ(GetHeapCounters().current, start);
}
