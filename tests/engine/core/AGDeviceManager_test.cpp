#include "engine/core/AGDeviceManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/AGAppEventsHandler.h"
#include "engine/core/AGVirtualKey.h"
#include "tests/engine/core/DeviceTestSupport.h"

namespace {

using Devices = DeviceTest;

struct InputLog {
    std::vector<std::string> events;
    AGDevice* keyboard = nullptr;
};

// Input callback `index`: "index:kind:code:device".
template <u32 index>
void RecordInput(void* context, const AGInputEvent& event) {
    auto* log = static_cast<InputLog*>(context);
    log->events.push_back(std::to_string(index) + ":" + std::to_string(event.kind) + ":" +
                          std::to_string(event.keyCode) + (event.device == log->keyboard ? "k" : "m"));
}

// Every poll raises, per device (keyboard, then mouse): callback 0 for each key held, then
// callbacks 1 and 2 for each key pressed since the previous poll, in code order.
TEST_F(Devices, PollsRaiseTheThreeInputCallbacksInCodeOrder) {
    AGAppEventsHandler events;
    AGAppEventsHandler::SetInstance(&events);
    InputLog log;
    log.keyboard = m_impl->FindKeyboard(0);
    events.SetInputCallback(0, &log, RecordInput<0>);
    events.SetInputCallback(1, &log, RecordInput<1>);
    events.SetInputCallback(2, &log, RecordInput<2>);

    g_inputRecord.SetKey(220, true);  // backslash, code 117
    g_inputRecord.SetKey('Q', true);  // 84
    g_inputRecord.buttons = kMouseMiddle;
    m_devices->Update();
    log.events.clear();
    g_inputRecord.SetKey(27, true);  // Escape, 18
    g_inputRecord.SetKey(13, true);  // Enter, 83
    g_inputRecord.buttons = kMouseLeft | kMouseMiddle | kMouseRight;
    m_devices->Update();
    EXPECT_EQ(log.events, (std::vector<std::string>{
                              "0:0:18k", "0:0:83k", "0:0:84k", "0:0:117k", "1:1:18k", "1:1:83k", "2:2:18k",
                              "2:2:83k", "0:0:2m", "0:0:3m", "0:0:4m", "1:1:2m", "1:1:4m", "2:2:2m", "2:2:4m"}));

    log.events.clear();
    g_inputRecord.SetKey('Q', false);
    g_inputRecord.buttons = kMouseRight;
    m_devices->Update();
    EXPECT_EQ(log.events, (std::vector<std::string>{"0:0:18k", "0:0:83k", "0:0:117k", "0:0:4m"}));
    AGAppEventsHandler::SetInstance(nullptr);
}

TEST_F(Devices, ThePointerPositionStaysAsItWasWhileThePointerIsOutside) {
    AGVirtualCursor cursor;
    CreateMouseDevice(cursor, 0);
    ASSERT_NE(cursor.Mouse(), nullptr);
    g_inputRecord.mouseX = 0.25f;
    g_inputRecord.mouseY = 0.75f;
    g_inputRecord.mouseInside = 1;
    f32 x = -1.0f, y = -1.0f;
    cursor.Mouse()->GetPosition(&x, &y);
    EXPECT_EQ(x, 0.25f);
    EXPECT_EQ(y, 0.75f);
    EXPECT_TRUE(cursor.Mouse()->IsInside());

    g_inputRecord.mouseInside = 0;
    g_inputRecord.mouseX = 0.5f;
    cursor.Mouse()->GetPosition(&x, &y);
    EXPECT_EQ(x, 0.25f);
    EXPECT_EQ(y, 0.75f);
    EXPECT_FALSE(cursor.Mouse()->IsInside());

    // Neither device serves an interface of another kind.
    AGInterface other;
    EXPECT_FALSE(m_impl->FindMouse(0)->QueryInterface(&other));
    EXPECT_FALSE(m_impl->FindKeyboard(0)->QueryInterface(&other));
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

TEST_F(Devices, TheWheelSumSaturatesInsteadOfWrapping) {
    for (int i = 0; i < 300; ++i)
        g_inputRecord.AddWheel(120);
    EXPECT_EQ(g_inputRecord.wheelDelta, 32767);
    for (int i = 0; i < 600; ++i)
        g_inputRecord.AddWheel(-120);
    EXPECT_EQ(g_inputRecord.wheelDelta, -32768);
    m_devices->Update();
    EXPECT_EQ(g_inputRecord.wheelDelta, 0);
}

}  // namespace
