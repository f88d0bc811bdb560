#pragma once
// The computer family's player. Acts through the same team actions as a device would.
#include "gameservices/minigame/AIManager.h"

namespace QZ2011 {

class QZAI : public GameServices::MiniGame::BaseAI {
public:
    // Also takes the current game's team-action manager.
    void Initialize(GameServices::Entities::Team* team, GameServices::Entities::BaseTeamMember* member) override;
    void Reset() override {}
    void Update(u32) override {}
};

}  // namespace QZ2011
