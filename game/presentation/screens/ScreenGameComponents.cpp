// The in-game screen's sequence components, banners, strikes, family names and avatars.
#include "game/presentation/screens/ScreenGame.h"

namespace QZ2011 {

void ScreenGame::ShowComponent(const TString<char>& name) { (void)name; }

void ScreenGame::HideComponent(const TString<char>& name) {
    if (name == "left3DViewport")
        HideViewport(true);
    if (name == "right3DViewport")
        HideViewport(false);
}

void ScreenGame::ShowRounds() {}
void ScreenGame::ShowSpecialRounds() {}
void ScreenGame::ShowRoundWon() {}
void ScreenGame::ShowGameWon() {}
void ScreenGame::FadeGameWon() {}
void ScreenGame::FadeGameWon20k() {}
void ScreenGame::ShowGameLost() {}
void ScreenGame::ShowStrikes() {}
void ScreenGame::ShowFamilyName(u32 side) { (void)side; }
void ScreenGame::DressAvatar(bool left) { (void)left; }
void ScreenGame::ShowViewport(bool left) { (void)left; }

}  // namespace QZ2011
