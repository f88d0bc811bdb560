// Seeded random mutations of a level file (with a component-level file) and of a
// level-transitions file: each must load, whatever it became, without a crash or a
// sanitizer report.
#include <gtest/gtest.h>

#include <random>

#include "gameservices/entities/Set.h"
#include "gameservices/game/GameFlowManager.h"
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

constexpr int kRounds = 5000;

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
        log.Clear();
    }
    set.Clear();
    EXPECT_EQ(GameServices::Entities::GameEntityFactory::Instance()->GetPropFactory()->GetUsedCount(),
              0u);
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
            flow.SetNextLevel(transition->GetName(), flow.GetNextLevel(), true);
            flow.ApplyLevelStatusModifiers(transition->GetLevel());
        }
        flow.SetNextLevelById(2);
        flow.GetController()->Update();
        log.Clear();
    }
}
