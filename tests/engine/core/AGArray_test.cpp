#include "engine/core/AGArray.h"

#include <gtest/gtest.h>

#include "engine/core/TString.h"

TEST(AGArray, DoublingStartsAtTwo) {
    AGArray<int> a;
    EXPECT_EQ(a.GrowStep(), -1);
    a.Add(1);
    EXPECT_EQ(a.Capacity(), 2u);
    a.Add(2);
    a.Add(3);
    EXPECT_EQ(a.Capacity(), 4u);
    for (int i = 4; i <= 5; ++i)
        a.Add(i);
    EXPECT_EQ(a.Capacity(), 8u);
    ASSERT_EQ(a.Count(), 5u);
    for (u32 i = 0; i < 5; ++i)
        EXPECT_EQ(a[i], int(i + 1));
}

TEST(AGArray, FixedStepAddsTheStep) {
    AGArray<int> a(3);
    a.Add(1);
    EXPECT_EQ(a.Capacity(), 3u);
    for (int i = 0; i < 3; ++i)
        a.Add(i);
    EXPECT_EQ(a.Capacity(), 6u);
}

TEST(AGArray, StepZeroNeverGrows) {
    AGArray<int> a(0);
    EXPECT_FALSE(a.Add(1));
    EXPECT_EQ(a.Count(), 0u);
    a.Reserve(2);
    EXPECT_TRUE(a.Add(1));
    EXPECT_TRUE(a.Add(2));
    EXPECT_FALSE(a.Add(3));
    EXPECT_EQ(a.Count(), 2u);
    EXPECT_EQ(a.Capacity(), 2u);
    EXPECT_EQ(a[1], 2);
}

TEST(AGArray, ReserveKeepsOrCutsTheEntries) {
    AGArray<TString<char>> a;
    a.Add("a");
    a.Add("b");
    a.Add("c");
    a.Reserve(10);
    EXPECT_EQ(a.Capacity(), 10u);
    EXPECT_EQ(a.Count(), 3u);
    EXPECT_EQ(a[2], "c");
    a.Reserve(2);  // shrinking drops the entries past the new capacity
    EXPECT_EQ(a.Capacity(), 2u);
    ASSERT_EQ(a.Count(), 2u);
    EXPECT_EQ(a[0], "a");
    EXPECT_EQ(a[1], "b");
    a.Reserve(0);
    EXPECT_EQ(a.Capacity(), 0u);
    EXPECT_EQ(a.Count(), 0u);
    EXPECT_EQ(a.begin(), a.end());
}

TEST(AGArray, AddingOwnEntryWhileGrowing) {
    AGArray<TString<char>> a;
    a.Add("first");
    a.Add("second");
    a.Add(a[0]);  // the source lives in the storage being replaced
    ASSERT_EQ(a.Count(), 3u);
    EXPECT_EQ(a[2], "first");
}

TEST(AGArray, RemoveAtKeepsOrder) {
    AGArray<int> a;
    for (int i = 0; i < 4; ++i)
        a.Add(i);
    a.RemoveAt(1);
    ASSERT_EQ(a.Count(), 3u);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[1], 2);
    EXPECT_EQ(a[2], 3);
    a.RemoveAt(7);
    EXPECT_EQ(a.Count(), 3u);
}
