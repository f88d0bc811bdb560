#include "game/rules/QZ11Game.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "tests/game/rules/MatchStage.h"

using namespace QZ2011;
using namespace match_stage;
using GameServices::Entities::BaseTeamMember;

namespace {

class MatchModeTest : public MatchStageTest {
protected:
    // Player 1's family's member i.
    BaseTeamMember* Player(int i) { return context.m_PlayerOneFamily->m_Members[i]; }
};

}  // namespace

TEST_F(MatchModeTest, ResetKeepsOnlyTheSettings) {
    // A match set up again keeps nothing of the last one (fast money and the award notice
    // included) but the match settings, the scores and the families.
    QZ2011GameContext& c = context;
    const auto state = [&] {
        return std::vector<i64>{c.m_BuzzOwner,        c.m_FaceOffWinner,    c.m_RoundCounter,     c.m_CurrentFamily,
                                c.m_LastAnswerIndex,  c.m_AnswerTurnPending, c.m_AIMayAct,        c.m_AnswerPending,
                                c.m_AnswerAgain,      c.m_StealStarted,     c.m_PlayChosen,       c.m_SkipAllowed,
                                c.m_AIAnswerStarted,  c.m_AIBusy,           c.m_ChosenAnswerIndex, c.m_RoundBank,
                                c.m_TimeUp,           c.m_WentToSuddenDeath, c.m_RightMemberIndex, c.m_LeftMemberIndex,
                                c.m_StruckOutAnswers, i64(c.m_TypedAnswer.Length()), c.m_FastMoneyAnswerIndex,
                                c.m_FastMoneyTotal, c.m_FastMoneyStepFlag, c.m_OpponentNextMember,
                                c.m_FastMoneyAnswered[0] + c.m_FastMoneyAnswered[4], i64(c.m_UnlockedAwardName.Length())};
    };
    const std::vector<i64> fresh{-1, -1, 0, QZ2011GameContext::kNoFamily, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, -1, 0,
                                 0,  0,  QZ2011GameContext::kNoMember, QZ2011GameContext::kNoMember, 0, 0, 0, 0, 0,
                                 QZ2011GameContext::kNoMember, 0, 0};
    c.m_BuzzOwner = c.m_FaceOffWinner = c.m_LastAnswerIndex = c.m_ChosenAnswerIndex = c.m_Difficulty = 2;
    c.m_RoundCounter = c.m_RoundBank = c.m_StruckOutAnswers = c.m_FastMoneyAnswerIndex = c.m_FastMoneyTotal = 3;
    c.m_CurrentFamily = c.m_RightMemberIndex = c.m_LeftMemberIndex = c.m_OpponentNextMember = c.m_Decade = 1;
    c.m_AnswerTurnPending = c.m_AIMayAct = c.m_AnswerPending = c.m_AnswerAgain = c.m_FastMoneyStepFlag = 1;
    c.m_StealStarted = c.m_SkipAllowed = c.m_AIAnswerStarted = c.m_AIBusy = c.m_AnswerEntryOpen = c.m_NumberOfAnswers = 1;
    c.m_TimeUp = c.m_WentToSuddenDeath = c.m_FastMoneyAnswered[0] = c.m_FastMoneyAnswered[4] = 1;
    c.m_PlayChosen = 0;
    c.m_TypedAnswer = c.m_UnlockedAwardName = "last";
    c.m_GamePhase = c.m_ComputerFamily->m_Score = 120;
    const std::vector<Family*> kept = {c.m_PlayerOneFamily, c.m_PlayerTwoFamily, c.m_ComputerFamily};
    // Two players: no opponent looks move the right family's member.
    c.m_TwoPlayers = 1;
    c.ResetGameState();
    EXPECT_EQ(state(), fresh);
    EXPECT_EQ(Values(i32(c.m_GamePhase), c.m_TwoPlayers, c.m_Decade, c.m_Difficulty, c.m_NumberOfAnswers,
                     c.m_AnswerEntryOpen, c.m_ComputerFamily->m_Score), Values(120, 1, 1, 2, 1, 1, 120));
    EXPECT_EQ(kept, (std::vector<Family*>{c.m_PlayerOneFamily, c.m_PlayerTwoFamily, c.m_ComputerFamily}));
}

TEST_F(MatchModeTest, OpponentLooks) {
    // Without a decade the opponent's looks keep their key.
    context.m_OpponentLookKey = "key";
    context.m_Decade = QZ2011GameContext::kNoDecade;
    context.ResetOpponentLooks();
    EXPECT_EQ(context.m_OpponentLookKey, "key");
    // The computer families' look files; none past the tables.
    EXPECT_EQ(QZ11Game::OpponentLookFile(3, 1, 2) + "|" + QZ11Game::OpponentLookFile(4, 0, 0) +
                  QZ11Game::OpponentLookFile(0, 0, 4), "00s_F2_AppearanceOpponentFemale01.xml|");
}

