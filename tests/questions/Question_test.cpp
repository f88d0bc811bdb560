#include "questions/Question.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/CrtRand.h"
#include "questions/HashText.h"
#include "questions/LineReader.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/LogCapture.h"

namespace {

using Texts = std::vector<std::string>;

bool Parse(QZ2011::Question& q, const std::string& bytes) { return q.Parse(bytes.data(), u32(bytes.size())); }

// The parsed question as one text: its lines, each answer as "points text" and its groups'
// wordings by their marked words, the wrong answers and the completion lines.
std::string Describe(const QZ2011::Question& q) {
    std::string s = std::string(q.Text()) + "|" + q.Id();
    for (u32 i = 0; i < q.AnswerCount(); ++i) {
        s += "|" + std::to_string(q.GetAnswer(i).Value()) + " " + q.GetAnswer(i).Text() + ":";
        for (const WordingGroup& group : q.GetAnswer(i).Groups()) {
            s += "(";
            for (const Wording& wording : group.wordings)
                for (const AnswerWord& word : wording.words)
                    s += word.marked + (&word == &wording.words.back() ? ";" : "");
            s += ")";
        }
    }
    for (u32 i = 0; i < q.WrongAnswerCount(); ++i)
        s += std::string("|-") + q.GetWrongAnswer(i);
    for (u32 i = 0; i < q.CompletionCount(); ++i)
        s += std::string("|~") + q.GetCompletion(i);
    return s;
}

// The completion lines filed under key; "-" when none are.
Texts Completions(const QZ2011::Question& q, const char* key) {
    const auto* lines = q.FindCompletions(key);
    return lines ? Texts(lines->begin(), lines->end()) : Texts{"-"};
}

// Past the end of the range: the pick keeps to the last wrong answer.
Texts g_ranges;
u32 PastTheRange(u32 min, u32 max) {
    g_ranges.push_back(std::to_string(min) + "-" + std::to_string(max));
    return max;
}

class PickTest : public ::testing::Test, public QZ2011::IGameContext {
protected:
    void SetUp() override {
        services.context = this;
        q.SetServices(&services);
        g_ranges.clear();
        CrtSrand(1);  // draws 41, 18467, 6334, ...
    }
    void TearDown() override { CrtSrand(1); }
    int CurrentDecade() const override { return 0; }
    void SetChosenAnswerIndex(int index) override { chosen.push_back(index); }
    void Load(const std::vector<std::string>& wrong) {
        TestQuestion question = SeasideQuestion();
        question.wrong = wrong;
        ASSERT_TRUE(Parse(q, QuestionBytes(question)));
    }
    Texts PickWrong(int picks) {
        Texts out;
        for (int i = 0; i < picks; ++i)
            out.push_back(q.PickWrongAnswer());
        return out;
    }

    QZ2011::QuestionServices services;
    QZ2011::Question q;
    std::vector<int> chosen;
};

}  // namespace

TEST(LineReader, LinesEndAtCrOrLfACrTakesTheNextByteAndCountsFollowUnaligned) {
    ByteWriter w;
    // "b\rX": the CR swallows X even though X is not a line feed; a lone CR at the end ends
    // the last line.
    w.Text("a\r\nb\rXc\n").U32(0x01020304).Text("d\r");
    LineReader r(w.Str().data(), u32(w.Size()));
    EXPECT_EQ(Texts({r.CutLine(), r.CutLine(), r.CutLine()}), (Texts{"a", "b", "c"}));
    EXPECT_EQ(r.ReadU32(), 0x01020304u);
    EXPECT_EQ(r.Remaining(), 2u);
    EXPECT_STREQ(r.CutLine(), "d");
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.CutLine(), nullptr);
    EXPECT_EQ(r.ReadU32(), 0u);
    EXPECT_TRUE(r.Failed());
    // The bytes handed on leave the reader empty. Assigning again rewinds and clears the
    // failure; null bytes give an empty reader whatever size comes with them.
    r.Assign(w.Str().data(), 3);
    EXPECT_EQ(r.TakeBytes().size(), 4u);
    EXPECT_EQ(r.Remaining(), 0u);
    r.Assign(nullptr, 16);
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.Remaining(), 0u);

    // Decimal lines read like the C library's conversion, saturating.
    const std::pair<const char*, i64> decimals[] = {{" \t+42x", 42}, {"-17", -17}, {"abc", 0},
                                                    {"9223372036854775806", INT64_MAX - 1},
                                                    {"9223372036854775808", INT64_MAX},
                                                    {"-99999999999999999999", -INT64_MAX}};
    for (const auto& [text, value] : decimals)
        EXPECT_EQ(ParseDecimal(text), value) << text;
    EXPECT_EQ(ParseDecimal(nullptr), 0);
}

