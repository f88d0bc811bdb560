// Window messages through the engine's keyboard and mouse, the device system's triggers bound
// by the action manager, and the team action manager's member slot, to the team-action
// listeners.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameservices/entities/Team.h"
#include "gameservices/game/TeamActionManager.h"
#include "tests/gameservices/bridge/systems/InputHarness.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;
using GameServices::Bridge::DeviceSystem;
using GameServices::Entities::BaseTeamMember;
using platform::window::MessageKind;

namespace {

struct TeamRecorder {
    void On(TeamActionData* data) {
        const GameServices::Bridge::sActionData& action = *data->m_ActionData;
        seen.push_back(std::string(action.m_ActionName.c_str()) + " " +
                       std::to_string(int(action.m_X)) + "," + std::to_string(int(action.m_Y)) +
                       " down" + std::to_string(action.m_KeyDown) + " word" +
                       std::to_string(data->m_Word));
        members.push_back(data->m_Member);
        keyFlags.push_back(action.m_KeyFlag);
    }
    std::vector<std::string> seen;
    std::vector<int> keyFlags;
    std::vector<BaseTeamMember*> members;
    TeamActionManagerDelegate<TeamRecorder> delegate{this, &TeamRecorder::On};
};

class InputEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(input.Started());
        folder.WriteContext("Default",
                            ActionItem("Moves", "move", "axis-all") +
                                ActionItem("Click", "button", "mouseleft", "none") +
                                ActionItem("EnterAnswer", "key", "keyaccept", "press"));
        actions.SetActionContext("Default");
        devices.Startup();
        teams.SetEnabled(true);
        teams.SetMember(0, &player);
    }

    InputHarness input;
    ActionsFolder folder;
    DeviceSystem devices;
    DeviceManager deviceManager;
    ActionManager actions;
    TeamActionManager teams{actions, deviceManager};
    BaseTeamMember player;
    TeamRecorder recorder;
    LogCapture log;
};

}  // namespace

TEST_F(InputEndToEnd, PointerButtonAndKeyReachTheTeamListenersInFrameOrder) {
    // The keyboard and the mouse share device id 0: one device, not refused.
    EXPECT_EQ(deviceManager.GetConnectedCount(), 1u);
    EXPECT_TRUE(deviceManager.IsConnected(0));
    for (const char* name : {"Moves", "Click", "EnterAnswer"})
        teams.ListenTeamAction(&recorder.delegate, name);

    input.MoveTo(88, 300);
    input.Frame(devices);
    input.Button(true);
    input.Frame(devices);
    input.Button(false);
    input.Frame(devices);
    input.Frame(devices);
    input.Send(MessageKind::KeyDown, 13);
    input.Frame(devices);
    input.Send(MessageKind::KeyUp, 13);
    input.Frame(devices);

    // Button edges reach the mouse at the poll that ends the frame they arrive in.
    const std::vector<std::string> want = {
        "moves 88,300 down0 word0", "moves 88,300 down0 word0", "moves 88,300 down0 word0",
        "click 88,300 down1 word0", "moves 88,300 down0 word0", "click 88,300 down0 word0",
        "moves 88,300 down0 word0", "enteranswer 88,300 down1 word0", "moves 88,300 down0 word0",
    };
    EXPECT_EQ(recorder.seen, want);
    EXPECT_EQ(recorder.members, std::vector<BaseTeamMember*>(want.size(), &player));
    EXPECT_EQ(recorder.keyFlags, (std::vector<int>{0, 0, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(InputEndToEnd, TypedCharactersReachTheSoftKeyListenersInOrder) {
    teams.ListenTeamAction(&recorder.delegate, "SoftKey");
    for (char16_t unit : {u'Q', u'w', char16_t(8), char16_t(0x20AC)})
        input.Type(unit);
    input.Frame(devices);
    EXPECT_TRUE(recorder.seen.empty());
    input.Frame(devices);
    const std::vector<std::string> want = {"softkey 0,0 down1 word81", "softkey 0,0 down1 word119",
                                           "softkey 0,0 down1 word8", "softkey 0,0 down1 word8364"};
    EXPECT_EQ(recorder.seen, want);
    EXPECT_EQ(recorder.members, std::vector<BaseTeamMember*>(4, &player));
    EXPECT_EQ(recorder.keyFlags, std::vector<int>(4, 1));
    EXPECT_FALSE(log.Contains("Can not listen this action:"));
    EXPECT_TRUE(log.Lines().empty());

    // Typed while inactive: nobody.
    devices.SetActive(false);
    input.Type(u'x');
    input.Frame(devices);
    input.Frame(devices);
    devices.SetActive(true);
    input.Frame(devices);
    EXPECT_EQ(recorder.seen.size(), 4u);

    // More than a tick holds: the first 64 arrive, the drop is reported once.
    for (int i = 0; i < 70; ++i)
        input.Type(char16_t('a' + i % 26));
    input.Frame(devices);
    input.Frame(devices);
    EXPECT_EQ(recorder.seen.size(), 4u + 64u);
    EXPECT_EQ(recorder.seen.back(), "softkey 0,0 down1 word" + std::to_string('a' + 63 % 26));
    EXPECT_EQ(log.Lines().size(), 1u);

    teams.UnlistenTeamAction(&recorder.delegate, "softkey");
    EXPECT_FALSE(log.Contains("Can not"));
}
