#include "questions/LineReader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ByteWriter.h"

TEST(LineReader, LinesEndAtCrOrLfACrTakesTheNextByteAndCountsFollowUnaligned) {
    ByteWriter w;
    // "b\rX": the CR swallows X even though X is not a line feed.
    w.Text("a\r\nb\rXc\n").U32(0x01020304).Text("d\r");
    const std::string bytes = w.Str();
    LineReader r(bytes.data(), u32(bytes.size()));
    EXPECT_STREQ(r.CutLine(), "a");
    EXPECT_STREQ(r.CutLine(), "b");
    EXPECT_STREQ(r.CutLine(), "c");
    EXPECT_EQ(r.ReadU32(), 0x01020304u);
    EXPECT_STREQ(r.CutLine(), "d") << "a lone CR at the end ends the line";
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.CutLine(), nullptr);
    EXPECT_EQ(r.ReadU32(), 0u);
    EXPECT_TRUE(r.Failed());
    EXPECT_EQ(bytes, w.Str()) << "the source bytes are never written";
}
