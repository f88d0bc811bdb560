// The sample bank compiled from data/questions by the build.
#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "questions/AnswerMatcher.h"
#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/QuestionManager.h"
#include "tools/qbank/BankChecker.h"
#include "tools/qbank/BankSource.h"

namespace {

class SampleBankTest : public ::testing::Test {
protected:
    void SetUp() override {
        AGResourceManager::SetInstance(&m_resources);
        m_resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        m_package.Mount(TALLYVOX_QUESTION_BANK ".dir", false);
        m_manager = std::make_unique<QZ2011::QuestionManager>(QZ2011::QuestionServices{});
        ASSERT_TRUE(m_manager->Initialize());
        ASSERT_TRUE(m_dictionary.Load());
        SetMatcherDictionary(&m_dictionary);
    }
    void TearDown() override {
        SetMatcherDictionary(nullptr);
        m_manager.reset();
        m_package.Unmount();
        AGResourceManager::SetInstance(nullptr);
        WordPairMap.Clear();
    }

    AGResourceManager m_resources;
    PcDirectory m_package;
    std::unique_ptr<QZ2011::QuestionManager> m_manager;
    QZ2011::Autocompleter m_dictionary;
};

// Words of a wording separated by spaces, as a player types them.
std::vector<std::string> TypedForms(const RightAnswer& answer) {
    std::vector<std::string> typed{qbank::FirstForm(answer.Text())};
    for (const WordingGroup& group : answer.Groups())
        for (const Wording& wording : group.wordings)
            typed.push_back(qbank::TypedForm(wording.text));
    return typed;
}

}  // namespace

TEST_F(SampleBankTest, HoldsAtLeastFortyQuestionsPerDecadeInBankOrder) {
    QZ2011::QuestionManager& m = *m_manager;
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade00s), 0);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade70s), m.LastIndex(QZ2011::kDecade00s) + 1);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade80s), m.LastIndex(QZ2011::kDecade70s) + 1);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade90s), m.LastIndex(QZ2011::kDecade80s) + 1);
    EXPECT_EQ(m.LastIndex(QZ2011::kDecade90s), i32(m.QuestionCount()) - 1);
    for (int d = 0; d < QZ2011::kDecadeCount; ++d)
        EXPECT_GE(m.LastIndex(d) - m.FirstIndex(d) + 1, 40) << "decade " << d;
    EXPECT_GE(WordPairMap.Count(), 30u);
    EXPECT_GT(m_dictionary.KeyCount(), 100u);
}

TEST_F(SampleBankTest, EveryQuestionIsWellFormed) {
    for (u32 n = 0; n < m_manager->QuestionCount(); ++n) {
        QZ2011::Question* q = m_manager->LoadQuestion(n);
        ASSERT_NE(q, nullptr) << n;
        EXPECT_EQ(m_manager->IndexOfId(q->Id()), i32(n));
        EXPECT_GE(q->AnswerCount(), 4u) << q->Id();
        EXPECT_LE(q->AnswerCount(), 8u) << q->Id();
        EXPECT_GE(q->WrongAnswerCount(), 2u) << q->Id();
        u32 points = 0;
        for (u32 i = 0; i < q->AnswerCount(); ++i) {
            points += q->GetAnswer(i).Value();
            if (i > 0) {
                EXPECT_LE(q->GetAnswer(i).Value(), q->GetAnswer(i - 1).Value()) << q->Id();
            }
        }
        EXPECT_LE(points, 100u) << q->Id();
    }
}

TEST_F(SampleBankTest, EveryWordingAndFirstFormNamesItsOwnAnswerAndNoWrongAnswerMatches) {
    for (u32 n = 0; n < m_manager->QuestionCount(); ++n) {
        QZ2011::Question* q = m_manager->LoadQuestion(n);
        ASSERT_NE(q, nullptr);
        const std::string id = q->Id();
        const u32 answers = q->AnswerCount();
        for (u32 i = 0; i < answers; ++i) {
            for (const std::string& typed : TypedForms(m_manager->LoadQuestion(n)->GetAnswer(i))) {
                QZ2011::Question* fresh = m_manager->LoadQuestion(n);
                EXPECT_EQ(fresh->CheckAnswer(typed), int(i)) << id << " \"" << typed << "\"";
            }
        }
        QZ2011::Question* fresh = m_manager->LoadQuestion(n);
        std::vector<std::string> wrong;
        for (u32 b = 0; b < fresh->WrongAnswerCount(); ++b)
            wrong.push_back(fresh->GetWrongAnswer(b));
        for (const std::string& typed : wrong)
            EXPECT_EQ(m_manager->LoadQuestion(n)->CheckAnswer(typed), -1) << id << " \"" << typed << "\"";
    }
}
