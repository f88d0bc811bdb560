#include "gameshow/GameShowCamera.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameshow/Sequencers.h"
#include "tests/gameservices/minigame/BehaviorTestSetup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using namespace GameShow;
using GameServices::Entities::Camera;
using GameServices::Entities::Set;
using GameServices::MiniGame::BehaviorManager;
using Lines = std::vector<std::string>;

namespace {

// The running game as the cameras see it: its frame event and its current level.
class ShowGame : public GameServices::KorvoGame::ICurrentGame {
public:
    ShowGame() { SetInstance(this); }
    ~ShowGame() override { SetInstance(nullptr); }
    GameServices::KorvoGame::GameFlowManager* GetGameFlowManager() override { return &flow; }
    GameServices::KorvoGame::TeamActionManager* GetTeamActionManager() override { return nullptr; }
    Set* GetCurrentLevel() override { return level; }
    bool IsPaused() const override { return false; }
    void SetPause(bool) override {}

    GameServices::KorvoGame::GameFlowManager flow;
    Set* level = nullptr;
};

void SetEndKey(Camera& camera, const char* key) {
    auto& map = camera.Attributes.m_Map;
    auto it = map.find(GameServices::Entities::TypeIds::ApplicationDataKey);
    if (it != map.end()) {
        delete it->second;
        map.erase(it);
    }
    if (!key)
        return;
    auto* data = new sGameShowApplicationDataCameras();
    data->EndKey = key;
    map[GameServices::Entities::TypeIds::ApplicationDataKey] = data;
}

// Cameras over the sample camera behaviours, a recording animation double and a game whose
// frame event drives the cameras.
class GameShowCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* data = std::getenv("TALLYVOX_DATA");
        ASSERT_NE(data, nullptr);
        std::ifstream sample(std::string(data) + "/global/camerasbehaviors.xml");
        std::stringstream text;
        text << sample.rdbuf();
        dir.Write("-xml/global/camerasbehaviors.xml", text.str());
        GameServices::Bridge::FileSystem::Destroy();
        GameServices::Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
        BehaviorManager::Instance()->ResetBehaviors();
        GameShowCameraManager::Instance()->SetSet(nullptr);
        GameShowCameraManager::Instance()->SetActiveCamera(nullptr);
    }
    void TearDown() override {
        GameShowCameraManager::Instance()->SetSet(nullptr);
        GameShowCameraManager::Instance()->SetActiveCamera(nullptr);
        BehaviorManager::Instance()->ResetBehaviors();
        GameServices::Bridge::FileSystem::Destroy();
    }

    // The animation calls made since the last look.
    Lines Calls() {
        Lines all = animation.Lines();
        Lines fresh(all.begin() + long(seen), all.end());
        seen = all.size();
        return fresh;
    }
    void Frame() { game.flow.GetFrameEvent().Fire(16); }

    TempDir dir;
    ShowGame game;
    behavior_test::RecordingAnimation animation;
    size_t seen = 0;
};

TEST_F(GameShowCameraTest, BehaviourPlaysTheFirstActionAndCarriesOutRequestsInOrder) {
    GameShowCamera first("CamA"), second("CamB");
    EXPECT_EQ(BehaviorManager::Instance()->GetLoadedFiles().size(), 1u);  // merged by the first only
    GameShowBehaviorCamera& behavior = second.GetBehaviorCamera();
    EXPECT_EQ(std::string(behavior.GetCurrentActionName().c_str()), "CameraAnimation");
    EXPECT_EQ(second.Behaviors.m_Map.size(), 1u);

    struct Case {
        const char* name;
        std::vector<const char*> replays;
        bool speed, listen, unlisten;
        Lines expected;
    };
    const Case cases[] = {
        {"last replay key wins", {"KeyHost", "KeyEnd"}, false, false, false, {"Replay 4: m3 0..150"}},
        {"endKey plays to the end", {"endKey"}, false, false, false, {"Replay 4: m3 0..-1"}},
        {"all requests in order",
         {"KeyWide"},
         true,
         true,
         true,
         {"Replay 4: m3 0..40", "Speed 4: 2", "AddKey 4: @90", "RemoveKey 4: @150"}},
        {"only speed", {}, true, false, false, {"Speed 4: 2"}},
    };
    FDelegate<GameShowBehaviorCamera> listener(&behavior, &GameShowBehaviorCamera::PlayCurrentAction);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* key : c.replays)
            behavior.RequestReplayToKey(key);
        behavior.speedRequested = c.speed;
        behavior.speed = 2.0f;
        behavior.listenRequested = c.listen;
        behavior.listenKey = "KeyHost";
        behavior.listenDelegate = &listener;
        behavior.unlistenRequested = c.unlisten;
        behavior.unlistenKey = "KeyEnd";
        behavior.unlistenDelegate = &listener;
        behavior.Update(16);
        EXPECT_EQ(Calls(), c.expected);
        behavior.Update(16);
        EXPECT_TRUE(Calls().empty());  // each request is carried out once
    }
}

