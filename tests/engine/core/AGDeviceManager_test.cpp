#include "engine/core/AGDeviceManager.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/core/AGAppEventsHandler.h"
#include "engine/core/AGVirtualKey.h"
#include "engine/core/PCInputRecord.h"

namespace {

// A device manager with the keyboard and the mouse registered over a cleared input record.
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
        AGDeviceManager::SetInstance(nullptr);
        delete m_devices;
        g_inputRecord.Reset();
    }
    AGDeviceManager* m_devices = nullptr;
    PCDeviceManagerImpl* m_impl = nullptr;
};

struct InputLog { std::vector<std::string> events; AGDevice* keyboard = nullptr; };

// Input callback `index`: "index:kind:code:device".
template <u32 index>
void RecordInput(void* context, const AGInputEvent& event) {
    auto* log = static_cast<InputLog*>(context);
    log->events.push_back(std::to_string(index) + ":" + std::to_string(event.kind) + ":" +
                          std::to_string(event.keyCode) + (event.device == log->keyboard ? "k" : "m"));
}

}  // namespace

// Every poll raises, per device (keyboard, then mouse): callback 0 for each key held, then
// callbacks 1 and 2 for each key pressed since the previous poll, in code order.
TEST_F(Devices, PollsRaiseTheThreeInputCallbacksInCodeOrder) {
    AGAppEventsHandler events;
    AGAppEventsHandler::SetInstance(&events);
    events.RaiseDeviceEvent(0, nullptr);  // unset: nothing happens
    events.RaiseInputEvent(0, AGInputEvent{});
    InputLog log;
    log.keyboard = m_impl->FindKeyboard(0);
    for (auto [index, callback] : {std::pair{0u, &RecordInput<0>}, {1u, &RecordInput<1>}, {2u, &RecordInput<2>}})
        events.SetInputCallback(index, &log, callback);
    g_inputRecord.SetKey(220, true);  // backslash, code 117
    g_inputRecord.SetKey('Q', true);  // 84
    g_inputRecord.buttons = kMouseMiddle;
    m_devices->Update();
    log.events.clear();
    g_inputRecord.SetKey(27, true);  // Escape, 18
    g_inputRecord.SetKey(13, true);  // Enter, 83
    g_inputRecord.SetKey(256, true);  // past the key table: writes nothing
    EXPECT_EQ(g_inputRecord.typed[0], 0u);
    g_inputRecord.buttons = kMouseLeft | kMouseMiddle | kMouseRight | 0x8;  // bit 3 is no button
    m_devices->Update();
    EXPECT_EQ(log.events, (std::vector<std::string>{
                              "0:0:18k", "0:0:83k", "0:0:84k", "0:0:117k", "1:1:18k", "1:1:83k", "2:2:18k",
                              "2:2:83k", "0:0:2m", "0:0:3m", "0:0:4m", "1:1:2m", "1:1:4m", "2:2:2m", "2:2:4m"}));
    AGAppEventsHandler::SetInstance(nullptr);
}

// Every code binds its device and key, and the binding follows that key and no other.
TEST_F(Devices, EveryCodeBindsItsKeyWithEdgesBetweenPolls) {
    AGVirtualKey key;
    for (u32 code = 0; code < 140; ++code) {
        const bool mouse = code == 0 || (code >= 2 && code <= 4);
        const bool keyboard = code == 1 || (code >= 18 && code <= 117);
        const u32 expected = mouse      ? 1u << (code == 0 ? 0 : code - 2)
                             : code == 1 ? 116
                             : keyboard  ? kKeyboardTable[code - 18]
                                         : 0;
        key.SetKey(code, 0);
        EXPECT_EQ(key.Key(), expected) << code;
        if (!mouse && !keyboard) {
            EXPECT_EQ(key.KeyPad(), nullptr) << code;
            EXPECT_FALSE(key.IsDown() || key.WasPressed() || key.WasReleased()) << code;
            continue;
        }
        EXPECT_EQ(key.KeyPad()->Device(), mouse ? m_impl->FindMouse(0) : m_impl->FindKeyboard(0));
        if (mouse)
            g_inputRecord.buttons = u16(expected);
        else
            g_inputRecord.SetKey(expected, true);
        // Keys compare with the previous poll, buttons between the last two.
        const bool pressed = key.WasPressed();
        m_devices->Update();
        EXPECT_TRUE(key.IsDown() && (pressed || key.WasPressed())) << code;
        m_devices->Update();
        EXPECT_TRUE(key.IsDown() && !key.WasPressed()) << code;
        g_inputRecord.Reset();
        const bool released = key.WasReleased();
        m_devices->Update();
        EXPECT_TRUE(!key.IsDown() && (released || key.WasReleased())) << code;
    }
    key.SetKey(0xFFFFFFFFu, 0);
    EXPECT_EQ(key.KeyPad(), nullptr);
    key.SetKey(84, 1);  // no keyboard with id 1
    EXPECT_TRUE(key.KeyPad() == nullptr && key.Key() == 0u);
}

