#include <gtest/gtest.h>

#include <string>

#include "tests/game/rules/MatchStage.h"

using namespace QZ2011;
using namespace match_stage;

using StagingTest = MatchStageTest;

// The round opening by round number, the face-off staging of both buzzing members and the
// blocks closed; an index outside 0..3 stages nobody on its side.
TEST_F(StagingTest, TheRoundOpeningStagesTheBuzzingMembers) {
    Enter(StageLevel());
    // The level start leaves every contestant hidden until the show stages them.
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(Member(i)->Visible) << i;
    struct Case { i32 round, after; const char* sequence; const char* line; i32 leftIndex, rightIndex; };
    const Case cases[] = {{0, 1, "faceoff_round1", "--+++ START SINGLE ROUND 1 +++--", 2, 1},
                          {1, 1, "faceoff_round1", "--+++ START SINGLE ROUND 1 +++--", 0, 3},
                          {2, 2, "faceoff_round2", "--+++ START SINGLE ROUND 2 +++--", 4, 0},
                          {3, 3, "faceoff_round3", "--+++ START DOUBLE ROUND +++--", 3, 4},
                          {4, 4, "faceoff_round4", "--+++ START TRIPLE ROUND +++--", -1, 2},
                          {5, 5, "SuddenDeath", "--+++ START SUDDEN DEATH +++--", 1, 5},
                          {6, 6, "", nullptr, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.round);
        StopShow();
        log.Clear();
        events.Attach(match());
        context.m_RoundCounter = c.round, context.m_StealStarted = 1, context.m_LeftMemberIndex = c.leftIndex;
        context.m_RightMemberIndex = c.rightIndex;
        Prop("board_screenlogo")->SetVisible(true);
        for (int i = 0; i < 8; ++i) {
            Member(i)->SetVisible(true);
            Member(i)->m_Behavior.WalkRequest = 0;
        }
        Block("board_block_03")->m_Behavior.ShowFrontRequest = Block("board_block_dt_06")->m_Behavior.ShowFrontRequest = 0;
        match().StartRound();
        EXPECT_EQ(Playing(), c.sequence);
        EXPECT_EQ(log.Lines(), c.line ? std::vector<std::string>{c.line} : std::vector<std::string>{});
        EXPECT_EQ(events.fired, (std::vector<int>{15, 6}));
        EXPECT_EQ(Values(context.m_RoundCounter, context.m_StealStarted, Prop("board_screenlogo")->Visible),
                  Values(c.after, 0, false));
        for (int i = 0; i < 8; ++i) {
            const bool staged = i < 4 ? i == c.leftIndex : i - 4 == c.rightIndex;
            EXPECT_EQ(Values(Member(i)->Visible, Member(i)->m_Behavior.WalkRequest), Values(staged, staged)) << i;
        }
        EXPECT_TRUE(Block("board_block_03")->m_Behavior.ShowFrontRequest && Block("board_block_dt_06")->m_Behavior.ShowFrontRequest);
    }
}

// The computer family shown in its pose by decade and difficulty (decade base + difficulty x 10 +
// the member offsets 0, 2, 1, 3), and its podiums.
TEST_F(StagingTest, FamiliesPoseByDecadeAndDifficulty) {
    Enter(StageLevel());
    context.m_TwoPlayers = 0;
    struct Pose { u32 decade, difficulty; const char* sequence; std::vector<i64> poses; int podium[4]; };
    const Pose posed[] = {{1, 1, "right_pose80Med", {8010, 8012, 8011, 8013}, {4, 2, 3, 1}},
                          {0, 0, "right_pose70Easy", {7000, 7002, 7001, 7003}, {3, 2, 1, 4}},
                          {2, 0, "right_pose90Easy", {9000, 9002, 9001, 9003}, {3, 2, 1, 4}}};
    // Each member is put in its place's set (male 1, male 2, female 1, female 2), whatever set it was in.
    const auto setsAfter = [&](void (QZ11Game::*pose)(), int first) {
        std::vector<i64> sets;
        for (int i = first; i < first + 4; ++i)
            Member(i)->SetCharacterMale1();
        (match().*pose)();
        for (int i = first; i < first + 4; ++i)
            sets.push_back(Member(i)->IsMale1 + 2 * Member(i)->IsMale2 + 4 * Member(i)->IsFemale1 + 8 * Member(i)->IsFemale2);
        return sets;
    };
    for (const Pose& c : posed) {
        SCOPED_TRACE(c.sequence);
        StopShow();
        context.m_Decade = c.decade, context.m_Difficulty = c.difficulty;
        EXPECT_EQ(setsAfter(&QZ11Game::PlayRightFamilyPose, 4), (std::vector<i64>{1, 2, 4, 8}));
        EXPECT_EQ(Playing(), c.sequence);
        std::vector<i64> poses;
        for (int i = 4; i < 8; ++i) {
            const QZCharacter* member = Member(i);
            // Shown in its pose on the pose marker, turned to the host.
            const bool posing = member->Visible && member->m_Behavior.PoseRequest && member->GetRotationY() == 60.0f &&
                                Near(PositionOf(member), PositionOf(Prop("box_position_right_pose")));
            poses.push_back(posing ? member->m_Behavior.PoseId : -1);
        }
        EXPECT_EQ(poses, c.poses);
        match().PlaceRightFamily();
        for (int m = 0; m < 4; ++m)
            EXPECT_TRUE(Near(PositionOf(Member(4 + m)),
                             PositionOf(Prop("box_position_m" + std::to_string(c.podium[m]) + "_left"))) &&
                        Member(4 + m)->GetRotationY() == 50.0f) << m;
    }
    EXPECT_EQ(setsAfter(&QZ11Game::PlayLeftFamilyPose, 0), (std::vector<i64>{1, 2, 4, 8}));
    // Outside the four decades the left family is staged without a pose.
    Member(0)->m_Behavior.PoseRequest = 0;
    context.m_Decade = 4;
    match().PlayLeftFamilyPose();
    EXPECT_TRUE(Member(0)->Visible && !Member(0)->m_Behavior.PoseRequest);
}

