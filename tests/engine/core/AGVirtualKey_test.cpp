#include "engine/core/AGVirtualKey.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/core/AGDeviceManager.h"
#include "engine/core/PCInputRecord.h"
#include "platform/window/SdlKeyMap.h"

namespace {

class VirtualKeys : public ::testing::Test {
protected:
    void SetUp() override {
        g_inputRecord.Reset();
        m_devices = new AGDeviceManager();
        AGDeviceManager::SetInstance(m_devices);
        m_devices->RegisterDevices();
    }
    void TearDown() override {
        AGDeviceManager::SetInstance(nullptr);
        delete m_devices;
        g_inputRecord.Reset();
    }
    AGDeviceManager* m_devices = nullptr;
};

TEST_F(VirtualKeys, CodesBindTheirDeviceAndKey) {
    auto* impl = static_cast<PCDeviceManagerImpl*>(m_devices->Impl());
    AGVirtualKey key;

    key.SetKey(0, 0);  // the left button, as code 2
    ASSERT_NE(key.KeyPad(), nullptr);
    EXPECT_EQ(key.KeyPad()->Device(), impl->FindMouse(0));
    EXPECT_EQ(key.Key(), 1u);

    key.SetKey(4, 0);
    EXPECT_EQ(key.Key(), 4u);

    key.SetKey(1, 0);  // F5, as code 23
    EXPECT_EQ(key.KeyPad()->Device(), impl->FindKeyboard(0));
    EXPECT_EQ(key.Key(), 116u);

    key.SetKey(18, 0);
    EXPECT_EQ(key.Key(), 27u);
    key.SetKey(19, 0);
    EXPECT_EQ(key.Key(), 112u);
    key.SetKey(84, 0);
    EXPECT_EQ(key.Key(), uint32_t('Q'));
    key.SetKey(117, 0);
    EXPECT_EQ(key.Key(), 220u);

    for (u32 code : {5u, 17u, 118u, 0xFFFFFFFFu}) {
        key.SetKey(code, 0);
        EXPECT_EQ(key.KeyPad(), nullptr) << code;
        EXPECT_EQ(key.Key(), 0u) << code;
        EXPECT_FALSE(key.IsDown());
    }

    key.SetKey(84, 1);  // no keyboard with id 1
    EXPECT_EQ(key.KeyPad(), nullptr);
    EXPECT_EQ(key.Key(), 0u);
}

TEST(VirtualKeyTable, HasOneHundredDistinctKeysThatTheWindowCanReport) {
    std::set<u32> produced;
    for (int s = SDL_SCANCODE_UNKNOWN; s < SDL_NUM_SCANCODES; ++s) {
        auto scancode = SDL_Scancode(s);
        produced.insert(platform::window::VirtualKeyFromSdl(scancode, SDL_GetKeyFromScancode(scancode)));
    }
    std::set<u32> distinct;
    for (u32 vk : kKeyboardTable) {
        distinct.insert(vk);
        EXPECT_TRUE(produced.count(vk)) << "virtual key " << vk;
    }
    EXPECT_EQ(distinct.size(), size_t(kKeyboardCodeCount));
}

TEST_F(VirtualKeys, RebindingReleasesTheOldInterface) {
    AGVirtualKey key;
    key.SetKey(84, 0);
    AGIKeyPadDevice* first = key.KeyPad();
    first->AddRef();  // keep it observable
    EXPECT_EQ(first->RefCount(), 2u);
    key.SetKey(85, 0);
    EXPECT_EQ(first->RefCount(), 1u);
    EXPECT_NE(key.KeyPad(), first);
    first->Release();
}

TEST_F(VirtualKeys, CursorTakesTheMousePointer) {
    AGVirtualCursor cursor;
    CreateMouseDevice(cursor, 0);
    ASSERT_NE(cursor.Mouse(), nullptr);
    EXPECT_EQ(cursor.Mouse()->RefCount(), 1u);

    g_inputRecord.mouseX = 0.25f;
    g_inputRecord.mouseY = 0.75f;
    g_inputRecord.mouseInside = 0;
    f32 x = -1, y = -1;
    cursor.Mouse()->GetPosition(&x, &y);
    EXPECT_EQ(x, -1.0f);  // outside: untouched
    EXPECT_FALSE(cursor.Mouse()->IsInside());
    g_inputRecord.mouseInside = 1;
    cursor.Mouse()->GetPosition(&x, &y);
    EXPECT_EQ(x, 0.25f);
    EXPECT_EQ(y, 0.75f);
    EXPECT_TRUE(cursor.Mouse()->IsInside());

    CreateMouseDevice(cursor, 3);  // no such mouse
    EXPECT_EQ(cursor.Mouse(), nullptr);
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
