#include "questions/QuestionManager.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "questions/GraphemeEquivalences.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

namespace {

class FakeSettings : public QZ2011::IPlayerSettings {
public:
    void AddIntegerAttributeName(const char* name) override { names.push_back(name); }
    bool HasAttribute(const char* name) const override { return values.count(name) != 0; }
    void GetAttributeValue(const char* name, int& value) const override {
        auto it = values.find(name);
        if (it != values.end())
            value = it->second;
    }
    void SetAttributeValue(const char* name, int value) override { values[name] = value; }

    std::vector<std::string> names;
    std::map<std::string, int> values;
};

class FakeContext : public QZ2011::IGameContext {
public:
    int CurrentDecade() const override { return decade; }
    void SetChosenAnswerIndex(int index) override { chosen = index; }
    int decade = QZ2011::kDecade70s;
    int chosen = -2;
};

class CountingSaves : public QZ2011::ISavedGameWriter {
public:
    void WriteSavedGame() override { ++writes; }
    int writes = 0;
};

void PutU32(std::string& out, u32 v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xFF));
}

using Files = std::vector<std::pair<std::string, std::string>>;

// A folder package "<dir>/GameQuestions.dir".
std::string WriteFolderPackage(const TempDir& dir, const Files& files) {
    std::string index(12, '\0');
    PutU32(index, u32(files.size()));
    for (const auto& [name, bytes] : files) {
        PutU32(index, Crc32Hash(name.c_str()));
        index += name;
        index += '\0';
        PutU32(index, 0);
        PutU32(index, 0);
        dir.Write("GameQuestions/" + name, bytes);
    }
    dir.Write("GameQuestions/GameQuestions.hdr", index);
    return dir.Path() + "/GameQuestions.dir";
}

// An archive "<dir>/GameQuestions.dir": one block holding every file.
std::string WriteArchivePackage(const TempDir& dir, const Files& files) {
    std::string block;
    std::string records;
    for (const auto& [name, bytes] : files) {
        PutU32(records, Crc32Hash(name.c_str()));
        PutU32(records, TypeKey::Data);
        PutU32(records, 0);
        PutU32(records, u32(block.size()));
        PutU32(records, u32(bytes.size()));
        block += bytes;
    }
    std::string archive;
    PutU32(archive, 1);
    PutU32(archive, 0);
    PutU32(archive, 0);
    PutU32(archive, u32(block.size()));
    archive += block;
    PutU32(archive, u32(files.size()));
    archive += records;
    return dir.Write("GameQuestions.dir", archive);
}

// 12 questions per decade in bank order 00s, 70s, 80s, 90s; question n answers "answer<n>".
Files BankFiles(int perDecade = 12, const std::vector<std::string>& prefixes = {"00", "70", "80", "90"}) {
    Files files;
    std::string list;
    int n = 0;
    for (const std::string& prefix : prefixes)
        for (int i = 0; i < perDecade; ++i, ++n) {
            // A 00s id may start with "20-" as well as "00-".
            std::string id = (prefix == "00" && i % 2 ? "20" : prefix) + "-" + std::to_string(7000 + n);
            list += id + (n % 2 ? "\n" : "\r\n");
            TestQuestion q;
            q.text = "Question " + std::to_string(n);
            q.id = id;
            q.answers = {{50, "Answer " + std::to_string(n), {{"answer" + std::to_string(n)}}},
                         {20, "Other", {{"other"}}}};
            q.wrong = {"wrong"};
            files.push_back({std::to_string(n) + ".bin", QuestionBytes(q)});
        }
    files.push_back({"list.txt", list});
    files.push_back({"graphtograph.bin", WordPairBytes({{"ph", {"f"}}})});
    return files;
}

class QuestionManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        AGResourceManager::SetInstance(&m_resources);
        m_resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        m_services.settings = &m_settings;
        m_services.context = &m_context;
        m_services.saves = &m_saves;
    }
    void TearDown() override {
        m_manager.reset();
        m_package.Unmount();
        AGResourceManager::SetInstance(nullptr);
        WordPairMap.Clear();
    }
    void Mount(const std::string& name) {
        m_package.Mount(name.c_str(), false);
        m_manager = std::make_unique<QZ2011::QuestionManager>(m_services);
        ASSERT_TRUE(m_manager->Initialize());
    }
    QZ2011::QuestionManager& Manager() { return *m_manager; }

    TempDir m_dir;
    AGResourceManager m_resources;
    PcDirectory m_package;
    FakeSettings m_settings;
    FakeContext m_context;
    CountingSaves m_saves;
    QZ2011::QuestionServices m_services;
    std::unique_ptr<QZ2011::QuestionManager> m_manager;
};

}  // namespace

