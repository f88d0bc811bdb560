#include "gameservices/minigame/BaseMiniGame.h"

#include <gtest/gtest.h>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/CollisionSystem.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Team.h"
#include "gameservices/minigame/MiniGameManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "platform/window/Replay.h"
#include "tests/gameservices/minigame/BehaviorTestSetup.h"
#include "tests/gameservices/minigame/GameModeTestSetup.h"

using MiniGame::BaseMiniGame;
using Phase = KorvoGame::LevelTransitionController::Phase;

namespace {

struct AI : MiniGame::BaseAI {
    void Reset() override {}
    void Update(u32) override {}
};

}  // namespace

TEST_F(GameModeTest, ALevelStartsOnceBeyond250MsWithEveryPackageMountedAndWaitsForTheDoneFlag) {
    auto& mode = AddMode("m:", "Studio");
    mode.m_ControlsLevelFlow = false;  // the test moves the controller on
    auto& lobby = AddMode("x:", "Lobby");
    EXPECT_EQ(MiniGame::MiniGameManager::FindMinigame("Lobby", game->GetMiniGames()), &lobby);
    EXPECT_EQ(MiniGame::MiniGameManager::FindMinigame("studio", game->GetMiniGames()), nullptr);
    EXPECT_TRUE(log.Contains("The minigame not found. call MiniGameManager::FindMinigame(...)studio"));
    game->teams->SetEnabled(true);
    // Computer members (both flags) take a player from the mode's pool while it has one.
    MiniGame::AIFactory<AI> players(1);
    Entities::Team team;
    Entities::BaseTeamMember human, first, second;
    human.m_ComputerPlay2 = 1;
    first.m_ComputerPlay = first.m_ComputerPlay2 = second.m_ComputerPlay = second.m_ComputerPlay2 = 1;
    team.m_Members = {&human, &first, &second};
    mode.m_AIFactory = &players;
    mode.m_Teams = {nullptr, &team};
    Run("Studio", {0, 250});
    EXPECT_EQ(steps, (std::vector<std::string>{"m:LoadLevel -", "m:EnterLevel"}));
    BaseMiniGame::SetStartAccumulator(0);
    Run(nullptr, {251, 300});
    EXPECT_EQ(BaseMiniGame::GetStartAccumulator(), 1u);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "m:TeamActions on +"), 1);
    EXPECT_EQ(game->GetAIManager().m_AIs, (std::vector<MiniGame::IBaseAI*>{players.GetAIs()[0]}));
    EXPECT_TRUE(players.GetAIs()[0]->m_Member == &first && players.GetAIs()[0]->m_Team == &team);
    Bridge::DeviceSystem::Instance()->SetActive(false);  // the opening turns input on
    for (Phase phase : {Phase::kPhaseLoading, Phase::kPhaseOpening, Phase::kPhaseRunning}) {
        EXPECT_EQ(Flow().GetController()->GetPhase(), phase);
        Flow().GetController()->SetDone(true);
        Run(nullptr, {16, 16, 16});
    }
    EXPECT_TRUE(Level(0).IsRunning() && Level(0).IsReady());  // started
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "m:OnLevelResumed +"), 1);
    LoadCapacities(dir, {{"FactoryCollisionData", 1}});  // leaving the level gives its collision records back
    Bridge::CollisionSystem::Startup();
    Bridge::CollisionSystem::SetCollisionData(*Level(0).GetSet()->m_Props.at(0), {});
    ASSERT_EQ(Bridge::CollisionSystem::Pools().data->GetUsedCount(), 1u);
    // The restart handler stops the level; the lobby's package never mounts. Restarting and
    // leaving the level close its popups.
    Widget::ScreenManager& screens = Widget::ScreenManager::Instance();
    dir.Write("-xml/global/popups.xml", "<Root><Popups><Popup><Name>Hint</Name></Popup></Popups></Root>");
    screens.LoadPopups();
    ASSERT_NE(screens.ShowPopup("Hint"), nullptr);
    // Leaving the level also forgets the behaviours registered for its entities.
    behavior_test::Behavior desk{Level(0).GetSet()->m_Props.at(0), "Host", "HostTpl"};
    MiniGame::BehaviorManager::Instance()->RegisterBehavior(desk);
    mode.OnRestart(nullptr);
    EXPECT_TRUE(screens.GetOpenPopups().empty());
    screens.ShowPopup("Hint");
    EXPECT_TRUE(!Level(0).IsRunning() && !Level(0).IsReady() &&
                Flow().GetController()->GetRequestedPhase() == Phase::kPhaseClosing);
    Run("Lobby", {16});
    EXPECT_TRUE(Level(0).GetSet() == nullptr && screens.GetOpenPopups().empty());
    EXPECT_EQ(MiniGame::BehaviorManager::Instance()->FindRegisteredBehavior(desk.m_EntityId), nullptr);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "m:Input off -"), 1);
    EXPECT_EQ(Bridge::CollisionSystem::Pools().data->GetUsedCount(), 0u);
    Bridge::CollisionSystem::Shutdown();
    EXPECT_TRUE(game->GetAIManager().m_AIs.empty());
    Flow().GetController()->SetDone(true);
    Run(nullptr, {16, 16, 300});
    EXPECT_TRUE(steps.back() == "x:EnterLevel" && BaseMiniGame::GetStartAccumulator() == 317u);
    // Left before it starts (its package never mounted), the lobby stops waiting.
    const size_t frameHandlers = Flow().GetFrameEvent().Count();
    Flow().GetController()->SetDone(false);
    lobby.LeaveLevel(&Level(1));
    EXPECT_EQ(Flow().GetFrameEvent().Count() + 1, frameHandlers);
    EXPECT_TRUE(Flow().GetController()->IsDone());  // a mode moves the level flow on unless told not to
}

