#include "tools/qbank/BankWriter.h"

#include <gtest/gtest.h>

#include "questions/GraphemeEquivalences.h"

TEST(BankWriter, ListPairsAndDictionaryReadBackThroughTheGameParsers) {
    qbank::Bank bank;
    qbank::Diagnostics d;
    qbank::ReadDecadeSource("? 70-0001 Name something at the seaside.\n"
                            "= 40 Sand castle/Castle: sand_castle, sandcastle | bucket\n"
                            "= 20 Ice cream: ice_cream, ice cream, icecream\n"
                            "- a glacier\n- skis\n"
                            "~ xa-bc\n",
                            "70s.txt", 0, bank, d);
    qbank::ReadDecadeSource("? 00-0001 Second?\n= 1 Yes: yes\n- no\n", "00s.txt", 3, bank, d);
    qbank::ReadEquivalenceSource("ph > f\nc > k, s\n", "eq.txt", bank, d);
    qbank::ReadDictionarySource("beach sea\n", bank);
    ASSERT_FALSE(d.HasErrors());
    EXPECT_EQ(qbank::ListBytes(bank), "70-0001\r\n00-0001\r\n");

    std::string pairs = qbank::WordPairBytes(bank);
    ASSERT_TRUE(LoadWordPairs(pairs.data(), u32(pairs.size())));
    EXPECT_EQ(GraphemeDistance("!cent!", "!sent!"), 1);
    WordPairMap.Clear();

    // Wording words (not those holding a space) and the extra words, keyed by the tool.
    std::vector<std::string> words = qbank::DictionaryWords(bank);
    EXPECT_EQ(words, (std::vector<std::string>{"beach", "bucket", "castle", "cream", "ice", "icecream",
                                               "sand", "sandcastle", "sea", "yes"}));
    std::string text = qbank::AutocompletionBytes({"a", "sea", "sun", "sunscreen"});
    EXPECT_EQ(text, "3\r\na\r\n1\r\na\r\nse\r\n1\r\nsea\r\nsu\r\n2\r\nsun\r\nsunscreen\r\n");
}
