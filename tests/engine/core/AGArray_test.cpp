#include "engine/core/AGArray.h"

#include <gtest/gtest.h>

#include "engine/core/TString.h"

TEST(AGArray, GrowthStepsAndEntriesSurvivingGrowth) {
    AGArray<TString<char>> a;
    const u32 capacities[] = {2, 2, 4, 4, 8};
    a.Add("first");
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(a.Capacity(), capacities[i - 1]);
        a.Add(a[0]);  // the source lives in the storage being replaced
    }
    EXPECT_EQ(a[4], "first");
    a.RemoveAt(1);
    a.Reserve(2);  // shrinking drops the entries past the new capacity
    EXPECT_EQ(a.Count(), 2u);

    AGArray<int> never(0);
    EXPECT_FALSE(never.Add(1));
    never.Reserve(1);
    EXPECT_TRUE(never.Add(1));
    EXPECT_FALSE(never.Add(2));
}
