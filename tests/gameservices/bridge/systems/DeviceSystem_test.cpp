#include "gameservices/bridge/systems/DeviceSystem.h"

#include <gtest/gtest.h>

#include "engine/core/AGAppEventsHandler.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/TeamActionManager.h"

#include "tests/gameservices/bridge/systems/InputHarness.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Bridge;
using platform::window::MessageKind;

namespace {

constexpr u32 kEnter = 13;
constexpr u32 kSpace = 32;

class DeviceSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(input.Started());
        devices.Startup();
    }

    DeviceTrigger* Key(const char* name, const char* state, ActionRecorder& recorder,
                       i32 deviceId = 0) {
        DeviceTrigger* trigger = devices.ListenKey(name, state, &recorder.delegate);
        if (trigger) {
            trigger->m_DeviceId = deviceId;
            trigger->m_ActionName = name;
        }
        return trigger;
    }

    InputHarness input;
    DeviceSystem devices;
};

std::vector<int> KeyDowns(const ActionRecorder& recorder) {
    std::vector<int> downs;
    for (const sActionData& data : recorder.records)
        downs.push_back(data.m_KeyDown);
    return downs;
}

}  // namespace

TEST_F(DeviceSystemTest, StateFiltersFireOncePerPressEveryFrameWhileHeldOrOncePerRelease) {
    ActionRecorder press, none, release;
    Key("keyaccept", "press", press);
    Key("keyaccept", "none", none);
    Key("keyaccept", "RELEASE", release);
    std::vector<int> noneWant;
    for (int frames : {5, 3}) {
        input.Send(MessageKind::KeyDown, kEnter);
        for (int i = 0; i < frames; ++i) {
            input.Frame(devices);
            noneWant.push_back(1);
        }
        input.Send(MessageKind::KeyUp, kEnter);
        input.Frame(devices);
        noneWant.push_back(0);
        input.Frame(devices);
    }
    EXPECT_EQ(KeyDowns(press), (std::vector<int>{1, 1}));
    EXPECT_EQ(KeyDowns(none), noneWant);
    EXPECT_EQ(KeyDowns(release), (std::vector<int>{0, 0}));

    // A key record before any move pass: the stored pointer is (-1, -1).
    const sActionData& first = press.records.front();
    EXPECT_EQ(first.m_DeviceId, 0);
    EXPECT_EQ(first.m_X, -1.0f);
    EXPECT_EQ(first.m_Y, -1.0f);
    EXPECT_EQ(first.m_KeyFlag, 1);
    EXPECT_EQ(first.m_KeyCode, 83);
    EXPECT_EQ(first.m_PointerFlag, 0);
    EXPECT_EQ(first.m_ActionName, "keyaccept");
}

TEST_F(DeviceSystemTest, AButtonCarriesThePointerOfItsOwnFrameAndMovesFireEveryFrame) {
    ActionRecorder moves, click;
    Key("mouseleft", "press", click);
    DeviceTrigger* move = devices.ListenMove("axis-all", &moves.delegate);
    ASSERT_NE(move, nullptr);
    move->m_DeviceId = 0;
    f32 x = 0, y = 0;
    devices.GetPointer(0, x, y);
    EXPECT_EQ(x, -1.0f);

    input.MoveTo(10, 20);
    input.Button(true);
    input.Frame(devices);
    input.MoveTo(88, 299);
    input.Frame(devices);
    input.Frame(devices);
    ASSERT_EQ(click.records.size(), 1u);
    EXPECT_EQ(click.records[0].m_X, 88.0f);
    EXPECT_EQ(click.records[0].m_Y, 299.0f);
    EXPECT_EQ(click.records[0].m_KeyCode, 2);
    ASSERT_EQ(moves.records.size(), 3u);
    const sActionData& last = moves.records.back();
    EXPECT_EQ(last.m_X, 88.0f);
    EXPECT_EQ(last.m_PointerFlag, 1);
    EXPECT_EQ(last.m_KeyDown, 0);
    EXPECT_TRUE(last.m_PointerVisible);
    EXPECT_EQ(last.m_KeyCode, -1);
    EXPECT_EQ(last.m_KeyFlag, 0);

    input.Send(MessageKind::MouseLeave);
    input.Frame(devices);
    EXPECT_EQ(moves.records.back().m_X, 0.0f);
    EXPECT_EQ(moves.records.back().m_Y, 0.0f);
    EXPECT_FALSE(moves.records.back().m_PointerVisible);

    // Nothing fires while inactive.
    devices.SetActive(false);
    input.MoveTo(5, 5);
    input.Send(MessageKind::KeyDown, kEnter);
    ActionRecorder enter;
    Key("keyaccept", "none", enter);
    input.Frame(devices);
    input.Frame(devices);
    EXPECT_EQ(moves.records.size(), 4u);
    EXPECT_TRUE(enter.records.empty());
}

