// Seeded random mutations of a level file (with a component-level file) and of a
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

using namespace GameServices::KorvoGame;
using GameServices::Bridge::FILE_LEVEL_XML;
using GameServices::Bridge::FileSystem;

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

// Overwrites with markup characters or any byte, deletes, duplicates and truncates.
std::string Mutate(const std::string& text, std::mt19937& random) {
    static const char kMarkup[] = "<>/=\"&;!-?abcXYZ019 .,";
    std::string out = text;
    const int edits = 1 + int(random() % 8);
    for (int i = 0; i < edits && !out.empty(); ++i) {
        const size_t at = random() % out.size();
        switch (random() % 5) {
        case 0:
            out[at] = kMarkup[random() % (sizeof(kMarkup) - 1)];
            break;
        case 1:
            out.erase(at, 1 + random() % 16);
            break;
        case 2:
            out.insert(at, out.substr(random() % out.size(), 1 + random() % 64));
            break;
        case 3:
            out.resize(at);
            break;
        default:
            out[at] = char(random() % 256);
            break;
        }
    }
    return out;
}

constexpr int kRounds = 2000;

using namespace GameServices::Entities;

// Entities of a set and of its component levels; cameras lent by a parent are not its own.
struct Members {
    u32 cameras = 0, lights = 0, props = 0, characters = 0, pooledElements = 0;

    void Add(const Set& set) {
        GameEntityFactory* pools = GameEntityFactory::Instance();
        cameras += u32(set.m_MemberCameras.size());
        lights += u32(set.m_Lights.size());
        props += u32(set.m_Props.size());
        characters += u32(set.m_Characters.size());
        for (const SetElement* element : set.m_SetElements)
            pooledElements += pools->GetSetElementFactory()->Owns(element) ? 1 : 0;
        for (const ComponentLevel* level : set.m_ComponentLevels)
            Add(*level);
    }
};

void ExpectPoolsCountTheSet(const Set& set) {
    Members members;
    members.Add(set);
    GameEntityFactory* pools = GameEntityFactory::Instance();
    EXPECT_EQ(members.cameras, pools->GetCameraFactory()->GetUsedCount());
    EXPECT_EQ(members.lights, pools->GetLightFactory()->GetUsedCount());
    EXPECT_EQ(members.props, pools->GetPropFactory()->GetUsedCount());
    EXPECT_EQ(members.characters, pools->GetCharacterFactory()->GetUsedCount());
    EXPECT_EQ(members.pooledElements, pools->GetSetElementFactory()->GetUsedCount());
    // The asset pools hold two each.
    EXPECT_LE(set.m_AudioAssets.size(), 2u);
    EXPECT_LE(set.m_VideoAssets.size(), 2u);
}

class LevelFilesFuzzTest : public LevelFixture {};

}  // namespace

TEST_F(LevelFilesFuzzTest, MutatedLevelFilesLoad) {
    std::mt19937 random(20260601);
    GameFlowManager flow;
    GameServices::Entities::Set set;
    for (int round = 0; round < kRounds; ++round) {
        WriteStudio(Mutate(kStudioLevel, random),
                    round % 4 ? kBoardLevel : Mutate(kBoardLevel, random));
        ASSERT_TRUE(flow.LoadLevel("studio", set));
        flow.InitializeSet(&set);
        ExpectPoolsCountTheSet(set);
        if (HasFailure())
            FAIL() << "round " << round;
        log.Clear();
    }
    set.Clear();
    ExpectPoolsCountTheSet(set);
}

TEST_F(LevelFilesFuzzTest, MutatedTransitionFilesLoad) {
    std::mt19937 random(7);
    const TString<char> path = FileSystem::GetFilePath(FILE_LEVEL_XML, "Levels.xml");
    for (int round = 0; round < kRounds; ++round) {
        WriteLevelFile("levels.xml", Mutate(kTransitions, random));
        WriteLevelFile("more.xml", round % 4 ? kMoreTransitions : Mutate(kMoreTransitions, random));
        GameFlowManager flow;
        flow.LoadLevelTransitions(path);
        for (const auto& transition : flow.GetTransitions()) {
            EXPECT_TRUE(flow.SetNextLevel(transition->GetName(), flow.GetNextLevel(), true));
            flow.ApplyLevelStatusModifiers(transition->GetLevel());
        }
        for (const auto& transition : flow.GetTransitions())
            ASSERT_LE(transition->GetLevel()->GetStatus(), 5u) << "round " << round;
        flow.SetNextLevelById(2);
        flow.GetController()->Update();
        const i32 phase = flow.GetController()->GetPhase();
        ASSERT_TRUE(phase == LevelTransitionController::kPhaseNone ||
                    phase == LevelTransitionController::kPhaseLoading)
            << "round " << round;
        log.Clear();
    }
}
