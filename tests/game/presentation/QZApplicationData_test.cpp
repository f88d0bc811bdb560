#include "game/presentation/QZApplicationData.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

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

std::string Element(const std::string& key, const std::string& value) { return "<" + key + ">" + value + "</" + key + ">"; }

// The decade and difficulty come from the game context.
class LevelData : public ::testing::Test {
protected:
    // The level data read from a "Level" holding this ApplicationData content; null without.
    QZApplicationDataLevel* Read(const std::string& content, bool withElement = true) {
        Record record(prototype);
        const std::string text = "<Level>" + (withElement ? "<ApplicationData>" + content + "</ApplicationData>" : "") + "</Level>";
        GameServices::Utilities::XmlReader().ReadText(text.c_str(), "Level", record);
        read.reset(dynamic_cast<QZApplicationDataLevel*>(record.result.release()));
        return read.get();
    }
    static std::string Numbers(const Level& level) {
        return std::to_string(level.numberOfAnswers) + " " + std::to_string(level.questionRoundTime) + " " +
               std::to_string(level.fastMoneyFirstTime) + " " + std::to_string(level.fastMoneySecondTime);
    }
    static std::string Tuning(const AI& ai) {
        return std::to_string(ai.BuzzerSpeed) + " " + std::to_string(ai.AnswerAccuracy) + " " +
               std::to_string(ai.AnswerDifficulty) + " " + std::to_string(ai.BasicRoundStrength) + " " +
               std::to_string(ai.Steal) + " " + ai.FamilyName.c_str() + "/" + ai.Male1.c_str() + "/" + ai.Male2.c_str() +
               "/" + ai.Female1.c_str() + "/" + ai.Female2.c_str();
    }

    LogCapture log;
    QZ2011GameContext context;
    QZApplicationDataLevel prototype;
    std::unique_ptr<QZApplicationDataLevel> read;
};

const char* const kNumberKeys[] = {"BuzzerSpeed_", "AnswerAccuracy_", "AnswerDifficulty_", "BasicRoundStrength_", "Steal_"};
const char* const kNameKeys[] = {"String_FamilyName_", "String_male1_", "String_male2_", "String_female1_", "String_female2_"};

// Every tuning key of a decade and difficulty, the numbers counting up from `base`, the names
// from the key.
std::string AllTuning(const char* choice, int base) {
    std::string content;
    for (const char* key : kNumberKeys)
        content += Element(std::string(key) + choice, std::to_string(base++));
    for (const char* key : kNameKeys)
        content += Element(std::string(key) + choice, std::string(key + 7) + choice);
    return content;
}

}  // namespace

