#include "gameservices/game/RenderableModelData.h"

#include <gtest/gtest.h>

#include <vector>

using namespace GameServices::Bridge;

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
    }
    EXPECT_EQ(CollisionData::GetLiveCount(), collisions);
    EXPECT_EQ(AudioData::GetLiveCount(), sounds);
}
