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

    data.Remove(VolatileDataKeys::kDATA_VIDEO);
    EXPECT_EQ(data.Count(), 1u);
    data.Remove(VolatileDataKeys::kAUDIO_DATA);
    EXPECT_EQ(data.Get(VolatileDataKeys::kAUDIO_DATA), nullptr);
}
