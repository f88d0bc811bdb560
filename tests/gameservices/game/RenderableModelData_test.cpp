#include "gameservices/game/RenderableModelData.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace GameServices::Bridge;

TEST(BridgeRecordsTest, RenderableDefaultsSettersAndKinds) {
    RenderableModelData data("stage.mdl", "Data/");
    EXPECT_EQ(data.m_AnimationType, -1);
    EXPECT_EQ(data.m_Speed, 1.0f);
    EXPECT_EQ(data.m_PlayMode, 1u);
    EXPECT_EQ(data.m_DataPath, "Data/");

    // Each setter stores its own name only (the level builder's test covers the rest).
    data.SetModelAnimation("open.anm", 3, 0.5f);
    data.SetUVAnimation("scroll", 6, 2.0f);
    EXPECT_EQ(data.m_AnimationType, 3);
    EXPECT_EQ(data.m_MaterialName, "scroll");
    EXPECT_EQ(data.m_AnimationFileName, "open.anm");

    // 0 a sprite, 1 a model, 2 anything else.
    const std::pair<const char*, u32> kinds[] = {
        {"a.spt", 0}, {"b.MDL", 1}, {"c.mdl.png", 2}, {"spt", 2}, {"d.", 2}, {"e.x.Spt", 0},
    };
    for (const auto& [name, kind] : kinds)
        EXPECT_EQ(RenderableModelData::RenderableKindOf(name), kind) << name;
}

TEST(BridgeRecordsTest, CollisionAndAudioRecordsCountTheLiveOnes) {
    const i32 collisions = CollisionData::GetLiveCount();
    const i32 sounds = AudioData::GetLiveCount();
    {
        CollisionData collision;
        EXPECT_EQ(collision.m_BoundaryScale, 1.0f);
        EXPECT_EQ(collision.m_BoundaryShape, "Box");
        EXPECT_EQ(collision.m_EntityShape, "None");
        std::vector<CollisionData> copies(2, collision);
        auto sound = std::make_unique<AudioData>("theme.snd", "Sounds/");
        AudioData copy = *sound;
        EXPECT_EQ(copy.m_FileName, "theme.snd");
        EXPECT_EQ(CollisionData::GetLiveCount(), collisions + 3);
        EXPECT_EQ(AudioData::GetLiveCount(), sounds + 2);
        copy = *sound;  // assignment makes no new record
        EXPECT_EQ(AudioData::GetLiveCount(), sounds + 2);
    }
    EXPECT_EQ(CollisionData::GetLiveCount(), collisions);
    EXPECT_EQ(AudioData::GetLiveCount(), sounds);
}
