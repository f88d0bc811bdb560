#include "engine/core/AGRadixManager.h"

#include <gtest/gtest.h>

TEST(AGRadixManager, ReserveOnlyGrowsAndAlwaysResetsTheUsedCount) {
    AGRadixManager radix;
    radix.Reserve(0, 256);
    radix.Reserve(1, 64);
    AGRadixBuffer& b = radix.Buffer(0);
    EXPECT_EQ(b.capacity, 256u);
    EXPECT_EQ(radix.Buffer(1).capacity, 64u);
    ASSERT_NE(b.work[0], nullptr);
    ASSERT_NE(b.work[1], nullptr);

    AGRadixPair* first = b.work[0];
    b.used = 100;
    radix.Reserve(0, 10);
    EXPECT_EQ(b.capacity, 256u);
    EXPECT_EQ(b.work[0], first);
    EXPECT_EQ(b.used, 0u);

    b.used = 5;
    radix.Reserve(0, 1000);
    EXPECT_EQ(b.capacity, 1000u);
    EXPECT_EQ(b.used, 0u);
    // The whole capacity is usable in both work arrays.
    b.work[0][999] = {1, 2};
    b.work[1][999] = {3, 4};
    EXPECT_EQ(radix.Buffer(1).capacity, 64u);

    radix.FreeBuffers();
    EXPECT_EQ(b.capacity, 0u);
    EXPECT_EQ(b.work[0], nullptr);
}

TEST(AGRadixManager, PairValueHoldsAPointer) {
    AGRadixManager radix;
    radix.Reserve(0, 1);
    int object = 0;
    radix.Buffer(0).work[0][0] = {7u, reinterpret_cast<uintptr_t>(&object)};
    EXPECT_EQ(reinterpret_cast<int*>(radix.Buffer(0).work[0][0].value), &object);
    radix.Reserve(5, 10);  // no such buffer: ignored
}
