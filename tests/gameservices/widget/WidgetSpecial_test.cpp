#include <gtest/gtest.h>

#include <memory>

#include "engine/core/AGController.h"
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "gameservices/entities/Set.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/widget/PRSCAnimation.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/bridge/FakeVideoPlayer.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tools/authoring/EmitterWriter.h"
#include "tools/authoring/TrackWriter.h"

using namespace widget_test;
using Calls = std::vector<std::string>;
using authoring::Track;

namespace {

void AddEmitterAndSerif(authoring::PackageWriter& writer) {
    authoring::EmitterData spark;  // one still particle, born at the start of each loop
    spark.endFrame = 1;
    writer.Add("spark", TypeKey::Emitter3D, authoring::EmitterBytes(spark));
    authoring::AddBakedFont(writer, "serif", Sans32());
    writer.Add("wave.anm", TypeKey::PrscAnimation,
               authoring::PrscAnimationBytes(30, 30, Track::Vec2().Key(0, {4, 5}), Track::Float(), Track::Vec2(),
                                             Track::Color(), Track::UV()));
    writer.Add("still.anm", TypeKey::PrscAnimation,
               authoring::PrscAnimationBytes(10, 0, Track::Vec2(), Track::Float(), Track::Vec2(), Track::Color(),
                                             Track::UV()));
}

class SpecialWidgets : public ::testing::Test, public ShownRoot {
protected:
    ~SpecialWidgets() override { HideScreen(screen); }
    static std::string Shown(const AGRenderable* r) {
        return Drawn(r) ? static_cast<const AGText*>(r)->GetString().c_str() : "-";
    }
    static const AGFont* FontOf(const AGRenderable* r) { return static_cast<const AGText*>(r)->GetFont(); }

