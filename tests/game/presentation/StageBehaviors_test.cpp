// The stage's entities and behaviours over behaviour files written here, with a listening
// double of the entity animations and a game whose frame event ticks the entities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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

std::string CharacterFile() {
    std::string actions;
    for (const char* name : {"Salutation01", "Walk", "WaitForBuzz", "BuzzLeft", "Think", "Pose70EasyM1"})
        actions += Action(name, "", true);
    for (const char* name : {"WinBig", "WinMed", "LoseSmall", "WinSmall", "LoseBig"})
        actions += Action(name, "<PlayMode>once</PlayMode>", true);
    std::string sets;
    for (const char* name : {"CharacterMale1", "CharacterMale2", "CharacterFemale1", "CharacterFemale2"})
        sets += Template(name, actions);
    return File(Item("MaleAvatar", "<Entities>" + sets + "</Entities>"));
}

// Keeps the key listeners, so that a test can fire them; records nothing.
class KeyedAnimation : public behavior_test::RecordingAnimation {
public:
    using Entity = behavior_test::Entity;
    using Target = behavior_test::Target;
    void Start(Entity&, const Target&, f32, i32, f32, i32, i32) override { ++starts; }
    void Replay(Entity&, const Target&, i32, i32, i32) override {}
    void SetSpeed(Entity&, const Target&, f32) override {}
    i32 GetEndFrame(Entity&, const Target&) override { return endFrame; }
    void AddKey(Entity&, const Target&, i32, IDelegate* l) override { listeners.push_back(l); }
    void RemoveKey(Entity&, const Target&, i32, IDelegate* l) override {
        auto it = std::find(listeners.begin(), listeners.end(), l);
        if (it != listeners.end())
            listeners.erase(it);
    }
    void FireKeys() {
        for (IDelegate* listener : std::vector<IDelegate*>(listeners))
            listener->Invoke();
    }

    std::vector<IDelegate*> listeners;
    int starts = 0;
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
    void Frame(u32 milliseconds = 16) { game.flow.GetFrameEvent().Fire(milliseconds); }

    TempDir dir;
    widget_test::TestGame game;
    KeyedAnimation animation;
    LogCapture log;
};

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
    // A part index outside 0..16 changes nothing and is reported.
    log.Clear();
    for (int index : {-1, 17})
        board.GetPart(index);
    EXPECT_EQ(log.Lines().size(), 2u);
}

// A new contestant is asked nothing; a pose request plays the pose of a known code only, once.
TEST_F(StageTest, APoseRequestPlaysAKnownPose) {
    QZCharacter contestant;
    contestant.Initialize();
    EXPECT_EQ(contestant.IsMale1 + contestant.IsMale2 + contestant.IsFemale1 + contestant.IsFemale2, 0);
    contestant.SetCharacterMale1();
    Frame();
    EXPECT_EQ(animation.starts, 1) << "a new contestant's first frame plays its idle only";
    for (const auto& [code, plays] : {std::pair{7000, 1}, {7004, 0}, {7000, 1}}) {
        const int before = animation.starts;
        contestant.m_Behavior.PoseId = code;
        contestant.m_Behavior.PoseRequest = 1;
        Frame();
        Frame();
        EXPECT_EQ(animation.starts - before, plays) << code;
        EXPECT_EQ(contestant.m_Behavior.PoseRequest, 0);
    }
}

// Damaged behaviour files: every entity initialises and serves every request for 100 frames.
TEST_F(StageTest, DamagedBehaviourFilesNeverBreakTheStage) {
    const std::string files[3] = {StageFile(), ScoreFile(), CharacterFile()};
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
