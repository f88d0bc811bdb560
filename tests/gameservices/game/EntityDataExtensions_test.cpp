// The spawner and viewport-zone records of set elements, read from the sample level file
// through the registered prototypes, and that file under seeded random damage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "engine/core/XmlWriter.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/EntityDataExtensionFactory.h"
#include "gameservices/game/EntityScrollableViewportZone.h"
#include "gameservices/game/EntitySpawner.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelRecords.h"
#include "gameservices/game/sEntityScrollableViewportZoneData.h"
#include "gameservices/game/sEntitySpawnerData.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/gameservices/game/RecordingBridgeSystems.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/FileContents.h"

using namespace GameServices::KorvoGame;
using namespace GameServices::Entities;
using GameServices::MiniGame::sEntityScrollableViewportZoneData;
using GameServices::MiniGame::sEntitySpawnerData;
using GameServices::MiniGame::sSpawnerDataField;

namespace {

// A bridge whose renderable data pool is exhausted.
struct StarvedBridge : IBridgeSystems {
    GameServices::Bridge::RenderableModelData* AllocRenderableModelData() override { return nullptr; }
    void SetCollisionData(Entity& e, const GameServices::Bridge::CollisionData& d) override {
        full->SetCollisionData(e, d);
    }
    void SetAudioData(AudioAsset& a, const GameServices::Bridge::AudioData& d) override { full->SetAudioData(a, d); }
    void SetVideoData(VideoAsset& v, const GameServices::Bridge::VideoData& d) override { full->SetVideoData(v, d); }
    void SetAvatarSkinAnimation(Character& c, const TString<char>& name,
                                const GameServices::MiniGame::BehaviorActionSkin& skin) override {
        full->SetAvatarSkinAnimation(c, name, skin);
    }
    void GetScreenSize(u32& width, u32& height) override { full->GetScreenSize(width, height); }
    RecordingBridgeSystems* full = RecordingBridgeSystems::Instance();
};

// Renames its kind, as a record whose kind name was changed.
struct RenamedSpawner : sEntitySpawnerData {
    RenamedSpawner() { m_KindName = "Spawner"; }
};
struct RenamedZone : sEntityScrollableViewportZoneData {
    RenamedZone() { m_KindName = "entityscrollableviewportzone"; }
};

std::string Describe(const SpawnInfo& info) {
    return std::string(info.Kind.c_str()) + "/" + info.EntityName.c_str() + "/" +
           (info.IsProp ? "prop" : "other") + "/" + std::to_string(info.Probability);
}

class EntityDataExtensionsTest : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        // The start-up order: the spawner is offered first.
        EntityDataExtensionFactory::Instance()->Register(&spawner);
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

    SetElement* Element(const char* name) const {
        for (SetElement* element : set.m_SetElements)
            if (element->Name == name)
                return element;
        return nullptr;
    }
    std::vector<std::string> Entries(const char* name) const {
        std::vector<std::string> out;
        if (auto* made = dynamic_cast<EntitySpawner*>(Element(name)))
            for (const SpawnInfo& info : made->GetSpawnInfos())
                out.push_back(Describe(info));
        return out;
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

    struct Spawner {
        const char* name;
        std::vector<std::string> entries;
    };
    const Spawner spawners[] = {
        // The first of two props named crowd_01 gives the kind; "prop" is not "Prop"; an
        // unknown name and a prop without a kind leave the kind empty.
        {"StandSpawner", {"crowd/crowd_01/prop/50", "/crowd_01/other/20", "/crowd_09/prop/75",
                          "/banner/prop/10"}},
        // Read after the first: only its own field.
        {"BalloonSpawner", {"balloon/balloon/prop/99"}},
        // Both records: the spawner is tried first.
        {"BothRecords", {"balloon/balloon/prop/0"}},
    };
    for (const Spawner& s : spawners) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(Entries(s.name), s.entries);
    }
    EXPECT_TRUE(Element("StandSpawner")->Visible);  // the record's common settings

    struct Zone {
        const char* name;
        u32 x, y;
    };
    for (const Zone& z : {Zone{"ScoreZone", 800, 600}, Zone{"BareZone", 0, 0}}) {
        auto* made = dynamic_cast<EntityScrollableViewportZone*>(Element(z.name));
        ASSERT_NE(made, nullptr) << z.name;
        EXPECT_EQ(std::vector<u32>({made->m_DimensionX, made->m_DimensionY}), std::vector<u32>({z.x, z.y}));
    }
    // An empty list, and no list at all after a record with fields, make plain elements.
    for (const char* name : {"EmptySpawner", "NoListSpawner"}) {
        ASSERT_NE(Element(name), nullptr) << name;
        EXPECT_EQ(dynamic_cast<EntitySpawner*>(Element(name)), nullptr) << name;
    }
    EXPECT_EQ(set.m_ExtensionEntities.size(), 5u);

