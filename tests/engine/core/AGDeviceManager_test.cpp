#include "engine/core/AGDeviceManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/AGAppEventsHandler.h"
#include "engine/core/AGVirtualKey.h"
#include "engine/core/PCKeyboard.h"
#include "engine/core/PCMouse.h"
#include "tests/engine/core/DeviceTestSupport.h"

namespace {

struct Raised {
    u32 callback;
    u32 kind;
    u32 code;
    void* device;
};

template <u32 kCallback>
void Record(void* context, const AGInputEvent& e) {
    static_cast<std::vector<Raised>*>(context)->push_back({kCallback, e.kind, e.keyCode, e.device});
}

using Devices = DeviceTest;

TEST_F(Devices, KeyboardThenMouseEachListedOnce) {
    m_devices->RegisterDevices();
    ASSERT_EQ(m_impl->Devices().Count(), 2u);
    EXPECT_EQ(m_impl->Devices()[0], m_impl->Keyboard());
    EXPECT_EQ(m_impl->Devices()[1], m_impl->Mouse());
}

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

TEST_F(Devices, ThePollRaisesTheInputCallbacks) {
    AGAppEventsHandler events;
    std::vector<Raised> raised;
    events.SetInputCallback(0, &raised, Record<0>);
    events.SetInputCallback(1, &raised, Record<1>);
    events.SetInputCallback(2, &raised, Record<2>);
    AGAppEventsHandler::SetInstance(&events);

    g_inputRecord.SetKey('Q', true);
    g_inputRecord.buttons = kMouseMiddle;
    m_devices->Update();
    // Keyboard first: down, pressed, pressed again; then the mouse likewise.
    ASSERT_EQ(raised.size(), 6u);
    for (u32 i = 0; i < 6; ++i) {
        EXPECT_EQ(raised[i].callback, i % 3);
        EXPECT_EQ(raised[i].kind, i % 3);
        EXPECT_EQ(raised[i].code, i < 3 ? 84u : 3u);
        EXPECT_EQ(raised[i].device, i < 3 ? static_cast<void*>(m_impl->Keyboard()) : m_impl->Mouse());
    }
    raised.clear();
    m_devices->Update();  // held: only "down"
    ASSERT_EQ(raised.size(), 2u);
    EXPECT_EQ(raised[1].kind, 0u);
}

TEST_F(Devices, TheWheelSumSaturatesInsteadOfWrapping) {
    for (int i = 0; i < 300; ++i)
        g_inputRecord.AddWheel(-120);
    EXPECT_EQ(g_inputRecord.wheelDelta, -32768);
    m_devices->Update();
    EXPECT_EQ(g_inputRecord.wheelDelta, 0);
}

}  // namespace
