// The in-game screen's fast-money entry and reveal.
#include "game/presentation/screens/ScreenGame.h"

namespace QZ2011 {

void ScreenGame::onFastMoneyStart(Member member) { (void)member; }
void ScreenGame::onFastMoneyAnswerEntered() {}
void ScreenGame::onFastMoneyTimeUp() {}
void ScreenGame::onFastMoneySecondPlayer(Member member) { (void)member; }
void ScreenGame::onFastMoneyReveal(Member member) { (void)member; }

}  // namespace QZ2011
