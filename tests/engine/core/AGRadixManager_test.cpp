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
        radix.Reserve(0, 256);
        EXPECT_TRUE(b.capacity == 256 && b.work[0] == work && b.used == 0);
        radix.Reserve(0, 1000);
        EXPECT_EQ(b.capacity, 1000u);
        b.work[1][999] = {3, 4};  // both work arrays hold the whole capacity
        radix.Reserve(5, 10);     // no such buffer: ignored
        // Every buffer goes, the arrays replaced by the growth included.
        radix.FreeBuffers();
        EXPECT_TRUE(!b.capacity && !b.work[0] && !b.work[1] && GetHeapCounters().current == start);
        radix.Reserve(1, 300);  // freed by the destructor
    }
    EXPECT_EQ(GetHeapCounters().current, start);
}
