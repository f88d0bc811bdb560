#include "game/QZ2011GameContext.h"

void QZ2011GameContext::Initialize() {}

void QZ2011GameContext::Update(u32) {}

void QZ2011GameContext::Shutdown() {}
