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
using GameServices::Bridge::DeviceInfos;
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

namespace {

struct MemberEvents {
    void Back(DeviceInfos& infos) { seen.push_back("back " + std::to_string(infos.m_DeviceId)); }
    void Free(DeviceInfos& infos) { seen.push_back("free " + std::to_string(infos.m_DeviceId)); }
    void Lost(BaseTeamMember* member) { seen.push_back("lost " + std::to_string(member->m_MemberId)); }
    std::vector<std::string> seen;
};

}  // namespace

// Device connections reach the member events by slot; a disconnected member's device id is
// -1 and its device reaches nobody.
TEST_F(TeamActionTest, DeviceEventsFollowTheMemberSlotsAndADisconnectedMemberHearsNothing) {
    MemberEvents events;
    FDelegateParam<MemberEvents, DeviceInfos&> back{&events, &MemberEvents::Back};
    FDelegateParam<MemberEvents, DeviceInfos&> free{&events, &MemberEvents::Free};
    FDelegateParam<MemberEvents, BaseTeamMember*> lost{&events, &MemberEvents::Lost};
    TeamActionManager::GetMemberDeviceReconnectedEvent().AddDelegate(&back);
    TeamActionManager::GetFreeDeviceConnectedEvent().AddDelegate(&free);
    TeamActionManager::GetMemberDeviceLostEvent().AddDelegate(&lost);
    member.m_MemberId = 7;
    for (i32 id : {0, 1, -1, 10}) {
        DeviceInfos infos{id, nullptr};
        teams.OnDeviceConnected(infos);
        teams.OnDeviceDisconnected(infos);
    }
    TeamActionManager::GetMemberDeviceReconnectedEvent().RemoveDelegate(&back);
    TeamActionManager::GetFreeDeviceConnectedEvent().RemoveDelegate(&free);
    TeamActionManager::GetMemberDeviceLostEvent().RemoveDelegate(&lost);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"back 0", "lost 7", "free 1"}));
    EXPECT_EQ((std::vector<BaseTeamMember*>{teams.GetMember(0), teams.GetMember(-1),
                                            teams.GetMember(10)}),
              (std::vector<BaseTeamMember*>{&member, nullptr, nullptr}));

    teams.ListenTeamAction(&listener.delegate, "Click");
    member.m_DeviceId = 0;
    teams.DisconnectMember(&member);
    EXPECT_EQ(member.m_DeviceId, -1);
    Press(0);
    EXPECT_TRUE(listener.received.empty());
    EXPECT_FALSE(log.Contains("not connected"));
    teams.DisconnectMember(&member);
    EXPECT_TRUE(log.Contains("This Member is not connected!"));
    // A simulated action needs a member and a listener.
    TeamActionData data(nullptr, 0, &member);
    teams.SimulateTeamAction(&data, "Jump");
    EXPECT_TRUE(log.Contains("TeamActionManager - Can not find the action: jump"));
    data.m_Member = nullptr;
    teams.SimulateTeamAction(&data, "Click");
    EXPECT_TRUE(log.Contains("SimulateTeamAction needs a member: Click"));
    EXPECT_TRUE(listener.received.empty());
}
