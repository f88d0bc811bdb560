#include "game/presentation/QZApplicationData.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "engine/core/XmlReader.h"
#include "game/QZ2011GameContext.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"

using namespace QZ2011;
using GameServices::KorvoGame::ApplicationData;

namespace {

// A record being read: its application data is what the prototype makes of it.
struct Record : GameServices::Utilities::ISerializable {
    explicit Record(ApplicationData& prototype) : prototype(prototype) {}
    void Serialize(GameServices::Utilities::ISerialization& serialization) override {
        result.reset(prototype.Create(serialization));
    }
    ApplicationData& prototype;
    std::unique_ptr<ApplicationData> result;
};

std::unique_ptr<ApplicationData> Read(ApplicationData& prototype, const std::string& text, const char* root) {
    Record record(prototype);
    GameServices::Utilities::XmlReader().ReadText(text.c_str(), u32(text.size()), root, record);
    return std::move(record.result);
}

std::string Element(const std::string& key, const std::string& value) { return "<" + key + ">" + value + "</" + key + ">"; }

// Every tuning key of a difficulty and decade ("Medium90"): numbers counting up from `base`,
// names from the key.
std::string AllTuning(const std::string& choice, int base) {
    std::string content;
    for (const char* key : {"BuzzerSpeed_", "AnswerAccuracy_", "AnswerDifficulty_", "BasicRoundStrength_", "Steal_"})
        content += Element(key + choice, std::to_string(base++));
    for (const char* key : {"String_FamilyName_", "String_male1_", "String_male2_", "String_female1_", "String_female2_"})
        content += Element(key + choice, std::string(key + 7) + choice);
    return content;
}

std::string Text(const QZApplicationDataLevel& data) {
    std::string text;
    for (i32 n : {data.numberOfAnswers, data.questionRoundTime, data.fastMoneyFirstTime, data.fastMoneySecondTime,
                  data.BuzzerSpeed, data.AnswerAccuracy, data.AnswerDifficulty, data.BasicRoundStrength, data.Steal})
        text += std::to_string(n) + " ";
    for (const TString<char>* name : {&data.FamilyName, &data.Male1, &data.Male2, &data.Female1, &data.Female2})
        text += std::string(name->c_str()) + "/";
    return text;
}

// The decade and difficulty come from the game context.
class LevelData : public ::testing::Test {
protected:
    // The level data of a "Level" whose ApplicationData holds the content.
    QZApplicationDataLevel* ReadLevel(const std::string& content) {
        read = Read(prototype, "<Level><ApplicationData>" + content + "</ApplicationData></Level>", "Level");
        return dynamic_cast<QZApplicationDataLevel*>(read.get());
    }

    LogCapture log;
    QZ2011GameContext context;
    QZApplicationDataLevel prototype;
    std::unique_ptr<ApplicationData> read;
};

}  // namespace

// Only the chosen pair's ten tuning keys are read, each into its field; the level numbers by
// their keys ("fastMoneySecondTime" times the first turn), bounded to the eight board rows and
// the two-digit countdown, each bound and a missing answer time reported. One prototype
// reads every case, so nothing of an earlier level is left over.
TEST_F(LevelData, ReadsTheChosenTuningAndBoundedNumbers) {
    const std::string times = Element("numberOfAnswers", "7") + Element("questionRoundTime", "20") + Element("fastMoneyFirstTime", "20") +
                              Element("fastMoneySecondTime", "25");
    const std::string all = times + AllTuning("Medium90", 1) + AllTuning("Medium80", 11) + AllTuning("Hard90", 21);
    struct Case {
        std::string content;
        u32 decade, difficulty;
        const char* data;
        const char* report;
        size_t reports;
    } cases[] = {
        {all, 2, 1, "7 20 20 25 1 2 3 4 5 FamilyName_Medium90/male1_Medium90/male2_Medium90/female1_Medium90/female2_Medium90/", "", 0},
        {all, 1, 1, "7 20 20 25 11 12 13 14 15 FamilyName_Medium80/male1_Medium80/male2_Medium80/female1_Medium80/female2_Medium80/", "", 0},
        {all, 4, 1, "7 20 20 25 0 0 0 0 0 /////", "", 0},
        {times + Element("BuzzerSpeed_Hard70", "7"), 0, 2, "7 20 20 25 7 0 0 0 0 /////", "", 0},
        {Element("numberOfAnswers", "6"), 0, 0, "6 0 0 0 0 0 0 0 0 /////", "no questionRoundTime", 1},
        {Element("numberOfAnswers", "12") + Element("questionRoundTime", "150"), 0, 0, "8 99 0 0 0 0 0 0 0 /////",
         "numberOfAnswers 12 is out of 0..8", 2},
        {Element("numberOfAnswers", "-1") + Element("questionRoundTime", "5") + Element("fastMoneyFirstTime", "-3") +
             Element("fastMoneySecondTime", "400"),
         0, 0, "0 5 0 99 0 0 0 0 0 /////", "fastMoneyFirstTime -3 is out of 0..99, 0 is used", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        context.m_Decade = c.decade;
        context.m_Difficulty = c.difficulty;
        log.Clear();
        QZApplicationDataLevel* data = ReadLevel(c.content);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(Text(*data), c.data);
        EXPECT_EQ(log.Lines().size(), c.reports);
        EXPECT_TRUE(c.reports == 0 || log.Contains(c.report));
    }
    // A clone copies every field.
    context.m_Decade = 2;
    context.m_Difficulty = 1;
    std::unique_ptr<ApplicationData> copy(ReadLevel(all)->Clone());
    EXPECT_EQ(Text(dynamic_cast<QZApplicationDataLevel&>(*copy)), Text(*ReadLevel(all)));
    // A level without the element has no data, and nothing is reported.
    log.Clear();
    EXPECT_EQ(Read(prototype, "<Level/>", "Level"), nullptr);
    EXPECT_TRUE(log.Lines().empty());
}

// Damaged level and prop records read without a memory fault, the level numbers in bounds.
TEST_F(LevelData, DamagedRecordsReadWithinBounds) {
    context.m_Decade = 0;
    context.m_Difficulty = 2;
    const std::string level = "<Level><ApplicationData>" + Element("numberOfAnswers", "8") + Element("questionRoundTime", "20") +
                              Element("fastMoneyFirstTime", "25") + Element("fastMoneySecondTime", "20") +
                              AllTuning("Hard70", 4) + "</ApplicationData></Level>";
    const std::string prop = "<item><ApplicationData><TemplateBehavior>wall_1_mat</TemplateBehavior></ApplicationData></item>";
    QZApplicationDataProps props;
    std::mt19937 rng(9223);
    int levels = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string damaged = level;
        // One change at a time: most further ones break the document.
        DamageBytes(damaged, rng, 1);
        const std::unique_ptr<ApplicationData> levelData = Read(prototype, damaged, "Level");
        if (auto* data = dynamic_cast<QZApplicationDataLevel*>(levelData.get())) {
            ++levels;
            const bool bounded = data->numberOfAnswers >= 0 && data->numberOfAnswers <= 8;
            for (i32 time : {data->questionRoundTime, data->fastMoneyFirstTime, data->fastMoneySecondTime})
                if (!bounded || time < 0 || time > 99)
                    FAIL() << "round " << round << ": " << Text(*data) << "\n" << damaged;
        }
        damaged = prop;
        DamageBytes(damaged, rng, 1 + int(rng() % 4));
        Read(props, damaged, "item");
        log.Clear();
    }
    EXPECT_GT(levels, 200);
}
