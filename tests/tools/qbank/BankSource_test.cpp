#include "tools/qbank/BankSource.h"

#include <gtest/gtest.h>

using V = std::vector<std::string>;

TEST(BankSource, ReadsQuestionsAnswersGroupsWrongAnswersAndCompletionsAndTellsMalformedLinesWithTheirPlace) {
    qbank::Bank bank;
    qbank::Diagnostics d;
    qbank::ReadDecadeSource("# a comment\n\n"
                            "? 80-0001 Name something people kept in a shoebox.\n"
                            "= 30 Photos/Photographs: photo, photos | polaroid_style_print\n"
                            "=  12   Letters : letters, love_letters\n"
                            "- a live goldfish\n"
                            "~ xa-bc\n"
                            "? 80-0002 Second question?\n= 5 Thing: thing\n- nothing\n",
                            "80s.txt", 1, bank, d);
    EXPECT_FALSE(d.HasErrors());
    ASSERT_EQ(bank.questions.size(), 2u);
    const qbank::BankQuestion& q = bank.questions[0];
    EXPECT_EQ(q.id, "80-0001");
    EXPECT_EQ(q.place.line, 3);
    ASSERT_EQ(q.answers.size(), 2u);
    ASSERT_EQ(q.answers[0].groups.size(), 2u);
    EXPECT_EQ(q.answers[0].groups[0], (V{"photo", "photos"}));
    EXPECT_EQ(q.answers[0].groups[1], V{"polaroid_style_print"});
    EXPECT_EQ(q.answers[1].points, 12u);
    EXPECT_EQ(q.answers[1].text, "Letters");
    EXPECT_EQ(q.wrong, V{"a live goldfish"});
    EXPECT_EQ(q.completions, V{"xa-bc"});
    EXPECT_EQ(qbank::FirstForm(q.answers[0].text), "Photos");

    // Malformed lines are reported with their place.
    qbank::ReadDecadeSource("= 5 Orphan: orphan\n? 70-0001\n= x Bad points: bad\n= 5 No colon\n* what\n", "70s.txt",
                            0, bank, d);
    ASSERT_EQ(d.Errors().size(), 5u);
    EXPECT_EQ(d.Errors()[0], "70s.txt:1: error: line before the first question");
    EXPECT_NE(d.Errors()[1].find("70s.txt:2: error: question 70-0001 has no text"), std::string::npos);
    EXPECT_NE(d.Errors()[2].find("are not a number"), std::string::npos);
    EXPECT_NE(d.Errors()[3].find("70s.txt:4:"), std::string::npos);
    EXPECT_NE(d.Errors()[4].find("unknown line kind '*'"), std::string::npos);

    qbank::ReadEquivalenceSource("# pairs\nph > f\nie! > y!, ey!\nbroken line\n", "eq.txt", bank, d);
    ASSERT_EQ(bank.pairs.size(), 2u);
    EXPECT_EQ(bank.pairs[1].typed, (V{"y!", "ey!"}));
    ASSERT_EQ(d.Errors().size(), 6u);
    EXPECT_NE(d.Errors()[5].find("eq.txt:4:"), std::string::npos);
    qbank::ReadDictionarySource("# words\nsun  towel\n\tbeach\n", bank);
    EXPECT_EQ(bank.extraWords, (V{"sun", "towel", "beach"}));
}
