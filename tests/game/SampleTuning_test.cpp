// The computer family's sample tuning (the in-game level's application data in data/levels),
// read for every decade and difficulty by the level record, as the level loader reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine/core/XmlReader.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZApplicationData.h"
#include "tests/support/LogCapture.h"

using namespace QZ2011;

namespace {

// The names the computer family's introduction cues speak, by decade and difficulty.
const char* const kCueNames[4][3] = {{"Wendle", "Brask", "Gimbrel"},
                                     {"Tassley", "Olvira", "Kelvish"},
                                     {"Zandor", "Pellory", "Vassen"},
                                     {"Idwyn", "Lunmark", "Quessel"}};

struct LevelRecord : GameServices::Utilities::ISerializable {
    void Serialize(GameServices::Utilities::ISerialization& serialization) override {
        data.reset(dynamic_cast<QZApplicationDataLevel*>(prototype.Create(serialization)));
    }
    QZApplicationDataLevel prototype;
    std::unique_ptr<QZApplicationDataLevel> data;
};

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

}  // namespace

// All 120 keys once each; per decade the five numbers within 0..9 and never falling from easy
// to hard; the family named as its introduction cue, four member names; the level numbers.
TEST(SampleTuning, EveryDecadeAndDifficultyHasItsComputerFamily) {
    std::ifstream file(std::string(TALLYVOX_SAMPLE_LEVELS) + "/QZ11_Game_Level_ApplicationData.xml");
    std::stringstream buffer;
    buffer << file.rdbuf();
    const std::string text = "<Level>" + buffer.str() + "</Level>";
    LogCapture log;
    QZ2011GameContext context;
    const char* decades[] = {"70", "80", "90", "00"};
    const char* difficulties[] = {"Easy", "Medium", "Hard"};
    for (u32 decade = 0; decade < 4; ++decade) {
        i32 previous[5] = {0, 0, 0, 0, 0};
        for (u32 difficulty = 0; difficulty < 3; ++difficulty) {
            const std::string choice = std::string(difficulties[difficulty]) + decades[decade];
            SCOPED_TRACE(choice);
            for (const char* key : {"BuzzerSpeed_", "AnswerAccuracy_", "AnswerDifficulty_", "BasicRoundStrength_",
                                    "Steal_", "String_FamilyName_", "String_male1_", "String_male2_",
                                    "String_female1_", "String_female2_"})
                EXPECT_EQ(Occurrences(text, "<" + std::string(key) + choice + ">"), 1u) << key;
            context.m_Decade = decade;
            context.m_Difficulty = difficulty;
            LevelRecord record;
            GameServices::Utilities::XmlReader().ReadText(text.c_str(), u32(text.size()), "Level", record);
            ASSERT_NE(record.data, nullptr);
            const QZApplicationDataLevel& data = *record.data;
            const i32 numbers[5] = {data.BuzzerSpeed, data.AnswerAccuracy, data.AnswerDifficulty,
                                    data.BasicRoundStrength, data.Steal};
            for (int n = 0; n < 5; ++n) {
                EXPECT_TRUE(numbers[n] >= previous[n] && numbers[n] <= 9) << n << ": " << numbers[n];
                previous[n] = numbers[n];
            }
            EXPECT_STREQ(data.FamilyName.c_str(), kCueNames[decade][difficulty]);
            for (const TString<char>* name : {&data.Male1, &data.Male2, &data.Female1, &data.Female2})
                EXPECT_GT(name->Length(), 0u);
            // Eight rows; an answer time the computer family's longest wait (8.1 s) fits in.
            EXPECT_EQ(data.numberOfAnswers, 8);
            EXPECT_TRUE(data.questionRoundTime > 9 && data.questionRoundTime <= 99);
            EXPECT_TRUE(data.fastMoneySecondTime > 0 && data.fastMoneyFirstTime > 0);
        }
    }
    EXPECT_EQ(Occurrences(text, "</"), 126u);
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
}
