#include "gameservices/game/sLevel.h"

#include <gtest/gtest.h>

#include "engine/core/XmlReader.h"
#include "gameservices/game/sAnimation.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;
using GameServices::Utilities::XmlReader;

namespace {

sLevel ReadLevel(const std::string& children) {
    sLevel level;
    XmlReader reader;
    EXPECT_EQ(reader.ReadText(("<Level>" + children + "</Level>").c_str(), "Level", level),
              XmlReader::ReadOk);
    return level;
}

}  // namespace

TEST(LevelRecordsTest, CameraDefaultsAndCameraAnimation) {
    const sLevel level = ReadLevel(
        "<Cameras><item><Name>A</Name></item><item><Name>B</Name><Animation/></item></Cameras>");
    ASSERT_EQ(level.Cameras.size(), 2u);
    const sCamera& a = level.Cameras[0];
    for (const TString<char>* auto_ : {&a.PositionX, &a.PositionY, &a.PositionZ, &a.LookAtX,
                                      &a.LookAtY, &a.LookAtZ})
        EXPECT_EQ(*auto_, "auto");
    EXPECT_EQ(a.ClippingNear, 100.0f);
    EXPECT_EQ(a.ClippingFar, 5000.0f);
    EXPECT_EQ(a.Animation.Mode, -1);
    EXPECT_EQ(a.Animation.Speed, 1.0f);
    // An empty Animation element reads the keyword of no word and the speed default 0.
    EXPECT_EQ(level.Cameras[1].Animation.Mode, kPlayPause);
    EXPECT_EQ(level.Cameras[1].Animation.Speed, 0.0f);
}

TEST(LevelRecordsTest, PlayModeAndAnimationTypeKeywords) {
    const std::pair<const char*, i32> modes[] = {
        {"LOOP", 4}, {"once", 3}, {"Pause", 1}, {"rewind", 5}, {"RewindLoop", 6}, {"", 1},
        {"loops", 1},
    };
    for (const auto& [word, mode] : modes)
        EXPECT_EQ(PlayModeFromWord(word), mode) << word;
    const std::pair<const char*, i32> types[] = {
        {"None", -1},          {"SkinAnimation", 0}, {"modelanimation", 1},
        {"TextureAnimation", 2}, {"UVAnimation", 3}, {"CameraAnimation", 4},
    };
    LogCapture log;
    for (const auto& [word, type] : types)
        EXPECT_EQ(AnimationTypeFromWord(word), type) << word;
    EXPECT_TRUE(log.Lines().empty());
    AnimationTypeFromWord("Skin");
    EXPECT_TRUE(log.Contains("the Action Type is not valide"));
}
