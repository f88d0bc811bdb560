#include "questions/Question.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/CrtRand.h"
#include "questions/HashText.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/LogCapture.h"

namespace {

bool Parse(QZ2011::Question& q, const std::string& bytes) { return q.Parse(bytes.data(), u32(bytes.size())); }

// The completion lines filed under key, joined by "|"; "-" when none are.
std::string Completions(const QZ2011::Question& q, const char* key) {
    const auto* lines = q.FindCompletions(key);
    if (!lines)
        return "-";
    std::string out;
    for (const char* line : *lines)
        out += (out.empty() ? "" : "|") + std::string(line);
    return out;
}

class PickTest : public ::testing::Test, public QZ2011::IGameContext {
protected:
    void SetUp() override {
        services.context = this;
        q.SetServices(&services);
        CrtSrand(1);  // draws 41, 18467, 6334, ...
    }
    void TearDown() override { CrtSrand(1); }
    int CurrentDecade() const override { return 0; }
    void SetChosenAnswerIndex(int index) override {
        chosen = index;
        ++calls;
    }

    QZ2011::QuestionServices services;
    QZ2011::Question q;
    int chosen = -2;
    int calls = 0;
};

u32 g_rangeCalls = 0;
// Past the end of the range: the pick keeps to the last wrong answer.
u32 g_rangeMin = 99;
u32 PastTheRange(u32 min, u32 max) {
    ++g_rangeCalls;
    g_rangeMin = min;
    return max;
}

}  // namespace

TEST(Question, ParsesMixedLineEndsAndUnalignedCountsFromItsOwnCopy) {
    TestQuestion seaside = SeasideQuestion();
    seaside.completions.push_back("xa-");
    seaside.completions.push_back("ya-d");
    const std::string bytes = QuestionBytes(seaside);
    const std::string original = bytes;
    QZ2011::Question q;
    // Parsed twice, the question holds the file once.
    ASSERT_TRUE(Parse(q, QuestionBytes(SeasideQuestion())));
    ASSERT_TRUE(q.CheckAnswer("towel") == kTowel && q.PickWrongAnswer()[0]);
    ASSERT_TRUE(Parse(q, bytes));
    EXPECT_EQ(bytes, original);
    EXPECT_FALSE(q.IsFound(kTowel) || q.IsUsed(0) || q.IsUsed(1));
    // The question keeps its own text: memory freed after the parse and written over does
    // not change it.
    std::vector<std::vector<char>> junk;
    for (int i = 0; i < 8; ++i)
        junk.emplace_back(bytes.size() + 1, '#');
    EXPECT_STREQ(q.Text(), "Name something you take to the seaside.");
    EXPECT_STREQ(q.Id(), "90-0007");
    ASSERT_EQ(q.AnswerCount(), 9u);
    EXPECT_EQ(q.GetAnswer(kSunCream).Value(), 15u);
    EXPECT_STREQ(q.GetAnswer(kSaltPepper).Text(), "Salt & pepper");
    const RightAnswer& bucket = q.GetAnswer(kBucket);
    ASSERT_EQ(bucket.GroupCount(), 2u);
    EXPECT_STREQ(bucket.Groups()[0].wordings[1].text, "pail");
    ASSERT_EQ(bucket.Groups()[1].wordings[0].words.size(), 2u);
    EXPECT_EQ(bucket.Groups()[1].wordings[0].words[1].marked, "!spade!");
    ASSERT_EQ(q.WrongAnswerCount(), 2u);
    EXPECT_STREQ(q.GetWrongAnswer(1), "skis");
    ASSERT_EQ(q.CompletionCount(), 6u);
    // The board's flag starts down; the round rules raise and lower it.
    RightAnswer& towel = q.GetAnswer(kTowel);
    EXPECT_FALSE(towel.IsRevealed());
    towel.SetRevealed(true);
    EXPECT_TRUE(towel.IsRevealed());
    towel.SetRevealed(false);
    EXPECT_FALSE(towel.IsRevealed());

    // A word counts once per answer that uses it, however many of its wordings repeat it.
    for (const auto& [word, answers] : {std::pair{"sun", 2u}, {"ball", 2u}, {"beach", 2u}, {"towel", 1u}, {"cream", 1u}})
        EXPECT_EQ(q.GetWordCounts().at(HashText(word)), answers) << word;

    // Completion lines are filed by their second and third characters; a separator third
    // with a fourth character after it files them under the second with a space and with
    // the fourth; "zq" has only "q", and "z" is too short.
    const std::pair<const char*, const char*> filed[] = {{"a ", "xa-bc|ya-d"}, {"ab", "xa-bc|xabc"}, {"ad", "ya-d"},
                                                         {"a-", "xa-"},        {"q", "zq"},           {"", "-"}};
    for (const auto& [key, lines] : filed)
        EXPECT_EQ(Completions(q, key), lines) << key;
}

