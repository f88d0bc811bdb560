#pragma once
// The team-action manager of the running game, on which the game's modes listen for actions.
#include "game/QZ2011GameContext.h"
#include "gameservices/game/TeamActionManager.h"

namespace QZ2011 {

// Null while no game runs.
inline GameServices::KorvoGame::TeamActionManager* TeamActions() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    return context ? context->GetTeamActionManager() : nullptr;
}

}  // namespace QZ2011
