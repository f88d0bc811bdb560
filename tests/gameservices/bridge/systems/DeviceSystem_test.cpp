#include "gameservices/bridge/systems/DeviceSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/AGAppEventsHandler.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "tests/gameservices/bridge/systems/InputHarness.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Bridge;
using namespace GameServices::KorvoGame;
using GameServices::Entities::BaseTeamMember;
using platform::window::MessageKind;

namespace {

constexpr u32 kEnter = 13;
constexpr u32 kSpace = 32;

// Each record as "action device x,y code flags(key pointer down) visible".
std::vector<std::string> Texts(const ActionRecorder& recorder) {
    std::vector<std::string> texts;
    for (const sActionData& d : recorder.records)
        texts.push_back(std::string(d.m_ActionName.c_str()) + " " + std::to_string(d.m_DeviceId) +
                        " " + std::to_string(int(d.m_X)) + "," + std::to_string(int(d.m_Y)) +
                        " " + std::to_string(d.m_KeyCode) + " " + std::to_string(d.m_KeyFlag) +
                        std::to_string(d.m_PointerFlag) + std::to_string(d.m_KeyDown) +
                        (d.m_PointerVisible ? " v" : " -"));
    return texts;
}

class DeviceSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(input.Started());
        devices.Startup();
    }

    // A trigger of any device (-1) fires with the index of the device's key or cursor; a key
    // trigger has a state, a move trigger none.
    void Listen(const char* name, const char* state, ActionRecorder& recorder, i32 deviceId = -1) {
        DeviceTrigger* trigger = state ? devices.ListenKey(name, state, &recorder.delegate)
                                       : devices.ListenMove(name, &recorder.delegate);
        trigger->m_DeviceId = deviceId, trigger->m_ActionName = name;
    }

    InputHarness input;
    DeviceSystem devices;
};

}  // namespace

TEST_F(DeviceSystemTest, StateFiltersFireOncePerPressEveryFrameWhileHeldOrOncePerRelease) {
    ActionRecorder press, none, release;
    for (auto [state, recorder] : {std::pair{"press", &press}, {"none", &none}, {"RELEASE", &release}})
        Listen("keyaccept", state, *recorder);
    std::vector<std::string> noneWant;
    for (int frames : {5, 3}) {
        input.Send(MessageKind::KeyDown, kEnter);
        for (int i = 0; i < frames; ++i) {
            input.Frame(devices);
            noneWant.push_back("keyaccept 0 -1,-1 83 101 -");
        }
        input.Send(MessageKind::KeyUp, kEnter);
        input.Frame(devices);
        noneWant.push_back("keyaccept 0 -1,-1 83 100 -");
        input.Frame(devices);
    }
    // Before any move pass the stored pointer is (-1, -1).
    EXPECT_EQ(Texts(press), std::vector<std::string>(2, "keyaccept 0 -1,-1 83 101 -"));
    EXPECT_EQ(std::pair(Texts(none), release.records.size()), std::pair(noneWant, size_t(2)));
    // Two passes over one input frame fire its release once.
    input.Send(MessageKind::KeyDown, kEnter);
    input.Frame(devices);
    input.Send(MessageKind::KeyUp, kEnter);
    devices.Update(16);
    input.Frame(devices);
    EXPECT_EQ(release.records.size(), 3u);
}

TEST_F(DeviceSystemTest, AButtonCarriesThePointerOfItsOwnFrameAndMovesFireEveryFrame) {
    ActionRecorder moves, click;
    Listen("mouseleft", "press", click);
    Listen("axis-all", nullptr, moves);
    input.MoveTo(10, 20);
    input.Button(true);
    input.Frame(devices);
    input.MoveTo(88, 299);
    input.Frame(devices);
    PCGraphicDevice* graphics = PCGraphicDevice::Get();
    PCGraphicDevice::SetInstance(nullptr);  // without graphics: placed in the window's client pixels
    input.Frame(devices);
    PCGraphicDevice::SetInstance(graphics);
    input.Send(MessageKind::MouseLeave);
    input.Frame(devices);
    EXPECT_EQ(Texts(click), std::vector<std::string>{"mouseleft 0 88,299 2 101 -"});
    EXPECT_EQ(Texts(moves), (std::vector<std::string>{"axis-all 0 10,20 -1 010 v", "axis-all 0 88,299 -1 010 v",
                                                      "axis-all 0 88,299 -1 010 v", "axis-all 0 0,0 -1 010 -"}));

    // Nothing fires while inactive.
    devices.SetActive(false);
    input.MoveTo(5, 5);
    input.Frame(devices);
    EXPECT_EQ(moves.records.size(), 4u);
}

