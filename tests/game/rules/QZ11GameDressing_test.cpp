#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/game/rules/MatchStage.h"
#include "tests/support/ResourceEnvironment.h"
#include "tools/authoring/PackageWriter.h"

using namespace QZ2011;
using namespace match_stage;

namespace {

class DressingTest : public MatchStageTest {};

std::string SequenceBytes(int duration) {
    return "<root><Sequence duration=\"" + std::to_string(duration) +
           "\"><OnStart><Events/></OnStart><Acts/><OnEnd><Events/></OnEnd></Sequence></root>";
}

// A prop's state after a look: visibility (-1 as it was), the requested play (start key and
// mode; "prep" when the look asked none) and the hold key.
struct PropLook {
    int visible = -1;
    std::string startKey = "prep";
    int mode = 9;
    std::string hold;
};

using Looks = std::map<std::string, PropLook>;

PropLook Hidden() { return {0, "prep", 9, ""}; }
PropLook Shown() { return {1, "prep", 9, ""}; }
PropLook ShownLoop() { return {1, "startKey", 4, ""}; }
PropLook Loop() { return {-1, "startKey", 4, ""}; }
PropLook Freeze(const char* key) { return {-1, key, 1, ""}; }
PropLook Hold(const char* key) { return {-1, "", 0, key}; }

void Add(Looks& looks, const std::vector<NamedProp>& props, size_t from, size_t to, const PropLook& look) {
    for (size_t i = from; i < to && i < props.size(); ++i)
        looks[props[i].name] = look;
}

// The looks the dressing gives, by the order of the props in DressingProps.
Looks Expected(int decade, bool inGame) {
    Looks looks;
    looks["board_lights_ingame"] = inGame ? Shown() : Hidden();
    looks["board_lights_intro"] = inGame ? Hidden() : ShownLoop();
    if (decade == 3) {
        const auto props = DressingProps(3);
        looks["board_score_screens"] = Hold(inGame ? "empty" : "logo");
        Add(looks, props, 3, 19, inGame ? Freeze("KeyPause") : Loop());
    } else if (decade == 2) {
        const auto props = DressingProps(2);
        Add(looks, props, 2, 5, inGame ? Hidden() : ShownLoop());
        Add(looks, props, 5, 7, Hold(inGame ? "empty" : "logo"));
        Add(looks, props, 7, 31, inGame ? Freeze("KeyPause") : Loop());
    } else if (decade == 1) {
        looks["desk_side_top_left"] = looks["desk_side_top_right"] = inGame ? Freeze("startKey") : Loop();
        looks["desk_digit_0"] = looks["desk_digit_left"] = looks["desk_digit_right"] = inGame ? Shown() : Hidden();
    }
    if (decade == 0 || decade == 1)
        looks["board_screenlogo"] = inGame ? Hidden() : ShownLoop();
    return looks;
}

}  // namespace

// The 85 sequences load from their package under their names, each from its own file (by
// its lower-case name), and the package is let go again.
TEST_F(DressingTest, SequenceTableLoadsEveryPairFromItsPackage) {
    const auto& table = QZ11Game::InGameSequences();
    ResourceEnvironment resources(false);
    GameServices::Bridge::FileSystem::UsePackages();
    authoring::PackageWriter package;
    for (size_t i = 0; i < table.size(); ++i)
        package.Add(authoring::LowerName(table[i].first), TypeKey::Data, SequenceBytes(1000 + int(i)));
    ASSERT_TRUE(package.WriteFolder(home.File("ingamexml.dir")));
    GameShow::SequenceManager* sequences = context.GetSequenceManager();
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        sequences->RemoveAllSequences();
        log.Clear();
        QZ11Game::LoadInGameSequences();
        EXPECT_EQ(sequences->GetSequenceCount(), 85u);
        for (size_t i = 0; i < table.size(); ++i) {
            const GameShow::Sequence* sequence = sequences->FindSequence(Crc32Hash(table[i].second));
            ASSERT_NE(sequence, nullptr) << table[i].second;
            EXPECT_EQ(sequence->m_Duration, 1000 + int(i)) << table[i].second;
        }
        // Read once and let go: a second load mounts it afresh without a report.
        EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
        EXPECT_FALSE(GameServices::Bridge::FileSystem::IsPackageLoaded("ingamexml.dir"));
    }
    sequences->RemoveAllSequences();
}