    // Each wrong field reports its cascade, in field order.
    std::vector<std::string> reports;
    for (const std::string& line : log.Lines())
        for (const char* text : {"must be an entity!", "to spawn is invalid!", "the attribute Kind!"})
            if (line.find(text) != std::string::npos)
                reports.push_back(text);
    EXPECT_EQ(reports, (std::vector<std::string>{"must be an entity!", "to spawn is invalid!",
                                                 "the attribute Kind!", "to spawn is invalid!",
                                                 "the attribute Kind!", "the attribute Kind!"}));
}

TEST_F(EntityDataExtensionsTest, CopiesTakeTheirOwnKindAndValidityNeedsIt) {
    RenamedSpawner renamedSpawner;
    renamedSpawner.SpawnFields.push_back(sSpawnerDataField{});
    renamedSpawner.SpawnFields[0].EntityName = "balloon";
    RenamedZone renamedZone;
    renamedZone.DimensionX = 7;
    renamedZone.DimensionY = 9;
    struct Case {
        sEntityDataExtension* source;
        const char* kind;
    };
    for (const Case& c : {Case{&renamedSpawner, "EntitySpawner"},
                          Case{&renamedZone, "EntityScrollableViewportZone"}}) {
        SCOPED_TRACE(c.kind);
        EXPECT_FALSE(c.source->IsValid());
        std::unique_ptr<sEntityDataExtension> copy(c.source->CreateCopy(*c.source));
        std::unique_ptr<sEntityDataExtension> clone(copy->Clone());
        for (sEntityDataExtension* made : {copy.get(), clone.get()}) {
            EXPECT_EQ(made->GetKind(), c.kind);
            EXPECT_TRUE(made->IsValid());
        }
    }
    auto* spawnerClone = static_cast<sEntitySpawnerData*>(renamedSpawner.CreateCopy(renamedSpawner));
    EXPECT_EQ(spawnerClone->SpawnFields.size(), 1u);
    EXPECT_EQ(spawnerClone->SpawnFields[0].EntityName, "balloon");
    delete spawnerClone;
    std::unique_ptr<sEntityDataExtension> zoneCopy(zone.CreateCopy(renamedZone));
    EXPECT_EQ(static_cast<sEntityScrollableViewportZoneData&>(*zoneCopy).DimensionY, 9u);
    EXPECT_EQ(static_cast<sEntityScrollableViewportZoneData&>(*zoneCopy).DimensionX, 7u);
}

// Writing a set element prints its spawner's fields and keeps them.
TEST_F(EntityDataExtensionsTest, WritingASpawnerKeepsItsFields) {
    sSetElement record;
    auto* fields = new sEntitySpawnerData();
    fields->SpawnFields.push_back(sSpawnerDataField{});
    fields->SpawnFields[0].EntityName = "balloon";
    record.Extension.Reset(fields);
    std::string text(4096, '\0');
    u32 size = u32(text.size());
    ASSERT_TRUE(GameServices::Utilities::XmlWriter().WriteText(record, text.data(), size));
    text.resize(size);
    EXPECT_NE(text.find("<EntitySpawner><SpawnField><item>"), std::string::npos) << text;
    EXPECT_NE(text.find("balloon"), std::string::npos) << text;
    EXPECT_EQ(fields->SpawnFields.size(), 1u);
}

// An element that cannot get its render data is dropped; a made one leaves the set's list
// of extension-made entities, so clearing the set does not delete it again.
TEST_F(EntityDataExtensionsTest, AnUnbuiltExtensionElementIsNotKeptByTheSet) {
    StarvedBridge starved;
    flow.SetBridgeSystems(&starved);
    WriteLevelFile("sample.xml", sample);
    flow.LoadLevel("sample", set);
    EXPECT_TRUE(set.m_SetElements.empty());
    EXPECT_TRUE(set.m_ExtensionEntities.empty());
}

TEST_F(EntityDataExtensionsTest, DamagedSampleLevelsLoad) {
    std::mt19937 random(31);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = sample;
        DamageBytes(bytes, random, 1 + int(random() % 4));
        WriteLevelFile("sample.xml", bytes);
        flow.LoadLevel("sample", set);
        for (Entity* made : set.m_ExtensionEntities)
            ASSERT_TRUE(dynamic_cast<EntitySpawner*>(made) || dynamic_cast<EntityScrollableViewportZone*>(made))
                << round;
        set.Clear();
        ASSERT_EQ(GameEntityFactory::Instance()->GetSetElementFactory()->GetUsedCount(), 0u) << round;
    }
}