// The pointer position stays as it was while the pointer is outside; bindings that outlive the
// device manager (game objects destroyed after shutdown) answer "up".
TEST_F(Devices, ThePointerHoldsOutsideAndBindingsOutlivingTheDevicesAnswerNothing) {
    AGVirtualCursor cursor;
    CreateMouseDevice(cursor, 0);
    f32 x = -1.0f, y = -1.0f;
    for (u8 inside : {1, 0}) {
        g_inputRecord.mouseInside = inside;
        g_inputRecord.mouseX = inside ? 0.25f : 0.5f;
        g_inputRecord.mouseY = inside ? 0.75f : 0.5f;
        cursor.Mouse()->GetPosition(&x, &y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(0.25f, 0.75f)) << int(inside);
        EXPECT_EQ(cursor.Mouse()->IsInside(), inside != 0);
    }
    AGInterface other;  // neither device serves an interface of another kind
    EXPECT_FALSE(m_impl->FindMouse(0)->QueryInterface(&other) || m_impl->FindKeyboard(0)->QueryInterface(&other));

    AGVirtualKey key, button;
    key.SetKey(84, 0);
    button.SetKey(0, 0);
    g_inputRecord.SetKey('Q', true);
    g_inputRecord.mouseInside = 1;
    EXPECT_TRUE(key.IsDown());
    // Bound again, a key gives its earlier interface back to the device.
    AGIKeyPadDevice* earlier = key.KeyPad();
    earlier->AddRef();
    key.SetKey(85, 0);
    EXPECT_EQ(earlier->RefCount(), 1u);
    EXPECT_TRUE(m_impl->FindKeyboard(0)->ReleaseInterface(earlier));  // the first one it served
    earlier->Release();
    // An interface another device takes up is the first device's no more.
    AGIKeyPadDevice moved;
    ASSERT_TRUE(m_impl->FindKeyboard(0)->QueryInterface(&moved) && m_impl->FindMouse(0)->QueryInterface(&moved));
    EXPECT_FALSE(m_impl->FindKeyboard(0)->ReleaseInterface(&moved));
    AGDeviceManager::SetInstance(nullptr);
    delete m_devices;
    m_devices = nullptr;
    EXPECT_FALSE(key.IsDown() || key.WasPressed() || cursor.Mouse()->IsInside());
    EXPECT_EQ(std::make_tuple(cursor.Mouse()->Device(), key.KeyPad()->Device(), button.KeyPad()->Device()),
              std::make_tuple(nullptr, nullptr, nullptr));
}

TEST(PCInputRecord, WheelStepsSaturateAndKeyBitsStayInTheirTable) {
    PCInputRecord record{};
    const std::pair<i32, i32> steps[] = {{30000, 30000}, {30000, 32767}, {-32767, 0},
                                         {-40000, -32768}, {-1, -32768}};
    for (const auto& [delta, sum] : steps) {
        record.AddWheel(delta);
        EXPECT_EQ(record.wheelDelta, sum) << delta;
    }
    // Typed units beyond 64 a tick are dropped (the first, 'a', sets the bit after the key table).
    for (u32 i = 0; i < 67; ++i)
        record.PushTyped(u16('a' + i % 26));
    for (auto [vk, down] : {std::pair{0x41, true}, {255, true}, {256, true}, {0x42, true}, {0x42, false}})
        record.SetKey(vk, down);
    EXPECT_TRUE(record.IsKeySet(0x41) && record.IsKeySet(255));
    EXPECT_FALSE(record.IsKeySet(0x40) || record.IsKeySet(0x42) || record.IsKeySet(256));
    record.ClearKeys();
    EXPECT_FALSE(record.IsKeySet(255));
    // Taken once: the next tick starts with none.
    u16 taken[PCInputRecord::kTypedCapacity];
    EXPECT_EQ((std::tuple{record.TakeTyped(taken), taken[63], record.TakeTyped(taken)}),
              std::tuple(64u, u16('a' + 63 % 26), 0u));
}
