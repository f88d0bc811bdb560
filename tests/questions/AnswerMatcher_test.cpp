#include "questions/AnswerMatcher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/LineReader.h"
#include "questions/Question.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"
#include "tests/support/Timing.h"

namespace {

bool Load(QZ2011::Autocompleter& dictionary, const std::string& bytes) {
    return dictionary.LoadFromBytes(bytes.data(), u32(bytes.size()));
}

class MatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pairs = WordPairBytes({{"ph", {"f"}}, {"u", {"o"}}, {"i", {"y"}}, {"n!", {"nny!"}}});
        ASSERT_TRUE(LoadWordPairs(pairs.data(), u32(pairs.size())));
        SetDictionary({"zz"});
        Check("");
    }
    void TearDown() override {
        SetMatcherDictionary(nullptr);
        WordPairMap.Clear();
    }
    void SetDictionary(const std::vector<std::string>& words) {
        ASSERT_TRUE(Load(m_dictionary, DictionaryOf(words)));
        SetMatcherDictionary(&m_dictionary);
    }
    int Score(int answer, const std::string& typed, bool lenient = false) {
        return m_question.GetAnswer(answer).Match(ToLowerCopy(typed), lenient, m_question.GetWordCounts());
    }
    // On a freshly loaded question.
    int Check(const std::string& typed) {
        EXPECT_TRUE(m_question.Parse(m_bytes.data(), u32(m_bytes.size())));
        return m_question.CheckAnswer(typed);
    }

    const std::string m_bytes = QuestionBytes(SeasideQuestion());
    QZ2011::Question m_question;
    QZ2011::Autocompleter m_dictionary;
};

// One question answered by its only wording.
QZ2011::Question& OneAnswer(QZ2011::Question& q, const std::string& wording) {
    TestQuestion one;
    one.answers = {{10, "A", {{wording}}}};
    const std::string bytes = QuestionBytes(one);
    EXPECT_TRUE(q.Parse(bytes.data(), u32(bytes.size())));
    return q;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> out;
    SplitWords(text, separator, out);
    return out;
}

}  // namespace

TEST(SplitWords, NormalisesThenCutsKeepingTheLastPiece) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("fish_and/chips", ' '), (V{"fish", "and", "chips"}));
    EXPECT_EQ(Split("rock'n'roll!?", ' '), V{"rocknroll"});
    // Bytes above 0x7F are never letters, whatever the sign of char.
    EXPECT_EQ(Split("caf\xc3\xa9 au\tlait", ' '), (V{"caf", "au\tlait"}));
    // Wordings: "_" separates, a space stays inside a word; empty pieces are skipped but the
    // last one is kept.
    EXPECT_EQ(Split("_ice cream__van_", '_'), (V{"ice cream", "van", ""}));
}

// Each row: the typed text, the score one answer gives it, and what a check of the whole
// question names.
TEST_F(MatcherTest, ScoresFollowTheRulesCheckAnswerNamesTheBestAnswerNotYetFoundAndListedWordsTakeOneReplacementOrOneSlip) {
    const struct { const char* typed; int answer; int score; int named; } cases[] = {
        {"Towel", kTowel, 0, kTowel}, {"sunscreen", kSunCream, 0, kSunCream},
        {"cream", kSunCream, 1, kSunCream},      // a wording's last word alone
        {"sun block", kSunCream, 1, kSunCream},  // more typed words than groups: the total starts at 1
        {"sun cream", kSun, 2, kSunCream},       // and "cream" is surplus to the wording "sun"
        {"towel ", kTowel, 2, kTowel},           // a trailing space is one more (empty) word
        {"sun", kSunCream, -1, kSun}, {"Salt&Pepper", kSaltPepper, 1, kSaltPepper}, {"b c d towel", kTowel, 2, kTowel},
        {"towel b c d e f g h i j k", kTowel, 2, kTowel},  // only ten words compared, all surplus counted
        {"b c d e f g h i j towel", kTowel, 2, kTowel},    // the tenth word is still compared
        {"a b c d e f g h i j towel", kTowel, -1, -1},     // the eleventh is not
        {"fotograf", kPhoto, 2, kPhoto},  // an unlisted word takes several replacements
        {"son", kSun, -1, -1},            // a short word takes none
        {"sunny", kSun, -1, -1},          // on either side
        {"kyte", kKite, 1, kKite},        // four letters are not short
        {"sonscreen", kSunCream, 1, kSunCream},
        {"beach spade", kBucket, -1, -1},  // "beach" is also in "Beach ball": a multi-group answer cannot use it
        {"pail", kBucket, 1, kBucket}, {"pail spade", kBucket, 2, kBucket},
        {"towle", kTowel, -1, -1},  // an unlisted slip is not forgiven
        {"ball x", kBeachBall, 2, kBall},  // Ball and Beach ball both cost 2: the earlier wins
        {"?!., ;", kTowel, -1, -1}, {"", kTowel, -1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Score(c.answer, c.typed), c.score) << c.typed;
        EXPECT_EQ(Check(c.typed), c.named) << c.typed;
    }
    // Equal scores go to the lower index; a found answer does not match again.
    EXPECT_EQ(Check("ball"), kBall);
    EXPECT_EQ(m_question.CheckAnswer("ball"), kBeachBall);
    EXPECT_EQ(m_question.CheckAnswer("ball"), -1);
    EXPECT_EQ(m_question.RemainingRightAnswers(), 7u);

    // Listed words take one replacement or, in the lenient pass, one slip.
    SetDictionary({"fotograf", "fotograph", "towle", "towl", "towell", "towal", "kiet", "kote", "sna"});
    EXPECT_EQ(Score(kPhoto, "fotograph"), 1);
    EXPECT_EQ(Score(kTowel, "towle", false), -1);
    EXPECT_EQ(Score(kTowel, "towle", true), 1);
    EXPECT_EQ(Score(kTowel, "towl towel", true), 2);  // the exact word later still wins; +2 surplus
    const std::pair<const char*, int> listed[] = {
        {"fotograf", -1}, {"fotograph", kPhoto}, {"towle", kTowel}, {"towl", kTowel}, {"towell", kTowel},
        {"towal", kTowel},  // a substitution needs five letters
        {"kiet", kKite},    {"kote", -1},         {"sna", -1},
    };
    for (const auto& [typed, named] : listed)
        EXPECT_EQ(Check(typed), named) << typed;
}