TEST_F(DeviceSystemTest, DeviceIdsOutsideThePointerSlotsReadNoPosition) {
    ActionRecorder moves, keys;
    DeviceTrigger* move = devices.ListenMove("axis-all", &moves.delegate);
    move->m_DeviceId = 12;
    DeviceTrigger* negative = devices.ListenMove("axis-up", &moves.delegate);
    negative->m_DeviceId = -5;
    Key("keyaccept", "press", keys, 12);
    Key("keyspacebar", "press", keys, -5);
    input.MoveTo(400, 300);
    input.Send(MessageKind::KeyDown, kEnter);
    input.Send(MessageKind::KeyDown, kSpace);
    input.Frame(devices);
    ASSERT_EQ(keys.records.size(), 2u);
    for (const sActionData& data : keys.records) {
        EXPECT_EQ(data.m_X, -1.0f);
        EXPECT_EQ(data.m_Y, -1.0f);
    }
    EXPECT_EQ(keys.records[0].m_DeviceId, 12);
    f32 x = 0, y = 0;
    for (i32 index : {-5, 12}) {
        devices.GetPointer(index, x, y);
        EXPECT_EQ(x, -1.0f);
    }
    devices.GetPointer(0, x, y);
    EXPECT_EQ(x, -1.0f);
}

TEST_F(DeviceSystemTest, ListenersMayUnlistenAndListenDuringAPass) {
    ActionRecorder first, second, added;
    Key("keyaccept", "none", first);
    Key("keyspacebar", "none", second);
    first.then = [&](const sActionData&) {
        if (first.records.size() > 1)
            return;
        devices.UnlistenKey("keyaccept", "none", &first.delegate, "keyaccept");
        devices.UnlistenKey("keyspacebar", "none", &second.delegate, "keyspacebar");
        Key("keyaccept", "none", added);
    };
    input.Send(MessageKind::KeyDown, kEnter);
    input.Send(MessageKind::KeyDown, kSpace);
    input.Frame(devices);
    EXPECT_EQ(first.records.size(), 1u);
    EXPECT_TRUE(second.records.empty());
    EXPECT_TRUE(added.records.empty());
    input.Frame(devices);
    EXPECT_EQ(first.records.size(), 1u);
    EXPECT_EQ(added.records.size(), 1u);
}

