#include <gtest/gtest.h>

#include <string>

#include "tests/game/rules/MatchStage.h"

using namespace QZ2011;
using namespace match_stage;

namespace {

class StagingTest : public MatchStageTest {};

}  // namespace

// Both poses for every decade and difficulty: the sequence by decade and difficulty, the pose
// ids (decade base + family offset + member offset), the animation sets, the marker and the
// turn; a decade or difficulty outside the tables plays and requests nothing.
TEST_F(StagingTest, FamilyPosesByDecadeAndDifficulty) {
    Enter(StageLevel());
    const int bases[] = {7000, 8000, 9000, 2000};
    const char* decades[] = {"70", "80", "90", "00"};
    const char* levels[] = {"Easy", "Med", "Hard"};
    // Members 1..4 take the member offsets 0, 2, 1, 3.
    const int memberOffset[] = {0, 2, 1, 3};
    for (u32 decade = 0; decade <= 4; ++decade)
        for (u32 difficulty = 0; difficulty <= 3; ++difficulty) {
            SCOPED_TRACE(std::to_string(decade) + "/" + std::to_string(difficulty));
            context.m_Decade = decade;
            context.m_Difficulty = difficulty;
            for (int i = 0; i < 8; ++i) {
                Member(i)->m_Behavior.PoseRequest = 0;
                Member(i)->m_Behavior.PoseId = -1;
                Member(i)->SetVisible(i >= 4);
            }
            for (bool left : {true, false}) {
                StopShow();
                const bool posed = decade < 4 && (left || difficulty < 3);
                left ? match().PlayLeftFamilyPose() : match().PlayRightFamilyPose();
                EXPECT_EQ(Playing(), left    ? std::string("left_pose")
                                     : posed ? std::string("right_pose") + decades[decade] + levels[difficulty]
                                             : "");
                const int first = left ? 0 : 4;
                const int pose = left ? 30 : int(difficulty) * 10;
                for (int i = 0; i < 8; ++i) {
                    QZCharacter* member = Member(i);
                    EXPECT_EQ(member->Visible, (i < 4) == left) << i;
                    if ((i < 4) != left)
                        continue;
                    const int id = bases[decade < 4 ? decade : 0] + pose + memberOffset[i - first];
                    EXPECT_TRUE(Near(PositionOf(member),
                                     PositionOf(left ? "box_position_left_pose" : "box_position_right_pose")));
                    // The pose, the turn and member i's own animation set.
                    EXPECT_EQ(Values(member->m_Behavior.PoseRequest, member->m_Behavior.PoseId, member->GetRotationY(),
                                     member->Synchronize, member->IsMale1, member->IsMale2, member->IsFemale1,
                                     member->IsFemale2),
                              Values(posed, posed ? id : -1, left ? -60 : 60, false, i == first, i == first + 1,
                                     i == first + 2, i == first + 3)) << i;
                }
            }
        }
}

// The left pose switches the stage to its in-game look and sends the crowd away; the
// introductions play their sequence and place their family with its request.
TEST_F(StagingTest, PoseHidesTheCrowdAndIntroductionsPlaceTheirFamily) {
    Enter(StageLevel().Crowd(3));
    ASSERT_EQ(match().GetCrowd().Count(), 3u);
    match().SetCrowdVisible(true);
    for (GameServices::Entities::Entity* member : match().GetCrowd())
        EXPECT_TRUE(member->Visible && !member->Synchronize);
    match().PlayLeftFamilyPose();
    for (GameServices::Entities::Entity* member : match().GetCrowd())
        EXPECT_FALSE(member->Visible);
    EXPECT_TRUE(Prop("board_lights_ingame")->Visible);
    EXPECT_FALSE(Prop("board_lights_intro")->Visible);

    struct Case { bool left; const char* sequence; };
    for (const Case& c : {Case{true, "left_intro"}, Case{false, "right_intro"}}) {
        StopShow();
        for (int i = 0; i < 8; ++i) {
            Member(i)->SetVisible(true);
            Member(i)->m_Behavior.IdleRequest = 0;
        }
        c.left ? match().PlayLeftFamilyIntro() : match().PlayRightFamilyIntro();
        EXPECT_EQ(Playing(), c.sequence);
        for (int i = 0; i < 8; ++i) {
            const bool ours = (i < 4) == c.left;
            EXPECT_EQ(Member(i)->Visible, ours) << i;
            EXPECT_EQ(Member(i)->m_Behavior.IdleRequest, ours) << i;
        }
    }
}

