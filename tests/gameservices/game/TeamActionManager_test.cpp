#include "gameservices/game/TeamActionManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gameservices/entities/Team.h"
#include "gameservices/game/IPopupService.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/gameservices/game/RecordingDeviceSystem.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;
using GameServices::Bridge::DeviceInfos;
using GameServices::Bridge::IDeviceEngineData;
using GameServices::Bridge::sActionData;
using GameServices::Entities::BaseTeamMember;

namespace {

struct TeamListener {
    void On(TeamActionData* data) {
        received.push_back(*data);
        if (then)
            then();
    }
    // The action data lives only for the call.
    std::vector<TeamActionData> received;
    std::function<void()> then;
    TeamActionManagerDelegate<TeamListener> delegate{this, &TeamListener::On};
};

class Popups : public IPopupService, public IPopup {
public:
    IPopup* ShowPopup(const TString<char>& name) override {
        shown.push_back(name.c_str());
        return this;
    }
    void HidePopup(const TString<char>& name) override { hidden.push_back(name.c_str()); }
    void SetDisplayValue(u32 value) override { shown.back() += " " + std::to_string(value); }
    void SetMessageText(const TString<char>&, const TString<char>&) override {}

    std::vector<std::string> shown, hidden;
};

struct Device : IDeviceEngineData {
    void DropDevice() override { ++drops; }
    int drops = 0;
};

// The device manager and the team action manager over a recording device system, with the
// action "Click" bound to the accept key and a member on device 0.
class TeamActionTest : public ::testing::Test {
protected:
    TeamActionTest() {
        folder.WriteContext("Default", ActionItem("Click", "key", "keyaccept"));
        actions.SetActionContext("Default");
        teams.SetEnabled(true);
        teams.SetMember(0, &member);
        teams.SetPopupService(&popups);
        devices.SetSuppressed(false);
    }

    // A device action of "click" from a device.
    void Press(i32 deviceId) {
        deviceSystem.Fire("click", sActionData{.m_DeviceId = deviceId, .m_ActionName = {}});
    }
    void Connect(i32 id) {
        DeviceInfos infos{id, &device};
        devices.onDeviceConnected(infos);
    }

    ActionsFolder folder;
    RecordingDeviceSystem deviceSystem;
    ActionManager actions;
    DeviceManager devices;
    TeamActionManager teams{actions, devices};
    BaseTeamMember member;
    TeamListener listener;
    Popups popups;
    Device device;
    LogCapture log;
};

struct MemberEvents {
    void Back(DeviceInfos& infos) { seen.push_back("back " + std::to_string(infos.m_DeviceId)); }
    void Free(DeviceInfos& infos) { seen.push_back("free " + std::to_string(infos.m_DeviceId)); }
    void Lost(BaseTeamMember* m) { seen.push_back("lost " + std::to_string(m->m_MemberId)); }
    std::vector<std::string> seen;
};

}  // namespace

TEST_F(TeamActionTest, DeviceActionsReachTheListenersOfTheMembersDevice) {
    teams.ListenTeamAction(&listener.delegate, "Click");
    teams.ListenTeamAction(&listener.delegate, "CLICK");
    ASSERT_EQ(deviceSystem.Triggers().size(), 1u);

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
    EXPECT_EQ(deviceSystem.Triggers().size(), 1u);
    teams.UnlistenTeamAction(&listener.delegate, "click");
    EXPECT_TRUE(deviceSystem.Triggers().empty());

    // A listener removed during a dispatch is not called.
    teams.SetEnabled(true);
    auto second = std::make_unique<TeamListener>();
    listener.then = [&] {
        teams.UnlistenTeamAction(&second->delegate, "Click");
        second.reset();
    };
    teams.ListenTeamAction(&listener.delegate, "Click");
    teams.ListenTeamAction(&second->delegate, "Click");
    Press(0);
    EXPECT_EQ(listener.received.size(), 3u);
}

