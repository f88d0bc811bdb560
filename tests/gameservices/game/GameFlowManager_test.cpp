#include "gameservices/game/GameFlowManager.h"

#include <gtest/gtest.h>


#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/LevelTransitionController.h"
#include "tests/gameservices/game/LevelTestSetup.h"

using namespace GameServices::KorvoGame;
using namespace GameServices::Entities;
using GameServices::Bridge::FILE_LEVEL_XML;
using GameServices::Bridge::FileSystem;

namespace {

class GameFlowManagerTest : public LevelFixture {
protected:
    bool Load() { return flow.LoadLevelTransitions(FileSystem::GetFilePath(FILE_LEVEL_XML, "Levels.xml")); }

    GameFlowManager flow;
};

template <typename T>
struct Counting : T {
    void Initialize() override { ++initialized; }
    int initialized = 0;
};

}  // namespace

TEST_F(GameFlowManagerTest, TransitionsFollowOneFileReferenceInFileOrder) {
    EXPECT_FALSE(Load());
    WriteLevelFile("levels.xml", TransitionsFile(Entry("Menu", "menu", "LOCK_Visible", 1) +
                        "<item filename=\"more.xml\"><LevelNameId>Ignored</LevelNameId></item>" +
                        Entry("Final", "final", "unlock", 9)));
    WriteLevelFile("more.xml", TransitionsFile(Entry("Round", "round70", "lock_surprise", 2) +
                                   "<item filename=\"deeper.xml\"><LevelNameId>Deep"
                                   "</LevelNameId></item>" + Entry("Round", "round80", "unlock", 3)));
    ASSERT_TRUE(Load());
    std::vector<std::pair<std::string, i32>> transitions;
    for (const auto& transition : flow.GetTransitions())
        transitions.emplace_back(transition->GetName().c_str(), transition->GetId());
    ASSERT_EQ(transitions, (std::vector<std::pair<std::string, i32>>{
                               {"Menu", 1}, {"Round", 2}, {"", 0}, {"Round", 3}, {"Final", 9}}));
    EXPECT_TRUE(log.Contains("Not allowed to reference another file."));
    EXPECT_TRUE(log.Contains("LevelTransition::convertStatus() failed!"));
    EXPECT_EQ(flow.GetTransitions()[1]->GetStatus(), 0);
}

// Only active members start, those of component levels too; a camera lent to a component
// level starts once per list.
TEST_F(GameFlowManagerTest, InitializeSetStartsOnlyActiveMembers) {
    Counting<Camera> camera;
    Counting<Prop> active, inactive, nested;
    Counting<Light> light;
    Counting<SetElement> element;
    Counting<Character> character;
    inactive.Activate = false;
    ComponentLevel component;
    component.m_Props = {&nested};
    component.m_Cameras = {&camera};
    Set set;
    set.m_Cameras = {&camera};
    set.m_Props = {&active, &inactive};
    set.m_Lights = {&light};
    set.m_SetElements = {&element};
    set.m_Characters = {&character};
    set.m_ComponentLevels = {&component};
    flow.InitializeSet(&set);
    EXPECT_EQ((std::vector<int>{active.initialized, inactive.initialized, nested.initialized, camera.initialized,
                                light.initialized, element.initialized, character.initialized}),
              (std::vector<int>{1, 0, 1, 2, 1, 1, 1}));
    set.RemoveAll();
    component.RemoveAll();
}

// Levels are selected by file name or by name; the manager's next level follows every match
// while the controller only takes requests with nothing loaded or while running.
TEST_F(GameFlowManagerTest, LevelsAreSelectedRestartedAndFinished) {
    WriteLevelFile("levels.xml", TransitionsFile(
            "<item><LevelNameId>Menu</LevelNameId><LevelFileName>intro</LevelFileName><Status>"
            "unlock</Status><LevelTransitionId>1</LevelTransitionId><RunningSceenId>MenuScreen"
            "</RunningSceenId><StatusModifiers><item><LevelId>2</LevelId><Status>done</Status>"
            "</item><item><LevelId>7</LevelId><Status>done</Status></item><item><LevelId>3"
            "</LevelId><Status>lock_invisible</Status></item></StatusModifiers></item>" +
            Entry("intro", "round", "lock_visible", 2) + Entry("Final", "final", "unlock", 3)));
    ASSERT_TRUE(Load());
    LevelTransition* menu = flow.GetTransitions()[0].get();
    LevelTransition* intro = flow.GetTransitions()[1].get();
    LevelTransition* final = flow.GetTransitions()[2].get();
    LevelTransitionController* controller = flow.GetController();

    // "intro" is the file name of Menu and the name of the second level.
    ASSERT_TRUE(flow.SetNextLevel("intro", nullptr, false));
    EXPECT_TRUE(flow.GetNextLevel() == menu && flow.GetRunningScreenId() == "MenuScreen");
    controller->Update();
    ASSERT_EQ(controller->GetPhase(), LevelTransitionController::kPhaseLoading);
    ASSERT_TRUE(flow.SetNextLevel("intro", nullptr, true));
    EXPECT_TRUE(flow.GetNextLevel() == intro && flow.GetRunningScreenId() == "");
    EXPECT_EQ(controller->GetCurrent(), menu);  // the controller did not take it while loading
    EXPECT_TRUE(!flow.SetNextLevel("Intro", nullptr, true) && log.Contains("Can not find the Level is :Intro"));
    EXPECT_TRUE(!flow.SetNextLevelById(4) && log.Contains("Can not find the Level id:4"));
    EXPECT_EQ(flow.GetNextLevel(), intro);

    // Running: a restart closes the current level and loads it again.
    for (int step = 0; step < 2; ++step) {
        controller->SetDone(true);
        controller->Update();
        controller->Update();
    }
    ASSERT_EQ(controller->GetPhase(), LevelTransitionController::kPhaseRunning);
    flow.RestartLevel();
    EXPECT_TRUE(flow.GetNextLevel() == menu && controller->GetNext() == menu);
    EXPECT_EQ(controller->GetRequestedPhase(), LevelTransitionController::kPhaseClosing);
    ASSERT_TRUE(flow.SetNextLevelById(3));
    EXPECT_EQ(controller->GetNext(), final);

    auto statuses = [&] {
        return std::vector<u32>{menu->GetLevel()->GetStatus(), intro->GetLevel()->GetStatus(),
                                final->GetLevel()->GetStatus()};
    };
    flow.ApplyLevelStatusModifiers(menu->GetLevel());
    EXPECT_EQ(statuses(), (std::vector<u32>{4, 5, 2}));
    flow.ApplyLevelStatusModifiers(intro->GetLevel());  // no modifiers of its own
    EXPECT_EQ(statuses(), (std::vector<u32>{4, 5, 2}));
}

TEST_F(GameFlowManagerTest, NoLevelLoadsWithoutBridgeSystems) {
    Set set;
    WriteLevel("round", "<Props><item><Name>Desk</Name></item></Props>");
    EXPECT_TRUE(!flow.LoadLevel("round", set) && set.m_Props.empty());
    EXPECT_TRUE(log.Contains("GameFlowManager::LoadLevel : no bridge systems to load round with"));
}
