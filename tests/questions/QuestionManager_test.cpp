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

using namespace QZ2011;

namespace {

using Files = std::vector<std::pair<std::string, std::string>>;
using Indices = std::vector<int>;
using Values = std::map<std::string, int>;

// Runs of questions per decade in bank order; question n answers "answer<n>".
Files BankFiles(const std::vector<std::pair<std::string, int>>& runs = {{"00", 12}, {"70", 12}, {"80", 12}, {"90", 12}}) {
    Files files;
    std::string list;
    for (const auto& [prefix, count] : runs)
        for (int i = 0; i < count; ++i) {
            const std::string n = std::to_string(files.size());
            // A 00s id may start with "20-" as well as "00-".
            const std::string id = (prefix == "00" && i % 2 ? "20" : prefix) + "-" + n;
            list += id + (i % 2 ? "\n" : "\r\n");
            const TestQuestion q{
                "Question " + n, id, {{50, "Answer", {{"answer" + n}}}, {20, "Other", {{"other"}}}}, {"wrong"}, {}};
            files.push_back({n + ".bin", QuestionBytes(q)});
        }
    files.push_back({"list.txt", list});
    files.push_back({"graphtograph.bin", WordPairBytes({{"ph", {"f"}}})});
    files.push_back({"autocompletion.txt", DictionaryOf({"towel"})});
    return files;
}

// {first, last} of each decade's run, in decade order (70s, 80s, 90s, 00s).
std::vector<std::pair<i32, i32>> Runs(const QuestionManager& m) {
    std::vector<std::pair<i32, i32>> runs;
    for (int d = 0; d < kDecadeCount; ++d)
        runs.push_back({m.FirstIndex(d), m.LastIndex(d)});
    return runs;
}
const std::vector<std::pair<i32, i32>> kNoRuns(kDecadeCount, {-1, -1});

// The indices the next steps of the walk give (-1: no question).
Indices Walk(QuestionManager& m, int steps) {
    Indices out;
    for (int i = 0; i < steps; ++i) {
        const Question* q = m.NextQuestion();
        out.push_back(q ? int(q->Index()) : -1);
    }
    return out;
}

class QuestionManagerTest : public ::testing::Test, public IPlayerSettings, public IGameContext,
                            public ISavedGameWriter {
protected:
    void SetUp() override {
        AGResourceManager::SetInstance(&m_resources);
        m_resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
    }
    void TearDown() override {
        m_package.Unmount();
        AGResourceManager::SetInstance(nullptr);
        WordPairMap.Clear();
    }
    void Mount(const Files& files) {
        m_package.Mount(m_dir.Write("GameQuestions.dir", ArchiveBytes(files)).c_str(), false);
        ASSERT_TRUE(m.Initialize());
    }
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
    Values values;
    int decade = kDecade70s;
    int writes = 0;
    int chosen = -2;

private:
    TempDir m_dir;
    AGResourceManager m_resources;
    PcDirectory m_package;

protected:
    QuestionManager m{QuestionServices{this, this, this, nullptr}};
};

}  // namespace