TEST_F(DeviceSystemTest, DeviceIdsOutsideThePointerSlotsReadNoPosition) {
    ActionRecorder moves, keys;
    Listen("axis-all", nullptr, moves, 12);
    Listen("axis-up", nullptr, moves, -5);
    Listen("keyaccept", "press", keys, 12);
    Listen("keyspacebar", "press", keys, -5);
    f32 x = 0, y = 0;
    devices.GetPointer(0, x, y);
    EXPECT_EQ(x, -1.0f);
    input.MoveTo(400, 300);
    input.Send(MessageKind::KeyDown, kEnter);
    input.Send(MessageKind::KeyDown, kSpace);
    input.Frame(devices);
    EXPECT_EQ(Texts(keys), (std::vector<std::string>{"keyaccept 12 -1,-1 83 101 -", "keyspacebar -5 -1,-1 80 101 -"}));
    for (i32 index : {-5, 12}) {
        devices.GetPointer(index, x, y);
        EXPECT_EQ(x + y, -2.0f) << index;
    }
}

TEST(DeviceSystemPools, AnExhaustedPoolReportsAndUnlistenedTriggersReturnAtTheEndOfTheUpdate) {
    InputHarness input(3, 1, 1);
    ASSERT_TRUE(input.Started());
    DeviceSystem devices;
    devices.Startup();
    ActionRecorder recorder, axes, moves;
    {
        LogCapture log;
        EXPECT_NE(devices.ListenMove("axis-all", &moves.delegate), nullptr);
        devices.UnlistenMove("axis-up", &moves.delegate, "");  // another axis: the trigger stays
        EXPECT_EQ(devices.ListenMove("axis-up", &axes.delegate), nullptr);
        EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for DeviceTriggerMoveFactory"));
        // The one move trigger goes back and comes again with a single cursor.
        devices.UnlistenMove("axis-all", &moves.delegate, "");
        EXPECT_NE(devices.ListenMove("axis-all", &moves.delegate), nullptr);
        // Rotations and accelerations share a pool; only the matching unlisten frees one.
        EXPECT_NE(devices.ListenRotation("axis-up", 0, 1, &axes.delegate), nullptr);
        EXPECT_EQ(devices.ListenAcceleration("axis-up", 0, 1, &axes.delegate), nullptr);
        EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for DeviceTriggerAccelFactory"));
        devices.UnlistenRotation("axis-down", &axes.delegate, "");
        devices.UnlistenAcceleration("axis-up", &axes.delegate, "");
        EXPECT_EQ(devices.ListenAcceleration("axis-up", 0, 1, &axes.delegate), nullptr);
        devices.UnlistenRotation("AXIS-UP", &axes.delegate, "");
        EXPECT_NE(devices.ListenAcceleration("axis-up", 0, 1, &axes.delegate), nullptr);
        devices.UnlistenAcceleration("axis-up", &axes.delegate, "");
        // The listener given is the trigger's delegate.
        EXPECT_EQ(devices.ListenRotation("axis-up", 0, 1, &axes.delegate)->m_Event.Count(), 1u);
        // The action manager passes over a trigger the pool refuses.
        ActionsFolder folder;
        folder.WriteContext("Default", ActionItem("Moves", "move", "axis-all"));
        ActionManager actions;
        actions.SetActionContext("Default");
        actions.ListenAction("Moves", &axes.delegate);
    }
    for (const char* key : {"q", "w"})
        devices.ListenKey(key, "none", &recorder.delegate)->m_ActionName = "typing";
    // Another action's name, state or key removes nothing.
    for (auto [key, state, action] : {std::tuple{"q", "none", "other"}, {"q", "press", "typing"}, {"e", "none", "typing"}})
        devices.UnlistenKey(key, state, &recorder.delegate, action);
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
    EXPECT_TRUE(again->m_DeviceId == -1 && again->m_ActionName.IsEmpty());
    EXPECT_NE(devices.ListenKey("y", "none", &recorder.delegate), nullptr);
    input.Frame(devices);
    EXPECT_EQ(std::pair(recorder.records.size(), moves.records.size()), std::pair(2ul, 2ul));

    // A press trigger given back while its key is held comes again unlatched: the held key fires.
    ActionRecorder held;
    devices.UnlistenKey("y", "none", &recorder.delegate, "");
    devices.ListenKey("keyspacebar", "press", &held.delegate);
    input.Send(MessageKind::KeyDown, kSpace);
    input.Frame(devices);
    devices.UnlistenKey("keyspacebar", "press", &held.delegate, "");
    devices.ListenKey("keyspacebar", "press", &held.delegate);
    input.Frame(devices);
    EXPECT_EQ(held.records.size(), 2u);
}

