#include "gameservices/game/TeamRegistry.h"

#include <gtest/gtest.h>

#include "gameservices/entities/Team.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;
using GameServices::Entities::BaseTeamMember;
using GameServices::Entities::Team;

namespace {

int g_live = 0;
using CountedTeam = Counted<Team, g_live>;
using CountedMember = Counted<BaseTeamMember, g_live>;

}  // namespace

TEST(TeamRegistryTest, FindsThePlayersTeamNumbersMembersAndDeletesMembersFirst) {
    LogCapture log;
    TeamRegistry registry;
    EXPECT_TRUE(registry.GetTeam() == nullptr && log.Contains("Invalid team id!"));
    auto *other = new CountedTeam, *players = new CountedTeam;
    // Id 100 is the players' team, whichever order the teams come in.
    registry.AddTeam(other, 101);
    registry.AddTeam(players, 100);
    EXPECT_EQ(registry.GetTeam(), players);

    auto *first = new CountedMember, *second = new CountedMember;
    registry.AddMember(first);
    registry.AddMember(second);
    EXPECT_TRUE(second->m_MemberId == first->m_MemberId + 1 && g_live == 4);
    registry.DeleteMembers();
    EXPECT_EQ(g_live, 2);
    registry.DeleteAll();
    EXPECT_TRUE(g_live == 0 && registry.GetTeam() == nullptr);
}
