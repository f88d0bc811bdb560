#include "gameservices/game/sLevel.h"

#include <gtest/gtest.h>

#include "engine/core/XmlReader.h"
#include "tests/gameservices/game/TestApplicationData.h"
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

TEST(LevelRecordsTest, PropAnimations) {
    struct Case {
        const char* element;
        i32 type;
        i32 mode;
        f32 speed;
        bool present;
        const char* file;
        bool reported;
    };
    const Case cases[] = {
        {"", kAnimationNone, kPlayPause, 1.0f, false, "", false},
        {"<Animation type=\"ModelAnimation\" mode=\"LOOP\"><AnimationFile>walk.anm</AnimationFile>"
         "</Animation>",
         kAnimationModel, kPlayLoop, 0.0f, true, "walk.anm", false},
        {"<Animation type=\"uvanimation\" mode=\"rewindloop\" speed=\"2.5\"><MaterialName>m"
         "</MaterialName></Animation>",
         kAnimationUV, kPlayRewindLoop, 2.5f, true, "", false},
        {"<Animation type=\"spin\" mode=\"sideways\"><AnimationFile>x</AnimationFile>"
         "</Animation>",
         kAnimationNone, kPlayPause, 0.0f, true, "", true},
    };
    for (const Case& c : cases) {
        LogCapture log;
        const sLevel level =
            ReadLevel(std::string("<Props><item>") + c.element + "</item></Props>");
        ASSERT_EQ(level.Props.size(), 1u);
        const sAnimation& animation = level.Props[0].Animation;
        EXPECT_EQ(animation.Type, c.type) << c.element;
        EXPECT_EQ(animation.Mode, c.mode) << c.element;
        EXPECT_EQ(animation.Speed, c.speed) << c.element;
        EXPECT_EQ(animation.Present, c.present) << c.element;
        EXPECT_EQ(animation.AnimationFile, c.file) << c.element;
        EXPECT_EQ(log.Contains("the Action Type is not valide"), c.reported) << c.element;
    }
}

TEST(LevelRecordsTest, ApplicationDataComesFromThePrototypeAndCopiesDeeply) {
    TestApplicationData prototype({ApplicationData::kProp, ApplicationData::kLevel});
    const sLevel level = ReadLevel(
        "<Props><item><ApplicationData><Score>7</Score></ApplicationData></item><item/></Props>"
        "<Cameras><item><ApplicationData><Score>1</Score></ApplicationData></item></Cameras>"
        "<ApplicationData><Score>3</Score></ApplicationData>");
    ASSERT_EQ(level.Props.size(), 2u);
    ASSERT_TRUE(level.Props[0].AppData);
    EXPECT_EQ(static_cast<TestApplicationData*>(level.Props[0].AppData.Get())->score, 7);
    EXPECT_FALSE(level.Props[1].AppData);
    EXPECT_FALSE(level.Cameras[0].AppData);  // no camera prototype
    ASSERT_TRUE(level.AppData);

    // A copy owns copies: both records can go without a double free.
    const sLevel copy = level;
    EXPECT_NE(copy.Props[0].AppData.Get(), level.Props[0].AppData.Get());
    EXPECT_EQ(static_cast<TestApplicationData*>(copy.AppData.Get())->score, 3);
}
