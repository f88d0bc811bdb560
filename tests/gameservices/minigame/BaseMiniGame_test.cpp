#include "gameservices/minigame/BaseMiniGame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Team.h"
#include "gameservices/minigame/AIFactory.h"
#include "gameservices/minigame/MiniGameManager.h"
#include "tests/gameservices/minigame/GameModeTestSetup.h"

using namespace GameServices;
using MiniGame::BaseMiniGame;
using KorvoGame::LevelTransitionController;

namespace {

long Count(const std::vector<std::string>& steps, const std::string& step) {
    return std::count(steps.begin(), steps.end(), step);
}

}  // namespace

TEST_F(GameModeTest, TheLevelStartsOnceInTheFirstFrameBeyond250MsWithEveryPackageMounted) {
    AddMode("m", "Studio");
    RegisterModes();
    RegisterModes();  // a level is followed once
    Flow().SetNextLevel("Studio", nullptr, true);
    Frame(0);
    ASSERT_EQ(steps, (std::vector<std::string>{"m:RegisterLevelDelegates", "m:RegisterLevelDelegates",
                                               "m:LoadLevel -", "m:EnterLevel"}));
    ASSERT_NE(Studio()->GetSet(), nullptr);
    EXPECT_EQ(Studio()->GetSet()->m_PackageNames.size(), 2u);

    Frame(250);
    EXPECT_EQ(BaseMiniGame::GetStartAccumulator(), 250u);
    EXPECT_EQ(Count(steps, "m:TeamActions on +"), 0);

    // Past the wait but with a package unmounted: the accumulator keeps growing.
    Bridge::FileSystem::UnloadPackage("b.dir");
    Frame(100);
    EXPECT_EQ(BaseMiniGame::GetStartAccumulator(), 350u);
    EXPECT_EQ(Count(steps, "m:TeamActions on +"), 0);
    EXPECT_FALSE(Controller().IsDone());

    Bridge::FileSystem::LoadPackage("b.dir", false);
    BaseMiniGame::SetStartAccumulator(0);
    Frame(251);
    EXPECT_EQ(BaseMiniGame::GetStartAccumulator(), 1u);
    EXPECT_EQ(Count(steps, "m:TeamActions on +"), 1);
    EXPECT_TRUE(Controller().IsDone());
    for (u32 ms : {300u, 300u, 300u})
        Frame(ms);
    EXPECT_EQ(Count(steps, "m:TeamActions on +"), 1) << "once per loading";
    EXPECT_EQ(BaseMiniGame::GetStartAccumulator(), 1u);
    EXPECT_EQ(Controller().GetPhase(), LevelTransitionController::kPhaseRunning);
    LeaveStudio();
}

TEST_F(GameModeTest, TwoModesOfOneNameRunEveryStepInRegistrationOrder) {
    auto* cursors = new Entities::EntityFactory<Entities::Prop>(2, "playercursor");
    Entities::GameEntityFactory::Instance()->RegisterFactory("playercursor", cursors);
    AddMode("a", "Studio");
    AddMode("b", "Studio");
    AddMode("x", "Lobby");
    RegisterModes();
    RunStudio();
    cursors->Alloc(false);
    EXPECT_TRUE(Studio()->IsRunning());
    EXPECT_TRUE(Studio()->IsReady());
    EXPECT_TRUE(teams->IsEnabled());
    EXPECT_EQ(Entities::GameEntityFactory::Instance()->GetPropFactory()->GetUsedCount(), 2u);
    Bridge::DeviceSystem::Instance()->SetActive(false);

    LeaveStudio();
    std::vector<std::string> expected = {"a:RegisterLevelDelegates", "b:RegisterLevelDelegates",
                                         "x:RegisterLevelDelegates"};
    const std::vector<std::vector<std::string>> phases = {
        {"LoadLevel -", "EnterLevel"},
        {"RenderingSystem::Initialize", "CollisionSystem::Initialize",
         "AudioProcessingSystem::Initialize", "VideoProcessingSystem::Initialize", "InitializeSet",
         "TeamActions on +"},
        {"ResumeLevel"},
        {"StartLevel"},
        {"Input off -", "CollisionSystem::Cleanup", "CleanupAnimations", "RenderingSystem::Cleanup",
         "AudioProcessingSystem::Cleanup", "VideoProcessingSystem::Cleanup", "Set::Clear 0",
         "Input on +", "ResetBehaviors", "UnloadLevelPackages", "LeaveLevel"}};
    for (const auto& phase : phases)
        for (const char* tag : {"a:", "b:"})
            for (const std::string& step : phase)
                expected.push_back(tag + step);
    EXPECT_EQ(steps, expected);

    EXPECT_EQ(Studio()->GetSet(), nullptr);
    EXPECT_EQ(Studio()->GetStatus(), 5u);
    EXPECT_FALSE(Studio()->IsRunning());
    EXPECT_EQ(cursors->GetUsedCount(), 0u);
    EXPECT_EQ(Entities::GameEntityFactory::Instance()->GetPropFactory()->GetUsedCount(), 0u);
    for (const char* package : {"a.dir", "b.dir"})
        EXPECT_FALSE(Bridge::FileSystem::IsPackageLoaded(package)) << package;
    for (auto& mode : modes)
        EXPECT_EQ(mode->GetSet(), nullptr);
    EXPECT_EQ(Controller().GetRequestedPhase(), LevelTransitionController::kPhaseLoading);
    Entities::GameEntityFactory::Instance()->DestroyFactory("playercursor");
}

