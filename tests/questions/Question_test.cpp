#include "questions/Question.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/CrtRand.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/LogCapture.h"

namespace {

bool Parse(QZ2011::Question& q, const std::string& bytes) { return q.Parse(bytes.data(), u32(bytes.size())); }

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
u32 LastOfRange(u32, u32 max) {
    ++g_rangeCalls;
    return max - 1;
}

}  // namespace

TEST(Question, ParsesMixedLineEndsAndUnalignedCountsFromItsOwnCopy) {
    const std::string bytes = QuestionBytes(SeasideQuestion());
    const std::string original = bytes;
    QZ2011::Question q;
    ASSERT_TRUE(Parse(q, bytes));
    EXPECT_EQ(bytes, original);
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
    ASSERT_EQ(q.CompletionCount(), 4u);

    // Completion lines are filed by their second and third characters; a separator third
    // files them under the second with a space and with the fourth; "z" is too short.
    const auto* spaced = q.FindCompletions("a ");
    ASSERT_NE(spaced, nullptr);
    EXPECT_EQ(spaced->size(), 1u);
    const auto* joined = q.FindCompletions("ab");
    ASSERT_NE(joined, nullptr);
    ASSERT_EQ(joined->size(), 2u);
    EXPECT_STREQ((*joined)[1], "xabc");
    EXPECT_NE(q.FindCompletions("q"), nullptr);
    EXPECT_EQ(q.FindCompletions(""), nullptr);
}

TEST(Question, TruncatedFilesKeepWhatPrecedesTheCut) {
    const std::string bytes = QuestionBytes(SeasideQuestion());
    LogCapture log;
    u32 lastAnswers = 0;
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        QZ2011::Question q;
        const bool ok = Parse(q, bytes.substr(0, cut));
        EXPECT_GE(q.AnswerCount(), lastAnswers) << "a longer prefix never loses answers";
        lastAnswers = q.AnswerCount();
        EXPECT_EQ(ok, q.AnswerCount() > 0) << cut;
        EXPECT_EQ(q.RemainingRightAnswers(), q.AnswerCount());
        EXPECT_LE(q.WrongAnswerCount(), 2u);
    }
    EXPECT_EQ(lastAnswers, 9u);
    EXPECT_TRUE(log.Contains("is truncated: kept 8 answers"));
    QZ2011::Question empty;
    EXPECT_FALSE(empty.Parse(nullptr, 0));
    EXPECT_STREQ(empty.Text(), "");
}

TEST_F(PickTest, RightAnswersAreDrawnInRangeAmongThoseNotFound) {
    ASSERT_TRUE(Parse(q, QuestionBytes(SeasideQuestion())));
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(kTowel));  // floor(41 * 9 / 32768)
    EXPECT_EQ(chosen, kTowel);
    ASSERT_EQ(q.CheckAnswer("kite"), kKite);
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(kBall));  // 18467 gives the found kite: steps on
    int picks = 0;
    while (q.PickRightAnswer())
        ++picks;
    EXPECT_EQ(picks, 6);
    EXPECT_EQ(calls, 8) << "no choice published once every answer is found";
}

TEST_F(PickTest, WrongAnswersAreUsedOnceThenAnyAndEmptyWhenThereAreNone) {
    services.randomRange = &LastOfRange;
    ASSERT_TRUE(Parse(q, QuestionBytes(SeasideQuestion())));
    EXPECT_STREQ(q.PickWrongAnswer(), "a sledge");  // 41 -> 0
    EXPECT_STREQ(q.PickWrongAnswer(), "skis");      // 18467 -> 1
    EXPECT_EQ(chosen, -1);
    g_rangeCalls = 0;
    EXPECT_STREQ(q.PickWrongAnswer(), "skis");
    EXPECT_EQ(g_rangeCalls, 1u);

    TestQuestion none = SeasideQuestion();
    none.wrong.clear();
    ASSERT_TRUE(Parse(q, QuestionBytes(none)));
    chosen = 5;
    EXPECT_STREQ(q.PickWrongAnswer(), "");
    EXPECT_EQ(chosen, -1);
    EXPECT_EQ(g_rangeCalls, 1u);
    EXPECT_EQ(q.CheckAnswer(q.PickWrongAnswer()), -1) << "the empty text never matches";
}
