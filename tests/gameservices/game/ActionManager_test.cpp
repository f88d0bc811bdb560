#include "gameservices/game/ActionManager.h"
#include "gameservices/game/ActionRecords.h"

#include <gtest/gtest.h>

#include <tuple>

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

using Calls = std::vector<std::string>;

}  // namespace

// The "button" trigger of Click is in a later list than its key triggers, so the key list
// alone binds; the xbox and the debug-only triggers never bind. A "rotation" trigger is bound
// through the device system's acceleration list and an "acceleration" trigger through its
// rotation list, each with its first filter name only. An entry with a file name stands for
// that file's actions.
TEST(ActionManagerTest, EachActionBindsTheTriggersOfThisPlatformOncePerFilterName) {
    ActionsFolder folder;
    folder.Write("actions.xml", kActions);
    folder.Write("more.xml", kMore);
    RecordingDeviceSystem devices;
    ActionManager manager;
    Listener listener;
    LogCapture log;
    manager.SetActionContext("DEFAULT");
    EXPECT_TRUE(log.Contains("A trigger of the action moves has no Filter"));
    const std::pair<const char*, Calls> cases[] = {
        {"click", {"+key keyaccept press", "+key keyspacebar press", "+key mouseleft press"}},
        {"Moves", {"+move axis-all"}},
        {"Tilt", {"+acceleration axis-x"}},
        {"shake", {"+rotation axis-z"}},
        {"NextLevel", {"+key n release"}},
        {"Ignored", {}},
    };
    for (const auto& [action, calls] : cases) {
        manager.ListenAction(action, &listener.delegate);
        EXPECT_EQ(devices.Take(), calls) << action;
    }
    EXPECT_TRUE(log.Contains("Can not listen this action:Ignored"));
    EXPECT_EQ(devices.Triggers()[3], "move axis-all moves 2 -");
    EXPECT_EQ(devices.Triggers()[5], "rotation axis-z shake -1 p");

    manager.UnlistenAction("TILT", &listener.delegate);
    manager.UnlistenAction("Shake", &listener.delegate);
    EXPECT_EQ(devices.Take(), (Calls{"-acceleration axis-x tilt", "-rotation axis-z shake"}));
    EXPECT_EQ(devices.Triggers().size(), 5u);
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
    EXPECT_TRUE(ActionTrigger::ConvertType("keys") == 5u && log.Contains("Action Type is invalid!"));
    EXPECT_TRUE(ActionTrigger::ConvertPlatform("mac") == 0u && log.Contains("trigger plateform is invalid!"));

    // Filter values as (compound, absolute); an unknown one is reported and sets neither.
    const std::tuple<const char*, bool, bool, bool> filters[] = {{"CompoundAbsolute", true, true, false},
                                                                 {"compoundrelative", true, false, false},
                                                                 {"currentabsolute", false, true, false},
                                                                 {"CurrentRelative", false, false, false},
                                                                 {"relative", false, false, true}};
    for (const auto& [value, compound, absolute, reported] : filters) {
        log.Clear();
        sDeviceControllerTrigger record;
        record.FilterValue = value;
        const ActionTrigger trigger(record);
        EXPECT_EQ((std::pair{trigger.m_Compound, trigger.m_Absolute}), (std::pair{compound, absolute}))
            << value;
        EXPECT_EQ(log.Contains("FilterValue is invalid!"), reported) << value;
    }
}
