#include "gameservices/game/TeamActionManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gameservices/entities/Team.h"
#include "tests/gameservices/game/RecordingDeviceSystem.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;
using GameServices::Bridge::sActionData;
using GameServices::Entities::BaseTeamMember;

namespace {

struct Listener {
    void On(TeamActionData* data) {
        received.push_back(*data);
        if (then)
            then();
    }
    // The action data lives only for the call.
    std::vector<TeamActionData> received;
    std::function<void()> then;
    TeamActionManagerDelegate<Listener> delegate{this, &Listener::On};
};

class TeamActionTest : public ::testing::Test {
protected:
    TeamActionTest() {
        folder.WriteContext("Default", ActionItem("Click", "key", "keyaccept"));
        actions.SetActionContext("Default");
        teams.SetEnabled(true);
        teams.SetMember(0, &member);
    }

    // A device action of "click" from a device.
    void Press(i32 deviceId) {
        sActionData data;
        data.m_DeviceId = deviceId;
        devices.Fire("click", data);
    }

    ActionsFolder folder;
    RecordingDeviceSystem devices;
    ActionManager actions;
    DeviceManager deviceManager;
    TeamActionManager teams{actions, deviceManager};
    BaseTeamMember member;
    Listener listener;
    LogCapture log;
};

}  // namespace

TEST_F(TeamActionTest, DeviceActionsReachTheListenersOfTheMembersDevice) {
    teams.ListenTeamAction(&listener.delegate, "Click");
    teams.ListenTeamAction(&listener.delegate, "CLICK");
    ASSERT_EQ(devices.Triggers().size(), 1u);

    Press(0);
    ASSERT_EQ(listener.received.size(), 2u);
    EXPECT_EQ(listener.received[0].m_Member, &member);

    // No device, a device beyond the slots, a device without a member, a disabled manager.
    for (i32 id : {-1, -2, 3})
        Press(id);
    EXPECT_TRUE(log.Lines().empty());
    Press(10);
    EXPECT_TRUE(log.Contains("Invalid device Id"));
    teams.SetEnabled(false);
    Press(0);
    EXPECT_EQ(listener.received.size(), 2u);

    teams.UnlistenTeamAction(&listener.delegate, "click");
    EXPECT_EQ(devices.Triggers().size(), 1u);
    teams.UnlistenTeamAction(&listener.delegate, "click");
    EXPECT_TRUE(devices.Triggers().empty());
}

TEST_F(TeamActionTest, AListenerRemovedDuringADispatchIsNotCalled) {
    auto second = std::make_unique<Listener>();
    listener.then = [&] {
        teams.UnlistenTeamAction(&second->delegate, "Click");
        second.reset();
    };
    teams.ListenTeamAction(&listener.delegate, "Click");
    teams.ListenTeamAction(&second->delegate, "Click");
    Press(0);
    EXPECT_EQ(listener.received.size(), 1u);
}
