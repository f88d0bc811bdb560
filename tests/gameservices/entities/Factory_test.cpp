#include "gameservices/entities/Factory.h"

#include <gtest/gtest.h>

#include "tests/support/LogCapture.h"

using GameServices::KorvoGame::Factory;

namespace {
int g_liveParts = 0;
struct Part {
    Part() { ++g_liveParts; }
    ~Part() { --g_liveParts; }
    int value = 0;
};
}  // namespace

TEST(FactoryTest, AllocFreeAndExhaustion) {
    {
        Factory<Part> parts("AnatomyParts");
        EXPECT_EQ(parts.GetMaxSize(), 100u);
        EXPECT_EQ(g_liveParts, 100);
        Part* first = nullptr;
        LogCapture log;
        for (int i = 0; i < 100; ++i) {
            Part* p = parts.Alloc();
            ASSERT_NE(p, nullptr);
            if (i == 0)
                first = p;
        }
        EXPECT_TRUE(log.Lines().empty());
        EXPECT_EQ(parts.Alloc(), nullptr);
        EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for AnatomyParts"));

        first->value = 5;
        parts.Free(first);
        parts.Free(first);  // a second Free must not count another object as free
        EXPECT_EQ(parts.GetUsedCount(), 99u);
        Part* again = parts.Alloc();
        EXPECT_EQ(again, first);
        EXPECT_EQ(again->value, 5);  // Free does not reset
        EXPECT_EQ(parts.Alloc(), nullptr);

        parts.ResetAll();
        EXPECT_EQ(parts.GetUsedCount(), 0u);
        EXPECT_EQ(g_liveParts, 100);
        EXPECT_EQ(parts.Alloc()->value, 0);
    }
    EXPECT_EQ(g_liveParts, 0);

    Factory<Part> small("RenderableModelData", 2);
    EXPECT_EQ(small.GetMaxSize(), 2u);
}
