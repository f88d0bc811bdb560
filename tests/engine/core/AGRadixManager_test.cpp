#include "engine/core/AGRadixManager.h"

#include <gtest/gtest.h>

TEST(AGRadixManager, ReserveOnlyGrowsAndAlwaysResetsTheUsedCount) {
    AGRadixManager radix;
    radix.Reserve(0, 256);
    AGRadixBuffer& b = radix.Buffer(0);
    b.used = 100;
    radix.Reserve(0, 10);
    EXPECT_EQ(b.capacity, 256u);
    EXPECT_EQ(b.used, 0u);
    radix.Reserve(0, 1000);
    // Both work arrays hold the whole capacity, and a value holds a pointer.
    b.work[0][999] = {1, reinterpret_cast<uintptr_t>(&b)};
    b.work[1][999] = {3, 4};
    EXPECT_EQ(reinterpret_cast<AGRadixBuffer*>(b.work[0][999].value), &b);
    radix.Reserve(5, 10);  // no such buffer: ignored
}
