#pragma once
// A running game for widget tests: its game flow's per-frame event and an enabled team-action
// manager, with two members on devices 0 and 1 and helpers that send them pointer actions.
#include "gameservices/entities/Team.h"
#include "gameservices/game/ActionManager.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/TeamActionManager.h"

namespace widget_test {

class TestGame : public GameServices::KorvoGame::ICurrentGame {
public:
    TestGame() {
        ICurrentGame::SetInstance(this);
        teams.SetEnabled(true);
        for (i32 i = 0; i < 2; ++i) {
            members[i].m_DeviceId = i;
            members[i].m_Active = 1;
            members[i].m_MemberId = i;
            teams.SetMember(i, &members[i]);
        }
    }
    ~TestGame() override { ICurrentGame::SetInstance(nullptr); }

    GameServices::KorvoGame::GameFlowManager* GetGameFlowManager() override { return &flow; }
    GameServices::KorvoGame::TeamActionManager* GetTeamActionManager() override { return &teams; }
    GameServices::Entities::Set* GetCurrentLevel() override { return level; }
    bool IsPaused() const override { return paused; }
    void SetPause(bool pause) override { paused = pause; }

    size_t FrameDelegates() { return flow.GetFrameEvent().Count(); }

    void Move(GameServices::Entities::BaseTeamMember& member, f32 x, f32 y, bool active = true) {
        Send(member, "Moves", x, y, active, false);
    }
    void Click(GameServices::Entities::BaseTeamMember& member, f32 x, f32 y, bool down) {
        Send(member, "Click", x, y, true, down);
    }
    // A typed character for the soft keys.
    void Key(GameServices::Entities::BaseTeamMember& member, uintptr_t code) {
        Send(member, "SoftKey", 0, 0, false, false, code);
    }
    void Send(GameServices::Entities::BaseTeamMember& member, const char* name, f32 x, f32 y, bool visible,
              bool down, uintptr_t word = 0) {
        GameServices::Bridge::sActionData data{.m_DeviceId = member.m_DeviceId, .m_X = x, .m_Y = y,
                                               .m_ActionName = {}, .m_KeyDown = u8(down ? 1 : 0),
                                               .m_PointerVisible = visible};
        GameServices::KorvoGame::TeamActionData action(&data, word, &member);
        teams.SimulateTeamAction(&action, name);
    }
    void Tap(GameServices::Entities::BaseTeamMember& member, f32 x, f32 y) {
        Click(member, x, y, true);
        Click(member, x, y, false);
    }

    GameServices::KorvoGame::GameFlowManager flow;
    GameServices::KorvoGame::ActionManager actions;
    GameServices::KorvoGame::DeviceManager devices;
    GameServices::KorvoGame::TeamActionManager teams{actions, devices};
    GameServices::Entities::BaseTeamMember members[2];
    GameServices::Entities::Set* level = nullptr;
    bool paused = false;
};

// Counts the firings of one event.
struct Counter {
    void Hit() { ++count; }
    int count = 0;
    FDelegate<Counter> delegate{this, &Counter::Hit};
};

}  // namespace widget_test
