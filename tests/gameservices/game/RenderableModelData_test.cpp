#include "gameservices/game/RenderableModelData.h"

#include <gtest/gtest.h>

#include <vector>

using namespace GameServices::Bridge;

TEST(BridgeDataTest, RenderableDefaultsSettersAndKinds) {
    RenderableModelData data("desk.mdl", "props/");
    EXPECT_EQ(data.m_AnimationType, RenderableModelData::kNoAnimation);
    EXPECT_EQ(data.m_Speed, 1.0f);
    EXPECT_EQ(data.m_PlayMode, 1u);
    data.SetModelAnimation("open.anm", 4, 2.0f);
    data.SetUVAnimation("water", 6, 0.5f);
    EXPECT_EQ(data.m_AnimationType, RenderableModelData::kUV);
    EXPECT_EQ(data.m_AnimationFileName, "open.anm");
    EXPECT_EQ(data.m_MaterialName, "water");
    EXPECT_EQ(data.m_PlayMode, 6u);

    const std::pair<const char*, u32> kinds[] = {{"a.spt", RenderableModelData::kSprite},
                                                 {"b.v2.MDL", RenderableModelData::kModel},
                                                 {"c.png", RenderableModelData::kOther},
                                                 {"mdl", RenderableModelData::kOther},
                                                 {"", RenderableModelData::kOther}};
    for (const auto& [name, kind] : kinds)
        EXPECT_EQ(RenderableModelData::RenderableKindOf(name), kind) << name;
}

TEST(BridgeDataTest, LiveCountsFollowCopies) {
    const i32 collisions = CollisionData::GetLiveCount();
    const i32 sounds = AudioData::GetLiveCount();
    {
        CollisionData box;
        std::vector<CollisionData> copies(2, box);
        AudioData theme("theme.snd", "");
        AudioData copy = theme;
        EXPECT_EQ(CollisionData::GetLiveCount(), collisions + 3);
        EXPECT_EQ(AudioData::GetLiveCount(), sounds + 2);
        EXPECT_EQ(box.m_BoundaryShape, "Box");
        EXPECT_EQ(box.m_EntityShape, "None");
    }
    EXPECT_EQ(CollisionData::GetLiveCount(), collisions);
    EXPECT_EQ(AudioData::GetLiveCount(), sounds);
}