namespace {

struct TestAI : MiniGame::BaseAI {
    void Reset() override { ++resets; }
    void Update(u32) override {}
    int resets = 0;
};

struct ActionRecorder {
    void On(KorvoGame::TeamActionData* data) { received.push_back(*data); }
    std::vector<KorvoGame::TeamActionData> received;
    KorvoGame::TeamActionManagerDelegate<ActionRecorder> delegate{this, &ActionRecorder::On};
};

}  // namespace

TEST_F(GameModeTest, AIPlayersLiveFromTheStartToTheCleanupOfTheLevel) {
    MiniGame::AIFactory<TestAI> factory(3);
    Entities::Team team;
    Entities::BaseTeamMember members[3];
    members[0].m_ComputerPlay = members[0].m_ComputerPlay2 = 1;
    members[1].m_ComputerPlay = 1;
    members[2].m_ComputerPlay = members[2].m_ComputerPlay2 = 1;
    for (auto& member : members)
        team.m_Members.push_back(&member);
    auto& mode = AddMode("m", "Studio");
    mode.m_AIFactory = &factory;
    mode.m_Teams = {nullptr, &team};
    // A mode without a factory leaves a list it did not fill alone.
    AddMode("plain", "Studio");
    TestAI other;
    std::vector<MiniGame::IBaseAI*>& ais = game->GetAIManager().m_AIs;
    ais.push_back(&other);
    RegisterModes();

    RunStudio();
    ASSERT_EQ(ais.size(), 3u);
    EXPECT_EQ(factory.GetUsedCount(), 2u);
    EXPECT_EQ(ais[1], factory.GetAIs()[0]);
    EXPECT_EQ(ais[2], factory.GetAIs()[1]);
    EXPECT_EQ(factory.GetAIs()[0]->m_Member, &members[0]);
    EXPECT_EQ(factory.GetAIs()[1]->m_Member, &members[2]);
    EXPECT_EQ(factory.GetAIs()[1]->m_Team, &team);
    EXPECT_EQ(Count(steps, "m:AIs"), 1);
    EXPECT_EQ(Count(steps, "plain:AIs"), 0);

    // A player acts as its member: the value, the team, the member.
    ActionRecorder recorder;
    teams->ListenTeamAction(&recorder.delegate, "Buzz");
    TestAI* player = factory.GetAIs()[1];
    player->SendTeamAction("Buzz", 7);  // no team-action manager yet
    player->m_TeamActionManager = teams.get();
    player->SendTeamAction("Buzz", 7);
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(recorder.received[0].m_ActionData), 7u);
    EXPECT_EQ(recorder.received[0].m_Word, reinterpret_cast<uintptr_t>(&team));
    EXPECT_EQ(recorder.received[0].m_Member, &members[2]);
    teams->UnlistenTeamAction(&recorder.delegate, "Buzz");

    LeaveStudio();
    EXPECT_TRUE(ais.empty());
    EXPECT_EQ(factory.GetUsedCount(), 0u);
    for (TestAI* ai : factory.GetAIs())
        EXPECT_EQ(ai->resets, 1);
    EXPECT_EQ(Count(steps, "m:AI reset"), 1);
    EXPECT_EQ(Count(steps, "plain:AI reset"), 0);
}

TEST_F(GameModeTest, AModeThatLeavesTheFlowToItselfHoldsTheControllerAtEachPhase) {
    auto& mode = AddMode("m", "Studio");
    mode.m_ControlsLevelFlow = false;
    RegisterModes();
    Flow().SetNextLevel("Studio", nullptr, true);
    for (u32 ms : {16u, 251u, 16u, 16u})
        Frame(ms);
    EXPECT_EQ(Count(steps, "m:TeamActions on +"), 1);
    EXPECT_EQ(Controller().GetPhase(), LevelTransitionController::kPhaseLoading);
    Controller().SetDone(true);
    Frame(16);
    Frame(16);
    Frame(16);
    EXPECT_EQ(Controller().GetPhase(), LevelTransitionController::kPhaseOpening);
    Controller().SetDone(true);
    Frame(16);
    Frame(16);
    EXPECT_EQ(Controller().GetPhase(), LevelTransitionController::kPhaseRunning);

    // The restart handler stops the level and asks for it again.
    mode.OnRestart(nullptr);
    EXPECT_FALSE(Studio()->IsRunning());
    EXPECT_FALSE(Studio()->IsReady());
    EXPECT_EQ(Controller().GetRequestedPhase(), LevelTransitionController::kPhaseClosing);
    Frame(16);
    Frame(16);
    EXPECT_EQ(Controller().GetPhase(), LevelTransitionController::kPhaseClosing);
    EXPECT_EQ(Count(steps, "m:LeaveLevel"), 1);
}

TEST_F(GameModeTest, ModesAreFoundByExactNameAndLeaveTheGameWhenDestroyed) {
    auto& first = AddMode("a", "Studio");
    AddMode("b", "Studio");
    auto& lobby = AddMode("x", "Lobby");
    const auto& list = game->GetMiniGames();
    EXPECT_EQ(MiniGame::MiniGameManager::FindMinigame("Studio", list), &first);
    EXPECT_EQ(MiniGame::MiniGameManager::FindMinigame("Lobby", list), &lobby);
    EXPECT_EQ(MiniGame::MiniGameManager::FindMinigame("studio", list), nullptr);
    EXPECT_TRUE(log.Contains("The minigame not found. call MiniGameManager::FindMinigame(...)studio"));

    // A destroyed mode is no longer listed nor called by its levels.
    RegisterModes();
    modes.erase(modes.begin());
    EXPECT_EQ(list.size(), 2u);
    EXPECT_NE(MiniGame::MiniGameManager::FindMinigame("Studio", list), &first);
    RunStudio();
    EXPECT_EQ(Count(steps, "b:StartLevel"), 1);
    EXPECT_EQ(Count(steps, "a:LoadLevel -"), 0);
    LeaveStudio();
}
