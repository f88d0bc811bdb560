#include "engine/core/AGController.h"

#include <gtest/gtest.h>

namespace {

AGController Make(u32 mode, f32 startFrame, f32 endFrame) {
    AGController c;
    c.SetRange(startFrame, endFrame);
    c.SetMode(mode);
    c.Reset();
    return c;
}

}  // namespace

TEST(AGController, Defaults) {
    AGController c;
    EXPECT_EQ(c.GetMode(), AGController::kLoop);
    EXPECT_FLOAT_EQ(c.GetFrameRate(), 30.0f);
    EXPECT_EQ(c.GetFrameDuration(), 33.333332f);
    // Unconfigured (start and end frame 0): Update does nothing.
    c.UpdateBy(100.0f);
    EXPECT_EQ(c.GetTime(), 0.0f);
}

TEST(AGController, LoopWrapsBySpan) {
    AGController c = Make(AGController::kLoop, 0.0f, 30.0f);
    EXPECT_FLOAT_EQ(c.GetEndTime(), 30.0f * 33.333332f);
    c.UpdateBy(990.0f);
    EXPECT_FLOAT_EQ(c.GetTime(), 990.0f);
    c.UpdateBy(20.0f);  // 1010 >= 999.99996: wraps once
    EXPECT_NEAR(c.GetTime(), 1010.0f - c.GetEndTime(), 1e-3);
    c.UpdateBy(5000.0f);  // several spans in one step
    EXPECT_GE(c.GetTime(), 0.0f);
    EXPECT_LT(c.GetTime(), c.GetEndTime());
    EXPECT_NEAR(c.GetOutput(), c.GetTime() * 30.0f * 0.001f, 1e-4);
}

TEST(AGController, LoopReverseWrapsIntoTheRange) {
    AGController c = Make(AGController::kLoopReverse, 10.0f, 20.0f);
    f32 start = c.GetStartTime(), end = c.GetEndTime();
    EXPECT_FLOAT_EQ(c.GetTime(), end);  // reverse modes reset to the end
    c.UpdateBy(end - start + 50.0f);
    EXPECT_NEAR(c.GetTime(), end - 50.0f, 1e-3);
    c.UpdateBy(100000.0f);
    EXPECT_GE(c.GetTime(), start);
    EXPECT_LT(c.GetTime(), end);
}

TEST(AGController, EmptyOrInvertedLoopDoesNotHang) {
    for (u32 mode : {u32(AGController::kLoop), u32(AGController::kLoopReverse)}) {
        AGController same = Make(mode, 5.0f, 5.0f);
        same.UpdateBy(33.0f);
        EXPECT_FLOAT_EQ(same.GetTime(), 5.0f * 33.333332f);
        AGController inverted = Make(mode, 10.0f, 4.0f);
        f32 before = inverted.GetTime();
        inverted.UpdateBy(33.0f);
        EXPECT_FLOAT_EQ(inverted.GetTime(), before);
    }
}

TEST(AGController, OnceStopsOnlyPastTheEnd) {
    AGController c = Make(AGController::kOnce, 0.0f, 3.0f);
    f32 end = c.GetEndTime();
    c.UpdateBy(end);
    EXPECT_EQ(c.GetMode(), AGController::kOnce);  // exactly on the end keeps running
    c.UpdateBy(1.0f);
    EXPECT_EQ(c.GetMode(), AGController::kStopped);
    EXPECT_FLOAT_EQ(c.GetTime(), end);
    EXPECT_FLOAT_EQ(c.GetOutput(), 3.0f);
    c.UpdateBy(100.0f);  // stopped
    EXPECT_FLOAT_EQ(c.GetTime(), end);
}

TEST(AGController, OnceThenReverseComesBack) {
    AGController c = Make(AGController::kOnceThenReverse, 1.0f, 3.0f);
    c.UpdateBy(1000.0f);
    EXPECT_EQ(c.GetMode(), AGController::kOnceReverse);
    EXPECT_FLOAT_EQ(c.GetTime(), c.GetEndTime());
    c.UpdateBy(1000.0f);
    EXPECT_EQ(c.GetMode(), AGController::kStopped);
    EXPECT_FLOAT_EQ(c.GetTime(), c.GetStartTime());
}

TEST(AGController, PingPongFlipsAtTheEnds) {
    AGController c = Make(AGController::kPingPong, 1.0f, 2.0f);
    // At the start time with no time passing, the direction flips every update.
    c.UpdateBy(0.0f);
    EXPECT_EQ(c.GetDirection(), -1.0f);
    c.UpdateBy(0.0f);
    EXPECT_EQ(c.GetDirection(), 1.0f);
    c.UpdateBy(1000.0f);
    EXPECT_FLOAT_EQ(c.GetTime(), c.GetEndTime());
    EXPECT_EQ(c.GetDirection(), -1.0f);
}

TEST(AGController, StopModeStops) {
    AGController c = Make(AGController::kStop, 0.0f, 3.0f);
    c.UpdateBy(10.0f);
    EXPECT_EQ(c.GetMode(), AGController::kStopped);
}

TEST(AGController, FrameRate) {
    AGController c = Make(AGController::kLoop, 2.0f, 10.0f);
    c.SetFrameRate(50.0f);
    EXPECT_FLOAT_EQ(c.GetFrameDuration(), 20.0f);
    EXPECT_FLOAT_EQ(c.GetEndTime(), 200.0f);
    EXPECT_FLOAT_EQ(c.GetStartTime(), 40.0f);
    c.SetFrameRate(0.0f);
    c.SetFrameRate(-5.0f);
    EXPECT_FLOAT_EQ(c.GetFrameRate(), 50.0f);
    EXPECT_FLOAT_EQ(c.GetFrameDuration(), 20.0f);
    c.SetTime(100.0f);
    EXPECT_FLOAT_EQ(c.GetOutput(), 5.0f);
    c.Rewind();
    EXPECT_FLOAT_EQ(c.GetTime(), 40.0f);
    EXPECT_FLOAT_EQ(c.GetOutput(), 2.0f);
}
