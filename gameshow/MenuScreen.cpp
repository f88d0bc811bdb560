#include "gameshow/MenuScreen.h"

#include "gameservices/entities/Character.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

MenuScreen::MenuScreen(CompositionManager* manager) : BaseScreen(kLayoutName), m_Manager(manager) {}

MenuScreen::~MenuScreen() {
    // Unloaded here, while this is still a menu screen, so that the pages let go first.
    if (IsLoaded())
        MenuScreen::onUnload();
}

CompositionManager& MenuScreen::Manager() const { return m_Manager ? *m_Manager : CompositionManager::Instance(); }

void MenuScreen::onLoad() {
    Screen::onLoad();
    m_FirstShow = true;
    Manager().Initialize(this);
}

void MenuScreen::Process(u32 /*elapsed*/) {
    if (!m_FirstShow)
        return;
    AudioManager::Instance().PlayMenuMusic();
    m_FirstShow = false;
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    if (GameServices::Entities::Character* avatar = profiles->FindAvatarCharacter(profiles->GetAvatarName()))
        avatar->SetVisible(true);
    Manager().NotifyScreenEnter();
}

void MenuScreen::onUnload() {
    Manager().UninitializeCompositions();
    Screen::onUnload();
    m_FirstShow = false;
}

}  // namespace GameShow
