#include "engine/core/AGArray.h"

#include <gtest/gtest.h>

#include "engine/core/TString.h"

TEST(AGArray, GrowthByStep) {
    AGArray<int> doubling;
    const u32 capacities[] = {2, 2, 4, 4, 8};
    for (int i = 0; i < 5; ++i) {
        doubling.Add(i);
        EXPECT_EQ(doubling.Capacity(), capacities[i]);
    }
    AGArray<int> fixed(3);
    for (int i = 0; i < 4; ++i)
        fixed.Add(i);
    EXPECT_EQ(fixed.Capacity(), 6u);

    AGArray<int> never(0);
    EXPECT_FALSE(never.Add(1));
    never.Reserve(2);
    EXPECT_TRUE(never.Add(1));
    EXPECT_TRUE(never.Add(2));
    EXPECT_FALSE(never.Add(3));
    EXPECT_EQ(never.Count(), 2u);
}

TEST(AGArray, EntriesSurviveGrowingShrinkingAndRemoval) {
    AGArray<TString<char>> a;
    a.Add("first");
    a.Add("second");
    a.Add(a[0]);  // the source lives in the storage being replaced
    a.Add("fourth");
    EXPECT_EQ(a[2], "first");
    a.RemoveAt(1);
    a.RemoveAt(7);
    ASSERT_EQ(a.Count(), 3u);
    EXPECT_EQ(a[1], "first");
    EXPECT_EQ(a[2], "fourth");
    a.Reserve(2);  // shrinking drops the entries past the new capacity
    ASSERT_EQ(a.Count(), 2u);
    EXPECT_EQ(a[1], "first");
}
