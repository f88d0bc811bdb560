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

    // Assigning again rewinds and clears the failure; null bytes give an empty reader
    // whatever size comes with them.
    r.Assign(bytes.data(), 3);
    EXPECT_FALSE(r.Failed());
    EXPECT_STREQ(r.CutLine(), "a");
    EXPECT_TRUE(r.AtEnd());
    r.Assign(nullptr, 16);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(r.Remaining(), 0u);
    EXPECT_EQ(r.CutLine(), nullptr);
    EXPECT_TRUE(r.Failed());
}

TEST(LineReader, DecimalsReadLikeTheCLibraryAndSaturate) {
    const struct {
        const char* text;
        i64 value;
    } cases[] = {
        {" \t+42x", 42},  {"-17", -17},  {"abc", 0},  {"", 0},
        {"9223372036854775806", INT64_MAX - 1},  {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", INT64_MAX},
        {"99999999999999999999", INT64_MAX},  {"-99999999999999999999", -INT64_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
    EXPECT_EQ(ParseDecimal(nullptr), 0);
}
