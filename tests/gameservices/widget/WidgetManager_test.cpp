#include "gameservices/widget/WidgetManager.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

#include "tests/support/LogCapture.h"

using GameServices::Widget::Margin;
using GameServices::Widget::WidgetManager;

TEST(WidgetManager, AlignmentWordsAreExact) {
    const struct {
        const char* word;
        i32 vertical, horizontal;
    } cases[] = {
        {"Top", 0, 1},   {"Left", 1, 0},    {"Bottom", 2, 1}, {"Right", 1, 2},
        {"Stretch", 3, 3}, {"bottom", 1, 1}, {"Top ", 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WidgetManager::ParseVerticalAlignment(c.word), c.vertical) << c.word;
        EXPECT_EQ(WidgetManager::ParseHorizontalAlignment(c.word), c.horizontal) << c.word;
    }
}

TEST(WidgetManager, PositionsAndMarginsTakeMissingPiecesAsZero) {
    LogCapture log;
    const struct {
        const char* text;
        f32 x, y;
        Margin margin;
    } cases[] = {
        {"10", 10, 0, {10, 0, 0, 0}},
        {"", 0, 0, {0, 0, 0, 0}},
        {"5,6,7,8", 5, 6, {5, 6, 7, 8}},
        {"-1.5,x,,2.25", -1.5f, 0, {-1.5f, 0, 0, 2.25f}},
    };
    // Numbers do not follow the process locale.
    const char* previous = setlocale(LC_NUMERIC, "de_DE.UTF-8");
    for (const auto& c : cases) {
        const AGVec2 p = WidgetManager::ParsePosition(c.text);
        const Margin m = WidgetManager::ParseMargin(c.text);
        EXPECT_EQ(std::vector<f32>({p.x, p.y, m.m_Left, m.m_Top, m.m_Right, m.m_Bottom}),
                  std::vector<f32>({c.x, c.y, c.margin.m_Left, c.margin.m_Top, c.margin.m_Right, c.margin.m_Bottom}))
            << c.text;
    }
    if (previous)
        setlocale(LC_NUMERIC, "C");
    EXPECT_TRUE(log.Lines().empty());

    // Five pieces: the leading ones are kept, and the text reported.
    EXPECT_EQ(WidgetManager::ParsePosition("1,2,3,4,5").y + WidgetManager::ParseMargin("1,2,3,4,5").m_Bottom, 6.0f);
    EXPECT_TRUE(log.Contains("failed to extract the position") && log.Contains("failed to extract the margin"));
}
