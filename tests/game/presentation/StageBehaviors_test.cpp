// The stage's entities and behaviours over behaviour files written here, with a listening
// double of the entity animations and a game whose frame event ticks the entities; the
// application data of levels and props.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/XmlReader.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZApplicationData.h"
#include "game/presentation/QZBuzzLightProps.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/QZStageProps.h"
#include "game/presentation/ScoreProps.h"
#include "gameservices/bridge/FileSystem.h"
#include "tests/gameservices/minigame/BehaviorTestSetup.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using namespace QZ2011;
using GameServices::KorvoGame::ApplicationData;
using GameServices::MiniGame::BehaviorManager;

namespace {

std::string Item(const std::string& name, const std::string& body) {
    return "<item><Name>" + name + "</Name>" + body + "</item>";
}
// A model animation named after the action (or prefix + action), or a skin animation with
// transitions to every action after 0.25 s.
std::string Action(const std::string& name, const std::string& more = "", bool skin = false,
                   const std::string& prefix = "") {
    return Item(name, std::string("<ActionType>") + (skin ? "SkinAnimation" : "ModelAnimation") + "</ActionType>" +
                          "<LoopAnimation>" + prefix + name + "</LoopAnimation>" + more +
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
std::string Key(const char* name, int frame) { return Item(name, "<Frame>" + std::to_string(frame) + "</Frame>"); }

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
    void Replay(Entity&, const Target&, i32 mode, i32 from, i32) override { replays.push_back(mode * 100 + from); }
    void SetSpeed(Entity&, const Target&, f32) override {}
    i32 GetEndFrame(Entity&, const Target&) override { return endFrame; }
    void AddKey(Entity&, const Target&, i32, IDelegate* l) override { listeners.push_back(l); }
    void RemoveKey(Entity&, const Target&, i32, IDelegate* l) override { std::erase(listeners, l); }
    void FireKeys() {
        for (IDelegate* listener : std::vector<IDelegate*>(listeners))
            listener->Invoke();
    }

    std::vector<IDelegate*> listeners;
    std::vector<i32> replays;  // play mode x 100 + from frame
    int starts = 0;
};

class StageTest : public ::testing::Test {
protected:
    void SetUp() override { Write(StageFile(), ScoreFile(), CharacterFile()); }
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
        BehaviorManager::Instance()->ResetBehaviors();
    }
    void Frame(u32 milliseconds = 16) { game.flow.GetFrameEvent().Fire(milliseconds); }

    TempDir dir;
    widget_test::TestGame game;
    KeyedAnimation animation;
    LogCapture log;
};

// A new contestant is asked nothing; a pose request plays the pose of a known code only, once.
TEST_F(StageTest, APoseRequestPlaysAKnownPoseOnce) {
    QZCharacter contestant;
    contestant.Initialize();
    EXPECT_EQ(contestant.IsMale1 + contestant.IsMale2 + contestant.IsFemale1 + contestant.IsFemale2, 0);
    contestant.SetCharacterMale1();
    Frame();
    EXPECT_EQ(animation.starts, 1) << "a new contestant's first frame plays its idle only";
    // A wait-for-buzz request plays once too, a buzz its side's action (code 1: from the left, the
    // only side the file has).
    using B = QZBehaviorCharacter;
    const std::tuple<u8 B::*, int, int, const char*> requests[] = {
        {&B::PoseRequest, 7000, 1, "Pose70EasyM1"}, {&B::PoseRequest, 7004, 0, "Pose70EasyM1"},
        {&B::PoseRequest, 7000, 1, "Pose70EasyM1"}, {&B::WaitForBuzzRequest, 0, 1, "WaitForBuzz"},
        {&B::BuzzRequest, 1, 1, "BuzzLeft"}, {&B::BuzzRequest, 0, 0, "BuzzRight"}};
    for (const auto& [request, code, plays, action] : requests) {
        const int before = animation.starts;
        contestant.m_Behavior.PoseId = code, contestant.m_Behavior.BuzzFromLeft = u8(code == 1);
        contestant.m_Behavior.*request = 1;
        Frame();
        Frame();
        // None of these goes back to idle by itself.
        EXPECT_EQ(std::tuple(animation.starts - before, int(contestant.m_Behavior.*request), animation.listeners.size(),
                             std::string(contestant.m_Behavior.CurrentAction.c_str())),
                  std::tuple(plays, 0, size_t(0), action)) << code;
    }
}

// A second flip before "StartIFL" listens again only after leaving the first; Reset leaves no
// listener behind, neither on a board nor on a contestant.
TEST_F(StageTest, ResetLeavesNoKeyListener) {
    QZCharacter contestant;
    contestant.Initialize();
    contestant.SetCharacterMale1();
    Board board;
    board.Initialize();
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
    EXPECT_TRUE(animation.listeners.empty() && board.Synchronize && contestant.Synchronize &&
                !board.m_Behavior.FlipToBack && !board.IsTicking() && !contestant.IsTicking());
    // A part index outside 0..16 changes nothing and is reported.
    log.Clear();
    for (int index : {-1, 17})
        board.GetPart(index);
    EXPECT_EQ(log.Lines().size(), 2u);
}

// A stage prop shows a newly requested key once, held (play mode 1).
TEST_F(StageTest, AStagePropShowsANewKeyOnce) {
    QZStageProps stage;
    stage.TemplateName = "wall";
    stage.Initialize();
    for (const char* key : {"logo", "logo", "empty"}) {
        stage.m_Behavior.SetRequestedKey(key);
        Frame();
    }
    EXPECT_EQ(animation.replays, (std::vector<i32>{105, 107}));
    EXPECT_EQ(BehaviorManager::Instance()->FindRegisteredBehavior(stage.Id), &stage.m_Behavior)
        << "an updating stage behaviour is found by its entity";
    stage.Reset();
}

// Damaged behaviour files: every entity initialises and serves every request for 100 frames.
TEST_F(StageTest, DamagedFilesNeverBreakTheStage) {
    const std::string files[3] = {StageFile(), ScoreFile(), CharacterFile()};
    std::mt19937 rng(33);
    for (int round = 0; round < 5000; ++round) {
        log.Clear();
        std::string damaged[3] = {files[0], files[1], files[2]};
        for (std::string& file : damaged)
            DamageBytes(file, rng, 1 + int(rng() % 8));
        Write(damaged[0], damaged[1], damaged[2]);
        Board board;
        board.GetPart(int(rng() % 17));
        QZBuzzLightProps light;
        QZCharacter character;
        QZStageProps stage;
        ScoreBoardProps scoreBoard;
        ScoreDeskProps desk;
        GameServices::Entities::Entity* const entities[] = {&board, &light, &character, &stage, &scoreBoard, &desk};
        for (GameServices::Entities::Entity* entity : entities)
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
                c.PoseId = 7000 + frame, stage.m_Behavior.RequestedKey = frame % 20 ? "" : "KeyPause";
                BehaviorStage::PlayAnimation("logo", &stage.m_Behavior, 1);
                scoreBoard.m_Behavior.Value = desk.m_Behavior.Value = frame * 37 - 50;
                scoreBoard.m_Behavior.UpdateRequest = desk.m_Behavior.UpdateRequest = 1;
            }
            Frame(100);
            if (frame % 7 == 0)
                animation.FireKeys();
        }
        for (GameServices::Entities::Entity* entity : entities)
            entity->Reset();
        ASSERT_TRUE(animation.listeners.empty()) << round;
        ASSERT_EQ(game.FrameDelegates(), 0u) << round;
    }
}


