// The stage's entities and behaviours over behaviour files written here, with a recording
// double of the entity animations and a game whose frame event ticks the entities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <random>

#include "game/presentation/Board.h"
#include "game/presentation/QZApplicationData.h"
#include "game/presentation/QZBuzzLightProps.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/QZStageProps.h"
#include "game/presentation/ScoreProps.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/game/CharacterManager.h"
#include "tests/gameservices/minigame/BehaviorTestSetup.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using namespace QZ2011;
using GameServices::MiniGame::BehaviorManager;
using Lines = std::vector<std::string>;

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}
std::string Item(const std::string& name, const std::string& body) {
    return "<item><Name>" + name + "</Name>" + body + "</item>";
}
// A model animation named after the action (or prefix + action), or a skin animation with
// transitions to every action after 0.25 s.
std::string Action(const std::string& name, const std::string& more = "", bool skin = false,
                   const std::string& prefix = "") {
    return Item(name, std::string("<ActionType>") + (skin ? "SkinAnimation" : "ModelAnimation") + "</ActionType>" +
                          "<LoopAnimation>" + prefix + Lower(name) + "</LoopAnimation>" + more +
                          (skin ? "<Skin name=\"S\"/><Transitions><Time>0.25</Time><Actions>AllActions</Actions>"
                                  "</Transitions>"
                                : ""));
}
std::string Template(const std::string& name, const std::string& actions, const std::string& more = "") {
    return Item(name, "<Actions>" + actions + "</Actions>" + more);
}
std::string File(const std::string& behaviors) {
    return "<root><RootBehavior><Behaviors>" + behaviors + "</Behaviors></RootBehavior></root>";
}
std::string Key(const char* name, int frame) {
    return Item(name, "<Frame>" + std::to_string(frame) + "</Frame>");
}

std::string StageFile() {
    const std::string block = Action("BlockFront", "<Keys>" + Key("StartIFL", 12) + "</Keys>") + Action("BlockBack") +
                              Action("BuzzAnim");
    std::string blocks = Template("Block_01", block, "<Transitions>" + Item("t", "") + "</Transitions>");
    blocks += Template("BuzzerLeft", Action("BlockFront", "", false, "left_") + Action("BuzzAnim", "", false, "left_"));
    const std::string keys = "<Keys>" + Key("KeyPause", 30) + Key("logo", 5) + Key("empty", 7) + "</Keys>";
    return File(Item("Board", "<Entities>" + blocks + "</Entities>") +
                Item("BuzzLight", "<Entities>" + Template("Light", Action("AnimIFL")) + "</Entities>") +
                Item("StageBehavior", "<Entities>" + Template("wall", Action("AnimIFL", keys)) + "</Entities>"));
}

std::string ScoreFile() {
    const std::string digits = Action("Hundred") + Action("Ten") + Action("Unit");
    return File(Item("ScoreBehavior",
                     "<Entities>" + Template("BoardScore", digits) + Template("DeskScore", digits) + "</Entities>"));
}

// "CharacterMale1" walks for 500 ms; the other sets keep the default.
std::string CharacterFile() {
    std::string actions;
    for (const char* name : {"Salutation01", "Walk", "WaitForBuzz", "BuzzLeft", "BuzzRight", "Think", "Clap1",
                             "Pose70EasyM1", "Pose80HardF1", "Pose00FamilyF2"})
        actions += Action(name, "", true);
    for (const char* name : {"WinSmall", "WinBig", "LoseSmallFamily"})
        actions += Action(name, "<PlayMode>once</PlayMode>", true);
    std::string sets = Template("CharacterMale1", actions,
                                "<Parameters>" + Item("ChangeWalkAnimTime", "<Value>500</Value>") + "</Parameters>");
    for (const char* name : {"CharacterMale2", "CharacterFemale1", "CharacterFemale2"})
        sets += Template(name, actions);
    return File(Item("MaleAvatar", "<Entities>" + sets + "</Entities>"));
}

