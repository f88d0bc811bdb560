#include "tools/qbank/BankSource.h"

#include <gtest/gtest.h>

namespace {

const char* const kSource =
    "# a comment\n"
    "\n"
    "? 80-0001 Name something people kept in a shoebox.\n"
    "= 30 Photos/Photographs: photo, photos | polaroid_style_print\n"
    "=  12   Letters : letters, love_letters\n"
    "- a live goldfish\n"
    "~ xa-bc\n"
    "? 80-0002 Second question?\n"
    "= 5 Thing: thing\n"
    "- nothing\n";

}  // namespace

TEST(BankSource, ReadsQuestionsAnswersGroupsAndWrongAnswers) {
    qbank::Bank bank;
    qbank::Diagnostics d;
    qbank::ReadDecadeSource(kSource, "80s.txt", 1, bank, d);
    EXPECT_FALSE(d.HasErrors());
    ASSERT_EQ(bank.questions.size(), 2u);
    const qbank::BankQuestion& q = bank.questions[0];
    EXPECT_EQ(q.id, "80-0001");
    EXPECT_EQ(q.text, "Name something people kept in a shoebox.");
    EXPECT_EQ(q.decade, 1);
    EXPECT_EQ(q.place.line, 3);
    ASSERT_EQ(q.answers.size(), 2u);
    EXPECT_EQ(q.answers[0].points, 30u);
    EXPECT_EQ(q.answers[0].text, "Photos/Photographs");
    ASSERT_EQ(q.answers[0].groups.size(), 2u);
    EXPECT_EQ(q.answers[0].groups[0], (std::vector<std::string>{"photo", "photos"}));
    EXPECT_EQ(q.answers[0].groups[1], (std::vector<std::string>{"polaroid_style_print"}));
    EXPECT_EQ(q.answers[1].points, 12u);
    EXPECT_EQ(q.answers[1].text, "Letters");
    EXPECT_EQ(q.wrong, (std::vector<std::string>{"a live goldfish"}));
    EXPECT_EQ(q.completions, (std::vector<std::string>{"xa-bc"}));
    EXPECT_EQ(qbank::FirstForm(q.answers[0].text), "Photos");
}

TEST(BankSource, MalformedLinesAreReportedWithTheirPlace) {
    qbank::Bank bank;
    qbank::Diagnostics d;
    qbank::ReadDecadeSource("= 5 Orphan: orphan\n"
                            "? 70-0001\n"
                            "= x Bad points: bad\n"
                            "= 5 No colon\n"
                            "* what\n",
                            "70s.txt", 0, bank, d);
    ASSERT_EQ(d.Errors().size(), 5u);
    EXPECT_EQ(d.Errors()[0], "70s.txt:1: error: line before the first question");
    EXPECT_NE(d.Errors()[1].find("70s.txt:2: error: question 70-0001 has no text"), std::string::npos);
    EXPECT_NE(d.Errors()[2].find("are not a number"), std::string::npos);
    EXPECT_NE(d.Errors()[3].find("70s.txt:4:"), std::string::npos);
    EXPECT_NE(d.Errors()[4].find("unknown line kind '*'"), std::string::npos);
}

TEST(BankSource, ReadsEquivalencesAndDictionaryWords) {
    qbank::Bank bank;
    qbank::Diagnostics d;
    qbank::ReadEquivalenceSource("# pairs\nph > f\nie! > y!, ey!\nbroken line\n", "eq.txt", bank, d);
    ASSERT_EQ(bank.pairs.size(), 2u);
    EXPECT_EQ(bank.pairs[1].key, "ie!");
    EXPECT_EQ(bank.pairs[1].typed, (std::vector<std::string>{"y!", "ey!"}));
    ASSERT_EQ(d.Errors().size(), 1u);
    EXPECT_NE(d.Errors()[0].find("eq.txt:4:"), std::string::npos);

    qbank::ReadDictionarySource("# words\nsun  towel\n\tbeach\n", bank);
    EXPECT_EQ(bank.extraWords, (std::vector<std::string>{"sun", "towel", "beach"}));
}
