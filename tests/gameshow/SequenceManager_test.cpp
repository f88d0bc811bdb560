// The sequence manager and its files, the entity sequencer, and the game-show cameras with their
// sequencer.
#include "gameshow/SequenceManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/core/AGMemory.h"
#include "engine/core/Crc32Hash.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/TypeIds.h"
#include "gameshow/GameShowCamera.h"
#include "gameshow/Sequencers.h"
#include "tests/gameservices/minigame/BehaviorTestSetup.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/gameshow/PageTestSetup.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using namespace GameShow;

namespace {

// Records "name:target:parameter" of each event and runs a hook for chosen event names.
class RecordingSequencer : public ISequencer {
public:
    void onSequenceEvent(const TString<char>& name, const TString<char>& target,
                         const TString<char>& parameter) override {
        events->push_back(std::string(name.c_str()) + ":" + target.c_str() + ":" + parameter.c_str());
        if (hook)
            hook(name.c_str());
    }

    std::vector<std::string>* events = nullptr;
    std::function<void(const std::string&)> hook;
};

std::string Event(const std::string& name) {
    return "<item sequencer=\"Rec\" name=\"" + name + "\" target=\"t\" parameter=\"p\"/>";
}

// A sequence file: start event "<tag>-start", an act per time (named "<tag>@<time>", or
// "<tag>@-" without a time), end and skip events.
std::string SequenceFile(const std::string& tag, int duration, bool skippable,
                         const std::vector<std::string>& times) {
    std::string acts;
    for (const std::string& time : times)
        acts += (time.empty() ? "<item>" : "<item time=\"" + time + "\">") + std::string("<Events>") +
                Event(tag + "@" + (time.empty() ? "-" : time)) + "</Events></item>";
    return "<root><Sequence duration=\"" + std::to_string(duration) + "\" skippable=\"" +
           (skippable ? "true" : "false") + "\"><OnStart><Events>" + Event(tag + "-start") +
           "</Events></OnStart><Acts>" + acts + "</Acts><OnEnd><Events>" + Event(tag + "-end") +
           "</Events></OnEnd><OnSkip><Events>" + Event(tag + "-skip") + "</Events></OnSkip></Sequence></root>";
}

class SequenceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        sequencer.events = &events;
        manager.RegisterSequencer(Crc32Hash("Rec"), &sequencer);
        manager.SetEnabled(true);
        manager.GetSequenceEndedEvent().AddDelegate(&ended);
    }

    void Load(const std::string& name, int duration, bool skippable, const std::vector<std::string>& times) {
        const std::string file = dir.Write(name + ".xml", SequenceFile(name, duration, skippable, times));
        manager.LoadSequence(name.c_str(), file.c_str());
    }

    void OnEnded() { events.push_back("ended"); }

    TempDir dir;
    std::vector<std::string> events;
    RecordingSequencer sequencer;
    SequenceManager manager;
    FDelegate<SequenceManagerTest> ended{this, &SequenceManagerTest::OnEnded};
};

std::vector<std::string> EventNames(const std::vector<std::string>& events) {
    std::vector<std::string> names;
    for (const std::string& event : events)
        names.push_back(event.substr(0, event.find(':')));
    return names;
}

TEST_F(SequenceManagerTest, ActsFireInTheUpdateWhoseIntervalHoldsTheirTime) {
    Load("a", 1000, false, {"400", "0", "399", "", "-5", "400", "799", "800", "1199", "1200"});
    manager.PlaySequence("a");
    manager.Update(0);
    EXPECT_EQ(events, std::vector<std::string>{"a-start:t:p"});
    events.clear();
    using Step = std::vector<std::string>;
    for (const Step& step : {Step{"a@0", "a@399", "a@-"}, Step{"a@400", "a@400", "a@799"},
                             Step{"a@800", "a@1199", "a-end", "ended"}, Step{}}) {
        manager.Update(400);
        EXPECT_EQ(EventNames(events), step);
        events.clear();
    }
    EXPECT_EQ(manager.GetCurrentSequence(), nullptr);

    // Paused or disabled, the clock stands still.
    manager.PlaySequence("a");
    manager.SetPaused(true);
    manager.Update(400);
    manager.SetPaused(false);
    manager.SetEnabled(false);
    manager.Update(400);
    manager.SetEnabled(true);
    manager.Update(400);  // from the start again
    EXPECT_EQ(EventNames(events), (std::vector<std::string>{"a-start", "a@0", "a@399", "a@-"}));
}

