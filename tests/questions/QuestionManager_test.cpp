#include "questions/QuestionManager.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

namespace {

using QZ2011::kDecade00s;
using QZ2011::kDecade70s;
using QZ2011::kDecade80s;
using QZ2011::kDecade90s;
using Files = std::vector<std::pair<std::string, std::string>>;

// An archive "<dir>/GameQuestions.dir": one block holding every file.
std::string WriteArchivePackage(const TempDir& dir, const Files& files) {
    return dir.Write("GameQuestions.dir", ArchiveBytes(files));
}

// Runs of questions per decade in bank order; question n answers "answer<n>".
Files BankFiles(const std::vector<std::pair<std::string, int>>& runs = {{"00", 12}, {"70", 12}, {"80", 12}, {"90", 12}}) {
    Files files;
    std::string list;
    int n = 0;
    for (const auto& [prefix, count] : runs)
        for (int i = 0; i < count; ++i, ++n) {
            // A 00s id may start with "20-" as well as "00-".
            std::string id = (prefix == "00" && i % 2 ? "20" : prefix) + "-" + std::to_string(7000 + n);
            list += id + (n % 2 ? "\n" : "\r\n");
            TestQuestion q;
            q.text = "Question " + std::to_string(n);
            q.id = id;
            q.answers = {{50, "Answer", {{"answer" + std::to_string(n)}}}, {20, "Other", {{"other"}}}};
            q.wrong = {"wrong"};
            files.push_back({std::to_string(n) + ".bin", QuestionBytes(q)});
        }
    files.push_back({"list.txt", list});
    files.push_back({"graphtograph.bin", WordPairBytes({{"ph", {"f"}}})});
    files.push_back({"autocompletion.txt", DictionaryOf({"towel"})});
    return files;
}

class QuestionManagerTest : public ::testing::Test,
                            public QZ2011::IPlayerSettings,
                            public QZ2011::IGameContext,
                            public QZ2011::ISavedGameWriter {
protected:
    void SetUp() override {
        AGResourceManager::SetInstance(&m_resources);
        m_resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
    }
    void TearDown() override {
        m_manager.reset();
        m_package.Unmount();
        AGResourceManager::SetInstance(nullptr);
        WordPairMap.Clear();
    }
    void Mount(const Files& files) {
        m_package.Mount(WriteArchivePackage(m_dir, files).c_str(), false);
        m_manager = std::make_unique<QZ2011::QuestionManager>(QZ2011::QuestionServices{this, this, this, nullptr});
        ASSERT_TRUE(m_manager->Initialize());
    }
    QZ2011::QuestionManager& Manager() { return *m_manager; }
    void Unmount() { m_package.Unmount(); }

    void AddIntegerAttributeName(const char* name) override { names.push_back(name); }
    bool HasAttribute(const char* name) const override { return values.count(name) != 0; }
    void GetAttributeValue(const char* name, int& value) const override {
        if (values.count(name))
            value = values.at(name);
    }
    void SetAttributeValue(const char* name, int value) override { values[name] = value; }
    int CurrentDecade() const override { return decade; }
    void SetChosenAnswerIndex(int index) override { chosen = index; }
    void WriteSavedGame() override { ++writes; }

    std::vector<std::string> names;
    std::map<std::string, int> values;
    int decade = kDecade70s;
    int writes = 0;
    int chosen = -2;

private:
    TempDir m_dir;
    AGResourceManager m_resources;
    PcDirectory m_package;
    std::unique_ptr<QZ2011::QuestionManager> m_manager;
};

}  // namespace