// The podiums: the left family by its alternate-order flag; player 2's by its own; the
// computer family by decade and difficulty.
TEST_F(StagingTest, FamiliesTakeTheirPodiums) {
    Enter(StageLevel());
    const char* left[] = {"box_position_m1_left01", "box_position_m2_left01", "box_position_m3_left01",
                          "box_position_m4_left01"};
    const char* right[] = {"box_position_m1_left", "box_position_m2_left", "box_position_m3_left",
                           "box_position_m4_left"};
    enum { A, B, C, D };
    struct LeftCase { u8 alternate; int podium[4]; };
    for (const LeftCase& c : {LeftCase{1, {A, C, B, D}}, LeftCase{0, {B, D, A, C}}}) {
        context.m_LeftMemberOrder = c.alternate;
        match().PlaceLeftFamily();
        for (int m = 0; m < 4; ++m) {
            EXPECT_TRUE(Near(PositionOf(Member(m)), PositionOf(left[c.podium[m]]))) << int(c.alternate) << m;
            EXPECT_EQ(Member(m)->GetRotationY(), m % 2 ? -50.0f : -45.0f);
            EXPECT_TRUE(Member(m)->Visible);
        }
    }
    // (two players, order flag, decade, difficulty) -> podiums of members 1..4; player 2's
    // family turns as the left one does, the computer family 50 degrees.
    struct RightCase { u32 two; u8 alternate; u32 decade, difficulty; int podium[4]; };
    const RightCase rightCases[] = {
        {1, 1, 0, 0, {A, C, B, D}}, {1, 0, 0, 0, {B, D, A, C}}, {0, 1, 0, 0, {C, B, A, D}},
        {0, 0, 2, 0, {C, B, A, D}}, {0, 0, 1, 1, {D, B, C, A}}, {0, 0, 3, 0, {D, B, C, A}},
        {0, 0, 2, 2, {C, D, A, B}}, {0, 0, 3, 2, {C, D, A, B}}, {0, 0, 0, 1, {A, B, C, D}},
        {0, 0, 1, 0, {A, B, C, D}}, {0, 0, 2, 1, {A, B, C, D}}, {0, 0, 3, 1, {A, B, C, D}},
        {0, 0, 0, 2, {A, B, C, D}}, {0, 0, 1, 2, {A, B, C, D}}, {0, 0, 4, 0, {A, B, C, D}}};
    for (const RightCase& c : rightCases) {
        SCOPED_TRACE(std::to_string(c.two) + std::to_string(c.alternate) + std::to_string(c.decade) +
                     std::to_string(c.difficulty));
        context.m_TwoPlayers = c.two;
        context.m_RightMemberOrder = c.alternate;
        context.m_Decade = c.decade;
        context.m_Difficulty = c.difficulty;
        for (int m = 4; m < 8; ++m)
            Member(m)->SetVisible(false);
        match().PlaceRightFamily();
        for (int m = 0; m < 4; ++m) {
            EXPECT_TRUE(Near(PositionOf(Member(4 + m)), PositionOf(right[c.podium[m]]))) << m;
            EXPECT_EQ(Member(4 + m)->GetRotationY(), c.two ? (m % 2 ? 50.0f : 45.0f) : 50.0f) << m;
            EXPECT_TRUE(Member(4 + m)->Visible);
        }
    }
}

// The round opening by round number, the face-off staging of both buzzing members and the
// blocks closed; an index outside 0..3 stages nobody on its side.
TEST_F(StagingTest, RoundOpeningByRoundNumber) {
    Enter(StageLevel());
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
        context.m_RoundCounter = c.round;
        context.m_StealStarted = 1;
        context.m_LeftMemberIndex = c.leftIndex;
        context.m_RightMemberIndex = c.rightIndex;
        Prop("board_screenlogo")->SetVisible(true);
        for (int i = 0; i < 8; ++i) {
            Member(i)->SetVisible(true);
            Member(i)->m_Behavior.WalkRequest = 0;
            Member(i)->SetRotationY(33.0f);
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
            EXPECT_EQ(Member(i)->Visible, staged) << i;
            EXPECT_EQ(Member(i)->m_Behavior.WalkRequest, staged) << i;
            if (!staged)
                continue;
            EXPECT_EQ(Member(i)->GetRotationY(), i < 4 ? 0.0f : 180.0f);
            EXPECT_TRUE(Near(PositionOf(Member(i)), i < 4 ? AGVec3{-10, 0, 0} : AGVec3{10, 0, -300}));
        }
        EXPECT_TRUE(Block("board_block_03")->m_Behavior.ShowFrontRequest && Block("board_block_dt_06")->m_Behavior.ShowFrontRequest);
    }
}

