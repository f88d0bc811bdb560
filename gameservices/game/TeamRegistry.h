#pragma once
// The teams and team members of a game, owned by the registry. The players' team is the
// one registered with id 100.
#include <vector>

#include "engine/core/AGTypes.h"

namespace GameServices::Entities {
class BaseTeamMember;
class Team;
}  // namespace GameServices::Entities

namespace GameServices::KorvoGame {

class TeamRegistry {
public:
    static constexpr u32 kPlayersTeamId = 100;

    TeamRegistry() = default;
    // Deletes what is still registered, members first.
    ~TeamRegistry() { DeleteAll(); }
    TeamRegistry(const TeamRegistry&) = delete;
    TeamRegistry& operator=(const TeamRegistry&) = delete;

    // Takes ownership.
    void AddTeam(Entities::Team* team, u32 teamId);
    // Takes ownership and gives the member the next member id (0, 1, ...).
    void AddMember(Entities::BaseTeamMember* member);

    // The team registered with id 100; null, reported, without one.
    Entities::Team* GetTeam() const;
    const std::vector<Entities::BaseTeamMember*>& GetMembers() const { return m_Members; }

    void DeleteMembers();
    // Members, then teams.
    void DeleteAll();

private:
    struct RegisteredTeam {
        u32 m_Id;
        Entities::Team* m_Team;
    };

    std::vector<Entities::BaseTeamMember*> m_Members;
    std::vector<RegisteredTeam> m_Teams;
    i32 m_NextMemberId = 0;
};

}  // namespace GameServices::KorvoGame
