#include "engine/core/CrtRand.h"

#include <gtest/gtest.h>

TEST(CrtRand, IsTheClassicFifteenBitGeneratorSeededOne) {
    CrtSrand(1);
    for (u32 v : {41u, 18467u, 6334u, 26500u, 19169u, 15724u, 11478u, 29358u})
        EXPECT_EQ(CrtRand(), v);
}

TEST(CrtRand, AnIndexDrawStaysBelowTheCountEvenAtTheLargestValue) {
    // The seed whose next draw is 32767: (0x7FFF0000 - increment) times the multiplier's
    // inverse modulo 2^32 (Newton's iteration).
    u32 inverse = 214013u;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 214013u * inverse;
    const u32 seed = (0x7FFF0000u - 2531011u) * inverse;
    CrtSrand(seed);
    EXPECT_EQ(CrtRand(), 32767u);
    CrtSrand(seed);
    EXPECT_EQ(CrtRandIndex(8), 7u);
    EXPECT_EQ(CrtRandIndex(0), 0u);
    CrtSrand(1);
}