TEST(DeviceSystemPools, TheUnlistenedTriggersGoBackToTheirPoolAtTheEndOfTheUpdate) {
    InputHarness input(3);
    ASSERT_TRUE(input.Started());
    DeviceSystem devices;
    devices.Startup();
    ActionRecorder recorder;
    for (const char* key : {"q", "w"})
        devices.ListenKey(key, "none", &recorder.delegate)->m_ActionName = "typing";
    // Another action's name, state or key removes nothing.
    devices.UnlistenKey("q", "none", &recorder.delegate, "other");
    devices.UnlistenKey("q", "press", &recorder.delegate, "typing");
    devices.UnlistenKey("e", "none", &recorder.delegate, "typing");
    recorder.then = [&](const sActionData&) {
        devices.UnlistenKey("q", "none", &recorder.delegate, "typing");
        devices.UnlistenKey("w", "none", &recorder.delegate, "typing");
        // One free object: the purge waits for the end of the update.
        EXPECT_NE(devices.ListenKey("e", "none", &recorder.delegate), nullptr);
        LogCapture log;
        EXPECT_EQ(devices.ListenKey("r", "none", &recorder.delegate), nullptr);
        EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for DeviceTriggerButton"));
        recorder.then = nullptr;
    };
    input.Send(MessageKind::KeyDown, 'Q');
    input.Frame(devices);
    EXPECT_EQ(recorder.records.size(), 1u);
    // A trigger taken again from the pool starts afresh.
    DeviceTrigger* again = devices.ListenKey("q", "none", &recorder.delegate);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_DeviceId, -1);
    EXPECT_TRUE(again->m_ActionName.IsEmpty());
    EXPECT_NE(devices.ListenKey("y", "none", &recorder.delegate), nullptr);
    input.Frame(devices);
    EXPECT_EQ(recorder.records.size(), 2u);
}

TEST(DeviceSystemDevices, StartupHandsOneRecordPerIdAndDevicesBeyondTheCountAreAnnouncedLost) {
    InputHarness input;
    ASSERT_TRUE(input.Started());
    DeviceSystem devices;
    GameServices::KorvoGame::DeviceManager manager;
    devices.SetDeviceCount(3);
    devices.Startup();
    EXPECT_EQ(devices.GetDeviceCount(), 1u);
    EXPECT_TRUE(devices.IsActive());
    EXPECT_EQ(manager.GetConnectedCount(), 1u);

    std::vector<i32> lost;
    struct Lost {
        std::vector<i32>* ids;
        void On(DeviceInfos& infos) {
            ids->push_back(infos.m_DeviceId);
            EXPECT_NE(infos.m_EngineData, nullptr);
        }
    } follower{&lost};
    FDelegateParam<Lost, DeviceInfos&> delegate{&follower, &Lost::On};
    devices.GetDeviceLostEvent().AddDelegate(&delegate);
    devices.AttachDevices(1);
    EXPECT_TRUE(lost.empty());
    // The keyboard and the mouse, both id 0.
    devices.AttachDevices(0);
    EXPECT_EQ(lost, (std::vector<i32>{0, 0}));
    EXPECT_EQ(manager.GetConnectedCount(), 0u);

    // The platform's callbacks reach the device manager and the device-lost event.
    AGDevice* keyboard = AGDeviceManager::Get()->Impl()->FindKeyboard(0);
    AGAppEventsHandler::Get()->RaiseDeviceEvent(AGAppEventsHandler::kDeviceEvent0, keyboard);
    EXPECT_TRUE(manager.IsConnected(0));
    AGAppEventsHandler::Get()->RaiseDeviceEvent(AGAppEventsHandler::kDeviceEvent1, keyboard);
    EXPECT_FALSE(manager.IsConnected(0));
    EXPECT_EQ(lost.size(), 3u);
    devices.GetDeviceLostEvent().RemoveDelegate(&delegate);

    // Managers that go before the device system leave none of their delegates behind.
    const size_t lostDelegates = devices.GetDeviceLostEvent().Count();
    {
        GameServices::KorvoGame::ActionManager actions;
        GameServices::KorvoGame::DeviceManager second;
        GameServices::KorvoGame::TeamActionManager teams(actions, second);
        EXPECT_EQ(devices.GetDeviceLostEvent().Count(), lostDelegates + 1);
        EXPECT_EQ(devices.GetTypedCharacterEvent().Count(), 1u);
    }
    EXPECT_EQ(devices.GetDeviceLostEvent().Count(), lostDelegates);
    EXPECT_EQ(devices.GetTypedCharacterEvent().Count(), 0u);
}