// The board for a question: the single layout with one block per answer and the covers in
// the gaps, or the six-answer layout of the 90s and 00s from round 3 on; the sign of the
// round; the 80s side screens away in the long rounds.
TEST_F(StagingTest, BoardLayoutForTheQuestion) {
    // Shown: board_block_01..08, board_block_dt_01..06, board_block_empty_02..08, the double and
    // triple signs, and for the 80s the side screens.
    struct Case { u32 decade; i32 round, answers; const char* shown; };
    const Case cases[] = {
        {0, 1, 0, "00000000 000000 1111111 00"},
        {0, 1, 8, "11111111 000000 0000000 00"},
        {3, 5, 1, "00000000 100000 1101110 01"},
        {2, 3, 8, "00000000 111111 0000000 10"},
        {2, 2, 5, "11111000 000000 0000111 00"},
        {3, 4, 4, "00000000 111100 0000110 01"},
        {0, 3, 5, "11111000 000000 0000111 10"},
        {1, 4, 6, "11111100 000000 0000011 01 00"},
        {1, 3, 2, "11000000 000000 0111111 10 00"},
        {1, 2, 3, "11100000 000000 0011111 00 11"},
    };
    for (u32 decade : {0u, 1u, 2u, 3u}) {
        Enter({.decade = int(decade)});
        for (const Case& c : cases) {
            if (c.decade != decade)
                continue;
            SCOPED_TRACE(std::to_string(c.decade) + " round " + std::to_string(c.round) + " n " +
                         std::to_string(c.answers));
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
                          bits("board_block_empty_", 2, 8) + " " +
                          (Prop("board_block_double")->Visible ? "1" : "0") +
                          (Prop("board_block_triple")->Visible ? "1" : "0") +
                          (decade == 1 ? " " + bits("board_side_single_", 1, 2) : ""),
                      c.shown);
        }
    }
}

// An opened block: the face of the playing family's side reacts; the block is the six-answer
// one in the long rounds of the 90s and 00s; an index outside the layout in use (-1 after a
// wrong answer, 6 or 7 in the six-answer layout) opens nothing.
TEST_F(StagingTest, RevealedBlockAndTheFacesReaction) {
    struct Case { u32 decade; i32 round, family, side, index; const char* opened; bool style00; int face; };
    // face: 0 left reacts, 1 right, -1 none.
    const Case cases[] = {
        {0, 1, 1, 0, 0, "board_block_01", false, 0},   {3, 4, 1, 0, 7, nullptr, false, 0},
        {2, 4, 1, 0, -1, nullptr, false, 0},
        {0, 3, 0, 1, 7, "board_block_08", false, 1},   {2, 3, 1, 0, 5, "board_block_dt_06", false, 0},
        {2, 3, 1, 0, 6, nullptr, false, 0},            {2, 2, 1, 0, 6, "board_block_07", false, 0},
        {3, 5, 0, 1, 0, "board_block_dt_01", true, 1}, {3, 1, 1, 0, 2, "board_block_03", true, 0},
        {0, 1, 1, 0, -1, nullptr, false, 0},           {0, 1, 0, 1, 8, nullptr, false, 1},
        {0, 1, 3, 0, 1, "board_block_02", false, -1},
    };
    for (u32 decade : {0u, 2u, 3u}) {
        Enter({.decade = int(decade)});
        for (const Case& c : cases) {
            if (c.decade != decade)
                continue;
            SCOPED_TRACE(std::to_string(decade) + " round " + std::to_string(c.round) + " index " +
                         std::to_string(c.index));
            log.Clear();
            for (GameServices::Entities::Prop* prop : set()->m_Props)
                if (auto* block = dynamic_cast<Board*>(prop))
                    block->m_Behavior.FlipRequest = block->m_Behavior.FlipToBack = 0;
            Face(true)->m_Behavior.WinSmallFamilyRequest = Face(false)->m_Behavior.WinSmallRequest = 0;
            context.m_RoundCounter = c.round;
            context.m_CurrentFamily = c.family;
            if (Family* family = c.family == 3 ? nullptr : context.GetCurrentFamily())
                family->m_Side = c.side;
            match().RevealAnswerBlock(c.index);
            int opened = 0;
            for (GameServices::Entities::Prop* prop : set()->m_Props)
                if (auto* block = dynamic_cast<Board*>(prop); block && block->m_Behavior.FlipRequest) {
                    ++opened;
                    EXPECT_EQ(block->Name, c.opened);
                    EXPECT_EQ(block->m_Behavior.FlipToBack, c.style00);
                }
            EXPECT_EQ(Values(opened, Face(true)->m_Behavior.WinSmallFamilyRequest,
                             Face(false)->m_Behavior.WinSmallRequest, log.Contains("No family set!!")),
                      Values(c.opened ? 1 : 0, c.face == 0, c.face == 1, c.face == -1));
        }
    }
}