// A record being read: its application data is what the prototype makes of it.
struct Record : GameServices::Utilities::ISerializable {
    explicit Record(ApplicationData& prototype) : prototype(prototype) {}
    void Serialize(GameServices::Utilities::ISerialization& serialization) override {
        result.reset(prototype.Create(serialization));
    }
    ApplicationData& prototype;
    std::unique_ptr<ApplicationData> result;
};

std::unique_ptr<ApplicationData> Read(ApplicationData& prototype, const std::string& text, const char* root) {
    Record record(prototype);
    GameServices::Utilities::XmlReader().ReadText(text.c_str(), u32(text.size()), root, record);
    return std::move(record.result);
}

std::string Element(const std::string& key, const std::string& value) { return "<" + key + ">" + value + "</" + key + ">"; }

// Every tuning key of a difficulty and decade ("Medium90"): numbers counting up from `base`,
// names from the key.
std::string AllTuning(const std::string& choice, int base) {
    std::string content;
    for (const char* key : {"BuzzerSpeed_", "AnswerAccuracy_", "AnswerDifficulty_", "BasicRoundStrength_", "Steal_"})
        content += Element(key + choice, std::to_string(base++));
    for (const char* key : {"String_FamilyName_", "String_male1_", "String_male2_", "String_female1_", "String_female2_"})
        content += Element(key + choice, std::string(key + 7) + choice);
    return content;
}

std::string Text(const QZApplicationDataLevel& data) {
    std::string text;
    for (i32 n : {data.numberOfAnswers, data.questionRoundTime, data.fastMoneyFirstTime, data.fastMoneySecondTime,
                  data.BuzzerSpeed, data.AnswerAccuracy, data.AnswerDifficulty, data.BasicRoundStrength, data.Steal})
        text += std::to_string(n) + " ";
    for (const TString<char>* name : {&data.FamilyName, &data.Male1, &data.Male2, &data.Female1, &data.Female2})
        text += std::string(name->c_str()) + "/";
    return text;
}