TEST_F(GameShowCameraTest, InitializeReadsTheEndKeyAndUpdatesUntilReset) {
    GameShowCamera camera("CamA");
    EXPECT_TRUE(camera.IsA(GameShowCamera::kTypeId));
    EXPECT_TRUE(camera.IsA(GameServices::Entities::TypeIds::Camera));
    EXPECT_FALSE(camera.IsA(GameServices::Entities::TypeIds::Prop));

    struct Case {
        const char* data;
        const char* endKey;
        bool reported;
    };
    const Case cases[] = {{"KeyHost", "KeyHost", false}, {nullptr, "", true}, {"KeyWide", "KeyWide", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.endKey);
        SetEndKey(camera, c.data);
        LogCapture log;
        camera.Initialize();
        EXPECT_EQ(std::string(camera.GetEndKey().c_str()), c.endKey);
        EXPECT_EQ(log.Contains("Missing applicationData  for the Camera!"), c.reported);
        EXPECT_EQ(Calls(), (Lines{"Start 4: t0 m3 r1 -1..-1", "Speed 4: 1"}));  // the whole animation once
    }
    camera.Initialize();  // initialized twice, updated once a frame
    EXPECT_EQ(game.flow.GetFrameEvent().Count(), 1u);
    camera.GetBehaviorCamera().RequestReplayToKey("KeyWide");
    Calls();
    Frame();
    EXPECT_EQ(Calls(), Lines{"Replay 4: m3 0..40"});

    camera.Reset();
    EXPECT_EQ(game.flow.GetFrameEvent().Count(), 0u);
    camera.GetBehaviorCamera().RequestReplayToKey("KeyWide");
    Frame();
    EXPECT_TRUE(Calls().empty());
    SetEndKey(camera, nullptr);
}

TEST_F(GameShowCameraTest, SequencerSwitchesCamerasOfItsSetAndPlaysTheActiveOnesEndKey) {
    LogCapture log;
    GameShowCameraSequencer sequencer;
    sequencer.onSequenceEvent("SetActiveCamera", "Cam_Host", "");
    EXPECT_TRUE(log.Contains("GameShowCameraSequencer::onSequenceEvent : the set is NULL !!!"));
    sequencer.onInitialize(nullptr);
    EXPECT_TRUE(log.Contains("GameShowCameraSequencer::onInitialize : the set is NULL !!!"));

    Set set("studio");
    GameShowCamera host("Cam_Host"), wide("Cam_Wide");
    Camera plain("LevelCam");
    SetEndKey(host, "KeyHost");
    SetEndKey(wide, "KeyWide");
    wide.Activate = false;
    set.m_Cameras = {&plain, &host, &wide};
    plain.Activate = false;
    game.level = &set;
    sequencer.onInitialize(&set);
    GameShowCameraManager* manager = GameShowCameraManager::Instance();
    EXPECT_EQ(manager->GetActiveCamera(), &host);
    EXPECT_EQ(manager->GetSet(), &set);
    host.Initialize();

    struct Step {
        const char* event;
        const char* target;
        const char* endKey;  // given to the wide camera before the event, when set
        GameShowCamera* active;
        Lines replays;  // the animation calls of the next frame
    };
    const Step steps[] = {
        {"PlayCameraAnimation", "Cam_Host", nullptr, &host, {"Replay 4: m3 0..90"}},
        {"SetActiveCamera", "Cam_Wide", nullptr, &wide, {}},
        {"SetActiveCamera", "Nowhere", nullptr, &wide, {}},
        {"SetActiveCamera", "LevelCam", nullptr, &wide, {}},
        {"Zoom", "Cam_Host", nullptr, &wide, {}},
        {"PlayCameraAnimation", "Cam_Host", nullptr, &wide, {"Replay 4: m3 0..40"}},
        {"SetActiveCamera", "Cam_Wide", "KeyEnd", &wide, {}},
        {"PlayCameraAnimation", "Cam_Wide", nullptr, &wide, {"Replay 4: m3 0..150"}},
        {"PlayCameraAnimation", "Cam_Wide", nullptr, &wide, {"Replay 4: m3 0..150"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.event) + " " + s.target);
        if (s.endKey)
            SetEndKey(wide, s.endKey);
        sequencer.onSequenceEvent(s.event, s.target, "");
        Calls();
        Frame();
        EXPECT_EQ(manager->GetActiveCamera(), s.active);
        EXPECT_EQ(Calls(), s.replays);
        EXPECT_EQ(host.Activate, s.active == &host);
        EXPECT_EQ(wide.Activate, s.active == &wide);
        EXPECT_EQ(game.flow.GetFrameEvent().Count(), 1u);  // only the active camera is updated
    }
    EXPECT_TRUE(log.Contains("no game-show camera 'LevelCam'"));
    EXPECT_FALSE(log.Contains("Nowhere"));  // not a camera of the set: ignored silently
    EXPECT_TRUE(plain.Synchronize);

    host.Synchronize = wide.Synchronize = false;
    manager->SetActiveCamera(TString<char>("Cam_Host"));
    EXPECT_TRUE(host.Synchronize && wide.Synchronize);  // both refreshed by the renderer
    set.m_Cameras.clear();
    SetEndKey(host, nullptr);
    SetEndKey(wide, nullptr);
}

}  // namespace