TEST_F(QuestionManagerTest, TheListGivesTheDecadeRunsAndTheIdIndex) {
    {
        // Before its list is read a bank has no runs.
        QZ2011::QuestionManager fresh(QZ2011::QuestionServices{});
        for (int d = 0; d < QZ2011::kDecadeCount; ++d)
            EXPECT_EQ(std::pair(fresh.FirstIndex(d), fresh.LastIndex(d)), std::pair(-1, -1)) << d;
        EXPECT_EQ(fresh.QuestionCount(), 0u);
    }
    Files files = BankFiles();
    files.push_back({"48.bin", files[0].second});  // a file the list does not name
    Mount(files);
    QZ2011::QuestionManager& m = Manager();
    EXPECT_EQ(m.QuestionCount(), 48u);
    const int runs[][3] = {{kDecade00s, 0, 11}, {kDecade70s, 12, 23}, {kDecade80s, 24, 35}, {kDecade90s, 36, 47}};
    for (const auto& [d, first, last] : runs) {
        EXPECT_EQ(m.FirstIndex(d), first) << d;
        EXPECT_EQ(m.LastIndex(d), last) << d;
    }
    EXPECT_EQ(m.IndexOfId("20-7001"), 1);
    EXPECT_EQ(m.IndexOfId("70-9999"), -1);
    EXPECT_EQ(WordPairMap.Count(), 1u);
    EXPECT_EQ(m.Table(), std::vector<u8>(2012, 0));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "CurrectQuestionDecade70", "CurrectQuestionDecade80", "CurrectQuestionDecade90",
                         "CurrectQuestionDecade00", "NumberOfTimesWeLoopedDecade70", "NumberOfTimesWeLoopedDecade80",
                         "NumberOfTimesWeLoopedDecade90", "NumberOfTimesWeLoopedDecade00"}));
    for (int d = -1; d <= QZ2011::kDecadeCount; ++d) {
        const bool valid = d >= 0 && d < QZ2011::kDecadeCount;
        EXPECT_EQ(QZ2011::QuestionManager::PositionAttribute(d), valid ? names[size_t(d)] : "") << d;
        EXPECT_EQ(QZ2011::QuestionManager::WrapCountAttribute(d), valid ? names[size_t(d) + 4] : "") << d;
    }
    QZ2011::Autocompleter dictionary;
    dictionary.Load();
    EXPECT_TRUE(dictionary.IsWord("towel"));
    ASSERT_NE(m.LoadQuestion(7), nullptr);
    // Every file read is given back at once: the parsers keep copies.
    AGBaseProvider* data = AGResourceManager::Get()->GetProvider(TypeKey::Data);
    for (const char* name : {"list.txt", "graphtograph.bin", "autocompletion.txt", "7.bin"}) {
        const AGResource* resource = data->Find(Crc32Hash(name));
        EXPECT_TRUE(!resource || resource->RefCount() == 0) << name;
    }

    // A question loaded again is the same and starts afresh.
    for (int load = 0; load < 2; ++load) {
        QZ2011::Question* q = m.LoadQuestion(5);
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(std::string(q->Text()) + "|" + q->Id() + "|" + q->GetAnswer(1).Text() + "|" + q->GetWrongAnswer(0),
                  "Question 5|20-7005|Other|wrong");
        EXPECT_EQ(q->CheckAnswer("answer5"), 0);
        EXPECT_EQ(m.CurrentIndex(), 5);
        // The question publishes the computer family's picks to the game context.
        chosen = -2;
        EXPECT_EQ(q->PickRightAnswer(), &q->GetAnswer(1));
        EXPECT_EQ(chosen, 1);
    }
    ASSERT_NE(m.LoadQuestion(47), nullptr);
    EXPECT_EQ(m.LoadQuestion(48), nullptr) << "no question past the list, though its file exists";
    EXPECT_EQ(m.CurrentQuestion(), nullptr);
    // The bound of the decade in use is the bank's size until the first step of a walk.
    EXPECT_EQ(m.UpperBound(), 2012u);
    decade = kDecade80s;
    m.SetCurrentIndex(30);
    ASSERT_NE(m.NextQuestion(), nullptr);
    EXPECT_EQ(m.UpperBound(), 35u);
    // Initialized again, the bank unloads its question and starts afresh.
    ASSERT_TRUE(m.Initialize());
    EXPECT_EQ(m.CurrentQuestion(), nullptr);
    EXPECT_EQ(m.UpperBound(), 2012u);
    // A list longer than the bank is cut at 2012 lines.
    std::string longList;
    for (int i = 0; i < 2014; ++i)
        longList += "00-" + std::to_string(i) + "\n";
    m.LoadIndex(longList.data(), u32(longList.size()));
    EXPECT_EQ(m.QuestionCount(), 2012u);
    EXPECT_EQ(m.LastIndex(kDecade00s), 2011);
    EXPECT_EQ(m.IndexOfId("00-2011"), 2011);
    EXPECT_EQ(m.IndexOfId("00-2012"), -1);
    ASSERT_TRUE(m.Initialize());

    ASSERT_NE(m.LoadQuestion(47), nullptr);
    m.Cleanup();
    EXPECT_EQ(m.CurrentQuestion(), nullptr);
    EXPECT_TRUE(m.Table().empty());

    // Initialized again once its package is gone, a bank forgets what it held.
    Unmount();
    LogCapture log;
    ASSERT_TRUE(m.Initialize());
    EXPECT_EQ(m.QuestionCount(), 0u);
    for (int d = 0; d < QZ2011::kDecadeCount; ++d)
        EXPECT_EQ(std::pair(m.FirstIndex(d), m.LastIndex(d)), std::pair(-1, -1)) << d;
    EXPECT_EQ(m.IndexOfId("20-7001"), -1);
    EXPECT_EQ(m.LoadQuestion(0), nullptr);
    EXPECT_TRUE(log.Contains("list.txt is missing"));
    EXPECT_TRUE(log.Contains("graphtograph.bin is missing"));
    dictionary.Load();
    EXPECT_FALSE(dictionary.IsWord("towel"));
    EXPECT_TRUE(log.Contains("autocompletion.txt is missing"));
    EXPECT_TRUE(WordPairMap.IsEmpty());
    EXPECT_EQ(m.NextQuestion(), nullptr);
}

