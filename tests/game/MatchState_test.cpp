// The match state of the game context: the reset between matches, families and their members,
// and the opponent family's looks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/QZ2011GameContext.h"
#include "game/rules/Family.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/TeamRegistry.h"
#include "tests/support/LogCapture.h"

namespace {

class MatchState : public ::testing::Test {
protected:
    QZ2011GameContext context;
    LogCapture log;
};

// The fields beyond the turn and answer state (which the match mode's tests reset), set away
// from their reset values: the fast-money state and the notice are reset, the rest is kept.
TEST_F(MatchState, ResetClearsFastMoneyAndTheNoticeAndKeepsTheMatchSettings) {
    context.CreateFamilies();
    QZ2011GameContext& c = context;
    c.m_GamePhase = QZ2011::PhaseSteal;
    c.m_TwoPlayers = c.m_Decade = 1;
    c.m_Difficulty = c.m_NumberOfAnswers = 2;
    c.m_AnswerEntryOpen = c.m_FastMoneyStepFlag = c.m_OpponentNextMember = 1;
    c.m_FastMoneyAnswerIndex = c.m_FastMoneyTotal = 3;
    for (u8& answered : c.m_FastMoneyAnswered)
        answered = 1;
    c.m_UnlockedAwardName = "80s Pro";
    c.m_OpponentLookKey = "key";
    c.m_ComputerFamily->m_Score = 120;
    QZ2011::Family* families[] = {c.m_PlayerOneFamily, c.m_PlayerTwoFamily, c.m_ComputerFamily};
    c.ResetGameState();

    // Reset: the fast-money state and the opponent's next member; kept: the rest.
    EXPECT_EQ(std::vector<i64>({c.m_FastMoneyAnswerIndex, c.m_FastMoneyTotal, c.m_FastMoneyStepFlag,
                                c.m_OpponentNextMember, c.m_FastMoneyAnswered[0] + c.m_FastMoneyAnswered[4]}),
              std::vector<i64>({0, 0, 0, 4, 0}));
    EXPECT_EQ(std::vector<i64>({i32(c.m_GamePhase), c.m_TwoPlayers, c.m_Decade, c.m_Difficulty, c.m_NumberOfAnswers,
                                c.m_AnswerEntryOpen, c.m_ComputerFamily->m_Score}),
              std::vector<i64>({QZ2011::PhaseSteal, 1, 1, 2, 2, 1, 120}));
    // Without a decade the opponent's looks keep their key.
    c.m_Decade = QZ2011GameContext::kNoDecade;
    c.ResetOpponentLooks();
    EXPECT_EQ(std::string(c.m_UnlockedAwardName.c_str()) + "|" + c.m_OpponentLookKey.c_str(), "|key");
    EXPECT_EQ(std::vector<QZ2011::Family*>(std::begin(families), std::end(families)),
              (std::vector<QZ2011::Family*>{c.m_PlayerOneFamily, c.m_PlayerTwoFamily, c.m_ComputerFamily}));
}

TEST_F(MatchState, BuzzSidesFamiliesAndMembers) {
    for (const auto& [owner, other] : std::vector<std::pair<i32, i32>>{{0, 1}, {1, 0}, {-1, -1}, {2, -1}}) {
        context.m_BuzzOwner = owner;
        EXPECT_EQ(context.GetOtherBuzzSide(), other) << owner;
    }

    context.CreateFamilies();
    GameServices::Entities::Team* team = context.GetTeamRegistry()->GetTeam();
    ASSERT_TRUE(team == context.m_PlayerOneFamily && team->m_Members.size() == 2u);
    EXPECT_TRUE(team->m_Members[0]->m_Team == team && team->m_Members[1]->m_Team == team && context.m_ComputerFamily &&
                context.m_PlayerTwoFamily && context.m_ComputerFamily != context.m_PlayerTwoFamily);

    for (const bool left : {true, false})
        for (const auto& [order, steps] : std::vector<std::pair<u8, std::vector<i32>>>{{0, {2, 0, 3, 1, 2}},
                                                                                       {1, {0, 2, 1, 3, 0}}}) {
            (left ? context.m_LeftMemberOrder : context.m_RightMemberOrder) = order;
            i32& index = left ? context.m_LeftMemberIndex : context.m_RightMemberIndex;
            index = 4;
            std::vector<i32> seen;
            for (int i = 0; i < 5; ++i) {
                context.NextFamilyMember(left);
                seen.push_back(index);
            }
            EXPECT_EQ(seen, steps) << left << " " << int(order);
        }
    context.m_LeftMemberIndex = 7;
    context.NextFamilyMember(true);
    EXPECT_EQ(context.m_LeftMemberIndex, 7);
}

}  // namespace
