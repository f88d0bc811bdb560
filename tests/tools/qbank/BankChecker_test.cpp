#include "tools/qbank/BankChecker.h"

#include <gtest/gtest.h>

#include "questions/AnswerMatcher.h"
#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/Question.h"
#include "tests/support/FileContents.h"
#include "tests/support/Timing.h"
#include "tools/qbank/BankWriter.h"

namespace {

// The sources read into `read` (a bank of its own when none is given), then checked.
qbank::Diagnostics Check(const std::string& seventies, const std::string& pairs = "",
                         const std::string& noughties = "", qbank::Bank* read = nullptr) {
    qbank::Bank own;
    qbank::Bank& bank = read ? *read : own;
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

// A word of the question at the limits: a long run of one letter that the sample
// equivalences regroup ("s > ss", "ss > s"), told apart by its last two letters.
std::string RunWord(size_t n) {
    const char kLast[] = "bdgjvw";
    return std::string(qbank::kMaxWordLength - 2, 's') + kLast[n / 6] + kLast[n % 6];
}

// Eight answers of four wordings each over two words of their own: the most wordings,
// words per wording, letters per word and distinct letters a question may have.
std::string QuestionAtTheLimits() {
    std::string source = "? 70-0001 Name a long word.\n";
    for (size_t a = 0; a < 8; ++a) {
        const std::string w1 = RunWord(2 * a), w2 = RunWord(2 * a + 1);
        source += "= " + std::to_string(80 - 10 * a) + " " + w1 + ": " + w1 + ", " + w2 + ", " + w2 + "_" + w1 +
                  ", " + w1 + "_" + w2 + "_" + w1 + "_" + w2 + "_" + w1 + "_" + w2 + "\n";
    }
    return source + "- a glacier\n";
}

const char* const kGood =
    "? 70-0001 Name something at the seaside.\n"
    "= 40 Sand castle/Castle: sand_castle, sandcastle, castle\n"
    "= 20 Ice cream: ice_cream, icecream\n"
    "- a glacier\n";

}  // namespace

// A sound bank passes and leaves no matcher state behind, unusable words are warned of; shape,
// judgement and judge-limit errors name their question.
TEST(BankChecker, ASoundBankPassesUnusableWordsAreWarnedOfAndShapeJudgementAndLimitErrorsNameTheirQuestion) {
    qbank::Diagnostics d = Check(kGood, "c > k\n");
    EXPECT_TRUE(d.Errors().empty()) << d.Errors()[0];
    EXPECT_TRUE(d.Warnings().empty());
    EXPECT_TRUE(WordPairMap.IsEmpty());
    EXPECT_EQ(GetMatcherDictionary(), nullptr);
    EXPECT_TRUE(Check("", "", "? 20-0001 Q\n= 1 A: a\n- b\n").Errors().empty()) << "20- ids are 00s";

    // A word a multi-group answer cannot use is warned of.
    d = Check("? 70-0001 Q\n"
              "= 40 Bucket and spade: bucket_and_spade, bucket | spade, beach_spade\n"
              "= 20 Beach ball: beach_ball, ball\n"
              "- a glacier\n");
    ASSERT_EQ(d.Warnings().size(), 1u);
    EXPECT_NE(d.Warnings()[0].find("\"beach\" is shared with another answer"), std::string::npos);

    std::string nine = "? 70-0001 Q\n";
    for (char c = 'a'; c < 'a' + 9; ++c)
        nine += std::string("= 1 ") + c + c + ": " + c + c + "\n";
    ASSERT_TRUE(Check(QuestionAtTheLimits()).Errors().empty());
    const std::string seventeen(17, 'k');
    std::string wordings = "? 70-0002 Q\n= 2 Kk: kk\n= 1 Aa: aa";
    for (int i = 0; i < 31; ++i)
        wordings += ", aa";
    std::string letters = "? 70-0002 Q\n";
    for (char c = 'a'; c < 'a' + 8; ++c) {
        letters += std::string("= ") + char('9' - (c - 'a')) + " " + c + ": " + c;
        for (char d = 'a'; d < 'a' + 2; ++d)
            letters += std::string(", ") + c + std::string(15, d);
        letters += "\n";
    }
    const struct { std::string source, pairs, error; } cases[] = {
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
        // Beyond the judge's limits.
        {"? 70-0002 Q\n= 1 " + seventeen + ": " + seventeen + "\n- zz\n", "",
         "70-0002: \"" + seventeen + "\" has 17 letters (at most 16)"},
        {"? 70-0002 Q\n= 1 A b c d e f g: a_b_c_d_e_f_g\n- zz\n", "",
         "70-0002: \"a_b_c_d_e_f_g\" has 7 words (at most 6)"},
        {wordings + "\n- zz\n", "", "70-0002 has 33 wordings (at most 32)"},
        {letters + "- zz\n", "", "70-0002's distinct words have 264 letters (at most 256)"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(HasError(Check(c.source, c.pairs), c.error)) << c.error;
}

// Runs of one letter regroup in many ways, the grapheme search's costliest input.
TEST(BankChecker, AQuestionAtTheLimitsJudgesAnyTypedTextQuickly) {
    qbank::Bank bank;
    const qbank::Diagnostics d =
        Check(QuestionAtTheLimits(), FileContents(TALLYVOX_QUESTION_SOURCES "/equivalences.txt"), "", &bank);
    ASSERT_GT(bank.pairs.size(), 30u);
    ASSERT_TRUE(d.Errors().empty()) << d.Errors()[0];

    const std::string file = qbank::QuestionFileBytes(bank.questions[0]);
    const std::string pairs = qbank::WordPairBytes(bank);
    LoadWordPairs(pairs.data(), u32(pairs.size()));
    double slowest = 0;
    for (size_t first : {6, 12, 16, 20, 24, 32}) {
        std::string typed;
        std::vector<std::string> words;
        for (size_t n = first; typed.size() + n + 1 <= 300; ++n) {
            words.push_back(std::string(n, 's'));
            typed += (typed.empty() ? "" : " ") + words.back();
        }
        // Listed words take the lenient pass as well.
        const std::string listed = qbank::AutocompletionBytes(words);
        QZ2011::Autocompleter dictionary;
        dictionary.LoadFromBytes(listed.data(), u32(listed.size()));
        SetMatcherDictionary(&dictionary);
        QZ2011::Question q;
        ASSERT_TRUE(q.Parse(file.data(), u32(file.size())));
        int result = 0;
        slowest = std::max(slowest, BestOfMs(15, [&] { result = q.CheckAnswer(typed); }));
        EXPECT_EQ(result, -1);
        SetMatcherDictionary(nullptr);
    }
    WordPairMap.Clear();
    EXPECT_LT(slowest, 2.0 * TimingScale());
}
