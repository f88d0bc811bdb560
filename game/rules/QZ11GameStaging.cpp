#include "game/rules/QZ11Game.h"

namespace QZ2011 {

void QZ11Game::HideAllContestants() {}
void QZ11Game::PlayLeftFamilyPose() {}
void QZ11Game::PlayLeftFamilyIntro() {}
void QZ11Game::PlayRightFamilyPose() {}
void QZ11Game::PlayRightFamilyIntro() {}
void QZ11Game::PlaceLeftFamily() {}
void QZ11Game::PlaceRightFamily() {}
void QZ11Game::StartRound() {}
void QZ11Game::ReadLevelTuning() {}
void QZ11Game::RevealAnswerBlock(int) {}
void QZ11Game::LightBuzzer() {}
void QZ11Game::ResetBoardBlocks() {}
void QZ11Game::SetupBoardBlocks(int) {}
void QZ11Game::SetStageScreens(bool) {}
void QZ11Game::SetScoreDisplay(bool, int) {}
void QZ11Game::SetCrowdVisible(bool) {}
void QZ11Game::ResetBoardScreens() {}

}  // namespace QZ2011
