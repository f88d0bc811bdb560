#include "engine/core/Crc32Hash.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Crc32Hash, KnownValues) {
    EXPECT_EQ(Crc32Hash("abc"), 0xCA6598D0u);
    EXPECT_EQ(Crc32Hash(""), 0u);
    EXPECT_EQ(Crc32Hash(nullptr), 0u);
    EXPECT_EQ(Crc32Hash("", 1234u), 0u);
    // The example heap name of the memory-mapping file.
    EXPECT_EQ(Crc32Hash("LevelHeap"), 0x17B1EDBBu);
}

TEST(Crc32Hash, CountedFormMatchesTerminatedForm) {
    const char* text = "vertexBufferDynamic";
    EXPECT_EQ(Crc32Hash(text, strlen(text), 0), Crc32Hash(text));
    // A seed continues a hash: hashing in two parts equals hashing the whole.
    EXPECT_EQ(Crc32Hash("Buffer", Crc32Hash("vertex")), Crc32Hash("vertexBuffer"));
}

TEST(Crc32Hash, ProviderWordsAreDistinct) {
    for (size_t i = 0; i < 23; ++i)
        for (size_t j = i + 1; j < 23; ++j)
            EXPECT_NE(TypeKey::kProviderWords[i], TypeKey::kProviderWords[j]) << i << " " << j;
}