    LogCapture log;
    RenderPackage package{{{"frame", 0xFF00FF00u}}, AddEmitterAndSerif};
};

TEST_F(SpecialWidgets, ScrollLinesRiseAndStartAgain) {
    auto* scroll = Add<ScrollText>(*root, "scroll", 5, 6, 300, 90);
    SetText(scroll->m_NormalStyle, "");
    scroll->m_SpecialStyle.m_FontName = "serif";
    scroll->m_SpecialStyle.m_Size = 64;  // twice the font's own size
    scroll->m_LineHeight = 40.0f;  // the fonts' own lines are lower
    scroll->m_Lines = {"a", "c", "d", "b_B"};
    scroll->m_Speed = 40.0f;
    Counter ended;
    scroll->m_ScrollEnded.AddDelegate(&ended.delegate);
    // Lines start blank at 0 and 40 and rise 40 a step; one above the top (a line at 0 is
    // not) takes the next entry at the bottom of the block, or finishes when there is none.
    // The special line, its font loaded when it comes up, is 74 high, at its style's size. Built
    // again, it starts again from the first entry.
    struct Step {
        const char *first, *second;
        f32 y0, y1;
        int ended;
    } const steps[] = {{"a", "-", 40, 0, 0}, {"a", "c", 0, 40, 0}, {"d", "c", 40, 0, 0}, {"d", "B", 0, 40, 0},
                       {"-", "B", 74, 0, 0}, {"-", "-", 74, 34, 1}, {"-", "-", 74, 34, 1}};
    for (int round = 0; round < 2; ++round) {
        HideScreen(screen);
        ShowScreen(screen);
        ASSERT_EQ(scroll->m_ShownLines, 2u);
        for (const Step& s : steps) {
            RenderingSystemWidget::UpdateBehaviorState(*scroll);
            SCOPED_TRACE(&s - steps);
            const Calls shown = {Shown(Member(*scroll, 0)), Shown(Member(*scroll, 1))};
            EXPECT_EQ(shown, (Calls{s.first, s.second}));
            EXPECT_EQ(F({PositionOf(Member(*scroll, 0)).y, PositionOf(Member(*scroll, 1)).y, f32(ended.count)}),
                      F({s.y0, s.y1, f32(s.ended + round)}));
        }
    }
    // The special entry loaded the special font after the main one.
    ASSERT_EQ(scroll->VolatileDatas.GetFonts()->size(), 2u);
    EXPECT_EQ(FontOf(Member(*scroll, 0)), scroll->VolatileDatas.GetFonts()->at(0));
    EXPECT_EQ(FontOf(Member(*scroll, 1)), scroll->VolatileDatas.GetFonts()->at(1));

}

TEST_F(SpecialWidgets, AnEmitterAndVideos) {
    auto* widget = Add<Emitter3D>(*root, "sparks", 30, 40, 10, 10);
    widget->m_EmitterSource = "spark";
    widget->Visible = false;  // built hidden: its emitter is not drawn
    // Beside it, a video of the level (both unnamed) drawn on the player's texture, which stays the player's;
    // then one of a video not playing: the player stops and takes that video's loop, shown in a window.
    TestGame game;
    GameServices::Entities::Set level;
    GameServices::Entities::VideoAsset video, idle;
    level.m_VideoAssets = {&video, &idle};
    idle.Name = "idle";
    idle.m_IsPlaying = false;
    idle.m_IsFullScreen = true;
    GameServices::Bridge::VideoProcessingSystem::SetPlayerLoop(true);
    game.level = &level;
    FakeVideoPlayerScope player;
    Add<Video>(*root, "clip", 0, 0, 8, 8)->m_DefaultImage = "frame";
    Add<Video>(*root, "idle", 0, 0, 8, 8)->m_VideoName = "idle";
    ShowScreen(screen);
    EXPECT_TRUE(player.player->Take() == Calls{"stop"} && !idle.m_IsFullScreen &&
                !GameServices::Bridge::VideoProcessingSystem::GetPlayerLoop());
    auto* emitter = widget->VolatileDatas.GetAs<AGEmitter>(GameServices::Entities::VolatileDataKeys::kDATA_EMITTER3D);
    ASSERT_NE(emitter, nullptr);
    EXPECT_FALSE(Drawn(emitter));
    widget->Visible = true;
    AGController clock;
    AGBindAnimation(clock, 30, 25, 1);
    emitter->SetController(&clock);
    emitter->Update();
    ASSERT_NE(emitter->FirstLive(), nullptr);
    EXPECT_EQ(F({emitter->FirstLive()->position.x, emitter->FirstLive()->position.y}), F({30, 40}));
    // Each update of its behaviour passes the widget's pause, stop and force directions on; a widget
    // not stopped runs again.
    widget->m_Stopped = widget->m_Paused = 1;
    widget->m_ForceDirection2 = AGVec3{0.0f, 1.0f, 0.0f};
    widget->Behaviors.Update(16);
    EXPECT_TRUE(!emitter->IsRunning() && emitter->IsFrozen() && emitter->GetForce2Direction().y == 1.0f);
    widget->m_Stopped = 0;
    widget->m_ForceDirection1 = AGVec3{1.0f, 0.0f, 0.0f};
    widget->m_ForceDirection2 = AGVec3{};  // one direction given is enough to pass both on
    widget->Behaviors.Update(16);
    EXPECT_TRUE(emitter->IsRunning() && emitter->GetForce1Direction().x == 1.0f &&
                emitter->GetForce2Direction().y == 0.0f);
    // Its animation's timing comes from the file, and one reference is held.
    widget->SetAnimation("wave.anm");
    EXPECT_EQ(widget->m_Control.GetEndFrame(), 29.0f);
    // Set again, the same resource stays loaded (not read again) with one hold.
    widget->m_Animation->m_position.Clear();
    widget->SetAnimation("wave.anm");
    EXPECT_TRUE(widget->m_Animation->RefCount() == 1u && widget->m_Animation->m_position.Empty());
    // 0 frames per second in a file loads at the loader's rate; set in code it is refused.
    widget->SetAnimation("still.anm");
    EXPECT_EQ(widget->m_Control.GetFrameRate(), 30.0f);
    widget->m_Animation->m_frameRate = 0.0f;
    widget->ResetTiming();
    EXPECT_FALSE(widget->m_Ready);
    EXPECT_TRUE(std::isfinite(widget->m_Control.GetEndTime()) && std::isfinite(widget->m_Control.GetFrameDuration()));
    // The clean-up gives the widget's animation and emitter back, and leaves the player's texture alone.
    AGBaseProvider* emitters = package.Provider(TypeKey::Emitter3D);
    EXPECT_EQ(emitters->InstanceCount(authoring::NameId("spark")), 1u);
    HideScreen(screen);
    EXPECT_TRUE(widget->m_Animation == nullptr && !log.Contains("not an instance"));
    EXPECT_EQ(emitters->InstanceCount(authoring::NameId("spark")), 0u);
}

}  // namespace

TEST(WidgetPrscAnimation, APlaceholderProviderGivesNoAnimationAndTheNeutralPose) {
    ResourceEnvironment env(false);  // the core's providers only: 2D animations still placeholders
    LogCapture log;
    Image image("image");
    image.SetAnimation("slide.anm");
    EXPECT_TRUE(image.m_Animation == nullptr && log.Contains("not of the class asked for"));
    EXPECT_EQ(env.Provider(TypeKey::PrscAnimation)->Find(Crc32Hash("slide.anm"))->RefCount(), 0u);
    image.m_AnimX = image.m_AnimRotation = 7.0f;
    image.Play(1);
    EXPECT_EQ(F({image.m_AnimX, image.m_AnimRotation}), F({0, 0}));
}
