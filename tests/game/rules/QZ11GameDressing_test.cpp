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

// The show's table as the package holds it: (file, sequence name), in loading order.
const std::vector<std::pair<std::string, std::string>> kShowTable = {
    {"sequence_intro.xml", "Intro"},
    {"sequence_family_left_pose.xml", "left_pose"},
    {"sequence_family_left_intro.xml", "left_intro"},
    {"sequence_Family_Right_Pose70Easy.xml", "right_pose70Easy"},
    {"sequence_Family_Right_Pose70Med.xml", "right_pose70Med"},
    {"sequence_Family_Right_Pose70Hard.xml", "right_pose70Hard"},
    {"sequence_family_right_pose80Easy.xml", "right_pose80Easy"},
    {"sequence_family_right_pose80Med.xml", "right_pose80Med"},
    {"sequence_family_right_pose80Hard.xml", "right_pose80Hard"},
    {"sequence_family_right_pose90Easy.xml", "right_pose90Easy"},
    {"sequence_family_right_pose90Med.xml", "right_pose90Med"},
    {"sequence_family_right_pose90Hard.xml", "right_pose90Hard"},
    {"sequence_Family_Right_Pose00Easy.xml", "right_pose00Easy"},
    {"sequence_Family_Right_Pose00Med.xml", "right_pose00Med"},
    {"sequence_Family_Right_Pose00Hard.xml", "right_pose00Hard"},
    {"sequence_family_right_intro.xml", "right_intro"},
    {"sequence_faceoff_round1.xml", "faceoff_round1"},
    {"sequence_faceoff_round2.xml", "faceoff_round2"},
    {"sequence_faceoff_round3.xml", "faceoff_round3"},
    {"sequence_faceoff_round4.xml", "faceoff_round4"},
    {"sequence_buzz1_left.xml", "buzz1_left"},
    {"sequence_buzz2_left.xml", "buzz2_left"},
    {"sequence_buzz3_left.xml", "buzz3_left"},
    {"sequence_buzz4_left.xml", "buzz4_left"},
    {"sequence_buzz5_left.xml", "buzz5_left"},
    {"sequence_buzz6_left.xml", "buzz6_left"},
    {"sequence_buzz7_left.xml", "buzz7_left"},
    {"sequence_buzz8_left.xml", "buzz8_left"},
    {"sequence_real_buzz_left.xml", "host_number_answer_left"},
    {"sequence_real_buzz_right.xml", "host_number_answer_right"},
    {"sequence_otherteam_answer_right.xml", "otherTeamAnswerRight"},
    {"sequence_otherteam_answer_right_party.xml", "otherTeamAnswerRight_Party"},
    {"sequence_otherteam_answer_left.xml", "otherTeamAnswerLeft"},
    {"sequence_play_or_pass_Right.xml", "playOrPassRight"},
    {"sequence_play_or_pass_Left.xml", "playOrPassLeft"},
    {"sequence_transition_left_family.xml", "transitionLeftFamily"},
    {"sequence_transition_right_family.xml", "transitionRightFamily"},
    {"sequence_fast_money_round_left.xml", "fast_money_round_left"},
    {"sequence_fast_money_round_right.xml", "fast_money_round_right"},
    {"sequence_fast_money_round2.xml", "fast_money_round2"},
    {"sequence_fast_money_round_reveal1.xml", "fast_money_round_reveal1"},
    {"sequence_fast_money_round_reveal2.xml", "fast_money_round_reveal2"},
    {"sequence_fast_money_round_reveal3.xml", "fast_money_round_reveal3"},
    {"sequence_fast_money_round_reveal4.xml", "fast_money_round_reveal4"},
    {"sequence_fast_money_round_reveal5.xml", "fast_money_round_reveal5"},
    {"sequence_fast_money_round_reveal_others_left.xml", "fast_money_round_reveal_others_left"},
    {"sequence_fast_money_round_reveal_others_right.xml", "fast_money_round_reveal_others_right"},
    {"sequence_transition_left_family_03.xml", "transitionLeftFamily03"},
    {"sequence_transition_right_family_03.xml", "transitionRightFamily03"},
    {"sequence_end_game_normal_win_left.xml", "end_game_normal_win_left"},
    {"sequence_end_game_normal_win_right.xml", "end_game_normal_win_right"},
    {"sequence_end_game_20k_win_left.xml", "end_game_20k_win_left"},
    {"sequence_end_game_20k_win_right.xml", "end_game_20k_win_right"},
    {"sequence_see_you_nexttime_left.xml", "end_game_see_you_nexttime_left"},
    {"sequence_see_you_nexttime_right.xml", "end_game_see_you_nexttime_right"},
    {"sequence_right_answer_round.xml", "right_answer_round"},
    {"sequence_right_answer_faceoff.xml", "right_answer_faceoff"},
    {"sequence_wrong_answer_faceoff.xml", "wrong_answer_faceoff"},
    {"sequence_preanswer_round.xml", "preanswer_round"},
    {"sequence_time_is_up.xml", "time_is_up"},
    {"sequence_steal_ok.xml", "steal_ok"},
    {"sequence_steal_fail_left.xml", "steal_fail_left"},
    {"sequence_steal_fail_right.xml", "steal_fail_right"},
    {"sequence_sudden_death.xml", "SuddenDeath"},
    {"sequence_blank.xml", "blank"},
    {"sequence_reveal_answer1.xml", "reveal_answer1"},
    {"sequence_reveal_answer2.xml", "reveal_answer2"},
    {"sequence_reveal_answer3.xml", "reveal_answer3"},
    {"sequence_reveal_answer4.xml", "reveal_answer4"},
    {"sequence_reveal_answer5.xml", "reveal_answer5"},
    {"sequence_reveal_answer6.xml", "reveal_answer6"},
    {"sequence_reveal_answer7.xml", "reveal_answer7"},
    {"sequence_reveal_answer8.xml", "reveal_answer8"},
    {"sequence_reveal_others.xml", "reveal_others"},
    {"sequence_strike1.xml", "strike1"},
    {"sequence_strike2.xml", "strike2"},
    {"sequence_strike3.xml", "strike3"},
    {"sequence_strike1_TimeUp.xml", "strike1_TimeUp"},
    {"sequence_strike2_TimeUp.xml", "strike2_TimeUp"},
    {"sequence_strike3_TimeUp.xml", "strike3_TimeUp"},
    {"sequence_round_won_right.xml", "round_won_right"},
    {"sequence_round_won_left.xml", "round_won_left"},
    {"sequence_end_game_loose.xml", "end_game_loose"},
    {"sequence_play_or_pass_ai_right.xml", "play_or_pass_AI_right"},
    {"sequence_play_or_pass_ai_left.xml", "play_or_pass_AI_left"},
};

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