TEST_F(QuestionManagerTest, TheListGivesTheDecadeRunsAndTheIdIndex) {
    Mount(WriteFolderPackage(m_dir, BankFiles()));
    QZ2011::QuestionManager& m = Manager();
    EXPECT_EQ(m.QuestionCount(), 48u);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade00s), 0);
    EXPECT_EQ(m.LastIndex(QZ2011::kDecade00s), 11);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade70s), 12);
    EXPECT_EQ(m.LastIndex(QZ2011::kDecade70s), 23);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade80s), 24);
    EXPECT_EQ(m.LastIndex(QZ2011::kDecade80s), 35);
    EXPECT_EQ(m.FirstIndex(QZ2011::kDecade90s), 36);
    EXPECT_EQ(m.LastIndex(QZ2011::kDecade90s), 47);
    EXPECT_EQ(m.IndexOfId("20-7001"), 1);
    EXPECT_EQ(m.IndexOfId("80-7030"), 30);
    EXPECT_EQ(m.IndexOfId("70-9999"), -1);
    EXPECT_EQ(WordPairMap.Count(), 1u);

    // Positions first (70, 80, 90, 00), then the wrap counts.
    const std::vector<std::string> names = {
        "CurrectQuestionDecade70", "CurrectQuestionDecade80", "CurrectQuestionDecade90",
        "CurrectQuestionDecade00", "NumberOfTimesWeLoopedDecade70", "NumberOfTimesWeLoopedDecade80",
        "NumberOfTimesWeLoopedDecade90", "NumberOfTimesWeLoopedDecade00"};
    EXPECT_EQ(m_settings.names, names);
}

TEST_F(QuestionManagerTest, LoadQuestionReadsTheNumberedFileAndRefusesNumbersPastTheList) {
    Mount(WriteFolderPackage(m_dir, BankFiles()));
    QZ2011::Question* q = Manager().LoadQuestion(30);
    ASSERT_NE(q, nullptr);
    EXPECT_STREQ(q->Id(), "80-7030");
    EXPECT_STREQ(q->Text(), "Question 30");
    EXPECT_EQ(q->Index(), 30u);
    EXPECT_EQ(Manager().CurrentIndex(), 30);
    EXPECT_EQ(q->CheckAnswer("answer30"), 0);
    EXPECT_EQ(Manager().LoadQuestion(48), nullptr);
    EXPECT_EQ(Manager().CurrentQuestion(), nullptr);
}

TEST_F(QuestionManagerTest, NextQuestionWrapsWithinTheDecadeAndSavesOnce) {
    Mount(WriteFolderPackage(m_dir, BankFiles()));
    QZ2011::QuestionManager& m = Manager();
    m_context.decade = QZ2011::kDecade70s;
    m.SetCurrentIndex(22);
    ASSERT_NE(m.NextQuestion(), nullptr);
    EXPECT_EQ(m.CurrentIndex(), 23);
    EXPECT_EQ(m_saves.writes, 0);

    QZ2011::Question* q = m.NextQuestion();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Index(), 12u) << "back to the first question of the 70s run";
    EXPECT_EQ(m_settings.values["NumberOfTimesWeLoopedDecade70"], 1);
    EXPECT_EQ(m_settings.values["CurrectQuestionDecade70"], 12);
    EXPECT_EQ(m_saves.writes, 1);

    // Questions asked restart at the wrap, so the saved position is the question in use.
    m.NextQuestion();
    m.NextQuestion();
    EXPECT_EQ(m.CurrentIndex(), 14);
    m.SaveProgress();
    EXPECT_EQ(m_settings.values["CurrectQuestionDecade70"], 14);
    EXPECT_EQ(m.CurrentIndex(), 14);
    EXPECT_EQ(m.QuestionsAsked(), 0u);
    EXPECT_EQ(m_saves.writes, 2);
    EXPECT_EQ(m_settings.values["NumberOfTimesWeLoopedDecade70"], 1);
}

TEST_F(QuestionManagerTest, TheNinetiesRunEndsAtTheLastLineOfAShortList) {
    Mount(WriteFolderPackage(m_dir, BankFiles()));
    m_context.decade = QZ2011::kDecade90s;
    Manager().SetCurrentIndex(47);
    QZ2011::Question* q = Manager().NextQuestion();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Index(), 36u);
    EXPECT_EQ(Manager().UpperBound(), 47u);
}