// Only the chosen pair's ten tuning keys are read, each into its field; the level numbers by
// their keys ("fastMoneySecondTime" times the first turn), bounded to the eight board rows and
// the two-digit countdown, each bound and a missing answer time reported. One prototype
// reads every case, so nothing of an earlier level is left over. Damaged records read within bounds.
TEST(LevelData, ReadsTheChosenTuningAndBoundedNumbersAndDamagedRecordsWithinBounds) {
    LogCapture log;
    QZ2011GameContext context;  // the decade and difficulty come from the game context
    QZApplicationDataLevel prototype;
    const std::string times = Element("numberOfAnswers", "7") + Element("questionRoundTime", "20") + Element("fastMoneyFirstTime", "20") +
                              Element("fastMoneySecondTime", "25");
    const std::string all = times + AllTuning("Medium90", 1) + AllTuning("Medium80", 11) + AllTuning("Hard90", 21);
    const struct { std::string content; u32 decade, difficulty; const char *data, *report; size_t reports; } cases[] = {
        {all, 2, 1, "7 20 20 25 1 2 3 4 5 FamilyName_Medium90/male1_Medium90/male2_Medium90/female1_Medium90/female2_Medium90/", "", 0},
        {all, 1, 1, "7 20 20 25 11 12 13 14 15 FamilyName_Medium80/male1_Medium80/male2_Medium80/female1_Medium80/female2_Medium80/", "", 0},
        {all, 4, 1, "7 20 20 25 0 0 0 0 0 /////", "", 0},
        {times + Element("BuzzerSpeed_Hard70", "7"), 0, 2, "7 20 20 25 7 0 0 0 0 /////", "", 0},
        {Element("numberOfAnswers", "6"), 0, 0, "6 0 0 0 0 0 0 0 0 /////", "no questionRoundTime", 1},
        {Element("numberOfAnswers", "12") + Element("questionRoundTime", "150"), 0, 0, "8 99 0 0 0 0 0 0 0 /////",
         "numberOfAnswers 12 is out of 0..8", 2},
        {Element("numberOfAnswers", "-1") + Element("questionRoundTime", "5") + Element("fastMoneyFirstTime", "-3") +
             Element("fastMoneySecondTime", "400"),
         0, 0, "0 5 0 99 0 0 0 0 0 /////", "fastMoneyFirstTime -3 is out of 0..99, 0 is used", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        context.m_Decade = c.decade, context.m_Difficulty = c.difficulty;
        log.Clear();
        const auto read = Read(prototype, "<Level><ApplicationData>" + c.content + "</ApplicationData></Level>", "Level");
        auto* data = dynamic_cast<QZApplicationDataLevel*>(read.get());
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(Text(*data), c.data);
        EXPECT_TRUE(log.Lines().size() == c.reports && (c.reports == 0 || log.Contains(c.report)));
        const std::unique_ptr<ApplicationData> copy(data->Clone());
        EXPECT_EQ(Text(dynamic_cast<QZApplicationDataLevel&>(*copy)), c.data) << "a clone copies every field";
    }
    // A level without the element has no data, and nothing is reported.
    log.Clear();
    EXPECT_TRUE(!Read(prototype, "<Level/>", "Level") && log.Lines().empty());
    // Damaged level and prop records read without a memory fault, the level numbers in bounds.
    context.m_Decade = 0, context.m_Difficulty = 2;
    const std::string level = "<Level><ApplicationData>" + times + AllTuning("Hard70", 4) + "</ApplicationData></Level>";
    const std::string prop = "<item><ApplicationData><TemplateBehavior>wall_1_mat</TemplateBehavior></ApplicationData></item>";
    QZApplicationDataProps props;
    std::mt19937 rng(9223);
    int levels = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string damaged = level;
        // One change at a time: most further ones break the document.
        DamageBytes(damaged, rng, 1);
        const std::unique_ptr<ApplicationData> levelData = Read(prototype, damaged, "Level");
        if (auto* data = dynamic_cast<QZApplicationDataLevel*>(levelData.get())) {
            ++levels;
            const bool bounded = data->numberOfAnswers >= 0 && data->numberOfAnswers <= 8;
            for (i32 time : {data->questionRoundTime, data->fastMoneyFirstTime, data->fastMoneySecondTime})
                if (!bounded || time < 0 || time > 99)
                    FAIL() << "round " << round << ": " << Text(*data) << "\n" << damaged;
        }
        damaged = prop;
        DamageBytes(damaged, rng, 1 + int(rng() % 4));
        Read(props, damaged, "item");
        log.Clear();
    }
    EXPECT_GT(levels, 200);
}

}  // namespace
