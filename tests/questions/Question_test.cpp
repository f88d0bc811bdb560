#include "questions/Question.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/CrtRand.h"
#include "questions/HashText.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/LogCapture.h"

namespace {

TestQuestion BeachQuestion() {
    TestQuestion q;
    q.text = "Name something you bring to the beach.";  // odd lengths: counts land unaligned
    q.id = "80-0042";
    q.answers = {
        {40, "Towel", {{"towel", "towels", "beach_towel"}}},
        {25, "Sun cream/Sunscreen", {{"sun_cream", "sunscreen", "sun_block"}}},
        {15, "Bucket & spade", {{"bucket", "pail"}, {"spade", "shovel"}}},
        {10, "Umbrella", {{"umbrella", "parasol"}}},
    };
    q.wrong = {"snow boots", "a piano"};
    q.completions = {"xa-bc", "xabc", "zq", "z"};
    return q;
}

bool Parse(QZ2011::Question& q, const std::string& bytes) {
    return q.Parse(bytes.data(), u32(bytes.size()));
}

class RecordingContext : public QZ2011::IGameContext {
public:
    int CurrentDecade() const override { return 0; }
    void SetChosenAnswerIndex(int index) override { chosen = index; ++calls; }
    int chosen = -2;
    int calls = 0;
};

}  // namespace

TEST(Question, ParsesEveryFieldWithMixedLineEndsAndUnalignedCounts) {
    const std::string bytes = QuestionBytes(BeachQuestion());
    const std::string original = bytes;
    QZ2011::Question q;
    ASSERT_TRUE(Parse(q, bytes));
    EXPECT_EQ(bytes, original) << "parsing works on a private copy";
    EXPECT_STREQ(q.Text(), "Name something you bring to the beach.");
    EXPECT_STREQ(q.Id(), "80-0042");
    ASSERT_EQ(q.AnswerCount(), 4u);
    EXPECT_EQ(q.RemainingRightAnswers(), 4u);
    EXPECT_EQ(q.GetAnswer(1).Value(), 25u);
    EXPECT_STREQ(q.GetAnswer(1).Text(), "Sun cream/Sunscreen");
    const RightAnswer& bucket = q.GetAnswer(2);
    ASSERT_EQ(bucket.GroupCount(), 2u);
    ASSERT_EQ(bucket.Groups()[1].wordings.size(), 2u);
    EXPECT_STREQ(bucket.Groups()[1].wordings[1].text, "shovel");
    const Wording& sunCream = q.GetAnswer(1).Groups()[0].wordings[0];
    ASSERT_EQ(sunCream.words.size(), 2u);
    EXPECT_EQ(sunCream.words[0].text, "sun");
    EXPECT_EQ(sunCream.words[1].marked, "!cream!");
    EXPECT_FALSE(q.GetAnswer(0).IsRevealed());
    EXPECT_FALSE(q.IsFound(0));
    ASSERT_EQ(q.WrongAnswerCount(), 2u);
    EXPECT_STREQ(q.GetWrongAnswer(1), "a piano");
    EXPECT_EQ(q.RemainingWrongAnswers(), 2u);
    ASSERT_EQ(q.CompletionCount(), 4u);
    EXPECT_STREQ(q.GetCompletion(3), "z");
}

TEST(Question, WordCountsCountAnswersNotOccurrences) {
    TestQuestion t = BeachQuestion();
    t.answers.push_back({5, "Beach ball", {{"beach_ball", "ball"}}});
    std::string bytes = QuestionBytes(t);
    QZ2011::Question q;
    ASSERT_TRUE(Parse(q, bytes));
    const WordCounts& counts = q.GetWordCounts();
    EXPECT_EQ(counts.at(HashText("towel")), 1u);
    EXPECT_EQ(counts.at(HashText("beach")), 2u) << "\"beach\" is in two answers";
    EXPECT_EQ(counts.at(HashText("sun")), 1u) << "twice in one answer counts once";
}

TEST(Question, CompletionLinesAreFiledByTheirSecondAndThirdCharacters) {
    std::string bytes = QuestionBytes(BeachQuestion());
    QZ2011::Question q;
    ASSERT_TRUE(Parse(q, bytes));
    // "xa-bc" goes under "a " and "ab"; "xabc" under "ab"; "zq" under "q"; "z" nowhere.
    const auto* spaced = q.FindCompletions("a ");
    ASSERT_NE(spaced, nullptr);
    ASSERT_EQ(spaced->size(), 1u);
    EXPECT_STREQ((*spaced)[0], "xa-bc");
    const auto* joined = q.FindCompletions("ab");
    ASSERT_NE(joined, nullptr);
    ASSERT_EQ(joined->size(), 2u);
    EXPECT_STREQ((*joined)[0], "xa-bc");
    EXPECT_STREQ((*joined)[1], "xabc");
    ASSERT_NE(q.FindCompletions("q"), nullptr);
    EXPECT_EQ(q.FindCompletions("a-"), nullptr);
    EXPECT_EQ(q.FindCompletions(""), nullptr);
}