TEST_F(StagingTest, TheLeftFamilyTakesItsPodiums) {
    Enter(StageLevel());
    // The left family on its podiums, turned by member: the usual order and the alternate one.
    for (u8 alternate : {0, 1}) {
        context.m_LeftMemberOrder = alternate;
        match().PlaceLeftFamily();
        std::vector<float> turns;
        for (int m = 0; m < 4; ++m)
            turns.push_back(Member(m)->GetRotationY());
        EXPECT_EQ(turns, (std::vector<float>{-45, -50, -45, -50}));
        EXPECT_TRUE(Near(PositionOf(Member(0)), PositionOf(Prop(alternate ? "box_position_m1_left01"
                                                                          : "box_position_m2_left01"))));
    }
    // The left family's intro idles its own members only.
    Member(4)->m_Behavior.IdleRequest = 0;
    match().PlayLeftFamilyIntro();
    EXPECT_TRUE(Member(3)->m_Behavior.IdleRequest && !Member(4)->m_Behavior.IdleRequest);
}

// Score displays take the value with a refresh, each family its own; a value above 999 is written
// and reported once per display.
TEST_F(StagingTest, ScoreDisplaysTakeTheirFamilysValue) {
    Enter(StageLevel());
    match().SetScoreDisplay(false, 999);
    match().SetScoreDisplay(true, 1234);
    std::vector<i64> shown;
    for (const char* name : {"screen_digits_left", "desk_digit_left", "screen_digits_right", "desk_digit_right"})
        shown.insert(shown.end(), {GetScoreBehavior(Prop(name))->Value, GetScoreBehavior(Prop(name))->UpdateRequest});
    EXPECT_EQ(shown, (std::vector<i64>{999, 1, 999, 1, 1234, 1, 1234, 1}));
    EXPECT_EQ(LogCount("the number is too big"), 2u);
}

// Screen 10 A for fast money, B otherwise, the board's blocks hidden and the score screens cleared.
TEST_F(StagingTest, StageScreensFollowFastMoney) {
    Enter(StageLevel());
    for (bool fastMoney : {true, false}) {
        Prop("board_screen10_a")->Synchronize = true;  // shown or hidden as is
        match().SetStageScreens(fastMoney);
        EXPECT_EQ(Values(Prop("board_screen10_a")->Visible, Prop("board_screen10_b")->Visible, Prop("board_block_01")->Visible,
                         GetScoreBehavior(Prop("screen_digits_left"))->Value, Prop("board_screen10_a")->Synchronize),
                  Values(fastMoney, !fastMoney, false, -1, false));
    }
}

// A level without match settings is reported and the context keeps the last ones.
TEST_F(StagingTest, ALevelWithoutMatchSettingsKeepsTheLast) {
    Enter(StageLevel());
    log.Clear();
    Enter({.applicationData = false});
    EXPECT_TRUE(log.Contains("Missing applicationData  for the level !"));
    EXPECT_EQ(Values(context.m_NumberOfAnswers, context.m_FastMoneySecondTime), Values(7, 25));
}