TEST(Question, FilesThatEndEarlyOrDisagreeWithTheirCountsAreRefused) {
    const std::string bytes = QuestionBytes(SeasideQuestion());
    LogCapture log;
    // Every cut that reaches into the records; without only its last line end the file is whole.
    for (size_t cut = 0; cut <= bytes.rfind('z'); ++cut) {
        QZ2011::Question q;
        EXPECT_FALSE(Parse(q, bytes.substr(0, cut))) << cut;
        EXPECT_EQ(q.AnswerCount() + q.WrongAnswerCount(), 0u);
        EXPECT_STREQ(q.Text(), "");
    }
    EXPECT_TRUE(log.Contains("Question 90-0007 is refused: the file ends inside its records"));

    // An answer count of 0 in front of answer records: the records do not fit the counts.
    std::string noCount = bytes;
    const size_t countAt = noCount.find("90-0007\n") + 8;
    ASSERT_EQ(noCount[countAt], 9);
    noCount[countAt] = 0;
    QZ2011::Question q;
    ASSERT_TRUE(Parse(q, bytes));
    EXPECT_FALSE(Parse(q, noCount));
    EXPECT_EQ(q.RemainingRightAnswers() + q.RemainingWrongAnswers() + q.WrongAnswerCount(), 0u);
    EXPECT_EQ(q.AnswerCount() + q.CompletionCount(), 0u);
    EXPECT_TRUE(q.GetWordCounts().empty());
    EXPECT_EQ(q.FindCompletions("ab"), nullptr);
    EXPECT_FALSE(Parse(q, bytes + "x"));
    EXPECT_TRUE(log.Contains("Question 90-0007 is refused: bytes follow its last record"));
    EXPECT_FALSE(q.Parse(nullptr, 0));
    QZ2011::Question never;
    EXPECT_EQ(never.RemainingRightAnswers() + never.RemainingWrongAnswers(), 0u);
    EXPECT_STREQ(never.PickWrongAnswer(), "");

    // A question without answers is complete when its counts say so.
    TestQuestion empty = SeasideQuestion();
    empty.answers.clear();
    ASSERT_TRUE(Parse(q, QuestionBytes(empty)));
    EXPECT_EQ(q.AnswerCount(), 0u);
    EXPECT_EQ(q.WrongAnswerCount(), 2u);
    EXPECT_EQ(q.CheckAnswer("towel"), -1);
    EXPECT_EQ(q.PickRightAnswer(), nullptr);
}

TEST_F(PickTest, RightAnswersAreDrawnInRangeAmongThoseNotFound) {
    ASSERT_TRUE(Parse(q, QuestionBytes(SeasideQuestion())));
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(kTowel));  // floor(41 * 9 / 32768)
    EXPECT_EQ(chosen, kTowel);
    EXPECT_TRUE(q.IsFound(kTowel));
    EXPECT_EQ(q.CheckAnswer("towel"), -1) << "a picked answer is found";
    ASSERT_EQ(q.CheckAnswer("kite"), kKite);
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(kBall));  // 18467 gives the found kite: steps on
    int picks = 0;
    while (q.PickRightAnswer())
        ++picks;
    EXPECT_EQ(picks, 6);
    EXPECT_EQ(calls, 8) << "no choice published once every answer is found";
}

TEST_F(PickTest, WrongAnswersAreUsedOnceThenAnyAndEmptyWhenThereAreNone) {
    services.randomRange = &PastTheRange;
    TestQuestion three = SeasideQuestion();
    three.wrong = {"a sledge", "skis", "a snowman"};
    ASSERT_TRUE(Parse(q, QuestionBytes(three)));
    // 41 -> 0, 18467 -> 1, 6334 -> 0 (used: steps over 0 and 1), then the spare pick.
    for (const char* expected : {"a sledge", "skis", "a snowman"})
        EXPECT_STREQ(q.PickWrongAnswer(), expected);
    EXPECT_EQ(q.RemainingWrongAnswers(), 0u);
    EXPECT_TRUE(q.IsUsed(0) && q.IsUsed(1) && q.IsUsed(2));
    EXPECT_EQ(chosen, -1);
    g_rangeCalls = 0;
    EXPECT_STREQ(q.PickWrongAnswer(), "a snowman");
    EXPECT_EQ(g_rangeCalls, 1u);
    EXPECT_EQ(g_rangeMin, 0u) << "any wrong answer, the first included";

    // Without a range drawer the spare pick draws from the C runtime's generator.
    services.randomRange = nullptr;
    ASSERT_TRUE(Parse(q, QuestionBytes(three)));
    for (int pick = 0; pick < 3; ++pick)
        q.PickWrongAnswer();
    EXPECT_STRNE(q.PickWrongAnswer(), "");
    EXPECT_EQ(g_rangeCalls, 1u);

    // A single wrong answer is given again once used; none gives "" without a draw.
    services.randomRange = &PastTheRange;
    TestQuestion one = SeasideQuestion();
    one.wrong = {"skis"};
    ASSERT_TRUE(Parse(q, QuestionBytes(one)));
    EXPECT_STREQ(q.PickWrongAnswer(), "skis");
    EXPECT_STREQ(q.PickWrongAnswer(), "skis");
    EXPECT_EQ(g_rangeCalls, 2u);
    TestQuestion none = SeasideQuestion();
    none.wrong.clear();
    ASSERT_TRUE(Parse(q, QuestionBytes(none)));
    chosen = 5;
    EXPECT_STREQ(q.PickWrongAnswer(), "");
    EXPECT_EQ(chosen, -1);
    EXPECT_EQ(g_rangeCalls, 2u);
    EXPECT_EQ(q.CheckAnswer(q.PickWrongAnswer()), -1) << "the empty text never matches";
}
