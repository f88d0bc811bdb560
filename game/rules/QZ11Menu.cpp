#include "game/rules/QZ11Menu.h"

namespace QZ2011 {

QZ11Menu::QZ11Menu() : BaseMiniGame(kLevelName) {}

void QZ11Menu::RegisterLevelDelegates() { BaseMiniGame::RegisterLevelDelegates(); }
void QZ11Menu::OnLevelResumed() {}
void QZ11Menu::InitializeLevel() { BaseMiniGame::InitializeLevel(); }
void QZ11Menu::OnLevelStarted() {}
void QZ11Menu::CleanupLevel() { BaseMiniGame::CleanupLevel(); }

}  // namespace QZ2011