TEST(AnswerMatcher, WordsAreComparedWholeAndACostOf99IsNoMatch) {
    QZ2011::Question q;
    const std::string a64(64, 'a');
    EXPECT_EQ(OneAnswer(q, a64).CheckAnswer(a64 + "b"), -1);
    EXPECT_EQ(q.CheckAnswer(a64), 0);
    // One word repeated 98 times, typed once among 99 words: each word costs 1 for the
    // surplus, and the surplus over the groups 1 more.
    std::string wording = "towel", typed = "towel";
    for (int i = 1; i < 98; ++i) {
        wording += "_towel";
        typed += " x";
    }
    const RightAnswer& answer = OneAnswer(q, wording).GetAnswer(0);
    EXPECT_EQ(answer.Match(typed, false, q.GetWordCounts()), 1);
    EXPECT_EQ(answer.Match(typed + " x", false, q.GetWordCounts()), -1);

    // An answer parsed on its own has no word numbers: its distances are searched each time.
    ByteWriter w;
    w.U32(9).Text("Photograph\n").U32(1).U32(2).Text("photograph\n").Text("photo\n");
    LineReader reader(w.Str().data(), u32(w.Size()));
    RightAnswer photo;
    ASSERT_TRUE(photo.Parse(reader));
    EXPECT_EQ(photo.Groups()[0].wordings[1].words.at(0).number, AnswerWord::kUnnumbered);
    const std::string pairs = WordPairBytes({{"ph", {"f"}}});
    ASSERT_TRUE(LoadWordPairs(pairs.data(), u32(pairs.size())));
    EXPECT_EQ(photo.Match("photo", false, {}), 0);
    EXPECT_EQ(photo.Match("fotograf", false, {}), 2);
    WordPairMap.Clear();
}

