// The computer family's sample tuning (the in-game level's application data in data/levels),
// read for every decade and difficulty by the level record, as the level loader reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine/core/XmlReader.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZApplicationData.h"
#include "tests/support/LogCapture.h"

namespace {

struct LevelRecord : GameServices::Utilities::ISerializable {
    void Serialize(GameServices::Utilities::ISerialization& serialization) override {
        data.reset(dynamic_cast<QZ2011::QZApplicationDataLevel*>(prototype.Create(serialization)));
    }
    QZ2011::QZApplicationDataLevel prototype;
    std::unique_ptr<QZ2011::QZApplicationDataLevel> data;
};

}  // namespace

// Each of the 120 keys once; per decade the five numbers within 0..9, not falling from easy to
// hard; the family named as its introduction cue, four member names; the level numbers.
TEST(SampleTuning, EveryDecadeAndDifficultyHasItsComputerFamily) {
    const char* cueNames[4][3] = {{"Wendle", "Brask", "Gimbrel"}, {"Tassley", "Olvira", "Kelvish"},
                                  {"Zandor", "Pellory", "Vassen"}, {"Idwyn", "Lunmark", "Quessel"}};
    std::stringstream file;
    file << std::ifstream(std::string(TALLYVOX_SAMPLE_LEVELS) + "/QZ11_Game_Level_ApplicationData.xml").rdbuf();
    const std::string text = "<Level>" + file.str() + "</Level>";
    const char* decades[] = {"70", "80", "90", "00"};
    const char* difficulties[] = {"Easy", "Medium", "Hard"};
    LogCapture log;
    QZ2011GameContext context;
    for (u32 decade = 0; decade < 4; ++decade) {
        i32 previous[5] = {};
        for (u32 difficulty = 0; difficulty < 3; ++difficulty) {
            const std::string choice = std::string(difficulties[difficulty]) + decades[decade];
            SCOPED_TRACE(choice);
            for (const char* key : {"BuzzerSpeed_", "AnswerAccuracy_", "AnswerDifficulty_", "BasicRoundStrength_",
                                    "Steal_", "String_FamilyName_", "String_male1_", "String_male2_",
                                    "String_female1_", "String_female2_"}) {
                const std::string tag = "<" + std::string(key) + choice + ">";
                EXPECT_EQ(text.find(tag), text.rfind(tag)) << key;
                EXPECT_NE(text.find(tag), std::string::npos) << key;
            }
            context.m_Decade = decade;
            context.m_Difficulty = difficulty;
            LevelRecord record;
            GameServices::Utilities::XmlReader().ReadText(text.c_str(), u32(text.size()), "Level", record);
            ASSERT_NE(record.data, nullptr);
            const QZ2011::QZApplicationDataLevel& data = *record.data;
            const i32 numbers[5] = {data.BuzzerSpeed, data.AnswerAccuracy, data.AnswerDifficulty,
                                    data.BasicRoundStrength, data.Steal};
            for (int n = 0; n < 5; ++n) {
                EXPECT_TRUE(numbers[n] >= previous[n] && numbers[n] <= 9) << n << ": " << numbers[n];
                previous[n] = numbers[n];
            }
            EXPECT_STREQ(data.FamilyName.c_str(), cueNames[decade][difficulty]);
            EXPECT_TRUE(data.Male1.Length() && data.Male2.Length() && data.Female1.Length() && data.Female2.Length());
            // Eight rows; an answer time the computer family's longest wait (8.1 s) fits in.
            EXPECT_EQ(data.numberOfAnswers, 8);
            EXPECT_TRUE(data.questionRoundTime > 9 && data.questionRoundTime <= 99);
            EXPECT_TRUE(data.fastMoneySecondTime > 0 && data.fastMoneyFirstTime > 0);
        }
    }
    EXPECT_EQ(std::count(text.begin(), text.end(), '/'), 126);
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
}
