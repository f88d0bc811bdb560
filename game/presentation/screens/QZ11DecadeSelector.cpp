#include "game/presentation/screens/QZ11DecadeSelector.h"

#include "game/QZ2011GameContext.h"
#include "game/presentation/screens/MenuPageSupport.h"
#include "gameservices/game/DeviceManager.h"

namespace QZ2011 {

void QZ11DecadeSelector::Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) {
    MenuPage::BindSelector(*this, screenPanel, name, kWidgets, m_Buttons, m_Delegates, m_WardrobeButton,
                           m_WardrobeDelegate);
}

void QZ11DecadeSelector::Uninitialize() {
    MenuPage::UnbindSelector(*this, m_Buttons, m_Delegates, m_WardrobeButton, m_WardrobeDelegate);
}

void QZ11DecadeSelector::OnActivate(bool show) {
    CompositionBase::OnActivate(show);
    if (!show)
        return;
    const QZ2011GameContext* context = QZ2011GameContext::Current();
    MenuPage::PlaceProfileBar(GetManager(), context && context->m_TwoPlayers != 0);
}

void QZ11DecadeSelector::ChooseDecade(u32 decade) {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context) {
        AGReport("QZ11DecadeSelector: no game to store the decade in");
        return;
    }
    context->m_Decade = decade;
    if (context->m_TwoPlayers == 0)
        GetManager().SetNextComposition(this, kNextPage);
}

void QZ11DecadeSelector::onBackClicked() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, GameShow::CompositionManager::kMainMenu);
    if (GameServices::KorvoGame::DeviceManager* devices = GameServices::KorvoGame::DeviceManager::Get())
        devices->SetDeviceRange(1, 1);
}

void QZ11DecadeSelector::onWardrobeClicked() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GameShow::CompositionManager& manager = GetManager();
    manager.m_ReturnComposition = kName;
    manager.SetNextComposition(this, GameShow::CompositionManager::kWardrobe);
}

}  // namespace QZ2011
