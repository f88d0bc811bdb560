// The tutorial screen without a game to narrate it.
#include "game/presentation/screens/ScreenTutorial.h"

#include <gtest/gtest.h>

#include <vector>

// No audio manager, no narration: each narrated step lasts a frame.
TEST(ScreenTutorial, WithoutANarratorEachStepLastsAFrame) {
    QZ2011::ScreenTutorial screen;
    screen.m_State = QZ2011::ScreenTutorial::kIntroductionStep;
    std::vector<int> states;
    for (int frame = 0; frame < 3; ++frame, screen.Process(16))
        states.push_back(screen.m_State);
    states.push_back(screen.m_State);
    EXPECT_EQ(states, (std::vector<int>{1, 2, 3, 4}));
}
