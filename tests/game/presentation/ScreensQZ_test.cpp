// The loading screen on a widget test game: its logo and the logo's reflection loop their
// animations, each on its own length. The tutorial screen without a game to narrate it.
#include "game/presentation/screens/ScreenLoad.h"
#include "game/presentation/screens/ScreenTutorial.h"

#include <gtest/gtest.h>

#include <vector>

#include "gameservices/widget/WidgetClasses.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tools/authoring/TrackWriter.h"

using GameServices::Widget::Image;
using QZ2011::ScreenLoad;

TEST(ScreenLoad, ShowsItsPictureAndRestartsLogoAndReflectionEachAfterItsOwnEnd) {
    widget_test::TestGame game;
    drawtest::TestPackage package;
    using authoring::Track;
    // 4 and 7 frames at 30 a second: 133 ms and 233 ms, restarted in the 16 ms frame that
    // passes their end: every 9 and every 15 frames.
    const struct {
        const char* file;
        float frames;
        int period;
    } loops[] = {{ScreenLoad::kLogoAnimation, 4, 9}, {ScreenLoad::kReflectionAnimation, 7, 15}};
    for (const auto& loop : loops)
        package.Writer().Add(loop.file, TypeKey::PrscAnimation,
                             authoring::PrscAnimationBytes(loop.frames, 30, Track::Vec2().Key(0, {0, 0}), Track::Float(),
                                                           Track::Vec2(), Track::Color(), Track::UV()));
    package.Mount();
    ScreenLoad screen;
    screen.m_RootPanel = new GameServices::Widget::Panel("root");
    Image* widgets[3];
    const char* names[3] = {"LoadingBG", "LoadingLogo", "LoadingReflection"};
    for (int i = 0; i < 3; ++i) {
        screen.m_RootPanel->AddChild(widgets[i] = new Image(names[i]));
        widgets[i]->SetVisible(false);
    }
    screen.onLoad();
    for (Image* widget : widgets)
        EXPECT_TRUE(widget->Visible) << widget->Name.c_str();

    // The frames at which each animation started again (its clock went back).
    std::vector<int> restarts[2];
    f32 before[2] = {-1.0f, -1.0f};
    for (int frame = 0; frame < 60; ++frame) {
        game.flow.Update(16);
        for (int i = 0; i < 2; ++i) {
            const AGController& clock = widgets[i + 1]->m_Control;
            EXPECT_TRUE(widgets[i + 1]->m_Animation && clock.GetMode() == AGController::kOnce) << frame;
            EXPECT_FALSE(widgets[i + 1]->Synchronize);
            if (clock.GetTime() < before[i])
                restarts[i].push_back(frame);
            before[i] = clock.GetTime();
        }
    }
    for (int i = 0; i < 2; ++i) {
        ASSERT_GE(restarts[i].size(), 3u) << names[i + 1];
        for (size_t k = 1; k < restarts[i].size(); ++k)
            EXPECT_EQ(restarts[i][k] - restarts[i][k - 1], loops[i].period) << names[i + 1];
    }
    screen.onUnload();
}

// No audio manager, no narration: each narrated step lasts a frame.
TEST(ScreenTutorial, WithoutANarratorEachStepLastsAFrame) {
    QZ2011::ScreenTutorial screen;
    screen.m_State = QZ2011::ScreenTutorial::kIntroductionStep;
    std::vector<int> states;
    for (int frame = 0; frame < 3; ++frame, screen.Process(16))
        states.push_back(screen.m_State);
    states.push_back(screen.m_State);
    EXPECT_EQ(states, (std::vector<int>{1, 2, 3, 4}));
}
