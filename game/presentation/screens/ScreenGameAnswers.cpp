// The in-game screen's answer entry, answer countdown, results, face-off and turn callbacks.
#include "game/presentation/screens/ScreenGame.h"

namespace QZ2011 {

void ScreenGame::StartAnswerTimer() {}
void ScreenGame::onTimerTick() {}
void ScreenGame::onAnswerTimeUp() {}
void ScreenGame::ShowTimerDigits(u32 units, u32 tens) {
    (void)units;
    (void)tens;
}
void ScreenGame::onAnswerEntered(Member member) { (void)member; }
void ScreenGame::onAnswerResult(Member member) { (void)member; }
void ScreenGame::onAnswerTurn(Member member) { (void)member; }
void ScreenGame::ShowRevealedAnswers() {}
void ScreenGame::HideAnswerBoard() {}
void ScreenGame::PlaceAnswerHud(u32 side) { (void)side; }

void ScreenGame::onFaceOffQuestion(Member member) { (void)member; }
void ScreenGame::onBuzzOpen(Member member) { (void)member; }
void ScreenGame::onBuzzAccepted(Member member) { (void)member; }
void ScreenGame::onFaceOffWon(Member member) { (void)member; }
void ScreenGame::onPlayClicked() {}
void ScreenGame::onPassClicked() {}
void ScreenGame::onPlayOrPassChosen(Member member) { (void)member; }
void ScreenGame::onRoundAnswerTurn(Member member) { (void)member; }
void ScreenGame::onSteal(Member member) { (void)member; }
void ScreenGame::onScoreChanged(Member member) { (void)member; }
void ScreenGame::onMenuClicked() {}
void ScreenGame::onRetryYesClicked() {}
void ScreenGame::ReturnToMainMenu() {}
void ScreenGame::onSpareEvent12(Member member) { (void)member; }

}  // namespace QZ2011