TEST_F(QuestionManagerTest, NextQuestionWrapsWithinTheDecadeAndSavesOnce) {
    Mount(BankFiles());
    QZ2011::QuestionManager& m = Manager();
    values["NumberOfTimesWeLoopedDecade70"] = 2;
    m.SetCurrentIndex(22);
    ASSERT_NE(m.NextQuestion(), nullptr);
    EXPECT_EQ(writes, 0);
    QZ2011::Question* q = m.NextQuestion();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Index(), 12u) << "back to the first question of the 70s run";
    EXPECT_EQ(values["NumberOfTimesWeLoopedDecade70"], 3);
    EXPECT_EQ(values["CurrectQuestionDecade70"], 12);
    EXPECT_EQ(writes, 1);

    // Questions asked restart at the wrap, so the saved position is the question in use.
    m.NextQuestion();
    m.NextQuestion();
    m.SaveProgress();
    EXPECT_EQ(values["CurrectQuestionDecade70"], 14);
    EXPECT_EQ(m.CurrentIndex(), 14);
    EXPECT_EQ(writes, 2);

    // A save adds the questions asked to the stored position and goes on from there.
    values["CurrectQuestionDecade70"] = 20;
    {
        LogCapture log;
        m.NextQuestion();
        m.SaveProgress();
        EXPECT_EQ(m.CurrentIndex(), 21);
        EXPECT_TRUE(log.Lines().empty()) << "attributes the settings hold are not reported";
        // A missing one is reported once by the read and once by the write.
        values.erase("CurrectQuestionDecade70");
        m.SaveProgress();
        EXPECT_EQ(log.Lines().size(), 2u);
    }

    // The 90s run ends at the last line of a short list.
    decade = kDecade90s;
    m.SetCurrentIndex(47);
    q = m.NextQuestion();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Index(), 36u);

    // Without a stored position a save starts just before the decade's run.
    const std::pair<int, const char*> cases[] = {{kDecade00s, "CurrectQuestionDecade00"},
                                                 {kDecade70s, "CurrectQuestionDecade70"},
                                                 {kDecade80s, "CurrectQuestionDecade80"},
                                                 {kDecade90s, "CurrectQuestionDecade90"}};
    for (const auto& [d, position] : cases) {
        values.clear();
        decade = d;
        const int first = 12 * (d == kDecade00s ? 0 : d + 1);
        m.SetCurrentIndex(first - 1);
        ASSERT_NE(m.NextQuestion(), nullptr);
        m.SaveProgress();
        EXPECT_EQ(values[position], first) << position;
        EXPECT_EQ(m.CurrentIndex(), first);
    }

    // Without settings or a save writer a wrap still restarts the run; the progress is not kept.
    QZ2011::QuestionManager bare(QZ2011::QuestionServices{nullptr, this, nullptr, nullptr});
    ASSERT_TRUE(bare.Initialize());
    EXPECT_EQ(names.size(), 8u);
    LogCapture log;
    const int before = writes;
    decade = kDecade70s;
    bare.SetCurrentIndex(23);
    q = bare.NextQuestion();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Index(), 12u);
    bare.SaveProgress();
    EXPECT_TRUE(log.Contains("This achievement doesn't exist."));
    EXPECT_EQ(writes, before);
}

