#include "game/rules/QZAI.h"

#include "gameservices/minigame/BaseGame.h"

namespace QZ2011 {

void QZAI::Initialize(GameServices::Entities::Team* team, GameServices::Entities::BaseTeamMember* member) {
    BaseAI::Initialize(team, member);
    GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current();
    m_TeamActionManager = game ? game->GetTeamActionManager() : nullptr;
}

}  // namespace QZ2011
