#include "engine/core/AGController.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/PCTimerManager.h"

namespace {

AGController Make(u32 mode, f32 startFrame, f32 endFrame) {
    AGController c;
    c.SetRange(startFrame, endFrame);
    c.SetMode(mode);
    c.Reset();
    return c;
}

}  // namespace

TEST(AGController, LoopsWrapIntoTheirRange) {
    AGController c = Make(AGController::kLoop, 0.0f, 30.0f);
    EXPECT_FLOAT_EQ(c.GetEndTime(), 30.0f * 33.333332f);
    c.UpdateBy(1010.0f);
    EXPECT_NEAR(c.GetTime(), 1010.0f - c.GetEndTime(), 1e-3);
    c.UpdateBy(5000.0f);  // several spans in one step
    EXPECT_LT(c.GetTime(), c.GetEndTime());

    AGController reverse = Make(AGController::kLoopReverse, 10.0f, 20.0f);
    const f32 start = reverse.GetStartTime(), end = reverse.GetEndTime();
    reverse.SetTime(500.0f);
    reverse.Reset();
    EXPECT_FLOAT_EQ(reverse.GetTime(), end);  // reverse modes reset to the end
    EXPECT_FLOAT_EQ(reverse.GetOutput(), 20.0f);
    reverse.UpdateBy(end - start + 50.0f);
    EXPECT_NEAR(reverse.GetTime(), end - 50.0f, 1e-3);
    reverse.UpdateBy(100000.0f);
    EXPECT_TRUE(reverse.GetTime() >= start && reverse.GetTime() < end) << reverse.GetTime();

    // An empty or inverted loop holds still instead of hanging.
    for (u32 mode : {u32(AGController::kLoop), u32(AGController::kLoopReverse)}) {
        for (f32 endFrame : {5.0f, 4.0f}) {
            AGController held = Make(mode, 5.0f, endFrame);
            const f32 before = held.GetTime();
            held.UpdateBy(33.0f);
            EXPECT_FLOAT_EQ(held.GetTime(), before) << mode << " " << endFrame;
        }
    }
}

TEST(AGController, OneWayAndPingPongModesFollowTheirSteps) {
    // Frames 10-20 at 30 frames per second: times 333.33 to 666.67 ms.
    struct Step {
        f32 dt;
        f32 time;  // < 0: the start time; > 1e6: the end time
        u32 mode;
        f32 direction;
    };
    constexpr f32 kStart = -1.0f, kEnd = 2e6f;
    struct Case { u32 mode; f32 speed; std::vector<Step> steps; };
    const Case cases[] = {
        {AGController::kOnce, 1.0f,
         {{300.0f, 633.33333f, AGController::kOnce, 1}, {100.0f, kEnd, AGController::kStopped, 1},
          {100.0f, kEnd, AGController::kStopped, 1}}},
        {AGController::kOnceReverse, 2.0f,
         {{0.0f, kEnd, AGController::kOnceReverse, 1}, {100.0f, 466.66666f, AGController::kOnceReverse, 1},
          {100.0f, kStart, AGController::kStopped, 1}}},
        {AGController::kOnceThenReverse, 1.0f,
         {{0.0f, kStart, AGController::kOnceThenReverse, 1},
          {400.0f, kEnd, AGController::kOnceReverse, 1},
          {100.0f, 566.66666f, AGController::kOnceReverse, 1}}},
        {AGController::kPingPong, 1.0f,
         {{100.0f, 433.33333f, AGController::kPingPong, 1}, {300.0f, kEnd, AGController::kPingPong, -1},
          {100.0f, 566.66666f, AGController::kPingPong, -1}, {300.0f, kStart, AGController::kPingPong, 1},
          {0.0f, kStart, AGController::kPingPong, -1}, {0.0f, kStart, AGController::kPingPong, 1}}},
        {AGController::kStop, 1.0f, {{100.0f, kStart, AGController::kStopped, 1}}},
    };
    for (const Case& c : cases) {
        AGController ctl = Make(c.mode, 10.0f, 20.0f);
        ctl.SetSpeed(c.speed);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << " step " << i);
            ctl.UpdateBy(step.dt);
            const f32 time = step.time == kStart ? ctl.GetStartTime()
                             : step.time == kEnd ? ctl.GetEndTime()
                                                 : step.time;
            EXPECT_NEAR(ctl.GetTime(), time, 1e-3);
            EXPECT_EQ(std::pair(ctl.GetMode(), ctl.GetDirection()), std::pair(step.mode, step.direction));
            // A once ctl that ran out shows its end frame itself.
            EXPECT_NEAR(ctl.GetOutput(), time * 0.03f, 1e-4);
        }
    }
}

TEST(AGController, FrameRatesRetimeOnlyTheFramesThatAreSet) {
    AGController c = Make(AGController::kLoop, 2.0f, 10.0f);
    for (f32 rate : {50.0f, 0.0f, -5.0f})
        c.SetFrameRate(rate);
    EXPECT_EQ((std::vector<f32>{c.GetFrameRate(), c.GetFrameDuration(), c.GetStartTime(), c.GetEndTime()}),
              (std::vector<f32>{50.0f, 20.0f, 40.0f, 200.0f}));
    c.SetTime(100.0f);
    EXPECT_FLOAT_EQ(c.GetOutput(), 5.0f);
    c.Rewind();
    PCTimerManager timer;  // not started: no frame has passed yet, so the frame update keeps it
    PCTimerManager::SetInstance(&timer);
    c.Update();
    PCTimerManager::SetInstance(nullptr);
    EXPECT_EQ(std::make_pair(c.GetTime(), c.GetOutput()), std::make_pair(40.0f, 2.0f));

    // 20 ms frames: times are exact, and a once controller stops only past its end.
    AGController once = Make(AGController::kOnce, 0.0f, 10.0f);
    once.SetFrameRate(50.0f);
    once.UpdateBy(100.0f);
    once.UpdateBy(100.0f);
    EXPECT_EQ(once.GetTime(), 200.0f);
    EXPECT_EQ(once.GetMode(), u32(AGController::kOnce)) << "landing on the end keeps it running";
    once.UpdateBy(1.0f);
    EXPECT_EQ(std::make_pair(once.GetMode(), once.GetOutput()), std::pair(u32(AGController::kStopped), 10.0f));
}