// Records the calls (unless quiet) and keeps the key listeners, so that a test can fire them.
class KeyedAnimation : public behavior_test::RecordingAnimation {
public:
    using Entity = behavior_test::Entity;
    using Target = behavior_test::Target;
    void Start(Entity& e, const Target& t, f32 time, i32 mode, f32 rate, i32 from, i32 to) override {
        if (!quiet)
            RecordingAnimation::Start(e, t, time, mode, rate, from, to);
    }
    void Replay(Entity& e, const Target& t, i32 mode, i32 from, i32 to) override {
        if (!quiet)
            RecordingAnimation::Replay(e, t, mode, from, to);
    }
    void SetSpeed(Entity&, const Target&, f32) override {}
    i32 GetEndFrame(Entity&, const Target&) override { return endFrame; }
    void AddKey(Entity& e, const Target& t, i32 frame, IDelegate* l) override {
        if (!quiet)
            RecordingAnimation::AddKey(e, t, frame, l);
        listeners.push_back(l);
    }
    void RemoveKey(Entity& e, const Target& t, i32 frame, IDelegate* l) override {
        if (!quiet)
            RecordingAnimation::RemoveKey(e, t, frame, l);
        auto it = std::find(listeners.begin(), listeners.end(), l);
        if (it != listeners.end())
            listeners.erase(it);
    }
    void FireKeys() {
        for (IDelegate* listener : std::vector<IDelegate*>(listeners))
            listener->Invoke();
    }

    bool quiet = false;
    std::vector<IDelegate*> listeners;
};

class StageTest : public ::testing::Test {
protected:
    void SetUp() override {
        Write(StageFile(), ScoreFile(), CharacterFile());
        BehaviorManager::Instance()->ResetBehaviors();
    }
    void TearDown() override {
        BehaviorManager::Instance()->ResetBehaviors();
        GameServices::Bridge::FileSystem::Destroy();
    }
    void Write(const std::string& stage, const std::string& score, const std::string& characters) {
        dir.Write("-xml/levels/stagebehaviors.xml", stage);
        dir.Write("-xml/levels/scorebehaviors.xml", score);
        dir.Write("-xml/levels/behaviors.xml", characters);
        GameServices::Bridge::FileSystem::Destroy();
        GameServices::Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
    }
    // The animation calls since the last look.
    Lines Calls() {
        Lines all = animation.Lines();
        Lines fresh(all.begin() + long(seen), all.end());
        seen = all.size();
        return fresh;
    }
    void Frame(u32 milliseconds = 16) { game.flow.GetFrameEvent().Fire(milliseconds); }

    TempDir dir;
    widget_test::TestGame game;
    KeyedAnimation animation;
    LogCapture log;
    size_t seen = 0;
};

TEST_F(StageTest, ScoreDigitsHoldTheirFramesWithBlankLeadingZeros) {
    ScoreDeskProps desk;
    desk.Initialize();
    // The first row is the built state; 'A' is the blank frame 10.
    struct Case { i32 value; const char* digits; };
    const Case cases[] = {{-1, "AAA"}, {0, "AA0"},   {7, "AA7"},   {10, "A10"},   {40, "A40"},   {100, "100"},
                          {105, "105"}, {300, "300"}, {-1, "AAA"}, {1000, "999"}, {54321, "999"}};
    for (size_t row = 0; row < std::size(cases); ++row) {
        if (row > 0) {
            desk.m_Behavior.Value = cases[row].value;
            desk.m_Behavior.UpdateRequest = 1;
        }
        Frame();
        Frame();  // shown once per request
        Lines expected;
        for (int i = 0; i < 3; ++i) {
            const char digit = cases[row].digits[i];
            const std::string frame = digit == 'A' ? "10" : std::string(1, digit);
            expected.push_back(std::string("Start 1:") + (i == 0 ? "hundred" : i == 1 ? "ten" : "unit") + " t0 m1 r-1 " +
                               frame + ".." + frame);
        }
        EXPECT_EQ(Calls(), expected) << cases[row].value;
    }
}

