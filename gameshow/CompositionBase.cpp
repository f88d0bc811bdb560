#include "gameshow/CompositionBase.h"

#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionManager.h"

namespace GameShow {

using GameServices::Widget::Panel;
using GameServices::Widget::Widget;

void CompositionBase::Listen(Widget* widget, IDelegate* delegate, u32 event) {
    if (widget)
        widget->AddEventDelegate(event, delegate);
}

void CompositionBase::StopListening(Widget* widget, IDelegate* delegate, u32 event) {
    if (widget)
        widget->RemoveEventDelegate(event, delegate);
}

void CompositionBase::Uninitialize() {
    m_RootPanel = nullptr;
}

void CompositionBase::Update(u32 /*elapsedMs*/) {}

void CompositionBase::OnActivate(bool show) {
    if (!m_RootPanel || m_RootPanel->Visible == show)
        return;
    m_RootPanel->SetVisible(show);
    if (show)
        m_RootPanel->SetPosition(m_Position);
    else
        m_RootPanel->SetPositionXY(kParkedPosition, kParkedPosition);
    m_RootPanel->Synchronize = false;
}

void CompositionBase::OnScreenEnter() {
    OnActivate(false);
}

bool CompositionBase::FindRootPanel(Panel* screenPanel, const TString<char>& name) {
    m_RootPanel = screenPanel ? Widget::FindChild(name, screenPanel) : nullptr;
    if (!m_RootPanel) {
        AGReport("Component Root Panel not found : %s", name.c_str());
        return false;
    }
    m_Position = AGVec2{m_RootPanel->m_X, m_RootPanel->m_Y};
    return true;
}

bool CompositionBase::IsTransitionRunning() const {
    if (!m_RootPanel || !m_RootPanel->m_Animation)
        return false;
    // A slide whose timing could not be set never advances: it counts as ended, or the
    // page would never finish its switch.
    if (!m_RootPanel->m_Ready)
        return false;
    const u32 mode = m_RootPanel->m_Control.GetMode();
    return mode != AGController::kStopped && mode != AGController::kStop;
}

bool CompositionBase::AcceptsInput() const {
    return m_RootPanel && m_RootPanel->Visible && !IsTransitionRunning();
}

void CompositionBase::PlayButtonSound() const {
    AudioManager::Instance().PlayButtonPress();
}

void CompositionBase::PlayShowAnimation() {
    if (!m_RootPanel)
        return;
    m_RootPanel->SetAnimation(kSlideAnimation);
    m_RootPanel->m_Control.Restart();
    m_RootPanel->Play(kPlayOnce);
}

void CompositionBase::PlaySlideAnimation() {
    if (!m_RootPanel)
        return;
    m_RootPanel->SetAnimation(kSlideAnimation);
    m_RootPanel->m_Control.Restart();
    m_RootPanel->m_Control.SetTime(m_RootPanel->m_Control.GetEndTime());
    m_RootPanel->Play(kPlayRewind);
}

void CompositionBase::ReleaseAnimation() {
    if (m_RootPanel)
        m_RootPanel->ReleaseAnimation();
}

void CompositionBase::OnBackToMainMenu() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, CompositionManager::kMainMenu);
}

void CompositionBase::OnActivateWithProfileBar(bool show) {
    CompositionBase::OnActivate(show);
    if (!show)
        return;
    CompositionManager& manager = GetManager();
    if (Widget* button = manager.m_WardrobeButton) {
        button->SetPosition(manager.m_WardrobeButtonPosition);
        button->Synchronize = false;
    }
    if (Widget* tags = manager.m_TagPanel) {
        tags->SetPosition(manager.m_TagPanelPosition);
        tags->Synchronize = false;
    }
}

CompositionManager& CompositionBase::GetManager() const {
    return m_Manager ? *m_Manager : CompositionManager::Instance();
}

}  // namespace GameShow
