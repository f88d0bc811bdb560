#include "engine/core/AGDeviceManager.h"

#include <gtest/gtest.h>

#include "engine/core/AGVirtualKey.h"
#include "tests/engine/core/DeviceTestSupport.h"

namespace {

using Devices = DeviceTest;

TEST_F(Devices, MouseButtonsGiveEdgesBetweenPolls) {
    AGVirtualKey left, right;
    left.SetKey(2, 0);
    right.SetKey(4, 0);
    g_inputRecord.buttons = kMouseLeft;
    m_devices->Update();
    EXPECT_TRUE(left.WasPressed());
    EXPECT_FALSE(right.IsDown());
    m_devices->Update();
    EXPECT_TRUE(left.IsDown());
    EXPECT_FALSE(left.WasPressed());
    g_inputRecord.buttons = kMouseRight;
    m_devices->Update();
    EXPECT_TRUE(left.WasReleased());
    EXPECT_TRUE(right.WasPressed());
}

TEST_F(Devices, TheWheelSumSaturatesInsteadOfWrapping) {
    for (int i = 0; i < 300; ++i)
        g_inputRecord.AddWheel(-120);
    EXPECT_EQ(g_inputRecord.wheelDelta, -32768);
    m_devices->Update();
    EXPECT_EQ(g_inputRecord.wheelDelta, 0);
}

}  // namespace