TEST(IsOneEditApart, OneSlipOnlyAndSubstitutionsInLongerWords) {
    const struct { const char* answer; const char* typed; bool apart; } cases[] = {
        {"!towel!", "!towel!", true}, {"!towel!", "!tovel!", true},
        {"!towl!", "!towo!", false},    // a substitution needs 7 characters
        {"!kite!", "!kit!", false},     // the typed side needs 6
        {"!towel!", "!otwle!", false},  // a second slip
        {"!towel!", "!towle!!", false},  // after a slip both must end together
        {"!towel", "!towel!", true},    {"!towel", "!towel!!", false},  // one character left over
        {"!towel!", "!towel", true},    {"!towel!!", "!towel", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsOneEditApart(c.answer, c.typed), c.apart) << c.answer << " " << c.typed;
    // Only the views are read: the byte after one never completes a slip.
    const std::string_view towel = std::string_view("!towelQ").substr(0, 6);
    EXPECT_TRUE(IsOneEditApart(towel, "!toweQl"));
    EXPECT_TRUE(IsOneEditApart("!toweQl", towel));
}

TEST(Autocompleter, FindsWordsUnderTheKeysAsWrittenTheLaterListWinsAndCountsAreBoundedByTheData) {
    QZ2011::Autocompleter d;
    // The index keeps its own text: memory freed after the load and written over does not
    // change it. Words are whole and case-sensitive; "apple" filed under "zz" is never found;
    // "a" is its own key; "su" is given twice.
    ASSERT_TRUE(Load(d, "5\r\nzz\r\n1\r\napple\r\na\r\n1\r\na\r\nsu\r\n1\r\nsun\r\nsu\r\n1\r\nsuds\r\n"
                        "to\r\n2\r\ntowel\r\ntowels\r\n"));
    std::vector<std::string> junk(8, std::string(100, '#'));
    std::string known;
    for (const char* word : {"towels", "towel", "towe", "Towel", "t", "apple", "a", "sun", "suds"})
        known += d.IsWord(word) ? std::string(word) + " " : "";
    EXPECT_EQ(known, "towels towel a suds ");
    EXPECT_EQ(d.KeyCount(), 4u);

    LogCapture log;
    // A negative count reads as no words; an oversized one stops at the end of the data.
    EXPECT_TRUE(Load(d, "2\nsu\n-5\nto\n1\ntowel\n"));
    EXPECT_TRUE(log.Lines().empty()) << "a complete file is not reported";
    EXPECT_EQ(std::pair(d.IsWord("sun"), d.IsWord("towel")), std::pair(false, true));
    EXPECT_FALSE(Load(d, "99999999999\nto\n100000\ntowel\ntoy"));
    EXPECT_TRUE(d.IsWord("toy"));
    EXPECT_TRUE(log.Contains("autocompletion.txt is truncated"));
    EXPECT_FALSE(d.LoadFromBytes(nullptr, 0));
    EXPECT_EQ(d.KeyCount(), 0u);
}

// Each round loads damaged pairs, dictionary and question, checks a random text against the
// damaged question if it parsed and another against the intact one: every read stays inside
// its data, and no check takes long. Typed texts are any bytes, word-like text, or one long
// word that nearly matches (the grapheme search's worst case).
TEST(MatcherRobustness, CorruptFilesAndRandomTextsStayInBoundsAndAreJudgedQuickly) {
    LogCapture log;  // truncation reports are expected; keep them out of the output
    const std::string question = QuestionBytes(SeasideQuestion());
    const std::string pairs = WordPairBytes({{"ph", {"f"}}, {"f", {"ph"}}, {"c", {"k", "s"}}, {"k", {"c", "ck"}},
                                             {"ll", {"l"}}, {"s", {"ss", "z"}}, {"ie!", {"y!"}}, {"e", {"ee", "a"}},
                                             {"o", {"oo", "u"}}, {"a", {"e"}}, {"er!", {"re!"}}});
    const std::string words = DictionaryOf({"towel", "towle", "sun", "cream", "photo", "fotograf", "kite", "ball"});
    const std::string letters[2] = {"abcdefghijklmnopqrstuvwxyz      ehiorst&/_'-ABCMTZ0123456789", "photographsunk"};
    QZ2011::Question intact;
    std::mt19937 rng(20240611);
    double slowest = 0;
    auto check = [&](QZ2011::Question& q) {
        std::string typed(rng() % 301, ' ');
        const u32 mode = rng() % 3;
        for (char& c : typed)
            c = mode == 2 ? char(rng()) : letters[mode][rng() % letters[mode].size()];
        int result = 0;
        slowest = std::max(slowest, ElapsedMs([&] { result = q.CheckAnswer(typed); }));
        EXPECT_TRUE(result >= -1 && result < int(q.AnswerCount())) << result;
    };
    for (int i = 0; i < 10000; ++i) {
        std::string p = pairs, w = words, b = question;
        for (std::string* bytes : {&p, &w, &b})
            DamageBytes(*bytes, rng, 1 + int(rng() % 4));
        LoadWordPairs(p.data(), u32(p.size()));
        QZ2011::Autocompleter dictionary;
        dictionary.LoadFromBytes(w.data(), u32(w.size()));
        SetMatcherDictionary(&dictionary);
        QZ2011::Question q;
        if (q.Parse(b.data(), u32(b.size()))) {
            EXPECT_LE(q.AnswerCount(), 9u);
            check(q);
            q.PickRightAnswer();
            q.PickWrongAnswer();
        }
        if (intact.RemainingRightAnswers() == 0) {
            ASSERT_TRUE(intact.Parse(question.data(), u32(question.size())));
        }
        check(intact);
        SetMatcherDictionary(nullptr);
    }
    WordPairMap.Clear();
    EXPECT_LT(slowest, 10.0 * TimingScale());
}
