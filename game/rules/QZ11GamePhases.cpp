#include "game/rules/QZ11Game.h"

namespace QZ2011 {

void QZ11Game::OnSequenceEnd() {}

}  // namespace QZ2011