TEST_F(GameModeTest, AModeDestroyedWhileItsLevelWaitsStopsWaiting) {
    AddMode("x:", "Lobby");
    Run("Lobby", {16});
    ASSERT_EQ(steps.back(), "x:EnterLevel");  // its package never mounts
    const size_t frameHandlers = Flow().GetFrameEvent().Count();
    modes.clear();
    EXPECT_TRUE(game->GetMiniGames().empty() && Flow().GetFrameEvent().Count() + 1 == frameHandlers);
    for (size_t i : {0, 1}) {
        Entities::Level& level = Level(i);
        EXPECT_EQ(level.GetLoadingEvent().Count() + level.GetOpeningEvent().Count() +
                      level.GetRunningEvent().Count() + level.GetClosingEvent().Count(), 0u);
    }
}

TEST_F(GameModeTest, AModeOutlivingItsGameGivesItsSetsMembersBack) {
    AddMode("m:", "Studio");
    Run("Studio", {0});
    Entities::IEntityFactory* props = Entities::GameEntityFactory::Instance()->GetPropFactory();
    ASSERT_EQ(props->GetUsedCount(), 1u);
    game.reset();
    modes.clear();
    EXPECT_EQ(props->GetUsedCount(), 0u);
}

// A seeded replay's draws start afresh from its seed at each level entered, whatever the levels
// before drew; without a seed the draws run on.
TEST_F(GameModeTest, UnderASeededReplayALevelEnteredDrawsFromTheSeed) {
    AddMode("m:", "Studio");
    Bridge::SeedRandom(7, 362436069u, 521288629u, 88675123u);
    const u32 first = Bridge::RandomRange(0, 1000000), second = Bridge::RandomRange(0, 1000000);
    platform::window::SetReplaySeed(7);
    Run("Studio", {0});
    platform::window::SetReplaySeed(std::nullopt);
    EXPECT_EQ(Bridge::RandomRange(0, 1000000), first);
    Run("Studio", {0});
    EXPECT_EQ(Bridge::RandomRange(0, 1000000), second);
}
