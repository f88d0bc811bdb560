#include "tools/qbank/BankChecker.h"

#include <gtest/gtest.h>

#include "questions/AnswerMatcher.h"
#include "questions/GraphemeEquivalences.h"

namespace {

qbank::Diagnostics Check(const std::string& seventies, const std::string& pairs = "",
                         const std::string& noughties = "") {
    qbank::Bank bank;
    qbank::Diagnostics d;
    qbank::ReadDecadeSource(seventies, "70s.txt", 0, bank, d);
    qbank::ReadDecadeSource(noughties, "00s.txt", 3, bank, d);
    qbank::ReadEquivalenceSource(pairs, "eq.txt", bank, d);
    EXPECT_FALSE(d.HasErrors()) << d.Errors()[0];
    qbank::CheckBank(bank, d);
    return d;
}

bool HasError(const qbank::Diagnostics& d, const std::string& text) {
    for (const auto& e : d.Errors())
        if (e.find(text) != std::string::npos)
            return true;
    return false;
}

const char* const kGood =
    "? 70-0001 Name something at the seaside.\n"
    "= 40 Sand castle/Castle: sand_castle, sandcastle, castle\n"
    "= 20 Ice cream: ice_cream, icecream\n"
    "- a glacier\n";

}  // namespace

TEST(BankChecker, ASoundBankPassesAndLeavesNoMatcherStateBehind) {
    qbank::Diagnostics d = Check(kGood, "c > k\n");
    EXPECT_TRUE(d.Errors().empty()) << d.Errors()[0];
    EXPECT_TRUE(d.Warnings().empty());
    EXPECT_TRUE(WordPairMap.IsEmpty());
    EXPECT_EQ(GetMatcherDictionary(), nullptr);
    EXPECT_TRUE(Check("", "", "? 20-0001 Q\n= 1 A: a\n- b\n").Errors().empty()) << "20- ids are 00s";
}

TEST(BankChecker, ShapeAndJudgementErrors) {
    std::string nine = "? 70-0001 Q\n";
    for (char c = 'a'; c < 'a' + 9; ++c)
        nine += std::string("= 1 ") + c + c + ": " + c + c + "\n";
    const struct {
        std::string source, pairs, error;
    } cases[] = {
        {std::string(kGood) + kGood, "", "id 70-0001 is also used at 70s.txt:1"},
        {"? 80-0001 Q\n= 1 A: a\n- b\n", "", "does not belong to this decade's file"},
        {"? 70-0001 Q\n- b\n", "", "has 0 answers"},
        {nine + "- zz\n", "", "has 9 answers"},
        {"? 70-0001 Q\n= 1 Aa: aa\n= 2 Bb: bb\n- zz\n", "", "not ranked by points"},
        {"? 70-0001 Q\n= 1 Aa: aa\n", "", "has no wrong answer"},
        {"? 70-0001 Q\n= 1 Aa: Aa, aa\n- zz\n", "", "\"Aa\" may hold only"},
        {"? 70-0001 Q\n= 1 Aa: aa, , bb\n- zz\n", "", "\"\" may hold only"},
        {"? 70-0001 Q\n= 1 Aa/Bb: bb\n- zz\n", "", "\"Aa\" is none of the answer's wordings"},
        {kGood, "toolong > x\n", "1 to 5 characters"},
        // "castle" is typed for the second answer too: the first, ranked higher, takes it.
        {"? 70-0001 Q\n= 40 Sand castle: sand_castle, castle\n= 20 Ice cream castle: ice_cream_castle, castle\n"
         "- a glacier\n",
         "", "typing \"castle\" names \"Sand castle\""},
        {"? 70-0001 Q\n= 40 Photo: photo\n- foto\n", "ph > f\n", "wrong answer \"foto\" names \"Photo\""},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(HasError(Check(c.source, c.pairs), c.error)) << c.error;
}

TEST(BankChecker, WarnsOfWordsAMultiGroupAnswerCannotUse) {
    qbank::Diagnostics d = Check("? 70-0001 Q\n"
                                 "= 40 Bucket and spade: bucket_and_spade, bucket | spade, beach_spade\n"
                                 "= 20 Beach ball: beach_ball, ball\n"
                                 "- a glacier\n");
    ASSERT_EQ(d.Warnings().size(), 1u);
    EXPECT_NE(d.Warnings()[0].find("\"beach\" is shared with another answer"), std::string::npos);
}
