#include "engine/graphics/AGAnimated.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(AGAnimated, CopyOwnsItsOwnControllerAndKeepsAForeignOne) {
    AGAnimated source;
    source.EnsureController();
    source.SetController(nullptr);
    source.GetOwnedController()->SetFrameRate(12.0f);
    AGAnimated copy(source);
    EXPECT_NE(copy.GetOwnedController(), source.GetOwnedController());
    EXPECT_EQ(copy.GetOwnedController()->GetFrameRate(), 12.0f);  // a copy of its state
    EXPECT_EQ(copy.GetController(), copy.GetOwnedController());

    AGController shared;
    source.SetController(&shared);
    AGAnimated second(source);
    EXPECT_EQ(second.GetController(), &shared);
}

TEST(AGAnimated, BoundTimingFromFilesNeverStallsOrSpinsAController) {
    AGController c;
    AGBindAnimation(c, 31.0f, 30.0f, 1.0f);
    EXPECT_FLOAT_EQ(c.GetEndTime(), 31.0f * 1000.0f / 30.0f);
    c.SetMode(AGController::kLoop);
    c.UpdateBy(1000.0f);
    EXPECT_LT(c.GetTime(), c.GetEndTime());

    // Frame count 0 and rate 0: one frame at 30 per second; the loop stands still.
    AGController z;
    AGBindAnimation(z, 0.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(z.GetFrameRate(), 30.0f);
    EXPECT_GT(z.GetEndTime(), z.GetStartTime());
    z.UpdateBy(50.0f);
    EXPECT_TRUE(std::isfinite(z.GetTime()));
    EXPECT_EQ(std::make_pair(AGSafeFrameCount(std::nanf("")), AGSafeFrameRate(-5.0f)), std::pair(1.0f, 30.0f));
}
