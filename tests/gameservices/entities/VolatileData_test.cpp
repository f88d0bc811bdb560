#include "gameservices/entities/VolatileData.h"

#include <gtest/gtest.h>

using namespace GameServices::Entities;

TEST(VolatileDataTest, GetSetRemoveNeverOwnValues) {
    VolatileData data;
    EXPECT_EQ(data.Get(VolatileDataKeys::kAUDIO_DATA), nullptr);
    EXPECT_EQ(data.Count(), 0u);  // a miss inserts nothing

    int first = 1, second = 2;
    data.Set(VolatileDataKeys::kAUDIO_DATA, &first);
    data.Set(VolatileDataKeys::kAUDIO_DATA, &second);
    EXPECT_EQ(data.Count(), 1u);
    EXPECT_EQ(data.Get(VolatileDataKeys::kAUDIO_DATA), &second);
    EXPECT_EQ(static_cast<void*>(data.GetAudioData()), &second);
    EXPECT_EQ(data.GetRenderableModelData(), nullptr);

    data.Remove(VolatileDataKeys::kDATA_VIDEO);
    EXPECT_EQ(data.Count(), 1u);
    data.Remove(VolatileDataKeys::kAUDIO_DATA);
    EXPECT_EQ(data.Get(VolatileDataKeys::kAUDIO_DATA), nullptr);
}

TEST(VolatileDataTest, KeysAreTheNameIdsOfTheirTexts) {
    EXPECT_EQ(VolatileDataKeys::kDeviceSystem_ENGINE_DATA, Crc32Hash("DeviceSystem::ENGINE_DATA"));
    EXPECT_EQ(VolatileDataKeys::kWIDGET_DATA_LAYER_2D, Crc32Hash("DATA_LAYER"));
}
