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

TEST(AGController, LoopsWrapIntoTheirRange) {
    AGController c = Make(AGController::kLoop, 0.0f, 30.0f);
    EXPECT_FLOAT_EQ(c.GetEndTime(), 30.0f * 33.333332f);
    c.UpdateBy(1010.0f);
    EXPECT_NEAR(c.GetTime(), 1010.0f - c.GetEndTime(), 1e-3);
    c.UpdateBy(5000.0f);  // several spans in one step
    EXPECT_LT(c.GetTime(), c.GetEndTime());
    EXPECT_NEAR(c.GetOutput(), c.GetTime() * 30.0f * 0.001f, 1e-4);

    AGController reverse = Make(AGController::kLoopReverse, 10.0f, 20.0f);
    const f32 start = reverse.GetStartTime(), end = reverse.GetEndTime();
    EXPECT_FLOAT_EQ(reverse.GetTime(), end);  // reverse modes reset to the end
    reverse.UpdateBy(end - start + 50.0f);
    EXPECT_NEAR(reverse.GetTime(), end - 50.0f, 1e-3);
    reverse.UpdateBy(100000.0f);
    EXPECT_GE(reverse.GetTime(), start);
    EXPECT_LT(reverse.GetTime(), end);
}

TEST(AGController, EmptyOrInvertedLoopDoesNotHang) {
    for (u32 mode : {u32(AGController::kLoop), u32(AGController::kLoopReverse)}) {
        for (f32 endFrame : {5.0f, 4.0f}) {
            AGController c = Make(mode, 5.0f, endFrame);
            const f32 before = c.GetTime();
            c.UpdateBy(33.0f);
            EXPECT_FLOAT_EQ(c.GetTime(), before) << mode << " " << endFrame;
        }
    }
}

TEST(AGController, NonPositiveFrameRatesAreIgnored) {
    AGController c = Make(AGController::kLoop, 2.0f, 10.0f);
    c.SetFrameRate(50.0f);
    c.SetFrameRate(0.0f);
    c.SetFrameRate(-5.0f);
    EXPECT_FLOAT_EQ(c.GetFrameDuration(), 20.0f);
    EXPECT_FLOAT_EQ(c.GetStartTime(), 40.0f);
    c.SetTime(100.0f);
    EXPECT_FLOAT_EQ(c.GetOutput(), 5.0f);
}