// The 85 sequences load from their package under their names, each from its own file, and
// the package is let go again.
TEST_F(DressingTest, SequenceTableLoadsEveryPairFromItsPackage) {
    const auto& table = QZ11Game::InGameSequences();
    ASSERT_EQ(kShowTable.size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].first, kShowTable[i].first) << i;
        EXPECT_EQ(table[i].second, kShowTable[i].second) << i;
    }
    ResourceEnvironment resources(false);
    GameServices::Bridge::FileSystem::UsePackages();
    authoring::PackageWriter package;
    for (size_t i = 0; i < kShowTable.size(); ++i)
        package.Add(authoring::LowerName(kShowTable[i].first), TypeKey::Data, SequenceBytes(1000 + int(i)));
    ASSERT_TRUE(package.WriteFolder(home.File("ingamexml.dir")));
    GameShow::SequenceManager* sequences = context.GetSequenceManager();
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        sequences->RemoveAllSequences();
        log.Clear();
        QZ11Game::LoadInGameSequences();
        EXPECT_EQ(sequences->GetSequenceCount(), 85u);
        for (size_t i = 0; i < kShowTable.size(); ++i) {
            const GameShow::Sequence* sequence = sequences->FindSequence(Crc32Hash(kShowTable[i].second.c_str()));
            ASSERT_NE(sequence, nullptr) << kShowTable[i].second;
            EXPECT_EQ(sequence->m_Duration, 1000 + int(i)) << kShowTable[i].second;
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
    struct Case { int decade; StageLevel level; };
    const Case cases[] = {{0, StageLevel().Decade(0).AlsoDressing({1, 3})},
                          {1, StageLevel().Decade(1)},
                          {2, StageLevel().Decade(2)},
                          {3, StageLevel().Decade(3).AlsoDressing({0})},
                          {7, StageLevel().Decade(0).AlsoDressing({1, 3})}};
    for (const Case& c : cases) {
        Enter(c.level);
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
    Enter(StageLevel().Decade(2).Omit({"spotmobil_top_03", "tv_screen_left"}).Plain({"tv_screen_left"}));
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
    Enter(StageLevel().Crowd(99).Plain({"crowd", "Crowd_x", "cRowd_2", "crow", "xcrowd_1", "CROWD", "crowdy"}));
    const auto& crowd = match().GetCrowd();
    EXPECT_EQ(crowd.Count(), 101u);
    EXPECT_EQ(crowd.Capacity(), 101u);
    std::vector<std::string> names;
    for (GameServices::Entities::Entity* member : crowd)
        names.push_back(member->Name.c_str());
    EXPECT_EQ(names[0], "crowd");
    EXPECT_EQ(names[1], "crowdy");
    EXPECT_EQ(names[2], "crowd_000");
    EXPECT_EQ(names[100], "crowd_098");
    match().SetCrowdVisible(false);
    for (GameServices::Entities::Entity* member : crowd)
        EXPECT_FALSE(member->Visible || member->Synchronize);
    EXPECT_TRUE(Prop("Crowd_x")->Visible);

    // Collected again, the list starts empty; a level without a crowd has none.
    QZ11Game::CollectCrowd(&match());
    EXPECT_EQ(crowd.Count(), 101u);
    Enter(StageLevel().Plain({"Crowd"}));
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
        {5, 3, 4, 0, false}, {7, 3, 7, 1, true},  {8, 4, 8, 0, true},  {6, 2, 6, 0, true},
    };
    for (int answers : {8, 5, 7, 6}) {
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
