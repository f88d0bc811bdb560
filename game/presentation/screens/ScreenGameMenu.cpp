// The in-game screen's menu, window events, quit confirmation and achievement notice.
#include "game/presentation/screens/ScreenGame.h"

namespace QZ2011 {

bool ScreenGame::onWindowClose() { return true; }
bool ScreenGame::onWindowActivated() { return true; }
bool ScreenGame::onWindowDeactivated() { return true; }
void ScreenGame::onQuitConfirmed() {}
void ScreenGame::onQuitCancelled() {}
void ScreenGame::onAchievementUnlocked(Member member) { (void)member; }
void ScreenGame::ShowAchievementPanel() {}
void ScreenGame::HideAchievementPanel() {}
void ScreenGame::ShowComputerDecision(bool play) { (void)play; }

}  // namespace QZ2011
