#include "gameservices/minigame/BehaviorManager.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "tests/gameservices/minigame/BehaviorTestSetup.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using namespace GameServices;
using MiniGame::BehaviorAction;
using MiniGame::BehaviorManager;
using behavior_test::Behavior;
using behavior_test::RecordingAnimation;

namespace {

// The host file loaded, and a behaviour of its "Host" entry.
class BehaviorManagerTest : public ::testing::Test {
protected:
    BehaviorManagerTest() { manager.LoadBehaviors(host.c_str()); }

    TempDir dir;
    std::string host = dir.Write("host.xml", behavior_test::kHostFile);
    std::string more = dir.Write("more.xml", behavior_test::kMoreFile);
    BehaviorManager manager;
    Entities::Entity entity{"hostEntity"};
    Behavior behavior{&entity, "Host", "HostTpl"};
};

TEST_F(BehaviorManagerTest, TablesTransitionsKindsAndParameterBinding) {
    LogCapture log;
    manager.InitializeBehavior(behavior, "");
    ASSERT_EQ(behavior.m_Actions.size(), 6u);
    const BehaviorAction& idle = behavior.m_Actions[0];
    EXPECT_EQ(idle.m_InAnimation + idle.m_LoopAnimation + idle.m_OutAnimation, "in.anmidle.anmout.anm");
    EXPECT_EQ(idle.m_Skin.m_ModelTypes, (std::vector<i32>{0, 7}));

    // "AllActions": every action of the table, itself included, with one time.
    ASSERT_EQ(idle.m_Transitions.size(), behavior.m_Actions.size());
    for (size_t i = 0; i < idle.m_Transitions.size(); ++i) {
        EXPECT_EQ(idle.m_Transitions[i].m_Target, &behavior.m_Actions[i]);
        EXPECT_EQ(idle.m_Transitions[i].m_Time, 0.25f);
    }
    // A list in written order; an unknown name is reported and skipped.
    const BehaviorAction& wave = behavior.m_Actions[1];
    ASSERT_EQ(std::pair(wave.m_Transitions.size(), behavior.m_Transitions.size()), std::pair(2ul, 1ul));
    EXPECT_EQ(wave.m_Transitions[1].m_Target, &behavior.m_Actions[1]);
    EXPECT_TRUE(log.Contains("Can not find this BehaviorAction for this action Nope"));
    EXPECT_EQ(behavior.m_Transitions[0].m_InAnimation, "A.anm");

    // Playing starts each kind, then sets its speed.
    struct Case {
        const char* action;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"Wave", {"Start 1:wave.anm t0 m3 r-1 0..-1", "Speed 1:wave.anm 0.5"}},
        {"Idle", {"Start 0/Body:idle.anm t0 m6 r-1 0..-1", "Speed 0/Body:idle.anm 2.5"}},
        {"Glow", {"Start 2:shine t0 m5 r-1 0..-1", "Speed 2:shine 1"}},
        {"Scroll", {"Start 3:belt t0 m1 r-1 0..-1", "Speed 3:belt 1"}},
        {"Cam", {"Start 4: t0 m4 r1 0..-1", "Speed 4: 1"}},
        {"Bogus", {}},
        {"Nope", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        RecordingAnimation recorder;
        manager.PlayAction(behavior, c.action);
        EXPECT_EQ(recorder.Lines(), c.calls);
    }

    // A replay of the current action takes its own mode unless given one, and the keys' frames.
    RecordingAnimation animation;
    behavior.current = "Idle";
    manager.ReplayCurrentAction(behavior, -1, "currentKey", "endKey");
    manager.ReplayCurrentAction(behavior, 3, "KeyPause", "currentKey");
    manager.ReplayCurrentAction(behavior, 3, "NoSuchKey", "currentKey");  // an unknown key names no frame
    EXPECT_EQ(animation.Lines(), (std::vector<std::string>{"Replay 0/Body:idle.anm m6 -1..-1",
                                                           "Replay 0/Body:idle.anm m3 10..-1",
                                                           "Replay 0/Body:idle.anm m3 -1..-1"}));
    // Parameters bind by the variables type and a merged file appends.
    i32 count = 0;
    f32 scale = 0.0f;
    long big = 0;
    bool shout = true, loud = false, untouched = true;
    TString<char> word, blank("keep"), missing("keep");
    for (auto [name, flag] : {std::pair{"shout", &shout}, {"loud", &loud}, {"blank", &untouched}})
        manager.BindParameter(behavior, name, flag);
    const std::pair<const char*, TString<char>*> texts[] = {{"word", &word}, {"blank", &blank}, {"missing", &missing}};
    for (const auto& [name, text] : texts)
        manager.BindParameter(behavior, name, text);
    manager.BindParameter(behavior, "count", &count);
    manager.BindParameter(behavior, "scale", &scale);
    manager.BindParameter(behavior, "big", &big);
    EXPECT_EQ(std::tuple(count, scale, big), std::tuple(12, 2.5f, -7L));
    // Only the exact text "true" is true; empty and missing values leave the variables.
    EXPECT_EQ(std::vector<bool>({shout, loud, untouched}), std::vector<bool>({false, true, true}));
    EXPECT_EQ(word + blank + missing, "hellokeepkeep");

    // A file merged (once) appends the entities of a behaviour already known and adds a new one.
    manager.MergeBehaviors(more.c_str());
    manager.MergeBehaviors(more.c_str());
    const auto& behaviors = manager.GetDefinitions().Behaviors;
    // The speed after a skin without models is read as a field.
    EXPECT_TRUE(behaviors.size() == 2u && behaviors[0].Entities.size() == 3u && behaviors[1].Name == "Extra" &&
                behaviors[0].Entities[1].Actions[0].Speed == 3.0f);
}

// Damaged behaviour files load without reading outside their records.
TEST_F(BehaviorManagerTest, DamagedFilesLoad) {
    std::mt19937 random(27);
    LogCapture quiet;
    for (int i = 0; i < 5000; ++i) {
        std::string text = behavior_test::kHostFile;
        DamageBytes(text, random, 1 + int(random() % 6));
        const std::string path = dir.Write("damaged" + std::to_string(i) + ".xml", text);
        manager.LoadBehaviors(path.c_str());
        manager.InitializeBehavior(behavior, "");
        for (const BehaviorAction& action : behavior.m_Actions)
            for (const auto& entry : action.m_Transitions)
                ASSERT_TRUE(entry.m_Target >= &behavior.m_Actions.front() &&
                            entry.m_Target <= &behavior.m_Actions.back());
        behavior.m_Transitions.clear();
    }
}

}  // namespace
