#include "game/rules/QZ11Decades.h"

namespace QZ2011 {

QZ11Decades::QZ11Decades() : BaseMiniGame(kLevelName) {}

void QZ11Decades::RegisterLevelDelegates() { BaseMiniGame::RegisterLevelDelegates(); }
void QZ11Decades::OnLevelResumed() {}
void QZ11Decades::InitializeLevel() { BaseMiniGame::InitializeLevel(); }
void QZ11Decades::OnLevelStarted() {}
void QZ11Decades::CleanupLevel() { BaseMiniGame::CleanupLevel(); }

}  // namespace QZ2011
