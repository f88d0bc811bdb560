// The spawner and viewport-zone records of set elements, read from the sample level file
// through the registered prototypes, and that file under seeded random damage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "gameservices/entities/Set.h"
#include "gameservices/game/EntityDataExtensionFactory.h"
#include "gameservices/game/EntityScrollableViewportZone.h"
#include "gameservices/game/EntitySpawner.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/sEntityScrollableViewportZoneData.h"
#include "gameservices/game/sEntitySpawnerData.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/gameservices/game/RecordingBridgeSystems.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/FileContents.h"

using namespace GameServices::KorvoGame;
using namespace GameServices::Entities;
using namespace GameServices::MiniGame;
namespace Bridge = GameServices::Bridge;

namespace {

// A bridge whose renderable data pool is exhausted.
struct StarvedBridge : IBridgeSystems {
    Bridge::RenderableModelData* AllocRenderableModelData() override { return nullptr; }
    void SetCollisionData(Entity&, const Bridge::CollisionData&) override {}
    void SetAudioData(AudioAsset&, const Bridge::AudioData&) override {}
    void SetVideoData(VideoAsset&, const Bridge::VideoData&) override {}
    void SetAvatarSkinAnimation(Character&, const TString<char>&, const BehaviorActionSkin&) override {}
    void GetScreenSize(u32& width, u32& height) override { width = height = 1; }
};

class EntityDataExtensionsTest : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        EntityDataExtensionFactory::Instance()->Register(&spawner);  // the start-up order
        EntityDataExtensionFactory::Instance()->Register(&zone);
        flow.SetBridgeSystems(RecordingBridgeSystems::Instance());
        const char* data = std::getenv("TALLYVOX_DATA");
        ASSERT_NE(data, nullptr);
        sample = FileContents(std::string(data) + "/levels/spawner_zone_sample.xml");
        ASSERT_FALSE(sample.empty());
    }
    void TearDown() override {
        set.Clear();
        EntityDataExtensionFactory::Destroy();
        LevelFixture::TearDown();
    }

    sEntitySpawnerData spawner;
    sEntityScrollableViewportZoneData zone;
    GameFlowManager flow;
    Set set{"sample"};
    std::string sample;
};

}  // namespace

TEST_F(EntityDataExtensionsTest, TheSampleLevelBuildsItsSpawnersAndZones) {
    WriteLevelFile("sample.xml", sample);
    ASSERT_TRUE(flow.LoadLevel("sample", set));
    const std::pair<const char*, std::vector<std::string>> spawners[] = {
        // The first of two props named crowd_01 gives the kind; "prop" is not "Prop"; an
        // unknown name and a prop without a kind leave the kind empty.
        {"StandSpawner", {"crowd/crowd_01/1/50", "/crowd_01/0/20", "/crowd_09/1/75", "/banner/1/10"}},
        {"BalloonSpawner", {"balloon/balloon/1/99"}},  // read after the first: its own field only
        {"BothRecords", {"balloon/balloon/1/0"}},      // the spawner is tried first
    };
    for (const auto& [name, entries] : spawners) {
        auto* made = dynamic_cast<EntitySpawner*>(set.FindSetElement(name));
        ASSERT_NE(made, nullptr) << name;
        std::vector<std::string> got;
        for (const SpawnInfo& i : made->GetSpawnInfos())
            got.push_back(std::string(i.Kind.c_str()) + "/" + i.EntityName.c_str() + "/" +
                          std::to_string(i.IsProp) + "/" + std::to_string(i.Probability));
        EXPECT_EQ(got, entries) << name;
    }
    EXPECT_TRUE(set.FindSetElement("StandSpawner")->Visible);  // the record's common settings
    for (auto [name, x, y] : {std::tuple{"ScoreZone", 800u, 600u}, std::tuple{"BareZone", 0u, 0u}}) {
        auto* made = dynamic_cast<EntityScrollableViewportZone*>(set.FindSetElement(name));
        EXPECT_TRUE(made && made->m_DimensionX == x && made->m_DimensionY == y) << name;
    }
    // An empty list, and no list after a record with fields, leave plain elements.
    for (const char* name : {"EmptySpawner", "NoListSpawner"})
        EXPECT_TRUE(set.FindSetElement(name) && !dynamic_cast<EntitySpawner*>(set.FindSetElement(name))) << name;
    EXPECT_TRUE(set.m_ExtensionEntities.size() == 5u && log.Contains("to spawn is invalid!"));
}

// A made element that cannot get its render data leaves the set's list of extension-made
// entities too, so clearing the set does not delete it a second time; a pooled entity that
// cannot get it goes back to its pool.
TEST_F(EntityDataExtensionsTest, AnUnbuiltExtensionElementIsNotKeptByTheSet) {
    StarvedBridge starved;
    flow.SetBridgeSystems(&starved);
    WriteLevelFile("sample.xml", sample);
    flow.LoadLevel("sample", set);
    EXPECT_TRUE(set.m_SetElements.empty() && set.m_ExtensionEntities.empty());
    EXPECT_EQ(GameEntityFactory::Instance()->GetPropFactory()->GetUsedCount(), 0u);
}

TEST_F(EntityDataExtensionsTest, DamagedSampleLevelsLoad) {
    std::mt19937 random(31);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = sample;
        DamageBytes(bytes, random, 1 + int(random() % 4));
        WriteLevelFile("sample.xml", bytes);
        flow.LoadLevel("sample", set);
        set.Clear();
        ASSERT_EQ(GameEntityFactory::Instance()->GetSetElementFactory()->GetUsedCount(), 0u) << round;
    }
}