TEST_F(MatchModeTest, SwitchTurn) {
    // The turn passes between the two families of the match; from a family that does not play in
    // it, or nobody, it stays and is reported.
    // (two players, from, to): a kept turn is reported.
    const i32 switches[][3] = {{0, 1, 0}, {0, 0, 1}, {1, 1, 2}, {1, 2, 1}, {1, 0, 0}, {0, 2, 2}, {0, 3, 3}, {1, 3, 3}};
    for (const auto& c : switches) {
        log.Clear();
        context.m_TwoPlayers = u32(c[0]);
        context.m_CurrentFamily = c[1];
        context.SwitchTurn();
        EXPECT_EQ(Values(context.m_CurrentFamily, log.Contains("We can't switch trun from NOBODY!!")),
                  Values(c[2], c[1] == c[2])) << c[0] << c[1];
    }
}

TEST_F(MatchModeTest, BuzzSidesFamiliesAndMemberCycles) {
    // Buzz sides; the families made afresh, player one's with its two members; each side's member cycle.
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

TEST_F(MatchModeTest, ActionsTakenInTheirPhases) {
    // Every action in every phase, with and without a second player and an open answer entry:
    // each is taken only in its phases and flags, and a taken one fires its one event.
    Enter(StageLevel());
    const std::set<i32> answerPhases = {8, 9, 12, 13, 20, 21, 24, 25};
    for (i32 phase = -1; phase <= 30; ++phase)
        for (u32 two : {0u, 1u})
            for (u8 open : {0, 1}) {
                SCOPED_TRACE(std::to_string(phase) + " two " + std::to_string(two) + " open " + std::to_string(open));
                context.m_GamePhase = phase;
                context.m_TwoPlayers = two;
                context.m_AnswerEntryOpen = open;
                struct Case { const char* action; int event; bool taken; };
                const Case cases[] = {{"BuzzSinglePlayer", 0, two == 0 && (phase == 7 || phase == 17)},
                                      {"EnterAnswer", 3, open && answerPhases.count(phase)},
                                      {"EnterAIAnswer", 3, answerPhases.count(phase) > 0}};
                for (const Case& c : cases) {
                    events.Attach(match());
                    context.m_LastAnswerIndex = 99;
                    context.m_BuzzOwner = -1;
                    SendAction(context, c.action, Player(0));
                    EXPECT_EQ(events.fired, c.taken ? std::vector<int>{c.event} : std::vector<int>{}) << c.action;
                    EXPECT_EQ(events.recorders[c.event].last, c.taken ? Player(0) : nullptr);
                    // The answer check ran exactly when the answer was taken (no question: wrong).
                    EXPECT_EQ(Values(context.m_LastAnswerIndex, context.m_BuzzOwner),
                              Values(c.taken && c.event == 3 ? -1 : 99, c.taken && c.event == 0 ? 0 : -1)) << c.action;
                }
            }
}

TEST_F(MatchModeTest, AnswerWithoutDataIsNotTaken) {
    Enter(StageLevel());
    // An answer that comes without its data is not taken.
    context.m_GamePhase = 8;
    events.Attach(match());
    match().OnEnterAIAnswer(nullptr);
    EXPECT_TRUE(events.fired.empty());
}

TEST_F(MatchModeTest, SkipEndsSkippableSequences) {
    Enter(StageLevel());
    // A skip ends only a skippable sequence, only while skipping is allowed; in a single-player
    // match a waiting computer family is told to act.
    GameShow::SequenceManager* sequences = context.GetSequenceManager();
    for (const char* name : {"long", "fixed"})
        sequences->LoadSequence(name, home.Write(name, SequenceFile(9000, name[0] == 'l')).c_str());
    struct Case { const char* sequence; u8 allowed, busy; u32 two; bool ends; u8 notice; };
    const Case cases[] = {{"long", 1, 1, 0, true, 1},  {"long", 0, 1, 0, false, 0}, {"fixed", 1, 1, 0, false, 1},
                          {"long", 1, 0, 0, true, 0},  {"long", 1, 1, 1, true, 0}};
    for (const Case& c : cases) {
        sequences->PlaySequence(c.sequence);
        context.m_SkipAllowed = c.allowed;
        context.m_AIBusy = c.busy;
        context.m_TwoPlayers = c.two;
        context.m_AIAnswerStarted = 0;
        SendAction(context, "SkipSequence", Player(0));
        EXPECT_EQ(sequences->GetCurrentSequence() == nullptr, c.ends) << c.sequence;
        EXPECT_EQ(context.m_AIAnswerStarted, c.notice) << c.sequence;
    }
}

TEST_F(MatchModeTest, BuzzMarksItsMember) {
    Enter(StageLevel());
    // Who a buzz marks: the left member at player 1's index for device 0, the right member at the
    // right index otherwise; an index outside 0..3 marks nobody on either side.
    struct Buzz { bool computer; i32 device, left, right; const char* marked; u8 mayActAfter; };
    const Buzz buzzes[] = {{false, 0, 2, 1, "contestant_left_3", 0},  {false, 1, 2, 1, "contestant_right_2", 1},
                           {true, 1, 0, 3, "contestant_right_4", 1},  {false, 1, 0, 4, nullptr, 1},
                           {false, 0, 4, 0, nullptr, 0},               {true, 1, 0, -1, nullptr, 1},
                           {false, 0, 0, 1, "contestant_left_1", 0}};
    for (const Buzz& c : buzzes) {
        SCOPED_TRACE(c.marked ? c.marked : "nobody");
        for (int i = 0; i < 8; ++i)
            Member(i)->m_Behavior.BuzzRequest = 0;
        context.m_GamePhase = PhaseSuddenDeathBuzz;
        context.m_TwoPlayers = 0;
        context.m_AIMayAct = 1;
        context.m_BuzzOwner = 1;
        context.m_LeftMemberIndex = c.left;
        context.m_RightMemberIndex = c.right;
        Player(1)->m_Computer = c.computer;
        Player(1)->m_DeviceId = c.device;
        events.Attach(match());
        SendAction(context, "BuzzSinglePlayer", Player(1));
        EXPECT_EQ(events.recorders[0].last, Player(1));
        EXPECT_EQ(Values(context.m_BuzzOwner, context.m_AIMayAct), Values(c.computer ? 1 : 0, c.mayActAfter));
        // Marked, each from its own side.
        std::vector<std::string> marked;
        for (int i = 0; i < 8; ++i)
            if (Member(i)->m_Behavior.BuzzRequest)
                marked.push_back(Contestant(i) + (Member(i)->m_Behavior.BuzzFromLeft == (i < 4) ? "" : " wrong side"));
        EXPECT_EQ(marked, c.marked ? std::vector<std::string>{c.marked} : std::vector<std::string>{});
    }
}

TEST_F(MatchModeTest, RoundTurnClearsStrikes) {
    Enter(StageLevel());
    // The family at the turn starts its round answers without strikes, the others keep theirs;
    // with no family set the turn is reported and no family's strikes change. The turn is
    // announced either way.
    Family* families[] = {context.m_ComputerFamily, context.m_PlayerOneFamily, context.m_PlayerTwoFamily};
    for (i32 family : {0, 1, 2, QZ2011GameContext::kNoFamily}) {
        for (Family* f : families)
            f->m_Strikes = 2;
        context.m_CurrentFamily = family;
        events.Attach(match());
        match().StartRoundAnswerTurn();
        EXPECT_EQ(Values(families[0]->m_Strikes, families[1]->m_Strikes, families[2]->m_Strikes,
                         log.Contains("No family set!!"), events.recorders[13].count),
                  Values(family == 0 ? 0 : 2, family == 1 ? 0 : 2, family == 2 ? 0 : 2, family > 2, 1)) << family;
    }
}

TEST_F(MatchModeTest, CursorsFollowDevices) {
    // Level start and a device connection alike link member i with "PlayerCursor" + i; a device
    // naming no member and a missing cursor are reported and skipped.
    context.m_TwoPlayers = 1;
    Player(0)->m_Active = Player(1)->m_Active = 1;
    Enter({.cursors = true});
    GameServices::Entities::ComponentLevel* cursors = set()->FindComponentLevel("PlayerCursors");
    ASSERT_NE(cursors, nullptr);
    auto cursor = [&](int i) {
        return dynamic_cast<GameServices::KorvoGame::CollisionCursor*>(
            cursors->FindProp(("PlayerCursor" + std::to_string(i)).c_str()));
    };
    for (int i = 0; i < 2; ++i) {
        ASSERT_NE(cursor(i), nullptr);
        EXPECT_TRUE(cursor(i)->GetMember() == Player(i) && Player(i)->m_Entity == cursor(i)) << i;
        Player(i)->m_Entity = nullptr;
        cursor(i)->SetMember(nullptr);
    }
    for (int id : {1, 0, -1, 2}) {
        LogCapture lines;
        GameServices::Bridge::DeviceInfos infos;
        infos.m_DeviceId = id;
        GameServices::KorvoGame::TeamActionManager::GetFreeDeviceConnectedEvent().Fire(infos);
        EXPECT_TRUE(id < 0 || id > 1
                        ? lines.Contains("a connected device names no member of the team: " + std::to_string(id))
                        : cursor(id)->GetMember() == Player(id) && Player(id)->m_Entity == cursor(id))
            << id;
    }
    LogCapture lines;
    context.AttachPlayerCursor(Player(0), 2);
    EXPECT_TRUE(lines.Contains("no player cursor PlayerCursor2 in the level's PlayerCursors"));
    EXPECT_EQ(Player(0)->m_Entity, cursor(0));
    // A lost device's cursor is stopped and hidden; the other player's stays.
    cursor(0)->Synchronize = true;
    GameServices::KorvoGame::TeamActionManager::GetMemberDeviceLostEvent().Fire(Player(0));
    EXPECT_TRUE(!cursor(0)->Visible && !cursor(0)->Synchronize && cursor(1)->Visible);
}
