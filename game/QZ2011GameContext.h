#pragma once
// The game context driven by the run loop: the game-mode framework's game, with no game mode
// of its own yet.
#include "gameservices/minigame/BaseGame.h"

class QZ2011GameContext : public GameServices::MiniGame::BaseGame {};