// The sample question (mixed line ends, unaligned counts) parsed with two more completion lines.
class ParseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Parse(q, bytes)); }
    static std::string WithCompletions() {
        TestQuestion seaside = SeasideQuestion();
        seaside.completions.insert(seaside.completions.end(), {"xa-", "ya-d"});
        return QuestionBytes(seaside);
    }
    const std::string bytes = WithCompletions(), plain = QuestionBytes(SeasideQuestion());
    QZ2011::Question q;
};

TEST_F(ParseTest, ParsesFromItsOwnCopy) {
    const std::string original = bytes;
    // Parsed again, the question holds the file once.
    ASSERT_TRUE(Parse(q, plain));
    ASSERT_TRUE(q.CheckAnswer("towel") == kTowel && q.PickWrongAnswer()[0]);
    ASSERT_TRUE(Parse(q, bytes));
    EXPECT_EQ(bytes, original);
    EXPECT_FALSE(q.IsFound(kTowel) || q.IsUsed(0) || q.IsUsed(1));
    EXPECT_EQ(q.RemainingRightAnswers() * 10 + q.RemainingWrongAnswers(), 92u);
    // The question keeps its own text: memory freed after the parse and written over does
    // not change it.
    std::vector<std::vector<char>> junk(8, std::vector<char>(bytes.size() + 1, '#'));
    EXPECT_EQ(Describe(q), "Name something you take to the seaside.|90-0007|20 Towel:(!towel!;!towels!;)"
              "|15 Sun cream:(!sun!!cream!;!sun!!block!;!sunscreen!;)|12 Sun:(!sun!;)"
              "|10 Salt & pepper:(!salt!!and!!pepper!;)|9 Photograph:(!photograph!;!photo!;)|8 Kite:(!kite!;)|7 Ball:"
              "(!ball!;)|6 Beach ball:(!beach!!ball!;!ball!;)|5 Bucket & spade:(!bucket!;!pail!;)(!beach!!spade!;)"
              "|-a sledge|-skis|~xa-bc|~xabc|~zq|~z|~xa-|~ya-d");
}

// A word counts once per answer that uses it, however many of its wordings repeat it.
TEST_F(ParseTest, AWordCountsOncePerAnswer) {
    for (const auto& [word, answers] : {std::pair{"sun", 2u}, {"ball", 2u}, {"beach", 2u}, {"towel", 1u}, {"cream", 1u}})
        EXPECT_EQ(q.GetWordCounts().at(HashText(word)), answers) << word;
}

// Completion lines are filed by their second and third characters; a separator third with a
// fourth character after it files them under the second with a space and with the fourth;
// "zq" has only "q", and "z" is too short.
TEST_F(ParseTest, CompletionsAreFiledByTheirLetters) {
    const std::pair<const char*, Texts> filed[] = {{"a ", {"xa-bc", "ya-d"}}, {"ab", {"xa-bc", "xabc"}},
                                                   {"ad", {"ya-d"}}, {"a-", {"xa-"}}, {"q", {"zq"}}, {"", {"-"}}};
    for (const auto& [key, lines] : filed)
        EXPECT_EQ(Completions(q, key), lines) << key;
}

TEST_F(ParseTest, RefusesAFileCutShort) {
    LogCapture log;
    // Every cut that reaches into the records; without only its last line end the file is whole.
    for (size_t cut = 0; cut <= plain.rfind('z'); ++cut) {
        QZ2011::Question cutShort;
        EXPECT_FALSE(Parse(cutShort, plain.substr(0, cut))) << cut;
        EXPECT_EQ(Describe(cutShort), "|") << cut;
    }
    EXPECT_TRUE(log.Contains("Question 90-0007 is refused: the file ends inside its records"));
}