// Requests set together are served one per frame in their fixed order.
TEST_F(StageTest, BuzzLightBoardAndStageServeTheirRequestsInOrder) {
    QZBuzzLightProps light;
    Board board;
    QZStageProps stage;
    auto* data = new QZApplicationDataProps();
    data->TemplateBehavior = "wall";
    stage.Attributes.m_Map[GameServices::Entities::TypeIds::ApplicationDataKey] = data;
    for (GameServices::Entities::Entity* entity : std::initializer_list<GameServices::Entities::Entity*>{&light, &board, &stage})
        entity->Initialize();
    // Nothing is asked of new entities: their first frame plays nothing.
    Frame();
    EXPECT_EQ(Calls(), Lines{});
    BehaviorBuzzLight& l = light.m_Behavior;
    l.PlayOnceRequest = l.ShowLastFrameRequest = l.ShowFirstFrameRequest = 1;
    BoardBehavior& b = board.m_Behavior;
    b.BuzzRequest = b.ShowFrontRequest = b.FlipRequest = b.FlipToBack = 1;
    BehaviorStage& s = stage.m_Behavior;
    s.RequestedKey = "empty";
    BehaviorStage::PlayAnimation("KeyPause", &s, 1);
    const Lines frames[] = {
        {"Replay 1:animifl m1 0..-1", "Start 1:blockfront t0 m3 r-1 -1..-1", "AddKey 1:blockfront @12",
         "Replay 1:animifl m1 30..-1"},
        {"Replay 1:animifl m1 42..-1", "Start 1:blockfront t0 m1 r-1 0..-1", "Replay 1:animifl m1 7..-1"},
        {"Replay 1:animifl m3 0..-1", "Start 1:buzzanim t0 m3 r-1 -1..-1"},
        {}};
    for (const Lines& expected : frames) {
        Frame();
        EXPECT_EQ(Calls(), expected);
    }
    // The front action reaches "StartIFL": the back once; a stale callback does nothing.
    animation.FireKeys();
    b.OnStartIFLReached();
    Frame();
    EXPECT_EQ(Calls(), (Lines{"RemoveKey 1:blockfront @12", "Start 1:blockback t0 m3 r-1 0..-1"}));
    // The key already shown is not shown again; an emptied key loops the current one and is
    // refilled with it.
    s.RequestedKey = "empty";
    Frame();
    s.RequestedKey = "";
    Frame();
    EXPECT_EQ(Calls(), (Lines{"Start 1:animifl t0 m4 r-1 7..7"}));
    EXPECT_EQ(s.RequestedKey, "empty");
    // A new key drops a queued replay.
    BehaviorStage::PlayAnimation("startKey", &s, 4);
    s.SetRequestedKey("logo");
    Frame();
    EXPECT_EQ(Calls(), (Lines{"Replay 1:animifl m1 5..-1"}));
    for (GameServices::Entities::Entity* entity : std::initializer_list<GameServices::Entities::Entity*>{&light, &stage})
        EXPECT_NE(BehaviorManager::Instance()->FindRegisteredBehavior(entity->Id), nullptr);
    stage.Attributes.Clear();
}

// A second flip before "StartIFL" listens again only after leaving the first; Reset leaves no
// listener behind, neither on a board nor on a contestant.
TEST_F(StageTest, ResetLeavesNoKeyListener) {
    Board board;
    QZCharacter contestant;
    board.Initialize();
    contestant.Initialize();
    board.m_Behavior.FlipToBack = 1;
    for (int flip = 0; flip < 2; ++flip) {
        board.m_Behavior.FlipRequest = 1;
        Frame();
    }
    contestant.m_Behavior.WinBigRequest = 1;
    Frame();
    EXPECT_EQ(animation.listeners.size(), 2u);
    board.Reset();
    contestant.Reset();
    EXPECT_TRUE(animation.listeners.empty());
    EXPECT_FALSE(board.m_Behavior.FlipToBack || board.IsTicking() || contestant.IsTicking());
    EXPECT_TRUE(board.Synchronize && contestant.Synchronize);
}

struct Step {
    std::function<void(QZBehaviorCharacter&)> request;
    u32 milliseconds;
    Lines expected;
};
const auto kNone = [](QZBehaviorCharacter&) {};

