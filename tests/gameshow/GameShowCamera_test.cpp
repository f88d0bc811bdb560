#include "gameshow/GameShowCamera.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/TypeIds.h"
#include "gameshow/Sequencers.h"
#include "tests/gameservices/minigame/BehaviorTestSetup.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using namespace GameShow;
using GameServices::Entities::Camera;
using GameServices::Entities::Set;
using GameServices::MiniGame::BehaviorManager;
using Lines = std::vector<std::string>;

namespace {

struct ShowGame : widget_test::TestGame {
    Set* GetCurrentLevel() override { return level; }
    Set* level = nullptr;
};

// Replaces the camera's application data; null leaves it without any.
void SetEndKey(Camera& camera, const char* key) {
    camera.Attributes.Clear();
    if (!key)
        return;
    auto* data = new sGameShowApplicationDataCameras();
    data->EndKey = key;
    camera.Attributes.m_Map[GameServices::Entities::TypeIds::ApplicationDataKey] = data;
}

// Cameras over the sample camera behaviours (keys KeyWide 40, KeyHost 90, KeyEnd 150), with
// a recording animation double and a game whose frame event drives the cameras.
class GameShowCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("TALLYVOX_DATA"), nullptr);
        std::filesystem::copy_file(std::string(std::getenv("TALLYVOX_DATA")) + "/global/camerasbehaviors.xml",
                                   dir.Write("-xml/global/camerasbehaviors.xml", ""),
                                   std::filesystem::copy_options::overwrite_existing);
        GameServices::Bridge::FileSystem::Destroy();
        GameServices::Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
        BehaviorManager::Instance()->ResetBehaviors();
    }
    void TearDown() override {
        GameShowCameraManager::Instance()->SetSet(nullptr);
        GameShowCameraManager::Instance()->SetActiveCamera(nullptr);
        GameServices::Bridge::FileSystem::Destroy();
    }
    // The animation calls made since the last look.
    Lines Calls() {
        Lines all = animation.Lines();
        Lines fresh(all.begin() + long(seen), all.end());
        seen = all.size();
        return fresh;
    }

    TempDir dir;
    ShowGame game;
    behavior_test::RecordingAnimation animation;
    size_t seen = 0;
};

TEST_F(GameShowCameraTest, SequencerSwitchesTheSetsCamerasAndPlaysTheActiveEndKey) {
    LogCapture log;
    GameShowCameraSequencer sequencer;
    sequencer.onSequenceEvent("SetActiveCamera", "Cam_Host", "");
    EXPECT_TRUE(log.Contains("GameShowCameraSequencer::onSequenceEvent : the set is NULL !!!"));

    Set set("studio");
    GameShowCamera host("Cam_Host"), wide("Cam_Wide"), bare("Cam_Bare");
    Camera plain("LevelCam");
    SetEndKey(host, "KeyHost");
    SetEndKey(wide, "KeyWide");
    plain.Activate = wide.Activate = bare.Activate = false;
    set.m_Cameras = {&plain, &host, &wide, &bare};
    game.level = &set;
    sequencer.onInitialize(&set);
    GameShowCameraManager* manager = GameShowCameraManager::Instance();
    EXPECT_EQ(manager->GetActiveCamera(), &host);
    host.Initialize();
    host.Initialize();

    const Lines play{"Start 4: t0 m3 r1 -1..-1", "Speed 4: 1"};
    struct Step {
        const char* event;
        const char* target;
        GameShowCamera* active;
        Lines calls;  // of the event and the next frame
    };
    const Step steps[] = {
        {"PlayCameraAnimation", "Cam_Host", &host, {"Replay 4: m3 0..90"}},
        {"SetActiveCamera", "Cam_Wide", &wide, play},
        {"SetActiveCamera", "Nowhere", &wide, {}},
        {"SetActiveCamera", "LevelCam", &wide, {}},
        {"PlayCameraAnimation", "Cam_Host", &wide, {"Replay 4: m3 0..40"}},
        {"SetActiveCamera", "Cam_Bare", &bare, play},
        {"PlayCameraAnimation", "Cam_Bare", &bare, {"Replay 4: m3 0..-1"}},
    };
    Calls();
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.event) + " " + s.target);
        GameShowCamera* before = manager->GetActiveCamera();
        host.Synchronize = wide.Synchronize = bare.Synchronize = false;
        sequencer.onSequenceEvent(s.event, s.target, "");
        game.flow.GetFrameEvent().Fire(16);
        EXPECT_EQ(manager->GetActiveCamera(), s.active);
        EXPECT_EQ(Calls(), s.calls);
        EXPECT_EQ(host.Activate, s.active == &host);
        EXPECT_EQ(wide.Activate, s.active == &wide);
        EXPECT_EQ(before->Synchronize && s.active->Synchronize, s.calls == play);  // both refreshed
        EXPECT_EQ(game.flow.GetFrameEvent().Count(), 1u);  // only the active camera is updated
    }
    EXPECT_TRUE(log.Contains("Missing applicationData  for the Camera!"));

    // A reset or deleted camera leaves the frame event.
    bare.Reset();
    EXPECT_EQ(game.flow.GetFrameEvent().Count(), 0u);
    {
        GameShowCamera gone("Cam_Gone");
        gone.Initialize();
        manager->SetActiveCamera(&gone);
    }
    EXPECT_EQ(game.flow.GetFrameEvent().Count(), 0u);
    EXPECT_EQ(manager->GetActiveCamera(), nullptr);
    set.m_Cameras.clear();
    SetEndKey(host, nullptr);
    SetEndKey(wide, nullptr);
}

}  // namespace