// Score displays take the value with a refresh; a value above 999 is written and reported
// once per display.
TEST_F(StagingTest, ScoreDisplaysOfEachFamily) {
    Enter(StageLevel());
    struct Case { bool right; int value; size_t reports; };
    const Case cases[] = {{false, 1000, 2}, {true, 999, 0}, {true, 1234, 2}, {false, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        log.Clear();
        const char* names[] = {"screen_digits_left", "desk_digit_left", "screen_digits_right", "desk_digit_right"};
        for (const char* name : names) {
            GetScoreBehavior(Prop(name))->Value = 7;
            GetScoreBehavior(Prop(name))->UpdateRequest = 0;
        }
        match().SetScoreDisplay(c.right, c.value);
        for (int i = 0; i < 4; ++i) {
            const bool written = (i >= 2) == c.right;
            EXPECT_EQ(GetScoreBehavior(Prop(names[i]))->Value, written ? c.value : 7) << names[i];
            EXPECT_EQ(GetScoreBehavior(Prop(names[i]))->UpdateRequest, written) << names[i];
        }
        EXPECT_EQ(LogCount("the number is too big"), c.reports);
    }
}

// The buzzer of the buzzing side lights; the answer turn puts both lights back to idle.
TEST_F(StagingTest, BuzzerLightsFollowTheBuzzOwner) {
    Enter(StageLevel());
    auto* lightLeft = dynamic_cast<QZBuzzLightProps*>(Prop("buzzer_light_left"));
    auto* lightRight = dynamic_cast<QZBuzzLightProps*>(Prop("buzzer_light_right"));
    ASSERT_TRUE(lightLeft && lightRight);
    for (i32 owner : {0, 1, -1}) {
        SCOPED_TRACE(owner);
        match().StartAnswerTurn();
        Block("buzzer_top_left")->m_Behavior.BuzzRequest = Block("buzzer_top_right")->m_Behavior.BuzzRequest = 0;
        context.m_BuzzOwner = owner;
        match().LightBuzzer();
        const bool left = owner == 0;
        EXPECT_EQ(Block("buzzer_top_left")->m_Behavior.BuzzRequest, left);
        EXPECT_EQ(Block("buzzer_top_right")->m_Behavior.BuzzRequest, !left);
        QZBuzzLightProps* lit = left ? lightLeft : lightRight;
        QZBuzzLightProps* idle = left ? lightRight : lightLeft;
        const BehaviorBuzzLight &on = lit->m_Behavior, &off = idle->m_Behavior;
        EXPECT_TRUE(!on.ShowFirstFrameRequest && !on.PlayOnceRequest && on.ShowLastFrameRequest);
        EXPECT_TRUE(off.ShowFirstFrameRequest && !off.ShowLastFrameRequest && !off.PlayOnceRequest);
    }
}

// Fast money and end screens: the chosen screen, the board emptied, the screen digits
// blanked, and the decade's screen props holding their logo.
TEST_F(StagingTest, StageScreensForFastMoney) {
    for (int decade : {2, 3, 1}) {
        Enter({.decade = decade});
        for (bool first : {true, false}) {
            SCOPED_TRACE(std::to_string(decade) + (first ? " first" : " second"));
            for (GameServices::Entities::Prop* prop : set()->m_Props) {
                prop->SetVisible(true);
                if (BehaviorStage* stage = GetStageBehavior(prop))
                    BehaviorStage::PlayAnimation("startKey", stage, 4);
            }
            for (const char* name : {"screen_digits_left", "screen_digits_right", "screen_digit_center",
                                     "desk_digit_left"}) {
                GetScoreBehavior(Prop(name))->Value = 50;
                GetScoreBehavior(Prop(name))->UpdateRequest = 0;
            }
            match().SetStageScreens(first);
            EXPECT_EQ(Prop("board_screen10_a")->Visible, first);
            EXPECT_EQ(Prop("board_screen10_b")->Visible, !first);
            for (GameServices::Entities::Prop* prop : set()->m_Props)
                EXPECT_FALSE(std::string(prop->Name.c_str()).starts_with("board_block") && prop->Visible)
                    << prop->Name.c_str();
            for (const char* name : {"screen_digits_left", "screen_digits_right", "screen_digit_center"})
                EXPECT_TRUE(GetScoreBehavior(Prop(name))->Value == -1 && GetScoreBehavior(Prop(name))->UpdateRequest);
            EXPECT_EQ(GetScoreBehavior(Prop("desk_digit_left"))->Value, 50);
            std::vector<std::string> logos;
            for (GameServices::Entities::Prop* prop : set()->m_Props)
                if (BehaviorStage* stage = GetStageBehavior(prop)) {
                    if (stage->RequestedKey == "logo") {
                        logos.push_back(prop->Name.c_str());
                        EXPECT_FALSE(stage->PlayRequest);
                    } else {
                        EXPECT_TRUE(stage->PlayRequest);
                    }
                }
            const std::vector<std::string> expected =
                decade == 3 ? std::vector<std::string>{"board_score_screens"}
                : decade == 2 ? std::vector<std::string>{"tv_screen_left", "tv_screen_right"}
                              : std::vector<std::string>{};
            EXPECT_EQ(logos, expected);
        }
    }
}

// Back to the logo: the 80s side screens shown, the logo shown, both screens hidden.
TEST_F(StagingTest, BoardScreensBackToTheLogo) {
    for (int decade : {1, 0}) {
        Enter({.decade = decade, .plainProps = {"board_side_single_01", "board_side_single_02"}});
        for (GameServices::Entities::Prop* prop : set()->m_Props)
            prop->SetVisible(prop->Name == "board_screen10_a" || prop->Name == "board_screen10_b");
        match().ResetBoardScreens();
        EXPECT_EQ(Values(Prop("board_screenlogo")->Visible, Prop("board_screen10_a")->Visible,
                         Prop("board_screen10_b")->Visible, Prop("board_side_single_01")->Visible,
                         Prop("board_side_single_02")->Visible),
                  Values(true, false, false, decade == 1, decade == 1));
    }
}

// A level without match settings is reported and the context keeps the last ones.
TEST_F(StagingTest, ALevelWithoutTuningKeepsTheLastOne) {
    Enter(StageLevel());
    log.Clear();
    Enter({.applicationData = false});
    EXPECT_TRUE(log.Contains("Missing applicationData  for the level !"));
    EXPECT_EQ(Values(context.m_NumberOfAnswers, context.m_FastMoneySecondTime), Values(7, 25));
}

// A level without some of its stage: each missing name is reported once at level start and
// every staging step goes on without it.
TEST_F(StagingTest, MissingStageEntitiesAreReportedOnceAndSkipped) {
    const std::vector<std::string> missing = {"box_position_left_pose", "box_position_m2_left01", "contestant_right_3",
                                              "board_block_dt_04",      "board_block_empty_05",   "avatar_face_left",
                                              "screen_digits_left",     "buzzer_light_right",     "board_screenlogo",
                                              "board_block_double",     "buzzer_light_left", "tv_screen_right"};
    Enter({.decade = 2, .crowd = 2, .omit = {missing.begin(), missing.end()}});
    context.m_LeftMemberIndex = 1;
    context.m_RightMemberIndex = 2;
    context.m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
    for (i32 round : {1, 3}) {
        context.m_RoundCounter = round;
        for (u8 flag : {0, 1}) {
            context.m_LeftMemberOrder = context.m_RightMemberOrder = flag;
            StopShow();
            match().PlayLeftFamilyPose();
            StopShow();
            match().PlayLeftFamilyIntro();
            StopShow();
            match().PlayRightFamilyPose();
            StopShow();
            match().PlayRightFamilyIntro();
            StopShow();
            match().StartRound();
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
    EXPECT_EQ(Values(Member(1)->m_Behavior.WalkRequest, GetScoreBehavior(Prop("desk_digit_left"))->Value),
              Values(1, 10));
}
