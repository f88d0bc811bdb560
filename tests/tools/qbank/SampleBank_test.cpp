// The sample bank compiled from data/questions by the build.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/qbank/MountedBank.h"
#include "tools/qbank/BankChecker.h"
#include "tools/qbank/BankSource.h"

namespace {

// The first display form and every wording typed with spaces between its words.
std::vector<std::string> TypedForms(const RightAnswer& answer) {
    std::vector<std::string> typed{qbank::FirstForm(answer.Text())};
    for (const WordingGroup& group : answer.Groups())
        for (const Wording& wording : group.wordings)
            typed.push_back(qbank::TypedForm(wording.text));
    return typed;
}

}  // namespace

// Every wording and first display form names its own answer; no wrong answer matches.
TEST(SampleBank, HoldsFortyWellFormedQuestionsPerDecadeInBankOrderEachJudgingItsOwnWordings) {
    MountedBank bank(TALLYVOX_QUESTION_BANK ".dir");
    QZ2011::QuestionManager& m = *bank.manager;
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade00s), 0);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade70s), m.LastIndex(QZ2011::kDecade00s) + 1);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade80s), m.LastIndex(QZ2011::kDecade70s) + 1);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade90s), m.LastIndex(QZ2011::kDecade80s) + 1);
    EXPECT_EQ(m.LastIndex(QZ2011::kDecade90s), i32(m.QuestionCount()) - 1);
    for (int d = 0; d < QZ2011::kDecadeCount; ++d)
        EXPECT_GE(m.LastIndex(d) - m.FirstIndex(d) + 1, 40) << "decade " << d;
    EXPECT_GE(WordPairMap.Count(), 30u);
    EXPECT_GT(bank.dictionary.KeyCount(), 100u);

    for (u32 n = 0; n < m.QuestionCount(); ++n) {
        QZ2011::Question* q = m.LoadQuestion(n);
        ASSERT_NE(q, nullptr) << n;
        const std::string id = q->Id();
        EXPECT_EQ(m.IndexOfId(q->Id()), i32(n));
        EXPECT_GE(q->AnswerCount(), 4u) << id;
        EXPECT_LE(q->AnswerCount(), 8u) << id;
        EXPECT_GE(q->WrongAnswerCount(), 2u) << id;
        u32 points = 0;
        for (u32 i = 0; i < q->AnswerCount(); ++i)
            points += q->GetAnswer(i).Value();
        EXPECT_LE(points, 100u) << id;
        const u32 answers = q->AnswerCount();
        std::vector<std::string> wrong;
        for (u32 b = 0; b < q->WrongAnswerCount(); ++b)
            wrong.push_back(q->GetWrongAnswer(b));
        for (u32 i = 0; i < answers; ++i)
            for (const std::string& typed : TypedForms(m.LoadQuestion(n)->GetAnswer(i)))
                EXPECT_EQ(m.LoadQuestion(n)->CheckAnswer(typed), int(i)) << id << " \"" << typed << "\"";
        for (const std::string& typed : wrong)
            EXPECT_EQ(m.LoadQuestion(n)->CheckAnswer(typed), -1) << id << " \"" << typed << "\"";
    }
}
