#include "game/rules/QZ11Decades.h"

#include <gtest/gtest.h>

#include "tests/gameservices/minigame/GameModeTestSetup.h"

namespace {

struct DecadesTest : GameModeTest {
    DecadesTest() { studio = QZ2011::QZ11Decades::kLevelName; }
};

}  // namespace

// The decades mode runs the base steps of its level and leaves nothing behind.
TEST_F(DecadesTest, TheModeRunsTheBaseSteps) {
    AddMode<QZ2011::QZ11Decades>("d:");
    game->teams->SetEnabled(true);
    Run(studio.c_str(), {16, 251, 16});
    game->teams->SetEnabled(false);  // opening and running enable them again
    Run(nullptr, {16, 16});
    EXPECT_TRUE(Level(0).IsRunning() && Level(0).IsReady());
    Run("Lobby", {16});
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "d:LoadLevel -", "d:EnterLevel", "d:RenderingSystem::Initialize +",
                         "d:CollisionSystem::Initialize +", "d:AudioProcessingSystem::Initialize +",
                         "d:VideoProcessingSystem::Initialize +", "d:InitializeSet", "d:TeamActions on +",
                         "d:OnLevelResumed", "d:ResumeLevel", "d:OnLevelStarted +", "d:StartLevel", "d:Input off -",
                         "d:CollisionSystem::Cleanup +", "d:CleanupAnimations", "d:RenderingSystem::Cleanup -",
                         "d:AudioProcessingSystem::Cleanup -", "d:VideoProcessingSystem::Cleanup -", "d:Set::Clear",
                         "d:Input on +", "d:ResetBehaviors", "d:UnloadLevelPackages", "d:LeaveLevel"}));
    EXPECT_TRUE(Level(0).GetSet() == nullptr && Level(0).GetStatus() == 5 && !Level(0).IsRunning());
}
