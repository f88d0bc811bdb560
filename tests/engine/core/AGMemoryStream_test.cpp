#include "engine/core/AGMemoryStream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

TEST(AGMemoryStreamTest, ReadsWritesAndSeeksStayInsideTheBlock) {
    AGMemoryStream stream;
    ASSERT_TRUE(stream.Allocate(8));
    EXPECT_EQ((std::vector<u32>{stream.Write(5, "abcde"), stream.Write(5, "fghij"), stream.IsEnd()}),
              (std::vector<u32>{5, 3, true}));

    char out[16] = {};
    EXPECT_TRUE(stream.Seek(2, AGIStream::kSeekEnd) && stream.Read(10, out) == 2u) << out;
    EXPECT_STREQ(out, "gh");
    // Past either end, and from no known origin.
    const std::pair<u32, u32> refused[] = {{1, AGIStream::kSeekCurrent}, {9, AGIStream::kSeekStart},
                                           {9, AGIStream::kSeekEnd}, {0xFFFFFFFFu, AGIStream::kSeekCurrent},
                                           {0, 3}};
    for (const auto& [offset, from] : refused)
        EXPECT_FALSE(stream.Seek(offset, from)) << offset << " from " << from;
    EXPECT_EQ(stream.Position(), 8u);
    stream.Close();
    EXPECT_EQ(stream.Read(4, out), 0u);
}


// The stream frees what it allocated, once, and never a block it was lent.
TEST(AGMemoryStreamTest, FreesItsOwnBlockOnceAndNeverAnAttachedOne) {
    static int frees;
    frees = 0;
    auto countedFree = [](void* p) {
        ++frees;
        free(p);
    };
    {
        AGMemoryStream stream(&malloc, countedFree);
        ASSERT_TRUE(stream.Allocate(4));
        ASSERT_TRUE(stream.Allocate(0));  // replaces, freeing the first
        EXPECT_EQ(frees, 1);
        stream.Close();
        stream.Close();
        EXPECT_EQ(frees, 2);
        char lent[4] = {'l', 'e', 'n', 't'}, out[4] = {};
        stream.Attach(lent, sizeof lent);
        EXPECT_TRUE(stream.Read(4, out) == 4 && memcmp(out, lent, 4) == 0);
        stream.Close();
        ASSERT_TRUE(stream.Allocate(8));
    }
    EXPECT_EQ(frees, 3);
}