// Device connections reach the member events by slot; a disconnected member's device id is
// -1 and its device reaches nobody. Ranges are reported and kept.
TEST_F(TeamActionTest, DeviceEventsFollowTheMemberSlotsAndRangesStayInBounds) {
    MemberEvents events;
    FDelegateParam<MemberEvents, DeviceInfos&> back{&events, &MemberEvents::Back};
    FDelegateParam<MemberEvents, DeviceInfos&> free{&events, &MemberEvents::Free};
    FDelegateParam<MemberEvents, BaseTeamMember*> lost{&events, &MemberEvents::Lost};
    TeamActionManager::GetMemberDeviceReconnectedEvent().AddDelegate(&back);
    TeamActionManager::GetFreeDeviceConnectedEvent().AddDelegate(&free);
    TeamActionManager::GetMemberDeviceLostEvent().AddDelegate(&lost);
    member.m_MemberId = 7;
    devices.SetDeviceRange(0, 8);
    for (i32 id : {0, 1, -1, 10}) {
        DeviceInfos infos{id, nullptr};
        devices.onDeviceConnected(infos);
        devices.onDeviceDisconnected(infos);
    }
    TeamActionManager::GetMemberDeviceReconnectedEvent().RemoveDelegate(&back);
    TeamActionManager::GetFreeDeviceConnectedEvent().RemoveDelegate(&free);
    TeamActionManager::GetMemberDeviceLostEvent().RemoveDelegate(&lost);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"back 0", "lost 7", "free 1"}));
    EXPECT_EQ((std::vector<BaseTeamMember*>{teams.GetMember(0), teams.GetMember(-1), teams.GetMember(10)}),
              (std::vector<BaseTeamMember*>{&member, nullptr, nullptr}));

    teams.ListenTeamAction(&listener.delegate, "Click");
    member.m_DeviceId = 0;
    teams.DisconnectMember(&member);
    EXPECT_EQ(member.m_DeviceId, -1);
    Press(0);
    EXPECT_TRUE(listener.received.empty());
    teams.DisconnectMember(&member);
    EXPECT_TRUE(log.Contains("This Member is not connected!"));
    // A simulated action needs a member and a listener.
    TeamActionData data(nullptr, 0, &member);
    teams.SimulateTeamAction(&data, "Jump");
    EXPECT_TRUE(log.Contains("TeamActionManager - Can not find the action: jump"));
    data.m_Member = nullptr;
    teams.SimulateTeamAction(&data, "Click");
    EXPECT_TRUE(log.Contains("SimulateTeamAction needs a member: Click") && listener.received.empty());

    // A destroyed manager leaves none of its handlers on the device events, nor its actions bound.
    auto handlers = [this] {
        return std::vector<size_t>{devices.GetDeviceDisconnectedEvent().Count(),
                                   devices.GetDeviceMissingEvent().Count(),
                                   devices.GetDeviceFoundEvent().Count(), deviceSystem.Triggers().size()};
    };
    const std::vector<size_t> before = handlers();
    auto other = std::make_unique<TeamActionManager>(actions, devices);
    other->ListenTeamAction(&listener.delegate, "Click");
    other.reset();
    EXPECT_EQ(handlers(), before);

    // Ranges are reported and kept, and the check stays in bounds.
    devices.SetDeviceRange(3, 2);
    EXPECT_TRUE(log.Contains("Cannot require more devices than the maximum") && devices.GetMinimum() == 3u);

    for (u32 id = 0; id < 8; ++id) {
        devices.SetDeviceRange(12, 12);
        Connect(i32(id));
    }
    EXPECT_TRUE(log.Contains("Only 10 devices are supported"));
    EXPECT_TRUE(devices.GetConnectedCount() == 8u && !devices.IsWaiting());
    EXPECT_FALSE(log.Contains("infos.m_DeviceId"));
    // Beyond the ids the game uses, and no device at all: refused, the count unchanged.
    for (i32 id : {8, 9, 11}) {
        log.Clear();
        Connect(id);
        EXPECT_TRUE(log.Contains("DeviceManager::DeviceInfos infos.m_DeviceId >= 8!!") &&
                    !devices.IsConnected(id)) << id;
    }
    Connect(-1);
    EXPECT_TRUE(devices.GetConnectedCount() == 8u && device.drops == 0);
}

TEST_F(TeamActionTest, TheControllerPopupShowsWhileARequiredDeviceIsMissing) {
    // Before any range one device is required: losing it shows the popup, finding it hides it.
    Connect(0);
    DeviceInfos lost{0, nullptr};
    devices.onDeviceDisconnected(lost);
    Connect(0);
    devices.SetDeviceRange(3, 3);
    EXPECT_TRUE(devices.IsWaiting());
    ASSERT_EQ(popups.shown, std::vector<std::string>(2, "DeviceController 1000"));
    devices.GetDeviceMissingEvent().Fire(lost);
    EXPECT_EQ(popups.shown.size(), 2u);

    // Each device found hides it; one still missing brings it back.
    Connect(1);
    Connect(2);
    EXPECT_EQ(popups.shown, std::vector<std::string>(3, "DeviceController 1000"));
    EXPECT_TRUE(popups.hidden == std::vector<std::string>(3, "DeviceController") && !devices.IsWaiting());
    // Each range sets the device count; the devices are attached unless suppressed.
    devices.SetSuppressed(true);
    devices.SetDeviceRange(1, 2);
    EXPECT_EQ(deviceSystem.Take(), (std::vector<std::string>{"count 1", "attach 3", "count 1"}));
}