TEST_F(QuestionManagerTest, EmptyDecadesAndMissingOrUnreadableFilesAreReported) {
    Files files = BankFiles({{"00", 1}, {"70", 3}, {"90", 3}});
    for (auto& [name, bytes] : files) {
        if (name == "2.bin")
            bytes = "Question 2\r\n70-70";  // truncated before its answers
        if (name == "3.bin" || name == "4.bin" || name == "5.bin" || name == "6.bin")
            bytes.clear();
        if (name == "autocompletion.txt")
            bytes = "0";  // one byte is a file
    }
    Mount(files);
    LogCapture log;
    decade = kDecade80s;
    EXPECT_EQ(Manager().NextQuestion(), nullptr);
    EXPECT_TRUE(log.Contains("no questions of the 80s"));
    EXPECT_EQ(values.count("NumberOfTimesWeLoopedDecade80"), 0u);
    decade = 4;
    EXPECT_EQ(Manager().NextQuestion(), nullptr);
    EXPECT_TRUE(log.Contains("No valid current decade (4)"));
    // Without a game context there is no decade: nothing is walked or saved.
    QZ2011::QuestionManager noContext(QZ2011::QuestionServices{this, nullptr, this, nullptr});
    ASSERT_TRUE(noContext.Initialize());
    EXPECT_EQ(noContext.NextQuestion(), nullptr);
    noContext.SaveProgress();
    EXPECT_TRUE(log.Contains("No valid current decade (-1)"));
    EXPECT_TRUE(values.empty());
    // A decade without questions saves from -1.
    decade = kDecade80s;
    Manager().SaveProgress();
    EXPECT_EQ(values["CurrectQuestionDecade80"], -1);

    // A decade whose only question is the first of the list.
    decade = kDecade00s;
    Manager().SetCurrentIndex(0);
    QZ2011::Question* q = Manager().NextQuestion();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Index(), 0u);

    // The 70s run is 1 to 3: from 1, the unreadable 2 and 3 are skipped and the walk wraps.
    decade = kDecade70s;
    Manager().SetCurrentIndex(1);
    q = Manager().NextQuestion();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Index(), 1u);
    EXPECT_TRUE(log.Contains("2.bin is unreadable"));
    EXPECT_TRUE(log.Contains("3.bin is missing"));
    // A decade with nothing readable (the 90s, 4 to 6) is tried once per question, then reported.
    decade = kDecade90s;
    EXPECT_EQ(Manager().NextQuestion(), nullptr);
    EXPECT_TRUE(log.Contains("No readable question of the 90s"));
    EXPECT_EQ(Manager().CurrentIndex(), 4);
    QZ2011::Autocompleter dictionary;
    dictionary.Load();
    EXPECT_FALSE(log.Contains("autocompletion.txt is missing"));
    EXPECT_EQ(writes, 3);
}
