#include "questions/Autocompleter.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/LogCapture.h"

namespace {
bool Load(QZ2011::Autocompleter& dictionary, const std::string& bytes) {
    return dictionary.LoadFromBytes(bytes.data(), u32(bytes.size()));
}
}  // namespace

TEST(Autocompleter, FindsWordsUnderTheKeysAsWrittenAndTheLaterListWins) {
    QZ2011::Autocompleter d;
    ASSERT_TRUE(Load(d, "3\r\nbl\r\n1\r\nblock\r\nsu\r\n2\r\nsun\r\nsunscreen\r\nto\r\n2\r\ntowel\r\ntowels\r\n"));
    EXPECT_TRUE(d.IsWord("sunscreen"));
    EXPECT_TRUE(d.IsWord("towels"));
    EXPECT_FALSE(d.IsWord("sunscree"));
    EXPECT_FALSE(d.IsWord("Towel")) << "case-sensitive";
    EXPECT_FALSE(d.IsWord("t"));

    // "apple" filed under "zz" is never found; "a" is its own key; "su" is given twice.
    ASSERT_TRUE(Load(d, "4\nzz\n1\napple\na\n1\na\nsu\n1\nsun\nsu\n1\nsuds\n"));
    EXPECT_FALSE(d.IsWord("apple"));
    EXPECT_TRUE(d.IsWord("a"));
    EXPECT_FALSE(d.IsWord("sun"));
    EXPECT_TRUE(d.IsWord("suds"));
    EXPECT_EQ(d.KeyCount(), 3u);
}

TEST(Autocompleter, CountsAreBoundedByTheData) {
    QZ2011::Autocompleter d;
    LogCapture log;
    // A negative count reads as no words; an oversized one stops at the end of the data.
    EXPECT_TRUE(Load(d, "2\nsu\n-5\nto\n1\ntowel\n"));
    EXPECT_FALSE(d.IsWord("sun"));
    EXPECT_TRUE(d.IsWord("towel"));
    EXPECT_FALSE(Load(d, "99999999999\nto\n100000\ntowel\ntoy"));
    EXPECT_TRUE(d.IsWord("toy"));
    EXPECT_TRUE(log.Contains("autocompletion.txt is truncated"));
    EXPECT_FALSE(d.LoadFromBytes(nullptr, 0));
    EXPECT_EQ(d.KeyCount(), 0u);
}
