#include "game/rules/QZ11Decades.h"

#include <gtest/gtest.h>

#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Team.h"
#include "tests/gameservices/minigame/GameModeTestSetup.h"

namespace {

struct DecadesTest : GameModeTest {
    DecadesTest() { studio = QZ2011::QZ11Decades::kLevelName; }
};

}  // namespace

// A base mode with computer players and the decades mode share the level: both run the base
// steps, in registration order, and leave nothing behind.
TEST_F(DecadesTest, ModesOfOneNameRunTheBaseStepsInRegistrationOrder) {
    auto* cursors = new Entities::EntityFactory<Entities::Prop>(2, "playercursor");
    Entities::GameEntityFactory::Instance()->RegisterFactory("playercursor", cursors);
    MiniGame::AIFactory<CountingAI> factory(3);
    Entities::Team team;
    Entities::BaseTeamMember members[3];
    members[0].m_ComputerPlay = members[0].m_ComputerPlay2 = members[1].m_ComputerPlay = members[2].m_ComputerPlay = 1;
    members[2].m_ComputerPlay2 = 1;
    team.m_Members = {&members[0], &members[1], &members[2]};
    auto& base = AddMode("b:", studio.c_str());
    base.m_AIFactory = &factory;
    base.m_Teams = {nullptr, &team};
    AddMode<QZ2011::QZ11Decades>("d:");
    game->teams->SetEnabled(true);
    Run(studio.c_str(), {16, 251, 16});
    game->teams->SetEnabled(false);  // opening and running enable them again
    Bridge::DeviceSystem::Instance()->SetActive(false);
    Run(nullptr, {16, 16});
    cursors->Alloc(false);
    const std::vector<CountingAI*>& pool = factory.GetAIs();
    EXPECT_EQ(game->GetAIManager().m_AIs, (std::vector<MiniGame::IBaseAI*>{pool[0], pool[1]}));
    EXPECT_TRUE(pool[1]->m_Member == &members[2] && pool[1]->m_Team == &team);
    EXPECT_TRUE(Level(0).IsRunning() && Level(0).IsReady() && Bridge::DeviceSystem::Instance()->IsActive());

    Run("Lobby", {16});
    const std::vector<std::vector<std::string>> phases = {
        {"LoadLevel -", "EnterLevel"},
        {"RenderingSystem::Initialize +", "CollisionSystem::Initialize +", "AudioProcessingSystem::Initialize +",
         "VideoProcessingSystem::Initialize +", "InitializeSet", "AIs", "TeamActions on +"},
        {"OnLevelResumed", "ResumeLevel"},
        {"OnLevelStarted +", "StartLevel"},
        {"Input off -", "CollisionSystem::Cleanup +", "CleanupAnimations", "RenderingSystem::Cleanup -",
         "AudioProcessingSystem::Cleanup -", "VideoProcessingSystem::Cleanup -", "Set::Clear", "Input on +",
         "AI reset", "ResetBehaviors", "UnloadLevelPackages", "LeaveLevel"}};
    std::vector<std::string> expected;
    for (const auto& phase : phases)
        for (const std::string tag : {"b:", "d:"})
            for (const std::string& step : phase)
                if (tag == "b:" || !step.starts_with("AI"))
                    expected.push_back(tag + step);
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(game->GetAIManager().m_AIs.empty());
    EXPECT_EQ(factory.GetUsedCount() + 1, u32(pool[2]->resets));
    EXPECT_TRUE(Level(0).GetSet() == nullptr && Level(0).GetStatus() == 5 && !Level(0).IsRunning());
    EXPECT_EQ(cursors->GetUsedCount() + Entities::GameEntityFactory::Instance()->GetPropFactory()->GetUsedCount(), 0u);
    Entities::GameEntityFactory::Instance()->DestroyFactory("playercursor");
}
