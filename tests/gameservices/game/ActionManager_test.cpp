#include "gameservices/game/ActionManager.h"

#include <gtest/gtest.h>

#include "tests/gameservices/game/RecordingDeviceSystem.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;
using GameServices::Bridge::sActionData;

namespace {

constexpr const char* kActions = R"(<root><RootContext><Contexts>
<item><Name>Menu</Name><Actions>
  <item><Name>Click</Name><Triggers><item><Type>key</Type><Filter>keyescape</Filter></item></Triggers></item>
</Actions></item>
<item><Name>Default</Name><Actions>
  <item><Name>Click</Name><Triggers>
    <item plateform="pc"><Type>Key</Type><State>press</State><Filter>KeyAccept, keyspacebar</Filter></item>
    <item plateform=""><Type>key</Type><State>press</State><Filter>mouseleft</Filter></item>
    <item><Type>button</Type><State>press</State><Filter>mouseright</Filter></item>
    <item plateform="xbox"><Type>key</Type><State>press</State><Filter>xboxa</Filter></item>
    <item debugOnly="true"><Type>key</Type><State>press</State><Filter>keyf1</Filter></item>
  </Triggers></item>
  <item><Name>Moves</Name><Triggers>
    <item><Type>move</Type><Filter></Filter></item>
    <item pausable="false"><Type>move</Type><Filter>axis-all,axis-up</Filter><DeviceId>2</DeviceId></item>
  </Triggers></item>
  <item><Name>Tilt</Name><Triggers><item><Type>Rotation</Type><Filter>Axis-X,axis-y</Filter></item></Triggers></item>
  <item><Name>Shake</Name><Triggers><item><Type>acceleration</Type><Filter>axis-z</Filter></item></Triggers></item>
  <item><fileName>More.xml</fileName><Name>Ignored</Name><Triggers><item><Type>key</Type><Filter>q</Filter></item></Triggers></item>
</Actions></item>
</Contexts></RootContext></root>)";

constexpr const char* kMore = R"(<root><Actions>
  <item><Name>NextLevel</Name><Triggers><item><Type>key</Type><State>release</State><Filter>n</Filter></item></Triggers></item>
</Actions></root>)";

struct Listener {
    void On(sActionData*) {}
    ActionManagerDelegate<Listener> delegate{this, &Listener::On};
};

class ActionManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("actions.xml", kActions);
        folder.Write("more.xml", kMore);
    }

    // Listens to the action and returns the calls it made.
    std::vector<RecordingDeviceSystem::Call> Listen(const char* action) {
        const size_t before = devices.GetCalls().size();
        manager.ListenAction(action, &listener.delegate);
        return {devices.GetCalls().begin() + long(before), devices.GetCalls().end()};
    }

    ActionsFolder folder;
    RecordingDeviceSystem devices;
    ActionManager manager;
    Listener listener;
    LogCapture log;
};

}  // namespace

TEST_F(ActionManagerTest, KeyTriggersOfThisPlatformAreBoundOncePerFilterName) {
    manager.SetActionContext("DEFAULT");

    // The "button" trigger is in a later list than the key triggers, so the key list alone
    // binds; the xbox and the debug-only triggers never bind.
    const auto calls = Listen("click");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].m_Name, "keyaccept");
    EXPECT_EQ(calls[1].m_Name, "keyspacebar");
    EXPECT_EQ(calls[2].m_Name, "mouseleft");
}

TEST_F(ActionManagerTest, MoveAndFileActions) {
    manager.SetActionContext("default");
    EXPECT_TRUE(log.Contains("A trigger of the action moves has no Filter"));

    auto calls = Listen("Moves");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].m_Kind, u32(RecordingDeviceSystem::kMove));
    EXPECT_EQ(calls[0].m_Name, "axis-all");

    // An entry with a file name stands for that file's actions.
    calls = Listen("NextLevel");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].m_State, "release");
    EXPECT_TRUE(Listen("Ignored").empty());
    EXPECT_TRUE(log.Contains("Can not listen this action:Ignored"));
}

// A "rotation" trigger is bound through the device system's acceleration list and an
// "acceleration" trigger through its rotation list, each with its first filter name only.
TEST_F(ActionManagerTest, RotationAndAccelerationTriggersSwapTheirDeviceLists) {
    manager.SetActionContext("default");
    auto calls = Listen("Tilt");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].m_Kind, u32(RecordingDeviceSystem::kAcceleration));
    EXPECT_EQ(calls[0].m_Name, "axis-x");
    calls = Listen("shake");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].m_Kind, u32(RecordingDeviceSystem::kRotation));
    EXPECT_EQ(calls[0].m_Name, "axis-z");

    const size_t before = devices.GetCalls().size();
    manager.UnlistenAction("TILT", &listener.delegate);
    manager.UnlistenAction("Shake", &listener.delegate);
    ASSERT_EQ(devices.GetCalls().size(), before + 2);
    const auto& unlisten = devices.GetCalls()[before];
    EXPECT_FALSE(unlisten.m_Listen);
    EXPECT_EQ(unlisten.m_Kind, u32(RecordingDeviceSystem::kAcceleration));
    EXPECT_EQ(unlisten.m_ActionName, "tilt");
    EXPECT_EQ(devices.GetCalls()[before + 1].m_Kind, u32(RecordingDeviceSystem::kRotation));
}

TEST(ActionTriggerTest, TypeAndPlatformWords) {
    LogCapture log;
    const std::pair<const char*, u32> types[] = {{"Move", 0}, {"KEY", 1}, {"button", 2},
                                                 {"rotation", 3}, {"Acceleration", 4}};
    for (const auto& [word, value] : types)
        EXPECT_EQ(ActionTrigger::ConvertType(word), value) << word;
    const std::pair<const char*, u32> platforms[] = {{"all", 0}, {"", 0},    {"iPhone", 1},
                                                     {"PC", 2},  {"ps", 3},  {"Wii", 4},
                                                     {"xbox", 5}};
    for (const auto& [word, value] : platforms)
        EXPECT_EQ(ActionTrigger::ConvertPlatform(word), value) << word;
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(ActionTrigger::ConvertType("keys"), 5u);
    EXPECT_TRUE(log.Contains("Action Type is invalid!"));
    EXPECT_EQ(ActionTrigger::ConvertPlatform("mac"), 0u);
    EXPECT_TRUE(log.Contains("trigger plateform is invalid!"));
}