TEST_F(QuestionManagerTest, TheListGivesTheDecadeRunsAndTheIdIndexAndQuestionsLoadAfresh) {
    EXPECT_EQ(Runs(m), kNoRuns) << "before its list is read a bank has no runs";
    EXPECT_EQ(m.QuestionCount(), 0u);
    Files files = BankFiles();
    files.push_back({"48.bin", files[0].second});  // a file the list does not name
    Mount(files);
    EXPECT_EQ(m.QuestionCount(), 48u);
    EXPECT_EQ(Runs(m), (std::vector<std::pair<i32, i32>>{{12, 23}, {24, 35}, {36, 47}, {0, 11}}));
    EXPECT_EQ(Indices({m.IndexOfId("20-1"), m.IndexOfId("70-99")}), Indices({1, -1}));
    EXPECT_EQ(m.Table(), std::vector<u8>(2012, 0));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "CurrectQuestionDecade70", "CurrectQuestionDecade80", "CurrectQuestionDecade90",
                         "CurrectQuestionDecade00", "NumberOfTimesWeLoopedDecade70", "NumberOfTimesWeLoopedDecade80",
                         "NumberOfTimesWeLoopedDecade90", "NumberOfTimesWeLoopedDecade00"}));
    for (int d = -1; d <= kDecadeCount; ++d) {
        const bool valid = d >= 0 && d < kDecadeCount;
        EXPECT_EQ(QuestionManager::PositionAttribute(d), valid ? names[size_t(d)] : "") << d;
        EXPECT_EQ(QuestionManager::WrapCountAttribute(d), valid ? names[size_t(d) + 4] : "") << d;
    }
    ASSERT_NE(m.LoadQuestion(7), nullptr);
    // Every file read is given back at once: the parsers keep copies.
    AGBaseProvider* data = AGResourceManager::Get()->GetProvider(TypeKey::Data);
    for (const char* name : {"list.txt", "graphtograph.bin", "autocompletion.txt", "7.bin"}) {
        const AGResource* resource = data->Find(Crc32Hash(name));
        EXPECT_TRUE(!resource || resource->RefCount() == 0) << name;
    }

    // A question loaded again is the same and starts afresh; it publishes the computer
    // family's picks to the game context.
    for (int load = 0; load < 2; ++load) {
        Question* q = m.LoadQuestion(5);
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(std::string(q->Text()) + "|" + q->Id() + "|" + q->GetAnswer(1).Text() + "|" + q->GetWrongAnswer(0),
                  "Question 5|20-5|Other|wrong");
        EXPECT_EQ(q->CheckAnswer("answer5"), 0);
        EXPECT_EQ(m.CurrentIndex(), 5);
        EXPECT_EQ(q->PickRightAnswer(), &q->GetAnswer(1));
        EXPECT_EQ(chosen, 1);
        chosen = -2;
    }
    ASSERT_NE(m.LoadQuestion(47), nullptr);
    EXPECT_EQ(m.LoadQuestion(48), nullptr) << "no question past the list, though its file exists";
    EXPECT_EQ(m.CurrentQuestion(), nullptr);
    // The first step of a walk bounds the bank by the end of the decade's run.
    decade = kDecade80s;
    m.SetCurrentIndex(30);
    EXPECT_EQ(Walk(m, 1), Indices{31});
    EXPECT_EQ(m.UpperBound(), 35u);
    // Initialized again, the bank unloads its question and starts afresh, bounded by its size.
    ASSERT_TRUE(m.Initialize());
    EXPECT_EQ(m.CurrentQuestion(), nullptr);
    EXPECT_EQ(m.UpperBound(), 2012u);
    // A list longer than the bank is cut at 2012 lines.
    std::string longList;
    for (int i = 0; i < 2014; ++i)
        longList += "00-" + std::to_string(i) + "\n";
    m.LoadIndex(longList.data(), u32(longList.size()));
    EXPECT_EQ(m.QuestionCount(), 2012u);
    EXPECT_EQ(Indices({m.LastIndex(kDecade00s), m.IndexOfId("00-2011"), m.IndexOfId("00-2012")}),
              Indices({2011, 2011, -1}));
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
    EXPECT_EQ(Runs(m), kNoRuns);
    EXPECT_EQ(m.IndexOfId("20-1"), -1);
    Autocompleter dictionary;
    dictionary.Load();
    EXPECT_FALSE(dictionary.IsWord("towel"));
    EXPECT_TRUE(WordPairMap.IsEmpty());
    for (const char* report : {"list.txt is missing", "graphtograph.bin is missing", "autocompletion.txt is missing"})
        EXPECT_TRUE(log.Contains(report)) << report;
}

