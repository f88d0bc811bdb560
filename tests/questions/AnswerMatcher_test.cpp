#include "questions/AnswerMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/LineReader.h"
#include "questions/Question.h"
#include "tests/questions/QuestionBytes.h"

namespace {

class MatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pairs = WordPairBytes({{"ph", {"f"}}, {"u", {"o"}}, {"i", {"y"}}, {"n!", {"nny!"}}});
        ASSERT_TRUE(LoadWordPairs(pairs.data(), u32(pairs.size())));
        SetDictionary({"zz"});
        Reload();
    }
    void TearDown() override {
        SetMatcherDictionary(nullptr);
        WordPairMap.Clear();
    }
    void Reload() { ASSERT_TRUE(m_question.Parse(m_bytes.data(), u32(m_bytes.size()))); }
    void SetDictionary(const std::vector<std::string>& words) {
        std::string bytes = DictionaryOf(words);
        ASSERT_TRUE(m_dictionary.LoadFromBytes(bytes.data(), u32(bytes.size())));
        SetMatcherDictionary(&m_dictionary);
    }
    int Score(int answer, const std::string& typed, bool lenient = false) {
        return m_question.GetAnswer(answer).Match(ToLowerCopy(typed), lenient, m_question.GetWordCounts());
    }
    // On a freshly loaded question.
    int Check(const std::string& typed) {
        Reload();
        return m_question.CheckAnswer(typed);
    }

    const std::string m_bytes = QuestionBytes(SeasideQuestion());
    QZ2011::Question m_question;
    QZ2011::Autocompleter m_dictionary;
};

struct Typed {
    const char* text;
    int answer;
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> out;
    SplitWords(text, separator, out);
    return out;
}

}  // namespace

TEST(SplitWords, NormalisesThenCutsKeepingTheLastPiece) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("", ' '), V{""});
    EXPECT_EQ(Split("sun  cream ", ' '), (V{"sun", "cream", ""}));
    EXPECT_EQ(Split("salt&pepper", ' '), (V{"salt", "and", "pepper"}));
    EXPECT_EQ(Split("fish_and/chips", ' '), (V{"fish", "and", "chips"}));
    EXPECT_EQ(Split("rock'n'roll!?", ' '), V{"rocknroll"});
    // Bytes above 0x7F are never letters, whatever the sign of char.
    EXPECT_EQ(Split("caf\xc3\xa9 au\tlait", ' '), (V{"caf", "au\tlait"}));
    // Wordings: "_" separates, a space stays inside a word.
    EXPECT_EQ(Split("ice cream_van", '_'), (V{"ice cream", "van"}));
    EXPECT_EQ(Split("a__b_", '_'), (V{"a", "b", ""}));
    EXPECT_EQ(Split("_route 66", '_'), V{"route 66"});
}