TEST_F(ParseTest, RefusesCountsThatDisagreeWithTheRecords) {
    LogCapture log;
    // An answer count of 0 in front of answer records: the records do not fit the counts.
    std::string noCount = plain;
    const size_t countAt = noCount.find("90-0007\n") + 8;
    ASSERT_EQ(noCount[countAt], 9);
    noCount[countAt] = 0;
    ASSERT_TRUE(Parse(q, plain));
    EXPECT_FALSE(Parse(q, noCount));
    EXPECT_EQ(Describe(q), "|");
    EXPECT_EQ(q.RemainingRightAnswers() + q.RemainingWrongAnswers(), 0u);
    EXPECT_TRUE(q.GetWordCounts().empty());
    EXPECT_EQ(q.FindCompletions("ab"), nullptr);
    EXPECT_FALSE(Parse(q, plain + "x"));
    EXPECT_TRUE(log.Contains("Question 90-0007 is refused: bytes follow its last record"));
    EXPECT_FALSE(q.Parse(nullptr, 0));
    QZ2011::Question never;
    EXPECT_EQ(never.RemainingRightAnswers() + never.RemainingWrongAnswers(), 0u);
    EXPECT_STREQ(never.PickWrongAnswer(), "");
}

// A question without answers is complete when its counts say so.
TEST_F(ParseTest, AQuestionWithoutAnswersIsComplete) {
    TestQuestion empty = SeasideQuestion();
    empty.answers.clear();
    ASSERT_TRUE(Parse(q, QuestionBytes(empty)));
    EXPECT_EQ(Describe(q), "Name something you take to the seaside.|90-0007|-a sledge|-skis|~xa-bc|~xabc|~zq|~z");
    EXPECT_EQ(q.CheckAnswer("towel"), -1);
    EXPECT_EQ(q.PickRightAnswer(), nullptr);
}

TEST_F(PickTest, RightAnswersAreDrawnAmongThoseNotFoundWrongOnesUsedOnceThenAny) {
    Load({});
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(kTowel));  // floor(41 * 9 / 32768)
    EXPECT_TRUE(q.IsFound(kTowel));
    EXPECT_EQ(q.CheckAnswer("towel"), -1) << "a picked answer is found";
    ASSERT_EQ(q.CheckAnswer("kite"), kKite);
    EXPECT_EQ(q.PickRightAnswer(), &q.GetAnswer(kBall));  // 18467 gives the found kite: steps on
    while (q.PickRightAnswer()) {
    }
    EXPECT_EQ(chosen.size(), 8u) << "no choice published once every answer is found";
    EXPECT_EQ(std::vector<int>(chosen.begin(), chosen.begin() + 2), (std::vector<int>{kTowel, kBall}));
    chosen.clear();
    CrtSrand(1);

    services.randomRange = &PastTheRange;
    // 41 -> 0, 18467 -> 1, 6334 -> 0 (used: steps over 0 and 1), then any one, the first
    // included: the drawer's value past the range keeps to the last.
    Load({"a sledge", "skis", "a snowman"});
    EXPECT_EQ(PickWrong(4), (Texts{"a sledge", "skis", "a snowman", "a snowman"}));
    EXPECT_EQ(chosen, std::vector<int>(4, -1));
    EXPECT_EQ(g_ranges, Texts{"0-3"});

    // Without a range drawer the spare pick draws from the C runtime's generator.
    services.randomRange = nullptr;
    Load({"a sledge", "skis", "a snowman"});
    EXPECT_EQ(PickWrong(4).back(), "skis");  // the fourth draw after 6334: 11478 -> 1
    EXPECT_EQ(g_ranges.size(), 1u);

    // A single wrong answer is given again once used; none gives "" without a draw.
    services.randomRange = &PastTheRange;
    Load({"skis"});
    EXPECT_EQ(PickWrong(2), (Texts{"skis", "skis"}));
    Load({});
    EXPECT_EQ(PickWrong(1), Texts{""});
    EXPECT_EQ(g_ranges, (Texts{"0-3", "0-1"}));
    EXPECT_EQ(chosen.back(), -1);
    EXPECT_EQ(q.CheckAnswer(""), -1) << "the empty text never matches";
}
