#pragma once
// The team actions the game uses, and the team-action manager of the running game on which its
// modes listen for them.
#include "game/QZ2011GameContext.h"
#include "gameservices/game/TeamActionManager.h"

namespace QZ2011 {

// The team actions the game's modes listen for or raise, as "Actions.xml" names them.
enum TeamAction : u32 { kActionClick, kActionBuzz, kActionEnterAnswer, kActionEnterAIAnswer, kActionSkip, kTeamActionCount };
inline constexpr const char* kTeamActions[kTeamActionCount] = {"Click", "BuzzSinglePlayer", "EnterAnswer", "EnterAIAnswer",
                                                               "SkipSequence"};

// Null while no game runs.
inline GameServices::KorvoGame::TeamActionManager* TeamActions() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    return context ? context->GetTeamActionManager() : nullptr;
}

}  // namespace QZ2011