// The opening and in-game looks of each decade: the common rows, then the decade's; the 80s
// also take the 70s row; a decade outside 0..3 takes the common rows only. Props of other
// decades' stages are left alone.
TEST_F(DressingTest, LooksOfEachDecade) {
    // The decade played, the stage's decade and the other decades' props on it.
    struct Case { int decade, stage; std::vector<int> also; };
    const Case cases[] = {{0, 0, {1, 3}}, {1, 1, {}}, {2, 2, {}}, {3, 3, {0}}, {7, 0, {1, 3}}};
    for (const Case& c : cases) {
        Enter({.decade = c.stage, .alsoDressing = c.also});
        context.m_Decade = u32(c.decade);
        for (bool inGame : {false, true})
            for (bool startVisible : {false, true}) {
                SCOPED_TRACE(std::to_string(c.decade) + (inGame ? " in game" : " opening") +
                             (startVisible ? " from shown" : " from hidden"));
                for (GameServices::Entities::Prop* prop : set()->m_Props) {
                    prop->SetVisible(startVisible);
                    prop->Synchronize = true;
                    if (BehaviorStage* stage = GetStageBehavior(prop)) {
                        stage->RequestedKey = "";
                        BehaviorStage::PlayAnimation("prep", stage, 9);
                    }
                }
                inGame ? QZ11Game::ApplyInGameStageDressing() : QZ11Game::ApplyStageDressing();
                const Looks expected = Expected(c.decade, inGame);
                size_t dressed = 0;
                for (GameServices::Entities::Prop* prop : set()->m_Props) {
                    const std::string name = prop->Name.c_str();
                    auto it = expected.find(name);
                    const PropLook look = it == expected.end() ? PropLook() : it->second;
                    dressed += it != expected.end();
                    EXPECT_EQ(prop->Visible, look.visible == -1 ? startVisible : look.visible == 1) << name;
                    EXPECT_EQ(prop->Synchronize, look.visible == -1) << name;
                    if (BehaviorStage* stage = GetStageBehavior(prop)) {
                        EXPECT_EQ(stage->PlayRequest, look.hold.empty()) << name;
                        if (look.hold.empty()) {
                            EXPECT_EQ(stage->PlayStartKey, look.startKey.c_str()) << name;
                            EXPECT_EQ(stage->PlayEndKey, "endKey") << name;
                            EXPECT_EQ(stage->PlayMode, look.mode) << name;
                        }
                        EXPECT_EQ(stage->RequestedKey, look.hold.c_str()) << name;
                    }
                }
                // Every prop the look names was there.
                EXPECT_EQ(dressed, expected.size());
            }
    }
    EXPECT_FALSE(log.Contains("can't find"));
    EXPECT_FALSE(log.Contains("has no stage behaviour"));
}

// A dressing prop missing from the stage, or of a kind without a stage behaviour, is reported
// and the rest is dressed.
TEST_F(DressingTest, MissingOrPlainDressingPropsAreSkipped) {
    Enter({.decade = 2, .plainProps = {"tv_screen_left"}, .omit = {"spotmobil_top_03", "tv_screen_left"}});
    log.Clear();
    QZ11Game::ApplyStageDressing();
    QZ11Game::ApplyInGameStageDressing();
    EXPECT_EQ(LogCount("QZ11Game : can't find 'spotmobil_top_03' in the level"), 1u);
    EXPECT_EQ(LogCount("QZ11Game : 'tv_screen_left' has no stage behaviour"), 2u);
    EXPECT_EQ(Stage("tv_screen_right")->RequestedKey, "empty");
    EXPECT_EQ(Stage("spotmobil_top_reflect_02")->PlayStartKey, "KeyPause");
}

// The crowd is every prop whose name begins with "crowd" exactly, in set order; the list
// grows past its first hundred one entry at a time.
TEST_F(DressingTest, CrowdIsThePropsNamedCrowd) {
    Enter({.crowd = 99, .plainProps = {"crowd", "Crowd_x", "cRowd_2", "crow", "xcrowd_1", "CROWD", "crowdy"}});
    const auto& crowd = match().GetCrowd();
    EXPECT_EQ(crowd.Count(), 101u);
    EXPECT_EQ(crowd.Capacity(), 101u);
    std::vector<std::string> names;
    for (GameServices::Entities::Entity* member : crowd)
        names.push_back(member->Name.c_str());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"crowd", "crowdy", "crowd_000"}));
    match().SetCrowdVisible(false);
    for (GameServices::Entities::Entity* member : crowd)
        EXPECT_FALSE(member->Visible || member->Synchronize);
    EXPECT_TRUE(Prop("Crowd_x")->Visible);

    // Collected again, the list starts empty; a level without a crowd has none.
    QZ11Game::CollectCrowd(&match());
    EXPECT_EQ(crowd.Count(), 101u);
    Enter({.plainProps = {"Crowd"}});
    EXPECT_EQ(match().GetCrowd().Count(), 0u);
}

// The board is complete when every answer it can show is revealed: all of them, or in rounds
// 3 and 4 all but the struck-out seventh and eighth once six are shown.
TEST_F(DressingTest, BoardCompleteByShownAnswers) {
    Enter(StageLevel());
    EXPECT_FALSE(QZ11Game::IsBoardComplete());  // no question
    struct Case { int answers, round, found; u32 struckOut; bool complete; };
    const Case cases[] = {
        {8, 3, 8, 2, true},  {8, 1, 8, 0, true},  {8, 1, 7, 0, false}, {8, 4, 7, 1, true},
        {8, 3, 6, 1, false}, {8, 2, 8, 2, false}, {8, 5, 8, 2, false}, {5, 1, 5, 0, true},
        {5, 3, 4, 0, false}, {7, 3, 7, 1, true},  {8, 4, 8, 0, true},
    };
    for (int answers : {8, 5, 7}) {
        OneQuestionBank bank(context, home, answers);
        for (const Case& c : cases) {
            if (c.answers != answers)
                continue;
            SCOPED_TRACE(std::to_string(c.answers) + " round " + std::to_string(c.round) + " found " +
                         std::to_string(c.found) + " struck " + std::to_string(c.struckOut));
            ASSERT_NE(bank.Reload(c.found), nullptr);
            context.m_RoundCounter = c.round;
            context.m_StruckOutAnswers = c.struckOut;
            EXPECT_EQ(QZ11Game::IsBoardComplete(), c.complete);
        }
    }
}
