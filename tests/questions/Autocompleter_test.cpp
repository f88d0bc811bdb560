#include "questions/Autocompleter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/LogCapture.h"

namespace {
bool Load(QZ2011::Autocompleter& dictionary, const std::string& bytes) {
    return dictionary.LoadFromBytes(bytes.data(), u32(bytes.size()));
}
}  // namespace

TEST(Autocompleter, FindsWordsUnderTheKeysAsWrittenTheLaterListWinsAndCountsAreBoundedByTheData) {
    QZ2011::Autocompleter d;
    const std::string text = "3\r\nbl\r\n1\r\nblock\r\nsu\r\n2\r\nsun\r\nsunscreen\r\nto\r\n2\r\ntowel\r\ntowels\r\n";
    ASSERT_TRUE(Load(d, text));
    // The index keeps its own text: memory freed after the load and written over does not
    // change it.
    std::vector<std::vector<char>> junk;
    for (int i = 0; i < 8; ++i)
        junk.emplace_back(text.size() + 1, '#');
    // Words are whole and case-sensitive.
    for (auto [word, known] :
         {std::pair{"sunscreen", true}, {"towels", true}, {"sunscree", false}, {"Towel", false}, {"t", false}})
        EXPECT_EQ(d.IsWord(word), known) << word;

    // "apple" filed under "zz" is never found; "a" is its own key; "su" is given twice.
    ASSERT_TRUE(Load(d, "4\nzz\n1\napple\na\n1\na\nsu\n1\nsun\nsu\n1\nsuds\n"));
    for (auto [word, known] : {std::pair{"apple", false}, {"a", true}, {"sun", false}, {"suds", true}})
        EXPECT_EQ(d.IsWord(word), known) << word;
    EXPECT_EQ(d.KeyCount(), 3u);

    LogCapture log;
    // A negative count reads as no words; an oversized one stops at the end of the data.
    EXPECT_TRUE(Load(d, "2\nsu\n-5\nto\n1\ntowel\n"));
    EXPECT_TRUE(log.Lines().empty()) << "a complete file is not reported";
    EXPECT_FALSE(d.IsWord("sun"));
    EXPECT_TRUE(d.IsWord("towel"));
    EXPECT_FALSE(Load(d, "99999999999\nto\n100000\ntowel\ntoy"));
    EXPECT_TRUE(d.IsWord("toy"));
    EXPECT_TRUE(log.Contains("autocompletion.txt is truncated"));
    EXPECT_FALSE(d.LoadFromBytes(nullptr, 0));
    EXPECT_EQ(d.KeyCount(), 0u);
}
