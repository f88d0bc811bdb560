#include "engine/core/Crc32Hash.h"

#include <gtest/gtest.h>

TEST(Crc32Hash, KnownValuesAndSeededContinuation) {
    EXPECT_EQ(Crc32Hash("abc"), 0xCA6598D0u);
    EXPECT_EQ(Crc32Hash(""), 0u);
    EXPECT_EQ(Crc32Hash(nullptr), 0u);
    EXPECT_EQ(Crc32Hash("LevelHeap"), 0x17B1EDBBu);
    EXPECT_EQ(Crc32Hash("vertexBuffer", size_t(12), 0), Crc32Hash("vertexBuffer"));
    EXPECT_EQ(Crc32Hash("Buffer", Crc32Hash("vertex")), Crc32Hash("vertexBuffer"));
}
