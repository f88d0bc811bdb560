#include "tools/qbank/BankChecker.h"

#include <gtest/gtest.h>

#include "questions/AnswerMatcher.h"
#include "questions/GraphemeEquivalences.h"

namespace {

struct Checked {
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    bool Has(const std::string& text) const {
        for (const auto& e : errors)
            if (e.find(text) != std::string::npos)
                return true;
        return false;
    }
};

Checked Check(const std::string& seventies, const std::string& pairs = "", const std::string& noughties = "") {
    qbank::Bank bank;
    qbank::Diagnostics d;
    qbank::ReadDecadeSource(seventies, "70s.txt", 0, bank, d);
    qbank::ReadDecadeSource(noughties, "00s.txt", 3, bank, d);
    qbank::ReadEquivalenceSource(pairs, "eq.txt", bank, d);
    EXPECT_FALSE(d.HasErrors()) << d.Errors()[0];
    qbank::CheckBank(bank, d);
    return {d.Errors(), d.Warnings()};
}

const char* const kGood =
    "? 70-0001 Name something at the seaside.\n"
    "= 40 Sand castle/Castle: sand_castle, sandcastle, castle\n"
    "= 20 Ice cream: ice_cream, icecream\n"
    "- a glacier\n";

}  // namespace

TEST(BankChecker, ASoundBankPassesAndLeavesNoMatcherStateBehind) {
    Checked c = Check(kGood, "c > k\n");
    EXPECT_TRUE(c.errors.empty()) << c.errors[0];
    EXPECT_TRUE(c.warnings.empty());
    EXPECT_TRUE(WordPairMap.IsEmpty());
    EXPECT_EQ(GetMatcherDictionary(), nullptr);
}

TEST(BankChecker, ShapeErrors) {
    EXPECT_TRUE(Check(std::string(kGood) + kGood).Has("id 70-0001 is also used at 70s.txt:1"));
    EXPECT_TRUE(Check("? 80-0001 Q\n= 1 A: a\n- b\n").Has("does not belong to this decade's file"));
    EXPECT_TRUE(Check("", "", "? 20-0001 Q\n= 1 A: a\n- b\n").errors.empty()) << "20- ids are 00s";
    EXPECT_TRUE(Check("? 70-0001 Q\n- b\n").Has("has 0 answers"));
    std::string nine = "? 70-0001 Q\n";
    for (char c = 'a'; c < 'a' + 9; ++c)
        nine += std::string("= 1 ") + c + c + ": " + c + c + "\n";
    EXPECT_TRUE(Check(nine + "- zz\n").Has("has 9 answers"));
    EXPECT_TRUE(Check("? 70-0001 Q\n= 1 Aa: aa\n= 2 Bb: bb\n- zz\n").Has("not ranked by points"));
    EXPECT_TRUE(Check("? 70-0001 Q\n= 1 Aa: aa\n").Has("has no wrong answer"));
    EXPECT_TRUE(Check("? 70-0001 Q\n= 1 Aa: Aa, aa\n- zz\n").Has("\"Aa\" may hold only"));
    EXPECT_TRUE(Check("? 70-0001 Q\n= 1 Aa: aa, , bb\n- zz\n").Has("\"\" may hold only"));
    EXPECT_TRUE(Check("? 70-0001 Q\n= 1 Aa/Bb: bb\n- zz\n").Has("\"Aa\" is none of the answer's wordings"));
    EXPECT_TRUE(Check(kGood, "toolong > x\n").Has("1 to 5 characters"));
}

TEST(BankChecker, JudgesTheAnswersAsTheGameWill) {
    // "castle" is typed for the ice cream too: the sand castle, ranked first, takes it.
    Checked shared = Check("? 70-0001 Q\n"
                           "= 40 Sand castle: sand_castle, castle\n"
                           "= 20 Ice cream castle: ice_cream_castle, castle\n"
                           "- a glacier\n");
    EXPECT_TRUE(shared.Has("typing \"castle\" names \"Sand castle\""));
    // A wrong answer that the matcher would accept through an equivalence.
    EXPECT_TRUE(Check("? 70-0001 Q\n= 40 Photo: photo\n- foto\n", "ph > f\n")
                    .Has("wrong answer \"foto\" names \"Photo\""));
}

TEST(BankChecker, WarnsOfWordsAMultiGroupAnswerCannotUse) {
    Checked c = Check("? 70-0001 Q\n"
                      "= 40 Bucket and spade: bucket_and_spade, bucket | spade, beach_spade\n"
                      "= 20 Beach ball: beach_ball, ball\n"
                      "- a glacier\n");
    ASSERT_EQ(c.warnings.size(), 1u);
    EXPECT_NE(c.warnings[0].find("\"beach\" is shared with another answer"), std::string::npos);
}