TEST_F(MatcherTest, ScoresFollowTheRules) {
    const struct {
        int answer;
        const char* typed;
        int score;
    } cases[] = {
        {kTowel, "towel", 0}, {kSunCream, "sunscreen", 0}, {kSunCream, "cream", 1},  // a wording's last word alone
        {kSunCream, "sun block", 1},  // more typed words than groups: the total starts at 1
        {kSun, "sun cream", 2},       // and "cream" is surplus to the wording "sun"
        {kTowel, "towel ", 2},        // a trailing space is one more (empty) word
        {kSunCream, "sun", -1}, {kSaltPepper, "salt & pepper", 1}, {kTowel, "b c d towel", 2},
        {kTowel, "towel b c d e f g h i j k", 2},  // only ten words compared, all surplus counted
        {kTowel, "b c d e f g h i j towel", 2},    // the tenth word is still compared
        {kPhoto, "fotograf", 2},  // an unlisted word takes several replacements
        {kSun, "son", -1},        // a short word takes none
        {kSun, "sunny", -1},      // on either side
        {kKite, "kyte", 1},       // four letters are not short
        {kSunCream, "sonscreen", 1},
        {kBucket, "beach spade", -1},  // "beach" is also in "Beach ball": a multi-group answer cannot use it
        {kBucket, "pail", 1}, {kBucket, "pail spade", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Score(c.answer, c.typed), c.score) << c.typed;
}

TEST_F(MatcherTest, CheckAnswerNamesTheBestAnswerNotYetFound) {
    const Typed cases[] = {
        {"Towel", kTowel}, {"sun cream", kSunCream}, {"Salt&Pepper", kSaltPepper}, {"fotograf", kPhoto},
        {"?!., ;", -1},    {"", -1},                 {"a b c d e f g h i j towel", -1},
        {"towle", -1},  // an unlisted slip is not forgiven
        {"ball x", kBall},  // Ball and Beach ball both cost 2: the earlier wins
    };
    for (const Typed& c : cases)
        EXPECT_EQ(Check(c.text), c.answer) << c.text;

    // Equal scores go to the lower index; a found answer does not match again.
    EXPECT_EQ(Check("ball"), kBall);
    EXPECT_TRUE(m_question.IsFound(kBall));
    EXPECT_EQ(m_question.CheckAnswer("ball"), kBeachBall);
    EXPECT_EQ(m_question.CheckAnswer("ball"), -1);
    EXPECT_EQ(m_question.RemainingRightAnswers(), 7u);
}

TEST(AnswerMatcher, TypedWordsAreComparedWhole) {
    TestQuestion long64;
    long64.answers = {{10, "A", {{std::string(64, 'a')}}}};
    const std::string bytes = QuestionBytes(long64);
    QZ2011::Question q;
    ASSERT_TRUE(q.Parse(bytes.data(), u32(bytes.size())));
    EXPECT_EQ(q.CheckAnswer(std::string(64, 'a') + "b"), -1);
    EXPECT_EQ(q.CheckAnswer(std::string(64, 'a')), 0);
}

TEST(AnswerMatcher, ACostOf99IsNoMatch) {
    // One word repeated 98 times, typed once among 99 words: each word costs 1 for the
    // surplus, and the surplus over the groups 1 more.
    std::string wording = "towel";
    for (int i = 1; i < 98; ++i)
        wording += "_towel";
    TestQuestion q;
    q.answers = {{10, "Towels", {{wording}}}};
    const std::string bytes = QuestionBytes(q);
    QZ2011::Question question;
    ASSERT_TRUE(question.Parse(bytes.data(), u32(bytes.size())));
    std::string typed = "towel";
    for (int i = 1; i < 98; ++i)
        typed += " x";
    const RightAnswer& answer = question.GetAnswer(0);
    EXPECT_EQ(answer.Match(typed, false, question.GetWordCounts()), 1);
    EXPECT_EQ(answer.Match(typed + " x", false, question.GetWordCounts()), -1);
}

TEST(AnswerMatcher, AnAnswerParsedOnItsOwnIsMatchedWithoutWordNumbers) {
    ByteWriter w;
    w.U32(9).Text("Photograph\n").U32(1).U32(2).Text("photograph\n").Text("photo\n");
    const std::string bytes = w.Str();
    LineReader reader(bytes.data(), u32(bytes.size()));
    RightAnswer answer;
    ASSERT_TRUE(answer.Parse(reader));
    ASSERT_EQ(answer.Groups()[0].wordings[1].words.size(), 1u);
    EXPECT_EQ(answer.Groups()[0].wordings[1].words[0].number, AnswerWord::kUnnumbered);
    const std::string pairs = WordPairBytes({{"ph", {"f"}}});
    ASSERT_TRUE(LoadWordPairs(pairs.data(), u32(pairs.size())));
    EXPECT_EQ(answer.Match("photo", false, {}), 0);
    EXPECT_EQ(answer.Match("fotograf", false, {}), 2);
    WordPairMap.Clear();
}

TEST(IsOneEditApart, OneSlipOnlyAndSubstitutionsInLongerWords) {
    const struct {
        const char* answer;
        const char* typed;
        bool apart;
    } cases[] = {
        {"!towel!", "!towel!", true}, {"!towel!", "!towle!", true},  {"!towel!", "!towl!", true},
        {"!towel!", "!towell!", true}, {"!towel!", "!tovel!", true}, {"!kite!", "!kiet!", true},
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
    const std::string withQ = "!towelQ";
    const std::string_view towel = std::string_view(withQ).substr(0, 6);
    EXPECT_TRUE(IsOneEditApart(towel, "!toweQl"));
    EXPECT_TRUE(IsOneEditApart("!toweQl", towel));
}

TEST_F(MatcherTest, ListedWordsTakeOneReplacementOrInTheLenientPassOneSlip) {
    SetDictionary({"fotograf", "fotograph", "towle", "towl", "towell", "towal", "kiet", "kote", "sna"});
    EXPECT_EQ(Score(kPhoto, "fotograph"), 1);
    EXPECT_EQ(Score(kTowel, "towle", false), -1);
    EXPECT_EQ(Score(kTowel, "towle", true), 1);
    EXPECT_EQ(Score(kTowel, "towl towel", true), 2);  // the exact word later still wins; +2 surplus
    const Typed cases[] = {
        {"fotograf", -1},  {"fotograph", kPhoto}, {"towle", kTowel}, {"towl", kTowel}, {"towell", kTowel},
        {"towal", kTowel},  // a substitution needs five letters
        {"kiet", kKite},    {"kote", -1},         {"sna", -1},
    };
    for (const Typed& c : cases)
        EXPECT_EQ(Check(c.text), c.answer) << c.text;
}