TEST_F(SequenceManagerTest, UnreadableDamagedAndUnknownSequences) {
    LogCapture log;
    manager.LoadSequence("bad", dir.File("missing.xml").c_str());
    manager.PlaySequence("bad");
    manager.Update(0);
    EXPECT_TRUE(log.Contains("Can't open the sequence xml: ") && events.empty());
    manager.Update(1);
    EXPECT_EQ(events, std::vector<std::string>{"ended"});

    Load("a", 1000, false, {});
    manager.PlaySequence("a");
    events.clear();
    manager.PlaySequence("nothing");
    EXPECT_TRUE(EventNames(events) == std::vector<std::string>({"a-end", "ended"}) && !manager.GetCurrentSequence());

    // Loading a present name keeps the first; an event of no known sequencer is reported.
    manager.LoadSequence("a", dir.Write("other.xml", SequenceFile("x", 5, true, {})).c_str());
    EXPECT_EQ(manager.FindSequence(Crc32Hash("a"))->m_Duration, 1000);
    const std::string blind = "<root><Sequence><OnStart><Events><item name=\"n\"/></Events></OnStart><Acts/>"
                              "<OnEnd><Events/></OnEnd></Sequence></root>";
    manager.LoadSequence("blind", dir.Write("blind.xml", blind).c_str());
    manager.PlaySequence("blind");
    EXPECT_TRUE(log.Contains("can't find the sequencer ''") && manager.UnregisterSequencer(Crc32Hash("Rec")));

    // Damaged sequence files load and play without reading outside their records.
    std::mt19937 random(27);
    const std::string text = SequenceFile("f", 300, true, {"0", "", "120", "-3", "299"});
    for (int i = 0; i < 5000; ++i) {
        std::string damaged = text;
        DamageBytes(damaged, random, 1 + int(random() % 6));
        SequenceManager fresh;
        fresh.RegisterSequencer(Crc32Hash("Rec"), &sequencer);
        fresh.SetEnabled(true);
        fresh.LoadSequence("f", dir.Write("f" + std::to_string(i) + ".xml", damaged).c_str());
        fresh.PlaySequence("f");
        fresh.Update(random() % 400);
        fresh.Skip();
        fresh.Update(u32(random()));
    }
}

// Sequences removed while their events fire, replaced or skipped, end in order.
TEST_F(SequenceManagerTest, SequencesRemovedReplacedOrSkippedEndInOrder) {
    // Long names, each a heap block of its own: the removed sequence is freed once the outermost event returns.
    const std::string a(250, 'a');
    u64 held = 0;
    Load(a, 1000, false, {"0", "10"});
    sequencer.hook = [&](const std::string& name) {
        if (name == a + "@0" && manager.RemoveSequence(Crc32Hash(a.c_str())))
            held = GetHeapCounters().current;
        // Removed by its own skip event, which then calls the manager again: its end events still fire.
        if (name == "s-skip" && manager.RemoveSequence(Crc32Hash("s"))) {
            manager.PlaySequence("s");  // unknown now
            Load("d", 1000, true, {});  // would take the memory of an "s" freed too early
        }
    };
    manager.PlaySequence(a.c_str());
    manager.Update(100);
    EXPECT_TRUE(!manager.GetCurrentSequence() && !manager.RemoveSequence(Crc32Hash(a.c_str())) &&
                GetHeapCounters().current + 3 * a.size() <= held);
    Load("s", 1000, true, {});
    manager.PlaySequence("s");
    manager.Skip();
    EXPECT_EQ(EventNames(events), (std::vector<std::string>{a + "-start", a + "@0", "s-start", "s-skip", "s-end", "ended"}));

    Load("a", 1000, false, {"0"});
    sequencer.hook = [&](const std::string& name) {
        if (name == "a-start")
            manager.Reset();
    };
    manager.PlaySequence("a");
    EXPECT_TRUE(!manager.GetCurrentSequence() && !manager.IsEnabled() && !manager.FindSequence(Crc32Hash("a")));

    // Replaced or skipped, the ends fire in order: the names played ("skip" skips), the events fired.
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{"hard", "soft"}, {"hard-start", "hard-end", "ended", "soft-start"}},
        {{"soft", "hard"}, {"soft-start", "soft-skip", "soft-end", "ended", "hard-start"}},
        {{"hard", "skip"}, {"hard-start"}},
        {{"soft", "skip", "skip"}, {"soft-start", "soft-skip", "soft-end", "ended"}},
    };
    for (const auto& [calls, fired] : cases) {
        manager.SetPaused(true);
        manager.Reset();  // forgets the sequencers and the pause too
        EXPECT_TRUE(!manager.IsPaused() && manager.RegisterSequencer(Crc32Hash("Rec"), &sequencer));
        Load("hard", 1000, false, {});
        Load("soft", 1000, true, {});
        events.clear();
        for (const std::string& call : calls)
            call == "skip" ? manager.Skip() : manager.PlaySequence(call.c_str());
        EXPECT_EQ(EventNames(events), fired);
    }
    manager.PlaySequence("soft");
    manager.SetPaused(true);
    manager.Skip();  // ended while paused, it leaves the manager running
    EXPECT_FALSE(manager.IsPaused());
}