// The board for a question: one block per answer with the covers in the gaps, or the six-answer
// layout of the 90s and 00s from round 3 on, with the round's sign; a revealed answer opens its
// block of the layout in use (turned to its back in the 00s), an index outside it nothing.
TEST_F(StagingTest, TheBoardFollowsTheQuestion) {
    // Shown: board_block_01..08, board_block_dt_01..06, board_block_empty_02..08, the double and
    // triple signs.
    struct Layout { int decade; i32 round, answers; const char* shown; int index; const char* opened; };
    const Layout layouts[] = {{0, 1, 8, "11111111 000000 0000000 00 11", 7, "board_block_08"},
                              {1, 2, 3, "11100000 000000 0011111 00 11", 2, "board_block_03"},
                              {1, 3, 8, "11111111 000000 0000000 10 00", 8, nullptr},
                              {2, 2, 5, "11111000 000000 0000111 00 11", 6, "board_block_07"},
                              {2, 3, 8, "00000000 111111 0000000 10 11", 6, nullptr},
                              {3, 4, 4, "00000000 111100 0000110 01 11", 0, "board_block_dt_01"}};
    for (const Layout& c : layouts) {
        SCOPED_TRACE(std::to_string(c.decade) + " round " + std::to_string(c.round));
        Enter({.decade = c.decade});
        context.m_RoundCounter = c.round;
        // Everything shown first, so each hidden entity was hidden by the layout.
        for (GameServices::Entities::Prop* prop : set()->m_Props)
            prop->SetVisible(true);
        match().SetupBoardBlocks(c.answers);
        auto bits = [&](const char* prefix, int from, int to) {
            std::string shown;
            for (int n = from; n <= to; ++n)
                shown += Prop(Numbered(prefix, n))->Visible ? '1' : '0';
            return shown;
        };
        EXPECT_EQ(bits("board_block_", 1, 8) + " " + bits("board_block_dt_", 1, 6) + " " +
                      bits("board_block_empty_", 2, 8) + " " + (Prop("board_block_double")->Visible ? "1" : "0") +
                      (Prop("board_block_triple")->Visible ? "1" : "0") + " " + bits("board_side_single_", 1, 2),
                  c.shown);
        match().RevealAnswerBlock(c.index);
        std::vector<std::string> opened;
        for (GameServices::Entities::Prop* prop : set()->m_Props)
            if (auto* block = dynamic_cast<Board*>(prop); block && block->m_Behavior.FlipRequest) {
                opened.push_back(block->Name.c_str());
                EXPECT_EQ(block->m_Behavior.FlipToBack, c.decade == 3);
            }
        EXPECT_EQ(opened, c.opened ? std::vector<std::string>{c.opened} : std::vector<std::string>{});
    }
}

// A level without some of its stage: each missing name is reported once at level start and every
// staging step goes on without it.
TEST_F(StagingTest, MissingStageEntitiesAreReportedOnce) {
    const std::vector<std::string> missing = {"box_position_left_pose", "box_position_m2_left01", "contestant_right_3",
                                              "board_block_dt_04",      "board_block_empty_05",   "avatar_face_left",
                                              "screen_digits_left",     "buzzer_light_right",     "board_screenlogo",
                                              "board_block_double",     "buzzer_light_left", "tv_screen_right"};
    Enter({.decade = 2, .crowd = 2, .omit = {missing.begin(), missing.end()}});
    context.m_LeftMemberIndex = 1, context.m_RightMemberIndex = 2;
    context.m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
    for (i32 round : {1, 3}) {
        context.m_RoundCounter = round;
        for (u8 flag : {0, 1}) {
            context.m_LeftMemberOrder = context.m_RightMemberOrder = flag;
            for (void (QZ11Game::*play)() : {&QZ11Game::PlayLeftFamilyPose, &QZ11Game::PlayLeftFamilyIntro,
                                              &QZ11Game::PlayRightFamilyPose, &QZ11Game::PlayRightFamilyIntro,
                                              &QZ11Game::StartRound}) {
                StopShow();
                (match().*play)();
            }
            match().SetupBoardBlocks(6);
            for (int index = -1; index <= 8; ++index)
                match().RevealAnswerBlock(index);
            context.m_BuzzOwner = 1;
            match().LightBuzzer();
            match().StartAnswerTurn();
            match().SetScoreDisplay(false, 10);
            match().SetStageScreens(true);
            match().ResetBoardScreens();
            match().SetCrowdVisible(true);
            QZ11Game::ApplyStageDressing();
            QZ11Game::ApplyInGameStageDressing();
        }
    }
    for (const std::string& name : missing) {
        // A face is missing with its component level.
        const std::string reported = name == "avatar_face_left" ? "ComponentAvatarFace_Left" : name;
        EXPECT_EQ(LogCount("QZ11Game : can't find '" + reported + "' in the level"), 1u) << name;
    }
    // The rest was staged as usual.
    EXPECT_TRUE(Member(0)->m_Behavior.IdleRequest && Member(4)->m_Behavior.IdleRequest && Face(false) && !Face(true));
    EXPECT_EQ(Values(Member(1)->m_Behavior.WalkRequest, GetScoreBehavior(Prop("desk_digit_left"))->Value,
                     Block("buzzer_top_right")->m_Behavior.BuzzRequest),
              Values(1, 10, 1));
}

TEST_F(StagingTest, MissingOrPlainDressingPropsAreReported) {
    // A dressing prop missing from the stage, or of a kind without a stage behaviour, is reported
    // and the rest is dressed.
    Enter({.decade = 2, .plainProps = {"tv_screen_left"}, .omit = {"spotmobil_top_03", "tv_screen_left"}});
    log.Clear();
    QZ11Game::ApplyStageDressing();
    QZ11Game::ApplyInGameStageDressing();
    EXPECT_EQ(LogCount("QZ11Game : can't find 'spotmobil_top_03' in the level"), 1u);
    EXPECT_EQ(LogCount("QZ11Game : 'tv_screen_left' has no stage behaviour"), 2u);
    EXPECT_EQ(Stage("tv_screen_right")->RequestedKey, "empty");
    EXPECT_EQ(Stage("spotmobil_top_reflect_02")->PlayStartKey, "KeyPause");
}