TEST(DeviceSystemDevices, StartupHandsOneRecordPerIdAndDevicesBeyondTheCountAreAnnouncedLost) {
    InputHarness input;
    ASSERT_TRUE(input.Started());
    DeviceSystem devices;
    DeviceManager manager;
    // The passes wait for the start-up.
    ActionRecorder moves;
    devices.ListenMove("axis-all", &moves.delegate);
    input.Frame(devices);
    EXPECT_TRUE(moves.records.empty());
    manager.SetDeviceRange(1, 4);
    devices.SetDeviceCount(3);
    devices.Startup();
    // The keyboard and the mouse, announced once.
    EXPECT_EQ(std::pair(devices.GetDeviceCount(), manager.GetConnectedCount()), std::pair(1u, 1u));

    struct Lost {
        std::vector<i32> ids;
        std::vector<void*> records;
        void On(DeviceInfos& infos) {
            ids.push_back(infos.m_DeviceId);
            records.push_back(infos.m_EngineData);
            EXPECT_NE(infos.m_EngineData, nullptr);
        }
    } lost;
    FDelegateParam<Lost, DeviceInfos&> delegate{&lost, &Lost::On};
    devices.GetDeviceLostEvent().AddDelegate(&delegate);
    devices.AttachDevices(1);
    EXPECT_TRUE(lost.ids.empty());
    // The keyboard and the mouse, both id 0.
    devices.AttachDevices(0);
    EXPECT_EQ(std::pair(lost.ids, manager.GetConnectedCount()), std::pair(std::vector<i32>{0, 0}, 0u));

    // The platform's callbacks reach the device manager and the device-lost event.
    AGDevice* keyboard = AGDeviceManager::Get()->Impl()->FindKeyboard(0);
    AGAppEventsHandler::Get()->RaiseDeviceEvent(AGAppEventsHandler::kDeviceEvent0, keyboard);
    EXPECT_TRUE(manager.IsConnected(0));
    AGAppEventsHandler::Get()->RaiseDeviceEvent(AGAppEventsHandler::kDeviceEvent1, keyboard);
    EXPECT_TRUE(!manager.IsConnected(0) && lost.ids.size() == 3u);
    // A device handed again keeps its one record; the mouse has its own.
    EXPECT_TRUE(lost.records[2] == lost.records[0] && lost.records[1] != lost.records[0]);
    devices.GetDeviceLostEvent().RemoveDelegate(&delegate);
    DeviceSystem().Startup();  // a device system that is gone is called by no device event
    devices.AttachDevices(0);
    AGAppEventsHandler::Get()->RaiseDeviceEvent(AGAppEventsHandler::kDeviceEvent0, keyboard);
    EXPECT_FALSE(manager.IsConnected(0));

    // Managers that go before the device system leave none of their delegates behind.
    const size_t lostDelegates = devices.GetDeviceLostEvent().Count();
    {
        ActionManager actions;
        DeviceManager second;
        TeamActionManager teams(actions, second);
        EXPECT_EQ(devices.GetDeviceLostEvent().Count(), lostDelegates + 1);
        EXPECT_EQ(devices.GetTypedCharacterEvent().Count(), 1u);
    }
    EXPECT_EQ(devices.GetDeviceLostEvent().Count(), lostDelegates);
    EXPECT_TRUE(devices.GetTypedCharacterEvent().Count() == 0u && DeviceManager::Get() == nullptr);
}

TEST(DeviceTriggerWords, StateFiltersAndAxes) {
    LogCapture log;
    const std::pair<const char*, u32> states[] = {
        {"PRESS", kStatePress}, {"Release", kStateRelease}, {"", kStateNone}, {"Pressed", kStateNone}};
    for (const auto& [word, state] : states)
        EXPECT_EQ(ParseStateFilter(word), state) << word;
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"invalid state filterPressed"});

    const char* axes[] = {"axis-up", "AXIS-DOWN", "axis-left", "axis-right", "axis-foward", "axis-back", "axis-all"};
    for (u32 i = 0; i < 7; ++i)
        EXPECT_EQ(ParseAxis(axes[i]), i + 1) << axes[i];
    EXPECT_EQ(std::pair(ParseAxis("axis-forward"), ParseAxis("")), std::pair(0u, u32(kAxisNone)));
}