TEST_F(QuestionManagerTest, SaveProgressAddsQuestionsAskedToTheStoredPosition) {
    Mount(WriteFolderPackage(m_dir, BankFiles()));
    QZ2011::QuestionManager& m = Manager();
    LogCapture log;
    // The 00s without a stored position start from -1: one question asked stores 0.
    m_context.decade = QZ2011::kDecade00s;
    m.SetCurrentIndex(-1);
    ASSERT_NE(m.NextQuestion(), nullptr);
    EXPECT_EQ(m.CurrentIndex(), 0);
    m.SaveProgress();
    EXPECT_EQ(m_settings.values["CurrectQuestionDecade00"], 0);
    EXPECT_TRUE(log.Contains("This achievement doesn't exist."));

    // The 80s without a stored position start from the run's first index - 1.
    m_context.decade = QZ2011::kDecade80s;
    m.SetCurrentIndex(23);
    m.NextQuestion();
    m.NextQuestion();
    m.SaveProgress();
    EXPECT_EQ(m_settings.values["CurrectQuestionDecade80"], 25);
    // A stored position is read back: two more questions move it by two.
    m.NextQuestion();
    m.NextQuestion();
    m.SaveProgress();
    EXPECT_EQ(m_settings.values["CurrectQuestionDecade80"], 27);
    EXPECT_EQ(m.CurrentIndex(), 27);
}

TEST_F(QuestionManagerTest, ADecadeWithoutQuestionsIsReportedAndCountsNoWrap) {
    Mount(WriteFolderPackage(m_dir, BankFiles(3, {"00", "70", "90"})));
    LogCapture log;
    m_context.decade = QZ2011::kDecade80s;
    EXPECT_EQ(Manager().NextQuestion(), nullptr);
    EXPECT_TRUE(log.Contains("no questions of the 80s"));
    EXPECT_EQ(m_settings.values.count("NumberOfTimesWeLoopedDecade80"), 0u);
    EXPECT_EQ(m_saves.writes, 0);
}

TEST_F(QuestionManagerTest, UnreadableQuestionsAreSkippedWithinTheRun) {
    Files files = BankFiles();
    for (auto& [name, bytes] : files) {
        if (name == "13.bin")
            bytes = "Question 13\r\n70-70";  // truncated before its answers
        if (name == "14.bin")
            bytes.clear();
    }
    Mount(WriteFolderPackage(m_dir, files));
    LogCapture log;
    m_context.decade = QZ2011::kDecade70s;
    Manager().SetCurrentIndex(12);
    QZ2011::Question* q = Manager().NextQuestion();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Index(), 15u);
    EXPECT_EQ(Manager().QuestionsAsked(), 3u);
    EXPECT_TRUE(log.Contains("13.bin is unreadable"));
    EXPECT_TRUE(log.Contains("14.bin is missing"));
}

TEST_F(QuestionManagerTest, MissingFilesLeaveAnEmptyBank) {
    LogCapture log;
    Mount(WriteFolderPackage(m_dir, {}));
    EXPECT_EQ(Manager().QuestionCount(), 0u);
    EXPECT_EQ(Manager().LoadQuestion(0), nullptr);
    EXPECT_TRUE(log.Contains("list.txt is missing"));
    EXPECT_TRUE(log.Contains("graphtograph.bin is missing"));
    m_context.decade = QZ2011::kDecade70s;
    EXPECT_EQ(Manager().NextQuestion(), nullptr);
}

TEST_F(QuestionManagerTest, AQuestionLoadedTwiceFromAnArchiveIsTheSame) {
    Mount(WriteArchivePackage(m_dir, BankFiles()));
    ASSERT_EQ(Manager().QuestionCount(), 48u);
    QZ2011::Question* first = Manager().LoadQuestion(5);
    ASSERT_NE(first, nullptr);
    std::string text = first->Text();
    std::string id = first->Id();
    u32 answers = first->AnswerCount();
    u32 wrong = first->WrongAnswerCount();
    std::string answer = first->GetAnswer(0).Text();
    EXPECT_EQ(first->CheckAnswer("answer5"), 0);

    QZ2011::Question* again = Manager().LoadQuestion(5);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(text, again->Text());
    EXPECT_EQ(id, again->Id());
    EXPECT_EQ(answers, again->AnswerCount());
    EXPECT_EQ(wrong, again->WrongAnswerCount());
    EXPECT_EQ(answer, again->GetAnswer(0).Text());
    EXPECT_FALSE(again->IsFound(0)) << "a reloaded question starts afresh";
    EXPECT_EQ(again->CheckAnswer("answer5"), 0);
}