TEST_F(StageTest, ContestantServesOneRequestPerFrame) {
    struct Scenario {
        const char* name;
        std::vector<Step> steps;
    };
    const Scenario scenarios[] = {
        {"walk, gesture during it, wait for the buzz after 500 ms, buzz, next played directly",
         {{[](auto& c) { c.WalkRequest = c.WinSmallRequest = 1; }, 16,
           {"Start 0/S:salutation01 t0 m4 r-1 0..-1", "Start 0/S:walk t0 m4 r-1 0..-1"}},
          {kNone, 16, {"Start 0/S:winsmall t0.25 m3 r-1 -1..-1", "AddKey 0/S:winsmall @42"}},
          {kNone, 499, {}},
          {kNone, 1, {}},
          {kNone, 16, {"RemoveKey 0/S:winsmall @42", "Start 0/S:waitforbuzz t0.25 m4 r-1 -1..-1"}},
          {[](auto& c) { c.BuzzRequest = 1; }, 16, {"Start 0/S:buzzright t0 m4 r-1 0..-1"}},
          {[](auto& c) { c.ThinkRequest = 1; }, 16, {"Start 0/S:think t0 m4 r-1 0..-1"}},
          {kNone, 1000, {}},
          {kNone, 16, {}}}},
        {"gesture returns to idle, unless a think comes first",
         {{[](auto& c) { c.WinBigRequest = 1; }, 16,
           {"Start 0/S:salutation01 t0 m4 r-1 0..-1", "Start 0/S:winbig t0.25 m3 r-1 -1..-1",
            "AddKey 0/S:winbig @42"}},
          {[](auto& c) { c.ReturnToIdle(); }, 16,
           {"RemoveKey 0/S:winbig @42", "Start 0/S:salutation01 t0.25 m4 r-1 -1..-1"}},
          {[](auto& c) { c.LoseSmallFamilyRequest = 1; }, 16,
           {"Start 0/S:losesmallfamily t0.25 m3 r-1 -1..-1", "AddKey 0/S:losesmallfamily @42"}},
          {[](auto& c) { c.ThinkRequest = c.IdleRequest = 1; }, 16,
           {"RemoveKey 0/S:losesmallfamily @42", "Start 0/S:think t0.25 m4 r-1 -1..-1"}},
          {kNone, 16, {"Start 0/S:salutation01 t0.25 m4 r-1 -1..-1"}}}},
        {"poses by code; an unknown code plays nothing",
         {{[](auto& c) { c.PoseId = 7000, c.PoseRequest = 1; }, 16,
           {"Start 0/S:salutation01 t0 m4 r-1 0..-1", "Start 0/S:pose70easym1 t0 m4 r-1 0..-1"}},
          {[](auto& c) { c.PoseId = 8021, c.PoseRequest = 1; }, 16, {"Start 0/S:pose80hardf1 t0 m4 r-1 0..-1"}},
          {[](auto& c) { c.PoseId = 2033, c.PoseRequest = 1; }, 16, {"Start 0/S:pose00familyf2 t0 m4 r-1 0..-1"}},
          {[](auto& c) { c.PoseId = 7004, c.PoseRequest = 1; }, 16, {}},
          {[](auto& c) { c.Reset(); }, 16, {"Start 0/S:salutation01 t0 m4 r-1 0..-1"}}}},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        QZCharacter contestant;
        contestant.Initialize();
        contestant.SetCharacterMale1();
        for (size_t i = 0; i < scenario.steps.size(); ++i) {
            scenario.steps[i].request(contestant.m_Behavior);
            Frame(scenario.steps[i].milliseconds);
            EXPECT_EQ(Calls(), scenario.steps[i].expected) << "step " << i;
        }
        EXPECT_EQ(contestant.m_Behavior.PoseRequest, 0);
    }
}

// Without the walk parameter the walk lasts 2000 ms; the pose names cover the 64 codes only.
TEST_F(StageTest, ContestantWalkDefaultAndPoseCodes) {
    QZBehaviorCharacter female(nullptr, "CharacterFemale2");
    EXPECT_EQ(female.WalkDuration, 2000);
    EXPECT_EQ(QZBehaviorCharacter(nullptr, "CharacterMale1").WalkDuration, 500);
    int named = 0;
    for (i32 code = -10; code < 10000; ++code)
        named += QZBehaviorCharacter::PoseName(code).IsEmpty() ? 0 : 1;
    EXPECT_EQ(named, 64);
    EXPECT_TRUE(QZBehaviorCharacter::PoseName(9013) == "Pose90MedF2");
}

