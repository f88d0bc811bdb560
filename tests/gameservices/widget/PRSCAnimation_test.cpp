#include "gameservices/widget/PRSCAnimation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/graphics/AGPrscAnimation.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tools/authoring/TrackWriter.h"

using namespace GameServices::Widget;
using authoring::Track;

TEST(WidgetPrscAnimation, TimingComesFromTheFileAndOneReferenceIsHeld) {
    drawtest::TestPackage package;
    authoring::PackageWriter& writer = package.Writer();
    writer.Add("wave.anm", TypeKey::PrscAnimation,
               authoring::PrscAnimationBytes(30, 30, Track::Vec2().Key(0, {4, 5}), Track::Float(), Track::Vec2(),
                                             Track::Color(), Track::UV()));
    writer.Add("still.anm", TypeKey::PrscAnimation,
               authoring::PrscAnimationBytes(10, 0, Track::Vec2(), Track::Float(), Track::Vec2(), Track::Color(),
                                             Track::UV()));
    package.Mount();
    Image image("image");
    image.SetAnimation("wave.anm");
    ASSERT_NE(image.m_Animation, nullptr);
    EXPECT_EQ(image.m_Control.GetEndFrame(), 29.0f);
    // Set again, the same resource stays loaded (not read again) with one hold.
    image.m_Animation->m_position.Clear();
    image.SetAnimation("wave.anm");
    EXPECT_EQ(image.m_Animation->RefCount(), 1u);
    EXPECT_TRUE(image.m_Animation->m_position.Empty());
    // 0 frames per second in a file loads at the loader's rate; set in code it is refused.
    image.SetAnimation("still.anm");
    EXPECT_EQ(image.m_Control.GetFrameRate(), 30.0f);
    LogCapture log;
    image.m_Animation->m_frameRate = 0.0f;
    image.ResetTiming();
    EXPECT_FALSE(image.m_Ready);
    EXPECT_TRUE(std::isfinite(image.m_Control.GetEndTime()) && std::isfinite(image.m_Control.GetFrameDuration()));
}

TEST(WidgetPrscAnimation, APlaceholderProviderGivesNoAnimationAndTheNeutralPose) {
    ResourceEnvironment env(false);  // the core's providers only: 2D animations still placeholders
    LogCapture log;
    Image image("image");
    image.SetAnimation("slide.anm");
    EXPECT_EQ(image.m_Animation, nullptr);
    EXPECT_TRUE(log.Contains("not of the class asked for"));
    EXPECT_EQ(env.Provider(TypeKey::PrscAnimation)->Find(Crc32Hash("slide.anm"))->RefCount(), 0u);
    image.m_AnimX = 7.0f;
    image.Play(1);
    EXPECT_EQ(image.m_AnimX, 0.0f);
}
