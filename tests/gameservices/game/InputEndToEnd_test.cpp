// A key press from the window's message queue to the team-action listeners: the engine's
// keyboard device, a device system's key trigger bound by the action manager, the team
// action manager's member slot.
#include <gtest/gtest.h>

#include <vector>

#include "engine/core/AGGameContext.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCInputRecord.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/RecordingDeviceSystem.h"
#include "gameservices/game/TeamActionManager.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/support/ScopedEnv.h"

using namespace GameServices::KorvoGame;
using GameServices::Entities::BaseTeamMember;
using platform::window::Message;
using platform::window::MessageKind;
using platform::window::TestBackend;

namespace {

// Presses the space bar on the first tick and stops after the third; the device system is
// updated every tick, as the game does.
class Game : public AGGameContext {
public:
    Game(PCApplicationImpl& app, RecordingDeviceSystem& devices) : m_app(app), m_devices(devices) {}
    void Initialize() override {}
    void Update(u32) override {
        m_devices.Update();
        if (++m_ticks == 1) {
            Message press;
            press.kind = MessageKind::KeyDown;
            press.key = 32;
            static_cast<TestBackend*>(m_app.GetWindow())->Inject(press);
        } else if (m_ticks == 3) {
            m_app.Quit();
        }
    }
    void Shutdown() override {}

private:
    PCApplicationImpl& m_app;
    RecordingDeviceSystem& m_devices;
    int m_ticks = 0;
};

struct Listener {
    void On(TeamActionData* data) { members.push_back(data->m_Member); }
    std::vector<BaseTeamMember*> members;
    TeamActionManagerDelegate<Listener> delegate{this, &Listener::On};
};

}  // namespace

TEST(InputEndToEnd, AKeyPressReachesEveryListenerOfItsTeamAction) {
    ActionsFolder folder;
    folder.WriteContext("Default", ActionItem("Click", "key", "keyaccept,keyspacebar"));
    ScopedEnv env;
    env.Set("XDG_CONFIG_HOME", std::filesystem::current_path().string());
    TestProgram program("Tallyvox", 800, 600, 0);
    AGProgram* previousProgram = AGProgram::Get();
    AGProgram::SetInstance(&program);
    platform::window::SetBackendFactory(MakeTestBackend);
    g_inputRecord.Reset();

    GraphicsStartup graphics;
    PCApplicationImpl app;
    ASSERT_TRUE(app.Initialize());
    static_cast<TestBackend*>(app.GetWindow())->SetVsyncPaced(true);
    {
        RecordingDeviceSystem devices;
        ActionManager actions;
        actions.SetActionContext("Default");
        DeviceManager deviceManager;
        TeamActionManager teams(actions, deviceManager);
        teams.SetEnabled(true);
        BaseTeamMember player;
        teams.SetMember(0, &player);
        Listener first, second;
        teams.ListenTeamAction(&first.delegate, "Click");
        teams.ListenTeamAction(&second.delegate, "Click");

        Game game(app, devices);
        app.Run(game);

        EXPECT_EQ(first.members, std::vector<BaseTeamMember*>{&player});
        EXPECT_EQ(second.members, std::vector<BaseTeamMember*>{&player});
    }
    app.Shutdown();
    platform::window::SetBackendFactory(nullptr);
    AGProgram::SetInstance(previousProgram);
    g_inputRecord.Reset();
}
