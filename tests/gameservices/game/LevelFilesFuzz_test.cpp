// Seeded random damage of a level file (with a component-level file) and of a
// level-transitions file: each must load, whatever it became, and keep only what the pools
// and the file can hold: every pooled entity of the set is counted once by its pool, and
// every transition has a known status.
#include <gtest/gtest.h>

#include <random>

#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/LevelTransitionController.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/gameservices/game/RecordingBridgeSystems.h"
#include "tests/support/ByteDamage.h"

using namespace GameServices::KorvoGame;
using namespace GameServices::Entities;

namespace {

const char kTransitions[] =
    "<root><LevelTransitions><Levels><item><LevelNameId>Menu</LevelNameId><LevelFileName>menu"
    "</LevelFileName><Status>unlock</Status><LevelTransitionId>1</LevelTransitionId>"
    "<RunningSceenId>MenuScreen</RunningSceenId><StatusModifiers><item><LevelId>2</LevelId>"
    "<Status>done</Status></item></StatusModifiers></item><item filename=\"more.xml\"/>"
    "</Levels></LevelTransitions></root>";

const char kMoreTransitions[] =
    "<root><LevelTransitions><Levels><item><LevelNameId>Round</LevelNameId><LevelFileName>"
    "round</LevelFileName><Status>lock_visible</Status><LevelTransitionId>2"
    "</LevelTransitionId><StatusModifiers/></item><item filename=\"x.xml\"/></Levels>"
    "</LevelTransitions></root>";

// One to eight random byte changes.
std::string Damage(const std::string& text, std::mt19937& random) {
    std::string out = text;
    DamageBytes(out, random, 1 + int(random() % 8));
    return out;
}

// The pooled entities of a set and of its component levels, in the order of the pools'
// used counts; cameras lent by a parent are not its own.
void Count(const Set& set, std::vector<u32>& counts) {
    counts[0] += u32(set.m_MemberCameras.size());
    counts[1] += u32(set.m_Lights.size());
    counts[2] += u32(set.m_Props.size());
    counts[3] += u32(set.m_Characters.size());
    for (const SetElement* element : set.m_SetElements)
        counts[4] += GameEntityFactory::Instance()->GetSetElementFactory()->Owns(element);
    for (const ComponentLevel* level : set.m_ComponentLevels)
        Count(*level, counts);
}

void ExpectPoolsCountTheSet(const Set& set) {
    GameEntityFactory* pools = GameEntityFactory::Instance();
    std::vector<u32> members(5, 0);
    Count(set, members);
    EXPECT_EQ(members, (std::vector<u32>{pools->GetCameraFactory()->GetUsedCount(),
                                         pools->GetLightFactory()->GetUsedCount(),
                                         pools->GetPropFactory()->GetUsedCount(),
                                         pools->GetCharacterFactory()->GetUsedCount(),
                                         pools->GetSetElementFactory()->GetUsedCount()}));
    // The asset pools hold two each.
    EXPECT_LE(set.m_AudioAssets.size() + set.m_VideoAssets.size(), 4u);
}

class LevelFilesFuzzTest : public LevelFixture {};

}  // namespace

TEST_F(LevelFilesFuzzTest, DamagedLevelAndTransitionFilesLoad) {
    using namespace GameServices::Bridge;
    std::mt19937 random(20260601);
    Set set;
    GameFlowManager levels;
    levels.SetBridgeSystems(RecordingBridgeSystems::Instance());
    for (int round = 0; round < 2000; ++round) {
        SCOPED_TRACE(round);
        WriteStudio(Damage(kStudioLevel, random), round % 4 ? kBoardLevel : Damage(kBoardLevel, random));
        ASSERT_TRUE(levels.LoadLevel("studio", set));
        levels.InitializeSet(&set);
        ExpectPoolsCountTheSet(set);

        WriteLevelFile("levels.xml", Damage(kTransitions, random));
        WriteLevelFile("more.xml", round % 4 ? kMoreTransitions : Damage(kMoreTransitions, random));
        GameFlowManager flow;
        flow.LoadLevelTransitions(FileSystem::GetFilePath(FILE_LEVEL_XML, "Levels.xml"));
        for (const auto& transition : flow.GetTransitions()) {
            EXPECT_TRUE(flow.SetNextLevel(transition->GetName(), flow.GetNextLevel(), true));
            flow.ApplyLevelStatusModifiers(transition->GetLevel());
        }
        for (const auto& transition : flow.GetTransitions())
            EXPECT_LE(transition->GetLevel()->GetStatus(), 5u);
        flow.SetNextLevelById(2);
        flow.GetController()->Update();
        const i32 phase = flow.GetController()->GetPhase();
        EXPECT_TRUE(phase == LevelTransitionController::kPhaseNone ||
                    phase == LevelTransitionController::kPhaseLoading);
        if (HasFailure())
            return;
        log.Clear();
    }
    set.Clear();
    ExpectPoolsCountTheSet(set);
}
