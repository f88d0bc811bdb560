#include "engine/core/CrtRand.h"

#include <gtest/gtest.h>

TEST(CrtRand, IsTheClassicFifteenBitGeneratorSeededOne) {
    CrtSrand(1);
    const u32 expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (u32 v : expected)
        EXPECT_EQ(CrtRand(), v);
    CrtSrand(1);
    EXPECT_EQ(CrtRand(), 41u);
}

// The seed whose next draw is the largest value, 32767.
static u32 SeedBeforeMaximum() {
    // Inverse of the multiplier modulo 2^32 by Newton's iteration.
    u32 inv = 214013u;
    for (int i = 0; i < 5; ++i)
        inv *= 2u - 214013u * inv;
    return (0x7FFF0000u - 2531011u) * inv;
}

TEST(CrtRand, AnIndexDrawStaysBelowTheCountEvenAtTheLargestValue) {
    CrtSrand(SeedBeforeMaximum());
    EXPECT_EQ(CrtRandIndex(8), 7u);
    CrtSrand(SeedBeforeMaximum());
    EXPECT_EQ(CrtRand(), 32767u);
    EXPECT_EQ(CrtRandIndex(0), 0u);
    CrtSrand(1);
}