// Only the chosen pair's ten keys are read, each into its own field; one prototype reads all
// cases, so nothing of an earlier level is left over.
TEST_F(LevelData, TheTuningOfTheChosenDecadeAndDifficultyIsRead) {
    const std::string all = AllTuning("Medium90", 1) + AllTuning("Medium80", 11) + AllTuning("Hard90", 21);
    struct Case {
        std::string content;
        u32 decade, difficulty;
        const char* tuning;
    } cases[] = {
        {all, 2, 1, "1 2 3 4 5 FamilyName_Medium90/male1_Medium90/male2_Medium90/female1_Medium90/female2_Medium90"},
        {all, 1, 1, "11 12 13 14 15 FamilyName_Medium80/male1_Medium80/male2_Medium80/female1_Medium80/female2_Medium80"},
        {all, 4, 1, "0 0 0 0 0 ////"},
        {all, 2, 3, "0 0 0 0 0 ////"},
        {Element("BuzzerSpeed_Hard70", "7"), 0, 2, "7 0 0 0 0 ////"},
        {Element("BuzzerSpeed_Hard70", "7"), 1, 2, "0 0 0 0 0 ////"},
        {AllTuning("Easy00", 31), 3, 0, "31 32 33 34 35 FamilyName_Easy00/male1_Easy00/male2_Easy00/female1_Easy00/female2_Easy00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.decade) + " " + std::to_string(c.difficulty));
        context.m_Decade = c.decade;
        context.m_Difficulty = c.difficulty;
        ASSERT_NE(Read(c.content), nullptr);
        EXPECT_EQ(Tuning(*read), c.tuning);
    }
}

// The level numbers are read by their keys ("fastMoneySecondTime" times the first turn) and
// bounded to the board's eight rows and the two-digit countdown.
TEST_F(LevelData, LevelNumbersAreBoundedWhenRead) {
    struct Case {
        std::string content;
        const char* numbers;
        const char* report;
        u32 reports;
    } cases[] = {
        {Element("numberOfAnswers", "8") + Element("questionRoundTime", "20") + Element("fastMoneyFirstTime", "20") +
             Element("fastMoneySecondTime", "25"),
         "8 20 20 25", nullptr, 0},
        {Element("numberOfAnswers", "0") + Element("questionRoundTime", "99") + Element("fastMoneyFirstTime", "0") +
             Element("fastMoneySecondTime", "99"),
         "0 99 0 99", nullptr, 0},
        {Element("numberOfAnswers", "6"), "6 0 0 0", "no questionRoundTime", 1},
        {Element("numberOfAnswers", "12") + Element("questionRoundTime", "150"), "8 99 0 0", "numberOfAnswers 12 is out of 0..8", 2},
        {Element("numberOfAnswers", "9") + Element("questionRoundTime", "100"), "8 99 0 0", "questionRoundTime 100 is out of 0..99", 2},
        {Element("questionRoundTime", "5") + Element("fastMoneyFirstTime", "-3") + Element("fastMoneySecondTime", "400"),
         "0 5 0 99", "fastMoneyFirstTime -3 is out of 0..99, 0 is used", 2},
        {Element("numberOfAnswers", "-1") + Element("questionRoundTime", "5"), "0 5 0 0", "numberOfAnswers -1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        log.Clear();
        ASSERT_NE(Read(c.content), nullptr);
        EXPECT_EQ(Numbers(*read), c.numbers);
        EXPECT_EQ(log.Lines().size(), c.reports);
        if (c.report) {
            EXPECT_TRUE(log.Contains(c.report));
        }
    }
    // A level without the element has no data, and nothing is reported.
    log.Clear();
    EXPECT_EQ(Read("", false), nullptr);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(LevelData, ClonesCopyEveryField) {
    context.m_Decade = 3;
    context.m_Difficulty = 0;
    ASSERT_NE(Read(Element("numberOfAnswers", "5") + Element("questionRoundTime", "6") + Element("fastMoneyFirstTime", "7") +
                   Element("fastMoneySecondTime", "8") + AllTuning("Easy00", 1)),
              nullptr);
    std::unique_ptr<ApplicationData> copy(read->Clone());
    auto* level = dynamic_cast<QZApplicationDataLevel*>(copy.get());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Numbers(*level), "5 6 7 8");
    EXPECT_EQ(Tuning(*level), Tuning(*read));

    QZApplicationDataCharacter character;
    character.m_Text = "kept";
    std::unique_ptr<ApplicationData> characterCopy(character.Clone());
    EXPECT_EQ(dynamic_cast<QZApplicationDataCharacter&>(*characterCopy).m_Text, "kept");

    QZApplicationDataProps props;
    Record record(props);
    GameServices::Utilities::XmlReader().ReadText(
        "<item><ApplicationData><TemplateBehavior>wall_1_mat</TemplateBehavior></ApplicationData></item>", "item", record);
    ASSERT_NE(record.result, nullptr);
    std::unique_ptr<ApplicationData> propsCopy(record.result->Clone());
    EXPECT_EQ(dynamic_cast<QZApplicationDataProps&>(*propsCopy).TemplateBehavior, "wall_1_mat");
}

// Damaged level and prop records read without a memory fault and the level numbers stay in
// their bounds.
TEST_F(LevelData, DamagedRecordsReadWithinBounds) {
    context.m_Decade = 0;
    context.m_Difficulty = 2;
    const std::string level = "<Level><ApplicationData>" + Element("numberOfAnswers", "8") +
                              Element("questionRoundTime", "20") + Element("fastMoneyFirstTime", "25") +
                              Element("fastMoneySecondTime", "20") + AllTuning("Hard70", 4) + "</ApplicationData></Level>";
    const std::string prop = "<item><Kind>StageProps</Kind><ApplicationData><TemplateBehavior>wall_1_mat</TemplateBehavior>"
                             "</ApplicationData></item>";
    QZApplicationDataProps props;
    std::mt19937 rng(9223);
    for (int round = 0; round < 5000; ++round) {
        std::string damaged = level;
        DamageBytes(damaged, rng, 1 + int(rng() % 4));
        Record record(prototype);
        GameServices::Utilities::XmlReader().ReadText(damaged.c_str(), u32(damaged.size()), "Level", record);
        if (auto* read = dynamic_cast<QZApplicationDataLevel*>(record.result.get())) {
            const i32 numbers[] = {read->numberOfAnswers, read->questionRoundTime, read->fastMoneyFirstTime,
                                   read->fastMoneySecondTime};
            const i32 bounds[] = {8, 99, 99, 99};
            for (int i = 0; i < 4; ++i)
                if (numbers[i] < 0 || numbers[i] > bounds[i]) {
                    ADD_FAILURE() << "round " << round << ": value " << numbers[i] << "\n" << damaged;
                    return;
                }
        }
        damaged = prop;
        DamageBytes(damaged, rng, 1 + int(rng() % 4));
        Record propRecord(props);
        GameServices::Utilities::XmlReader().ReadText(damaged.c_str(), u32(damaged.size()), "item", propRecord);
        log.Clear();
    }
}
