#include "game/rules/QZ11Decades.h"

#include <gtest/gtest.h>

#include "tests/gameservices/minigame/GameModeTestSetup.h"

namespace {

class DecadesTest : public GameModeTest {
protected:
    DecadesTest() { studio = QZ2011::QZ11Decades::kLevelName; }

    std::vector<std::string> StepsOf(const std::string& tag) const {
        std::vector<std::string> own;
        for (const std::string& step : steps)
            if (step.rfind(tag, 0) == 0)
                own.push_back(step.substr(tag.size()));
        return own;
    }
};

}  // namespace

TEST_F(DecadesTest, EnteringAndLeavingTheDecadesLevelRunsOnlyTheBaseSteps) {
    auto& decades = AddMode<QZ2011::QZ11Decades>("d:");
    AddMode("b:", QZ2011::QZ11Decades::kLevelName);
    EXPECT_EQ(decades.GetName(), "QZ11_Game_Level1");
    EXPECT_EQ(game->GetMiniGames().front(), &decades);
    RegisterModes();
    RunStudio();
    EXPECT_TRUE(Studio()->IsRunning());
    LeaveStudio();
    EXPECT_EQ(Studio()->GetSet(), nullptr);
    const std::vector<std::string> base = StepsOf("b::");
    EXPECT_EQ(base.size(), 22u);
    EXPECT_EQ(StepsOf("d::"), base);
}