// Keys chain at the head of their bucket; a present key is refused.
TEST(HashTable, ChainsKeysAndRefusesDuplicates) {
    HashTable<int> twenty(20);
    EXPECT_TRUE(twenty.Insert(1, 10) && twenty.Insert(21, 20) && !twenty.Insert(1, 30));
    EXPECT_EQ(twenty.KeysOfBucket(twenty.BucketOf(1)), (std::vector<u32>{21, 1}));
    EXPECT_TRUE(*twenty.Find(1) == 10 && twenty.Remove(21) && !twenty.Remove(21) && twenty.Count() == 1);
    twenty.Clear();
    EXPECT_TRUE(twenty.Count() == 0 && !twenty.Find(1));
}

class Screen : public ISequenceableEntity {
public:
    void onSequenceEvent(const TString<char>& name, const TString<char>& parameter) override {
        calls.push_back(std::string(name.c_str()) + ":" + parameter.c_str());
    }
    std::vector<std::string> calls;
};

// The entity sequencer forwards to the entity named by the target, while registered. The camera
// sequencer activates the named camera of its set, initializing it only when it was inactive;
// other events, other sets' cameras and a missing set change nothing.
TEST(Sequencers, EntityAndCameraSequencers) {
    EntitySequencer entities;
    Screen screen;
    EXPECT_TRUE(entities.Register(Crc32Hash("ScreenGame"), &screen));
    entities.onSequenceEvent("ShowComponent", "ScreenGame", "SoftKeyboard");
    EXPECT_EQ(screen.calls, std::vector<std::string>{"ShowComponent:SoftKeyboard"});
    LogCapture log;
    EXPECT_TRUE(entities.Unregister(Crc32Hash("ScreenGame")));
    entities.onSequenceEvent("HideComponent", "ScreenGame", "SoftKeyboard");
    EXPECT_TRUE(screen.calls.size() == 1 &&
                log.Contains("EntitySequencer : can't find the Sequenceable Entity called 'ScreenGame' !!!"));

    struct CountedCamera : GameServices::Entities::Camera {
        using Camera::Camera;
        void Initialize() override { ++initialized; }
        int initialized = 0;
    } camera("Cam");
    GameServices::Entities::Set set("studio");
    set.m_Cameras = {&camera};
    camera.Activate = camera.Synchronize = false;
    CameraSequencer sequencer;
    sequencer.onSequenceEvent("SetActiveCamera", "Cam", "");
    sequencer.SetSet(&set);
    sequencer.onSequenceEvent("Other", "Cam", "");
    EXPECT_FALSE(camera.Activate || camera.initialized);
    for (const char* target : {"Nowhere", "Cam", "Cam"})
        sequencer.onSequenceEvent("SetActiveCamera", target, "");
    EXPECT_TRUE(camera.Activate && camera.Synchronize && camera.initialized == 1);
    EXPECT_TRUE(log.Contains("the set is NULL") && log.Contains("can't find the camera 'Nowhere'"));
}

