#include "questions/LineReader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ByteWriter.h"

TEST(LineReader, LinesEndAtCrOrLfAndACrTakesTheNextByte) {
    // "b\rX": the CR swallows X even though X is not a line feed.
    std::string bytes = "a\r\nb\rXc\nd";
    LineReader r(bytes.data(), u32(bytes.size()));
    EXPECT_STREQ(r.CutLine(), "a");
    EXPECT_STREQ(r.CutLine(), "b");
    EXPECT_STREQ(r.CutLine(), "c");
    EXPECT_STREQ(r.CutLine(), "d");
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.CutLine(), nullptr);
    EXPECT_TRUE(r.Failed());
    EXPECT_EQ(bytes, "a\r\nb\rXc\nd") << "the source bytes are never written";
}

TEST(LineReader, CountsFollowTheTerminatorOnAnyByteBoundary) {
    ByteWriter w;
    w.Text("abc\r\n").U32(0x01020304).Text("x\n").U32(7).Text("\r");
    LineReader r(w.Str().data(), u32(w.Size()));
    EXPECT_STREQ(r.CutLine(), "abc");
    EXPECT_EQ(r.ReadU32(), 0x01020304u);
    EXPECT_STREQ(r.CutLine(), "x");
    EXPECT_EQ(r.ReadU32(), 7u);
    EXPECT_STREQ(r.CutLine(), "") << "a lone CR at the end is an empty line";
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.Failed());
}

TEST(LineReader, ShortReadsFailStickilyWithoutReadingPastTheEnd) {
    std::string bytes = "\x01\x02\x03";
    LineReader r(bytes.data(), 3);
    EXPECT_EQ(r.ReadU32(), 0u);
    EXPECT_TRUE(r.Failed());
    EXPECT_EQ(r.Remaining(), 3u);

    LineReader none(nullptr, 100);
    EXPECT_EQ(none.CutLine(), nullptr);
    EXPECT_TRUE(none.Failed());
}

TEST(LineReader, DecimalLinesReadLikeAtoiWithoutLocale) {
    EXPECT_EQ(ParseDecimal("  42abc"), 42);
    EXPECT_EQ(ParseDecimal("-7"), -7);
    EXPECT_EQ(ParseDecimal("+3"), 3);
    EXPECT_EQ(ParseDecimal("x1"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999999999999999"), -INT64_MAX);
}
