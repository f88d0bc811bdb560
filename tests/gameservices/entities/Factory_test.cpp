#include "gameservices/entities/Factory.h"

#include <gtest/gtest.h>

using GameServices::KorvoGame::Factory;

namespace {
int g_liveParts = 0;
struct Part {
    Part() { ++g_liveParts; }
    ~Part() { --g_liveParts; }
    int value = 0;
};
}  // namespace

// Exhaustion and a double free are shown on the part pools.
TEST(FactoryTest, ResetAllRecreatesEveryObjectAndTheDestructorDeletesThem) {
    {
        Factory<Part> parts("AnatomyParts", 3);
        EXPECT_EQ(g_liveParts, 3);
        Part* first = parts.Alloc();
        parts.Alloc();
        parts.Alloc();
        first->value = 5;
        parts.Free(first);
        Part* again = parts.Alloc();
        EXPECT_EQ(again, first);
        EXPECT_EQ(again->value, 5);  // Free does not reset
        parts.ResetAll();
        EXPECT_EQ(parts.GetUsedCount(), 0u);
        EXPECT_EQ(g_liveParts, 3);
        EXPECT_EQ(parts.Alloc()->value, 0);
    }
    EXPECT_EQ(g_liveParts, 0);
}