// The game-show camera sequencer makes the set's named game-show camera the active one, both it
// and the one it leaves out of date for the rendering system to push; the active one alone
// follows the frames and plays its action of the sample camera behaviours (keys KeyWide
// 40, KeyHost 90); the animation event replays the active camera's action up to its end key.
TEST(Sequencers, GameShowCameraSequencer) {
    LogCapture log;
    GameServices::Entities::Set set("studio");
    TempDir dir;
    pagetest::CopySample(dir, "-xml/global/camerasbehaviors.xml", "global/camerasbehaviors.xml");
    GameServices::Bridge::FileSystem::Destroy();
    GameServices::Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
    GameServices::MiniGame::BehaviorManager::Instance()->ResetBehaviors();
    widget_test::TestGame game;
    behavior_test::RecordingAnimation animation;
    GameShowCamera host("Cam_Host"), wide("Cam_Wide");
    GameServices::Entities::Camera plain("LevelCam");
    namespace Types = GameServices::Entities::TypeIds;
    EXPECT_TRUE(host.IsA(GameShowCamera::kTypeId) && host.IsA(Types::Camera) && !host.IsA(Types::Set));
    for (auto [camera, key] : {std::pair{&host, "KeyHost"}, std::pair{&wide, "KeyWide"}}) {
        sGameShowApplicationDataCameras data;  // a copy goes on, as the level builder gives it
        data.EndKey = key;
        camera->Attributes.m_Map[GameServices::Entities::TypeIds::ApplicationDataKey] = data.Clone();
    }
    plain.Activate = wide.Activate = wide.Synchronize = false;
    set.m_Cameras = {&plain, &host, &wide};
    game.level = &set;
    GameShowCameraSequencer gameShow;
    gameShow.onInitialize(&set);
    GameShowCameraManager& cameras = *GameShowCameraManager::Instance();
    EXPECT_EQ(cameras.GetActiveCamera(), &host);
    host.Initialize();
    host.Initialize();  // on the frame event once
    // The event and its target, the camera active after it, the animation calls of the event and
    // the next frame.
    using Step = std::tuple<const char*, const char*, GameShowCamera*, std::vector<std::string>>;
    size_t seen = animation.Lines().size();
    for (const auto& [event, target, active, calls] : std::vector<Step>{
             {"PlayCameraAnimation", "Cam_Host", &host, {"Replay 4: m3 0..90"}},
             {"SetActiveCamera", "Cam_Wide", &wide, {"Start 4: t0 m3 r1 -1..-1", "Speed 4: 1"}},
             {"SetActiveCamera", "Nowhere", &wide, {}},
             {"SetActiveCamera", "LevelCam", &wide, {}},
             {"PlayCameraAnimation", "Cam_Host", &wide, {"Replay 4: m3 0..40"}}}) {
        gameShow.onSequenceEvent(event, target, "");
        game.flow.GetFrameEvent().Fire(16);
        const std::vector<std::string> all = animation.Lines();
        EXPECT_EQ(std::vector<std::string>(all.begin() + long(seen), all.end()), calls) << event << " " << target;
        seen = all.size();
        EXPECT_TRUE(cameras.GetActiveCamera() == active && host.Activate == (active == &host) &&
                    host.Synchronize == (active == &host) && !wide.Synchronize && game.FrameDelegates() == 1);
    }
    // Speed and key requests also wait for the next frame.
    GameShowBehaviorCamera& behavior = wide.GetBehaviorCamera();
    behavior.speedRequested = behavior.listenRequested = behavior.unlistenRequested = true;
    behavior.speed = 2;
    behavior.listenKey = behavior.unlistenKey = "KeyWide";
    game.flow.GetFrameEvent().Fire(16);
    EXPECT_FALSE(behavior.replayRequested || behavior.speedRequested || behavior.listenRequested ||
                 behavior.unlistenRequested);
    const std::vector<std::string> all = animation.Lines();
    EXPECT_EQ(std::vector<std::string>(all.begin() + long(seen), all.end()),
              (std::vector<std::string>{"Speed 4: 2", "AddKey 4: @40", "RemoveKey 4: @40"}));
    // A reset or deleted camera leaves the frame event, and the manager forgets a deleted one.
    wide.Reset();
    {
        GameShowCamera gone("Cam_Gone");
        gone.Initialize();
        cameras.SetActiveCamera(&gone);
    }
    EXPECT_TRUE(game.FrameDelegates() == 0 && cameras.GetActiveCamera() == nullptr &&
                log.Contains("Missing applicationData  for the Camera!"));
    cameras.SetSet(nullptr);
    set.m_Cameras.clear();
    host.Attributes.Clear();
    wide.Attributes.Clear();
    GameServices::Bridge::FileSystem::Destroy();
}

}  // namespace
