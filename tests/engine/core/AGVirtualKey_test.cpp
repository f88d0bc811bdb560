#include "engine/core/AGVirtualKey.h"

#include <gtest/gtest.h>

#include "tests/engine/core/DeviceTestSupport.h"

namespace {

using VirtualKeys = DeviceTest;

TEST_F(VirtualKeys, CodesBindTheirDeviceAndKey) {
    const struct {
        u32 code;
        bool mouse;
        u32 key;
    } cases[] = {{0, true, 1},    {4, true, 4},     {1, false, 116}, {18, false, 27},
                 {19, false, 112}, {84, false, 'Q'}, {117, false, 220}};
    AGVirtualKey key;
    for (const auto& c : cases) {
        key.SetKey(c.code, 0);
        ASSERT_NE(key.KeyPad(), nullptr) << c.code;
        EXPECT_EQ(key.KeyPad()->Device(), c.mouse ? m_impl->FindMouse(0) : m_impl->FindKeyboard(0));
        EXPECT_EQ(key.Key(), c.key) << c.code;
    }
    for (u32 code : {5u, 17u, 118u, 0xFFFFFFFFu}) {
        key.SetKey(code, 0);
        EXPECT_EQ(key.KeyPad(), nullptr) << code;
        EXPECT_FALSE(key.IsDown());
    }
    key.SetKey(84, 1);  // no keyboard with id 1
    EXPECT_EQ(key.KeyPad(), nullptr);
}

// Bindings may outlive the device manager (game objects destroyed after shutdown); they then
// answer "up" instead of reaching a deleted device.
TEST_F(VirtualKeys, BindingsOutlivingTheDevicesAnswerNothing) {
    AGVirtualKey key;
    AGVirtualCursor cursor;
    key.SetKey(84, 0);
    CreateMouseDevice(cursor, 0);
    g_inputRecord.SetKey('Q', true);
    g_inputRecord.mouseInside = 1;
    EXPECT_TRUE(key.IsDown());

    AGDeviceManager::SetInstance(nullptr);
    delete m_devices;
    m_devices = nullptr;

    EXPECT_FALSE(key.IsDown());
    EXPECT_FALSE(key.WasPressed());
    EXPECT_FALSE(cursor.Mouse()->IsInside());
    EXPECT_EQ(key.KeyPad()->Device(), nullptr);
}

}  // namespace