TEST_F(StageTest, PropsTakeTheirTemplates) {
    Board board;
    QZCharacter character;
    QZStageProps stage;
    // An unset part is "Block_01"; 15 is "BuzzerLeft"; an index outside 0..16 changes nothing.
    board.Initialize();
    EXPECT_EQ(board.m_Behavior.m_EntityTemplate, "Block_01");
    board.Initialize();
    EXPECT_EQ(board.m_Behavior.m_Transitions.size(), 1u);  // the tables are refilled, not added to
    board.GetPart(15);
    log.Clear();
    for (int index : {-1, 17, 29, 30})
        board.GetPart(index);
    EXPECT_EQ(log.Lines().size(), 4u);
    board.Initialize();
    board.m_Behavior.FlipRequest = 1;
    Frame();
    EXPECT_EQ(Calls(), (Lines{"Start 1:left_blockfront t0 m3 r-1 -1..-1"}));
    EXPECT_EQ(board.m_Behavior.m_Actions.size(), 2u);
    // Reset then Initialize: subscribed once.
    board.Reset();
    board.Initialize();
    board.Initialize();
    EXPECT_EQ(game.FrameDelegates(), 1u);

    // A stage prop takes its application data's template; without the record it keeps its own.
    auto* data = new QZApplicationDataProps();
    data->TemplateBehavior = "wall";
    stage.Attributes.m_Map[GameServices::Entities::TypeIds::ApplicationDataKey] = data;
    stage.Initialize();
    EXPECT_EQ(stage.TemplateName, "wall");
    EXPECT_EQ(stage.m_Behavior.m_Actions.size(), 1u);
    stage.Attributes.Clear();
    stage.Initialize();
    EXPECT_TRUE(log.Contains("Missing applicationData  for the Prop!"));
    EXPECT_EQ(stage.TemplateName, "wall");

    // Initialize takes the first set of the look's gender.
    GameServices::KorvoGame::Appearance look;
    for (u8 gender : {GameServices::KorvoGame::CharacterAssembly::kFemale, GameServices::KorvoGame::CharacterAssembly::kMale}) {
        look.Assembly.Gender = gender;
        GameServices::KorvoGame::CharacterManager::Instance()->SetAppearance(character, look);
        character.Initialize();
        EXPECT_EQ(character.m_Behavior.m_EntityTemplate, gender ? "CharacterMale1" : "CharacterFemale1");
    }
    GameServices::KorvoGame::CharacterManager::Instance()->RemoveAppearance(character);
    // Only a set selector sets a flag.
    EXPECT_EQ(character.IsMale1 + character.IsMale2 + character.IsFemale1 + character.IsFemale2, 0);
    // Each set selector leaves its own flag only, whatever was set before.
    struct Set { void (QZCharacter::*select)(); const char* name; const char* flags; };
    const Set sets[] = {{&QZCharacter::SetCharacterFemale2, "CharacterFemale2", "0001"},
                        {&QZCharacter::SetCharacterMale1, "CharacterMale1", "1000"},
                        {&QZCharacter::SetCharacterFemale1, "CharacterFemale1", "0010"},
                        {&QZCharacter::SetCharacterMale2, "CharacterMale2", "0100"}};
    for (const Set& set : sets) {
        (character.*set.select)();
        const std::string flags = {char('0' + character.IsMale1), char('0' + character.IsMale2),
                                   char('0' + character.IsFemale1), char('0' + character.IsFemale2)};
        EXPECT_EQ(flags, set.flags);
        EXPECT_EQ(character.m_Behavior.m_EntityTemplate, set.name);
    }
}

// Damaged behaviour files: every entity initialises and serves every request for 100 frames.
TEST_F(StageTest, DamagedBehaviourFilesNeverBreakTheStage) {
    const std::string files[3] = {StageFile(), ScoreFile(), CharacterFile()};
    animation.quiet = true;
    std::mt19937 rng(33);
    for (int round = 0; round < 5000; ++round) {
        log.Clear();
        std::string damaged[3] = {files[0], files[1], files[2]};
        for (std::string& file : damaged)
            DamageBytes(file, rng, 1 + int(rng() % 8));
        Write(damaged[0], damaged[1], damaged[2]);
        BehaviorManager::Instance()->ResetBehaviors();
        Board board;
        board.GetPart(int(rng() % 17));
        QZBuzzLightProps light;
        QZCharacter character;
        QZStageProps stage;
        ScoreBoardProps scoreBoard;
        ScoreDeskProps desk;
        for (GameServices::Entities::Entity* entity : std::initializer_list<GameServices::Entities::Entity*>{
                 &board, &light, &character, &stage, &scoreBoard, &desk})
            entity->Initialize();
        for (int frame = 0; frame < 100; ++frame) {
            if (frame % 10 == 0) {
                BoardBehavior& b = board.m_Behavior;
                b.FlipRequest = b.ShowFrontRequest = b.BuzzRequest = b.FlipToBack = 1;
                light.m_Behavior.ShowFirstFrameRequest = light.m_Behavior.ShowLastFrameRequest =
                    light.m_Behavior.PlayOnceRequest = 1;
                QZBehaviorCharacter& c = character.m_Behavior;
                c.WalkRequest = c.WinBigRequest = c.ThinkFamilyRequest = c.PoseRequest = c.WaitForBuzzRequest =
                    c.BuzzRequest = c.IdleRequest = 1;
                c.PoseId = 7000 + frame;
                stage.m_Behavior.RequestedKey = frame % 20 ? "" : "KeyPause";
                BehaviorStage::PlayAnimation("logo", &stage.m_Behavior, 1);
                scoreBoard.m_Behavior.Value = desk.m_Behavior.Value = frame * 37 - 50;
                scoreBoard.m_Behavior.UpdateRequest = desk.m_Behavior.UpdateRequest = 1;
            }
            Frame(100);
            if (frame % 7 == 0)
                animation.FireKeys();
        }
        for (GameServices::Entities::Entity* entity : std::initializer_list<GameServices::Entities::Entity*>{
                 &board, &light, &character, &stage, &scoreBoard, &desk})
            entity->Reset();
        ASSERT_TRUE(animation.listeners.empty()) << round;
        ASSERT_EQ(game.FrameDelegates(), 0u) << round;
    }
}

}  // namespace
