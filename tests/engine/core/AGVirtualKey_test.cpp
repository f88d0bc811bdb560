#include "engine/core/AGVirtualKey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/core/DeviceTestSupport.h"

namespace {

using VirtualKeys = DeviceTest;

// Virtual key of engine code 18 + i, in the order of the keyboard's rows.
std::vector<u32> KeyboardRows() {
    std::vector<u32> vk = {27};
    for (u32 f = 112; f <= 123; ++f)
        vk.push_back(f);
    vk.insert(vk.end(), {44, 145, 19, 45, 36, 46, 35, 33, 34, 38, 37, 40, 39, 144, 111, 106, 109, 107, 110});
    for (u32 n = 96; n <= 105; ++n)
        vk.push_back(n);
    vk.push_back(222);
    for (u32 d = '1'; d <= '9'; ++d)
        vk.push_back(d);
    vk.insert(vk.end(), {'0', 189, 187, 8, 9, 20, 16, 17, 91, 18, 32, 92, 93, 13});
    for (char c : std::string("QWERTYUIOPASDFGHJKLZXCVBNM"))
        vk.push_back(u32(c));
    vk.insert(vk.end(), {188, 190, 191, 186, 192, 219, 221, 220});
    return vk;
}

// Every code binds its device and key, and the binding follows that key and no other.
TEST_F(VirtualKeys, EveryCodeBindsItsKey) {
    const std::vector<u32> rows = KeyboardRows();
    ASSERT_EQ(rows.size(), 100u);
    AGVirtualKey key;
    for (u32 code = 0; code < 140; ++code) {
        bool mouse = code == 0 || (code >= 2 && code <= 4);
        bool keyboard = code == 1 || (code >= 18 && code <= 117);
        u32 expected = mouse ? 1u << (code == 0 ? 0 : code - 2) : code == 1 ? 116 : keyboard ? rows[code - 18] : 0;
        key.SetKey(code, 0);
        EXPECT_EQ(key.Key(), expected) << code;
        if (!mouse && !keyboard) {
            EXPECT_EQ(key.KeyPad(), nullptr) << code;
            EXPECT_FALSE(key.IsDown() || key.WasPressed() || key.WasReleased()) << code;
            continue;
        }
        ASSERT_NE(key.KeyPad(), nullptr) << code;
        EXPECT_EQ(key.KeyPad()->Device(), mouse ? m_impl->FindMouse(0) : m_impl->FindKeyboard(0));
        if (mouse)
            g_inputRecord.buttons = u16(expected);
        else
            g_inputRecord.SetKey(expected, true);
        m_devices->Update();
        EXPECT_TRUE(key.IsDown()) << code;
        g_inputRecord.Reset();
        m_devices->Update();
        EXPECT_FALSE(key.IsDown()) << code;
    }
    key.SetKey(0xFFFFFFFFu, 0);
    EXPECT_EQ(key.KeyPad(), nullptr);
    key.SetKey(84, 1);  // no keyboard with id 1
    EXPECT_EQ(key.KeyPad(), nullptr);
    EXPECT_EQ(key.Key(), 0u);
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
