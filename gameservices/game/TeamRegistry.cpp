#include "gameservices/game/TeamRegistry.h"

#include "engine/core/AGLog.h"
#include "gameservices/entities/Team.h"

namespace GameServices::KorvoGame {

void TeamRegistry::AddTeam(Entities::Team* team, u32 teamId) {
    if (team)
        m_Teams.push_back({teamId, team});
}

void TeamRegistry::AddMember(Entities::BaseTeamMember* member) {
    if (!member)
        return;
    member->m_MemberId = m_NextMemberId++;
    m_Members.push_back(member);
}

Entities::Team* TeamRegistry::GetTeam() const {
    for (const RegisteredTeam& team : m_Teams)
        if (team.m_Id == kPlayersTeamId)
            return team.m_Team;
    AGReport("Invalid team id!");
    return nullptr;
}

void TeamRegistry::DeleteMembers() {
    for (Entities::BaseTeamMember* member : m_Members)
        delete member;
    m_Members.clear();
}

void TeamRegistry::DeleteAll() {
    DeleteMembers();
    for (const RegisteredTeam& team : m_Teams)
        delete team.m_Team;
    m_Teams.clear();
}

}  // namespace GameServices::KorvoGame
