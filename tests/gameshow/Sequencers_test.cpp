#include "gameshow/Sequencers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Set.h"
#include "tests/support/LogCapture.h"

using namespace GameShow;
using GameServices::Entities::Camera;
using GameServices::Entities::Set;

namespace {

class Screen : public ISequenceableEntity {
public:
    void onSequenceEvent(const TString<char>& name, const TString<char>& parameter) override {
        calls.push_back(std::string(name.c_str()) + ":" + parameter.c_str());
    }
    std::vector<std::string> calls;
};

class CountingCamera : public Camera {
public:
    explicit CountingCamera(const char* name) : Camera(name) {}
    void Initialize() override { ++initialized; }
    int initialized = 0;
};

TEST(EntitySequencer, ForwardsToTheEntityNamedByTheTarget) {
    EntitySequencer sequencer;
    Screen screen;
    EXPECT_TRUE(sequencer.Register(Crc32Hash("ScreenGame"), &screen));
    sequencer.onSequenceEvent("ShowComponent", "ScreenGame", "SoftKeyboard");
    EXPECT_EQ(screen.calls, std::vector<std::string>{"ShowComponent:SoftKeyboard"});

    LogCapture log;
    EXPECT_TRUE(sequencer.Unregister(Crc32Hash("ScreenGame")));
    sequencer.onSequenceEvent("HideComponent", "ScreenGame", "SoftKeyboard");
    EXPECT_EQ(screen.calls.size(), 1u);
    EXPECT_TRUE(log.Contains("EntitySequencer : can't find the Sequenceable Entity called 'ScreenGame' !!!"));
}

TEST(CameraSequencer, ActivatesTheSetsCamera) {
    LogCapture log;
    CameraSequencer sequencer;
    sequencer.onSequenceEvent("SetActiveCamera", "LevelCam01", "");
    EXPECT_TRUE(log.Contains("the set is NULL !!!"));

    Set set("level");
    CountingCamera idle("LevelCam01"), live("LevelCam02");
    idle.Activate = false;
    idle.Synchronize = false;
    live.Synchronize = false;
    set.m_Cameras = {&idle, &live};
    sequencer.SetSet(&set);
    sequencer.onSequenceEvent("SetActiveCamera", "Nowhere", "");
    EXPECT_TRUE(log.Contains("can't find the camera 'Nowhere'"));

    sequencer.onSequenceEvent("Zoom", "LevelCam01", "");
    EXPECT_EQ(idle.initialized, 0);
    EXPECT_FALSE(idle.Activate);
    sequencer.onSequenceEvent("SetActiveCamera", "LevelCam01", "");
    sequencer.onSequenceEvent("SetActiveCamera", "LevelCam02", "");
    EXPECT_EQ(idle.initialized, 1);
    EXPECT_EQ(live.initialized, 0);  // active already
    EXPECT_TRUE(idle.Activate && idle.Synchronize && live.Synchronize);
    set.m_Cameras.clear();
}

}  // namespace
