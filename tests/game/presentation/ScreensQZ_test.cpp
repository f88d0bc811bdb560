// The loading screen on a widget test game: its logo and the logo's reflection loop their
// animations, each on its own length.
#include "game/presentation/screens/ScreenLoad.h"

#include <gtest/gtest.h>

#include <vector>

#include "gameservices/widget/WidgetClasses.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tools/authoring/TrackWriter.h"

using GameServices::Widget::Image;
using GameServices::Widget::Panel;
using QZ2011::ScreenLoad;

TEST(ScreenLoad, ShowsItsPictureAndRestartsLogoAndReflectionEachAfterItsOwnEnd) {
    widget_test::TestGame game;
    drawtest::TestPackage package;
    using authoring::Track;
    // 4 and 7 frames at 30 a second: 133 ms and 233 ms.
    const struct {
        const char* file;
        float frames;
    } animations[] = {{ScreenLoad::kLogoAnimation, 4}, {ScreenLoad::kReflectionAnimation, 7}};
    for (const auto& animation : animations)
        package.Writer().Add(animation.file, TypeKey::PrscAnimation,
                             authoring::PrscAnimationBytes(animation.frames, 30, Track::Vec2().Key(0, {0, 0}),
                                                           Track::Float(), Track::Vec2(), Track::Color(), Track::UV()));
    package.Mount();

    ScreenLoad screen;
    auto* root = new Panel("root");
    Image* widgets[3];
    const char* names[3] = {"LoadingBG", "LoadingLogo", "LoadingReflection"};
    for (int i = 0; i < 3; ++i)
        root->AddChild(widgets[i] = new Image(names[i])), widgets[i]->SetVisible(false);
    screen.m_RootPanel = root;
    screen.onLoad();
    for (Image* widget : widgets)
        EXPECT_TRUE(widget->Visible) << widget->Name.c_str();

    // The frames at which each animation started again (its clock went back).
    std::vector<int> restarts[2];
    f32 before[2] = {-1.0f, -1.0f};
    for (int frame = 0; frame < 60; ++frame) {
        game.flow.Update(16);
        for (int i = 0; i < 2; ++i) {
            Image* widget = widgets[i + 1];
            ASSERT_NE(widget->m_Animation, nullptr);
            EXPECT_EQ(widget->m_Control.GetMode(), AGController::kOnce) << "frame " << frame;
            EXPECT_FALSE(widget->Synchronize);
            const f32 now = widget->m_Control.GetTime();
            if (now < before[i])
                restarts[i].push_back(frame);
            before[i] = now;
        }
    }
    // Each starts again in the 16 ms frame that passes its own end: every 9 and every 15 frames.
    const int periods[2] = {9, 15};
    for (int i = 0; i < 2; ++i) {
        ASSERT_GE(restarts[i].size(), 3u) << names[i + 1];
        for (size_t k = 1; k < restarts[i].size(); ++k)
            EXPECT_EQ(restarts[i][k] - restarts[i][k - 1], periods[i]) << names[i + 1];
    }
    screen.onUnload();
}
