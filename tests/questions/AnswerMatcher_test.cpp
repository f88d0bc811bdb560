#include "questions/AnswerMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/Question.h"
#include "tests/questions/QuestionBytes.h"

namespace {

enum : int { kTowel, kSunCream, kSun, kSaltPepper, kPhoto, kKite, kBall, kBeachBall, kBucket };

TestQuestion MatcherQuestion() {
    TestQuestion q;
    q.text = "Name something you take to the seaside.";
    q.id = "90-0007";
    q.answers = {
        {20, "Towel", {{"towel", "towels"}}},
        {15, "Sun cream", {{"sun_cream", "sun_block", "sunscreen"}}},
        {12, "Sun", {{"sun"}}},
        {10, "Salt & pepper", {{"salt_and_pepper"}}},
        {9, "Photograph", {{"photograph", "photo"}}},
        {8, "Kite", {{"kite"}}},
        {7, "Ball", {{"ball"}}},
        {6, "Beach ball", {{"beach_ball", "ball"}}},
        {5, "Bucket & spade", {{"bucket", "pail"}, {"beach_spade"}}},
    };
    q.wrong = {"a sledge", "skis"};
    return q;
}

class MatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pairs = WordPairBytes({{"ph", {"f"}}, {"u", {"o"}}});
        ASSERT_TRUE(LoadWordPairs(pairs.data(), u32(pairs.size())));
        SetDictionary({});
        m_bytes = QuestionBytes(MatcherQuestion());
        Reload();
    }
    void TearDown() override {
        SetMatcherDictionary(nullptr);
        WordPairMap.Clear();
    }
    void Reload() { ASSERT_TRUE(m_question.Parse(m_bytes.data(), u32(m_bytes.size()))); }
    void SetDictionary(const std::vector<std::string>& words) {
        std::string bytes = DictionaryOf(words.empty() ? std::vector<std::string>{"zz"} : words);
        ASSERT_TRUE(m_dictionary.LoadFromBytes(bytes.data(), u32(bytes.size())));
        SetMatcherDictionary(&m_dictionary);
    }
    int Score(int answer, const std::string& typed, bool lenient = false) {
        return m_question.GetAnswer(answer).Match(ToLowerCopy(typed), lenient, m_question.GetWordCounts());
    }
    int Check(const std::string& typed) {
        Reload();
        return m_question.CheckAnswer(typed);
    }

    std::string m_bytes;
    QZ2011::Question m_question;
    QZ2011::Autocompleter m_dictionary;
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
    EXPECT_EQ(Split("caf\xc3\xa9 au\tlait", ' '), (V{"caf", "au\tlait"}));
    // Wordings: "_" separates, a space stays inside a word, "/" becomes a space.
    EXPECT_EQ(Split("ice cream_van", '_'), (V{"ice cream", "van"}));
    EXPECT_EQ(Split("a__b_", '_'), (V{"a", "b", ""}));
    EXPECT_EQ(Split("a/b", '_'), V{"a b"});
}

TEST(IsOneEditApart, AllowsOneSlipWithSubstitutionOnlyForLongerWords) {
    EXPECT_TRUE(IsOneEditApart("!form!", "!from!"));      // transposition
    EXPECT_TRUE(IsOneEditApart("!towel!", "!towl!"));     // missing letter
    EXPECT_TRUE(IsOneEditApart("!towel!", "!towell!"));   // extra letter
    EXPECT_TRUE(IsOneEditApart("!towel!", "!towal!"));    // substitution, 7 characters
    EXPECT_FALSE(IsOneEditApart("!kite!", "!kote!"));     // substitution, 6 characters
    EXPECT_FALSE(IsOneEditApart("!towel!", "!twoal!"));   // two slips
    EXPECT_TRUE(IsOneEditApart("!towel!", "!towel!"));
    EXPECT_FALSE(IsOneEditApart("!cat!", "!cta!")) << "the typed word needs 6 characters";
    EXPECT_TRUE(IsOneEditApart("!towel", "!towel!")) << "one character left over";
    EXPECT_FALSE(IsOneEditApart("", "!towel!"));
}

TEST_F(MatcherTest, AnExactOneWordWordingScoresZeroAndIsFoundOnce) {
    EXPECT_EQ(Score(kTowel, "towel"), 0);
    EXPECT_EQ(Check("Towel"), kTowel);
    EXPECT_TRUE(m_question.IsFound(kTowel));
    EXPECT_EQ(m_question.RemainingRightAnswers(), 8u);
    EXPECT_EQ(m_question.CheckAnswer("towels"), -1) << "a found answer does not match again";
    EXPECT_EQ(m_question.RemainingRightAnswers(), 8u);
}

