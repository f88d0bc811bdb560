#include "engine/core/PCInputRecord.h"

#include <gtest/gtest.h>

TEST(PCInputRecord, WheelStepsSaturateAndKeyBitsStayInTheirTable) {
    PCInputRecord record{};
    record.AddWheel(30000);
    record.AddWheel(30000);
    EXPECT_EQ(record.wheelDelta, 32767);
    record.AddWheel(-32767);
    EXPECT_EQ(record.wheelDelta, 0);
    record.AddWheel(-40000);
    EXPECT_EQ(record.wheelDelta, -32768);
    record.AddWheel(-1);
    EXPECT_EQ(record.wheelDelta, -32768);

    record.SetKey(0x41, true);
    record.SetKey(255, true);
    record.SetKey(256, true);
    EXPECT_TRUE(record.IsKeySet(0x41));
    EXPECT_FALSE(record.IsKeySet(0x40));
    EXPECT_FALSE(record.IsKeySet(0x42));
    EXPECT_TRUE(record.IsKeySet(255));
    EXPECT_FALSE(record.IsKeySet(256));
    record.SetKey(0x41, false);
    EXPECT_FALSE(record.IsKeySet(0x41));
    EXPECT_TRUE(record.IsKeySet(255));
    record.ClearKeys();
    EXPECT_FALSE(record.IsKeySet(255));
}