TEST_F(QuestionManagerTest, NextQuestionWrapsWithinTheDecadeAndSavesOnce) {
    Mount(BankFiles());
    values["NumberOfTimesWeLoopedDecade70"] = 2;
    m.SetCurrentIndex(22);
    EXPECT_EQ(Walk(m, 1), Indices{23});
    EXPECT_EQ(writes, 0);
    // Back to the first question of the 70s run; the questions asked restart at the wrap, so
    // the saved position is the question in use.
    EXPECT_EQ(Walk(m, 3), (Indices{12, 13, 14}));
    EXPECT_EQ(values, (Values{{"NumberOfTimesWeLoopedDecade70", 3}, {"CurrectQuestionDecade70", 12}}));
    EXPECT_EQ(writes, 1);
    m.SaveProgress();
    EXPECT_EQ(std::pair(values["CurrectQuestionDecade70"], m.CurrentIndex()), std::pair(14, 14));
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
    EXPECT_EQ(Walk(m, 1), Indices{36});

    // Without a stored position a save starts just before the decade's run.
    for (int d = 0; d < kDecadeCount; ++d) {
        values.clear();
        decade = d;
        const int first = 12 * (d == kDecade00s ? 0 : d + 1);
        m.SetCurrentIndex(first - 1);
        EXPECT_EQ(Walk(m, 1), Indices{first});
        m.SaveProgress();
        EXPECT_EQ(values, (Values{{QuestionManager::PositionAttribute(d), first}})) << d;
        EXPECT_EQ(m.CurrentIndex(), first);
    }

    // Without settings or a save writer a wrap still restarts the run; the progress is not kept.
    QuestionManager bare(QuestionServices{nullptr, this, nullptr, nullptr});
    ASSERT_TRUE(bare.Initialize());
    LogCapture log;
    const int before = writes;
    decade = kDecade70s;
    bare.SetCurrentIndex(23);
    EXPECT_EQ(Walk(bare, 1), Indices{12});
    bare.SaveProgress();
    EXPECT_TRUE(log.Contains("This achievement doesn't exist."));
    EXPECT_EQ(writes, before);
}

TEST_F(QuestionManagerTest, EmptyDecadesAndMissingOrUnreadableFilesAreReported) {
    Files files = BankFiles({{"00", 1}, {"70", 3}, {"90", 3}});
    files[2].second = "Question 2\r\n70-70";  // truncated before its answers
    for (size_t n = 3; n <= 6; ++n)
        files[n].second.clear();
    files.back().second = "0";  // the dictionary: one byte is a file
    Mount(files);
    LogCapture log;
    decade = kDecade80s;
    EXPECT_EQ(Walk(m, 1), Indices{-1});
    decade = 4;
    EXPECT_EQ(Walk(m, 1), Indices{-1});
    // Without a game context there is no decade: nothing is walked or saved.
    QuestionManager noContext(QuestionServices{this, nullptr, this, nullptr});
    ASSERT_TRUE(noContext.Initialize());
    EXPECT_EQ(Walk(noContext, 1), Indices{-1});
    noContext.SaveProgress();
    EXPECT_TRUE(values.empty());
    // A decade without questions saves from -1.
    decade = kDecade80s;
    m.SaveProgress();
    EXPECT_EQ(values, (Values{{"CurrectQuestionDecade80", -1}}));

    // A decade whose only question is the first of the list.
    decade = kDecade00s;
    m.SetCurrentIndex(0);
    EXPECT_EQ(Walk(m, 1), Indices{0});
    // The 70s run is 1 to 3: from 1, the unreadable 2 and 3 are skipped and the walk wraps.
    decade = kDecade70s;
    m.SetCurrentIndex(1);
    EXPECT_EQ(Walk(m, 1), Indices{1});
    // A decade with nothing readable (the 90s, 4 to 6) is tried once per question, then reported.
    decade = kDecade90s;
    EXPECT_EQ(Walk(m, 1), Indices{-1});
    EXPECT_EQ(m.CurrentIndex(), 4);
    Autocompleter dictionary;
    dictionary.Load();
    EXPECT_FALSE(log.Contains("autocompletion.txt is missing"));
    for (const char* report : {"no questions of the 80s", "No valid current decade (4)", "No valid current decade (-1)",
                               "2.bin is unreadable", "3.bin is missing", "No readable question of the 90s"})
        EXPECT_TRUE(log.Contains(report)) << report;
    EXPECT_EQ(writes, 3);
}
