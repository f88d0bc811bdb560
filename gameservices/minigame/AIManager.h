#pragma once
// Computer players: each is updated every frame and acts through the team actions, as if its
// member's device had raised them.
#include <vector>

#include "engine/core/TString.h"
#include "gameservices/game/IModule.h"

namespace GameServices::Entities {
class BaseTeamMember;
class Team;
}  // namespace GameServices::Entities

namespace GameServices::KorvoGame {
class TeamActionManager;
}

namespace GameServices::MiniGame {

class IBaseAI {
public:
    virtual void Reset() = 0;
    virtual void Update(u32 ms) = 0;
    virtual void Initialize(Entities::Team* team, Entities::BaseTeamMember* member) = 0;
    virtual ~IBaseAI() = default;
};

class BaseAI : public IBaseAI {
public:
    // Remembers the team and the member played; nothing else.
    void Initialize(Entities::Team* team, Entities::BaseTeamMember* member) override;
    // Raises the action as the member: the value in the action-data field, the team in the
    // word, the member as the raiser.
    void SendTeamAction(const TString<char>& action, u32 value);

    Entities::Team* m_Team = nullptr;
    Entities::BaseTeamMember* m_Member = nullptr;
    // Set by the derived class to the current game's.
    KorvoGame::TeamActionManager* m_TeamActionManager = nullptr;
};

// Updates the live computer players in list order; the pool that made them owns them.
class AIManager : public KorvoGame::IModule {
public:
    void Update(u32 ms) override;
    void Reset() override;
    bool IsPausable() const override { return true; }

    std::vector<IBaseAI*> m_AIs;
};

}  // namespace GameServices::MiniGame