TEST_F(MatcherTest, SurplusTypedWordsCostOneEach) {
    // More typed words than groups: the total starts at 1.
    EXPECT_EQ(Score(kSunCream, "sun block"), 1);
    EXPECT_EQ(Score(kSunCream, "sunscreen"), 0);
    // Against the one-word wording "sun", "cream" is surplus: 1 + (0 + 1).
    EXPECT_EQ(Score(kSun, "sun cream"), 2);
    EXPECT_EQ(Check("sun cream"), kSunCream);
    // A trailing space is one more (empty) typed word.
    EXPECT_EQ(Score(kTowel, "towel "), 2);
    // The last word of a wording alone is enough when a single word is typed.
    EXPECT_EQ(Score(kSunCream, "cream"), 1);
    EXPECT_EQ(Score(kSunCream, "sun"), -1);
}

TEST_F(MatcherTest, AmpersandReadsAsAnd) {
    EXPECT_EQ(Score(kSaltPepper, "salt & pepper"), 1);
    EXPECT_EQ(Check("Salt&Pepper"), kSaltPepper);
}

TEST_F(MatcherTest, EqualScoresGoToTheLowerIndex) {
    EXPECT_EQ(Check("ball"), kBall);
    EXPECT_EQ(m_question.CheckAnswer("ball"), kBeachBall);
}

TEST_F(MatcherTest, TextWithoutWordsMatchesNothing) {
    EXPECT_EQ(Check("?!., ;"), -1);
    EXPECT_EQ(Check(""), -1);
    EXPECT_EQ(m_question.RemainingRightAnswers(), 9u);
}

TEST_F(MatcherTest, OnlyTheFirstTenTypedWordsAreCompared) {
    EXPECT_EQ(Check("a b c d e f g h i j towel"), -1);
    EXPECT_EQ(Score(kTowel, "towel b c d e f g h i j k"), 2);
}

TEST_F(MatcherTest, ListedWordsAreForgivenOneReplacementAndUnlistedOnesSeveral) {
    EXPECT_EQ(Check("fotograf"), kPhoto);
    EXPECT_EQ(Score(kPhoto, "fotograf"), 2);
    SetDictionary({"fotograf", "fotograph"});
    EXPECT_EQ(Check("fotograf"), -1);
    EXPECT_EQ(Check("fotograph"), kPhoto);
    EXPECT_EQ(Score(kPhoto, "fotograph"), 1);
    EXPECT_EQ(Check("foto"), kPhoto);
    // A word of fewer than four letters takes no replacement.
    EXPECT_EQ(Score(kSun, "son"), -1);
    EXPECT_EQ(Score(kSunCream, "sonscreen"), 1);
}

TEST_F(MatcherTest, TheLenientPassForgivesOneSlipInListedWords) {
    EXPECT_EQ(Check("towle"), -1) << "an unlisted slip is not forgiven";
    SetDictionary({"towle", "towl", "towell", "towal", "kiet", "kote", "sna"});
    EXPECT_EQ(Score(kTowel, "towle", false), -1);
    EXPECT_EQ(Score(kTowel, "towle", true), 1);
    EXPECT_EQ(Check("towle"), kTowel);
    EXPECT_EQ(Check("towl"), kTowel);
    EXPECT_EQ(Check("towell"), kTowel);
    EXPECT_EQ(Check("towal"), kTowel) << "substitution in a five-letter word";
    EXPECT_EQ(Check("kiet"), kKite);
    EXPECT_EQ(Check("kote"), -1) << "no substitution in a four-letter word";
    EXPECT_EQ(Check("sna"), -1) << "three-letter words are never forgiven";
}

TEST_F(MatcherTest, AMultiGroupAnswerIgnoresWordsSharedWithOtherAnswers) {
    // "beach" also belongs to "Beach ball", so "beach spade" finds only "spade" of the
    // second group's wording and nothing of the first group.
    EXPECT_EQ(Score(kBucket, "beach spade"), -1);
    // "pail" matches the first group; the second group is unmatched: 0 + 1.
    EXPECT_EQ(Score(kBucket, "pail"), 1);
    // Two typed words over two groups: no surplus start; "pail" costs 1 as the one-word
    // wording has fewer words than typed, and the second group stays unmatched (1).
    EXPECT_EQ(Score(kBucket, "pail spade"), 2);
}

TEST_F(MatcherTest, AllAnswersFoundReturnsMinusOne) {
    Reload();
    for (const char* typed : {"towel", "sunscreen", "sun", "salt and pepper", "photo", "kite",
                              "ball", "ball", "bucket"})
        EXPECT_GE(m_question.CheckAnswer(typed), 0) << typed;
    EXPECT_EQ(m_question.RemainingRightAnswers(), 0u);
    EXPECT_EQ(m_question.CheckAnswer("towel"), -1);
}
