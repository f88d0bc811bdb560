#include "engine/core/AGMemoryStream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int g_frees = 0;
void CountingFree(void* block) {
    ++g_frees;
    ::operator delete(block);
}
void* PlainAlloc(size_t size) {
    return ::operator new(size);
}

}  // namespace

TEST(AGMemoryStreamTest, ReadsWritesAndSeeksStayInsideTheBlock) {
    AGMemoryStream stream;
    ASSERT_TRUE(stream.Allocate(8));
    EXPECT_EQ(stream.Write(5, "abcde"), 5u);
    EXPECT_EQ(stream.Write(5, "fghij"), 3u);
    EXPECT_TRUE(stream.IsEnd());

    char out[16] = {};
    EXPECT_TRUE(stream.Seek(2, AGIStream::kSeekEnd));
    EXPECT_EQ(stream.Read(10, out), 2u);
    EXPECT_STREQ(out, "gh");
    EXPECT_FALSE(stream.Seek(1, AGIStream::kSeekCurrent));
    EXPECT_FALSE(stream.Seek(9, AGIStream::kSeekStart));
    EXPECT_FALSE(stream.Seek(9, AGIStream::kSeekEnd));
    EXPECT_FALSE(stream.Seek(0xFFFFFFFFu, AGIStream::kSeekCurrent));
    EXPECT_EQ(stream.Position(), 8u);
    stream.Close();
    EXPECT_EQ(stream.Read(4, out), 0u);
}

TEST(AGMemoryStreamTest, OnlyAnOwnedBlockIsFreed) {
    g_frees = 0;
    char borrowed[4] = {'w', 'x', 'y', 'z'};
    {
        AGMemoryStream stream(&PlainAlloc, &CountingFree);
        stream.Attach(borrowed, sizeof borrowed);
        stream.Close();
        EXPECT_EQ(g_frees, 0);
        ASSERT_TRUE(stream.Allocate(16));
        ASSERT_TRUE(stream.Allocate(32));  // replaces (and frees) the first block
        EXPECT_EQ(g_frees, 1);
    }
    EXPECT_EQ(g_frees, 2);
}