TEST(Question, TruncatedFilesKeepWhatPrecedesTheCut) {
    const std::string bytes = QuestionBytes(BeachQuestion());
    LogCapture log;
    u32 lastAnswers = 0;
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::string part = bytes.substr(0, cut);
        QZ2011::Question q;
        bool ok = Parse(q, part);
        EXPECT_LE(q.AnswerCount(), 4u);
        EXPECT_GE(q.AnswerCount(), lastAnswers) << "a longer prefix never loses answers";
        lastAnswers = q.AnswerCount();
        if (!ok) {
            EXPECT_EQ(q.AnswerCount(), 0u);
        }
        EXPECT_EQ(q.RemainingRightAnswers(), q.AnswerCount());
        EXPECT_LE(q.WrongAnswerCount(), 2u);
    }
    EXPECT_EQ(lastAnswers, 4u);

    QZ2011::Question empty;
    EXPECT_FALSE(empty.Parse(nullptr, 0));
    EXPECT_TRUE(log.Contains("is truncated: kept 3 answers"));
    EXPECT_STREQ(empty.Text(), "");
}

TEST(Question, PickRightAnswerDrawsUnfoundAnswersUntilNoneRemain) {
    std::string bytes = QuestionBytes(BeachQuestion());
    QZ2011::Question q;
    ASSERT_TRUE(Parse(q, bytes));
    RecordingContext context;
    QZ2011::QuestionServices services;
    services.context = &context;
    q.SetServices(&services);

    CrtSrand(1);  // first draw 41 -> floor(41 * 4 / 32768) = 0
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(0));
    EXPECT_EQ(context.chosen, 0);
    ASSERT_EQ(q.CheckAnswer("umbrella"), 3);
    // Next draw 18467 -> 2; then 6334 -> 0, found, steps on to 1.
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(2));
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(1));
    EXPECT_EQ(context.chosen, 1);
    EXPECT_EQ(q.RemainingRightAnswers(), 0u);
    context.calls = 0;
    EXPECT_EQ(q.PickRightAnswer(), nullptr);
    EXPECT_EQ(context.calls, 0);
    CrtSrand(1);
}

namespace {
u32 g_rangeCalls = 0;
u32 LastOfRange(u32, u32 max) {
    ++g_rangeCalls;
    return max - 1;
}
}  // namespace

TEST(Question, PickWrongAnswerMarksUsedThenDrawsAnyAndIsEmptyWithoutWrongAnswers) {
    std::string bytes = QuestionBytes(BeachQuestion());
    QZ2011::Question q;
    ASSERT_TRUE(Parse(q, bytes));
    RecordingContext context;
    QZ2011::QuestionServices services;
    services.context = &context;
    services.randomRange = &LastOfRange;
    q.SetServices(&services);

    CrtSrand(1);
    EXPECT_STREQ(q.PickWrongAnswer(), "snow boots");  // 41 -> 0
    EXPECT_STREQ(q.PickWrongAnswer(), "a piano");     // 18467 -> 1
    EXPECT_EQ(context.chosen, -1);
    EXPECT_EQ(q.RemainingWrongAnswers(), 0u);
    g_rangeCalls = 0;
    EXPECT_STREQ(q.PickWrongAnswer(), "a piano");
    EXPECT_EQ(g_rangeCalls, 1u);
    EXPECT_TRUE(q.IsUsed(0));

    TestQuestion none = BeachQuestion();
    none.wrong.clear();
    std::string noneBytes = QuestionBytes(none);
    QZ2011::Question n;
    ASSERT_TRUE(Parse(n, noneBytes));
    n.SetServices(&services);
    context.chosen = 5;
    g_rangeCalls = 0;
    EXPECT_STREQ(n.PickWrongAnswer(), "");
    EXPECT_EQ(context.chosen, -1);
    EXPECT_EQ(g_rangeCalls, 0u);
    EXPECT_EQ(n.CheckAnswer(n.PickWrongAnswer()), -1) << "the empty text never matches";
    CrtSrand(1);
}
