#include "engine/core/AGDeviceManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/AGAppEventsHandler.h"
#include "engine/core/AGVirtualKey.h"
#include "engine/core/PCInputRecord.h"
#include "engine/core/PCKeyboard.h"
#include "engine/core/PCMouse.h"

namespace {

struct Raised {
    u32 callback;
    u32 kind;
    u32 code;
    void* device;
};

class Devices : public ::testing::Test {
protected:
    void SetUp() override {
        g_inputRecord.Reset();
        m_devices = new AGDeviceManager();
        AGDeviceManager::SetInstance(m_devices);
        m_devices->RegisterDevices();
        m_impl = static_cast<PCDeviceManagerImpl*>(m_devices->Impl());
    }
    void TearDown() override {
        AGAppEventsHandler::SetInstance(nullptr);
        AGDeviceManager::SetInstance(nullptr);
        delete m_devices;
        g_inputRecord.Reset();
    }

    static void Record0(void* context, const AGInputEvent& e) { Record(context, 0, e); }
    static void Record1(void* context, const AGInputEvent& e) { Record(context, 1, e); }
    static void Record2(void* context, const AGInputEvent& e) { Record(context, 2, e); }
    static void Record(void* context, u32 callback, const AGInputEvent& e) {
        static_cast<std::vector<Raised>*>(context)->push_back({callback, e.kind, e.keyCode, e.device});
    }

    AGDeviceManager* m_devices = nullptr;
    PCDeviceManagerImpl* m_impl = nullptr;
};

TEST_F(Devices, KeyboardThenMouseEachListedOnce) {
    m_devices->RegisterDevices();
    ASSERT_EQ(m_impl->Devices().Count(), 2u);
    EXPECT_EQ(m_impl->Devices()[0], m_impl->Keyboard());
    EXPECT_EQ(m_impl->Devices()[1], m_impl->Mouse());
    EXPECT_EQ(m_impl->FindKeyboard(0), m_impl->Keyboard());
    EXPECT_EQ(m_impl->FindMouse(0), m_impl->Mouse());
    EXPECT_EQ(m_impl->FindKeyboard(1), nullptr);
    EXPECT_TRUE(m_impl->Keyboard()->IsConnected());
}

TEST_F(Devices, MouseButtonsGiveEdgesBetweenPolls) {
    AGVirtualKey left, right;
    left.SetKey(2, 0);
    right.SetKey(4, 0);
    g_inputRecord.buttons = kMouseLeft;
    m_devices->Update();
    EXPECT_TRUE(left.IsDown());
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

TEST_F(Devices, ThePollRaisesTheInputCallbacks) {
    AGAppEventsHandler events;
    std::vector<Raised> raised;
    events.SetInputCallback(0, &raised, Record0);
    events.SetInputCallback(1, &raised, Record1);
    events.SetInputCallback(2, &raised, Record2);
    AGAppEventsHandler::SetInstance(&events);

    g_inputRecord.SetKey('Q', true);
    g_inputRecord.buttons = kMouseMiddle;
    m_devices->Update();
    ASSERT_EQ(raised.size(), 6u);
    // Keyboard first: down, pressed, pressed again; then the mouse likewise.
    EXPECT_EQ(raised[0].kind, 0u);
    EXPECT_EQ(raised[0].code, 84u);
    EXPECT_EQ(raised[0].device, m_impl->Keyboard());
    EXPECT_EQ(raised[1].callback, 1u);
    EXPECT_EQ(raised[1].kind, 1u);
    EXPECT_EQ(raised[2].callback, 2u);
    EXPECT_EQ(raised[2].kind, 2u);
    EXPECT_EQ(raised[3].kind, 0u);
    EXPECT_EQ(raised[3].code, 3u);
    EXPECT_EQ(raised[3].device, m_impl->Mouse());
    EXPECT_EQ(raised[4].kind, 1u);
    EXPECT_EQ(raised[5].kind, 2u);

    raised.clear();
    m_devices->Update();  // held: only "down"
    ASSERT_EQ(raised.size(), 2u);
    EXPECT_EQ(raised[0].kind, 0u);
    EXPECT_EQ(raised[1].kind, 0u);
}

TEST_F(Devices, TheMousePollClearsTheWheelSum) {
    g_inputRecord.AddWheel(120);
    g_inputRecord.AddWheel(240);
    EXPECT_EQ(g_inputRecord.wheelDelta, 360);
    m_devices->Update();
    EXPECT_EQ(g_inputRecord.wheelDelta, 0);

    // The sum saturates instead of wrapping.
    for (int i = 0; i < 300; ++i)
        g_inputRecord.AddWheel(-120);
    EXPECT_EQ(g_inputRecord.wheelDelta, -32768);
}

}  // namespace
