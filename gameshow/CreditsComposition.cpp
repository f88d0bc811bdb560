#include "gameshow/CreditsComposition.h"

#include "engine/core/AGLog.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"

namespace GameShow {

using GameServices::Widget::Panel;
using GameServices::Widget::RenderingSystemWidget;
using GameServices::Widget::ScrollText;
using GameServices::Widget::Widget;
namespace TypeIds = GameServices::Widget::TypeIds;

CreditsComposition::~CreditsComposition() {
    CreditsComposition::Uninitialize();
}

void CreditsComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    Panel* root = m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
    m_BackButton = root ? Widget::FindChild(kWidgets[0], root) : nullptr;
    Widget* scroll = root ? Widget::FindChild(kWidgets[1], root) : nullptr;
    m_Scroll = scroll && scroll->IsA(TypeIds::ScrollText) ? static_cast<ScrollText*>(scroll) : nullptr;
    if (!m_BackButton)
        AGReport("can not find BackButton");
    if (!m_Scroll)
        AGReport("can not find ScrollText");
    if (m_BackButton)
        m_BackButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    m_ListenedWardrobeButton = GetManager().m_WardrobeButton;
    Listen(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    PlaySlideAnimation();
    OnActivate(false);
}

void CreditsComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    if (m_BackButton)
        m_BackButton->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    StopListening(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    if (m_Scroll && m_ListensToEnd)
        m_Scroll->m_ScrollEnded.RemoveDelegate(&m_ScrollEndedDelegate);
    m_ListensToEnd = false;
    m_BackButton = nullptr;
    m_Scroll = nullptr;
    m_ListenedWardrobeButton = nullptr;
}

void CreditsComposition::Update(u32 /*elapsedMs*/) {
    if (m_Scroll)
        RenderingSystemWidget::UpdateBehaviorState(*m_Scroll);
}

void CreditsComposition::OnActivate(bool show) {
    if (show && m_RootPanel && !m_RootPanel->Visible && m_Scroll) {
        m_Scroll->m_ScrollStarted = false;
        m_Scroll->m_NextLine = 0;
        m_Scroll->m_FinishedLines = 0;
        RenderingSystemWidget::UpdateBehaviorState(*m_Scroll);
        // Once per showing, even when the page was hidden without leaving through LeaveTo.
        if (!m_ListensToEnd)
            m_Scroll->m_ScrollEnded.AddDelegate(&m_ScrollEndedDelegate);
        m_ListensToEnd = true;
    }
    CompositionBase::OnActivate(show);
}

void CreditsComposition::OnScreenEnter() {}

void CreditsComposition::LeaveTo(const TString<char>& name) {
    if (m_Scroll && m_ListensToEnd)
        m_Scroll->m_ScrollEnded.RemoveDelegate(&m_ScrollEndedDelegate);
    m_ListensToEnd = false;
    GetManager().SetNextComposition(this, name);
}

void CreditsComposition::OnCreditsBackClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    LeaveTo(kOptionsPage);
}

void CreditsComposition::OnWardrobeClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().m_ReturnComposition = kOptionsPage;
    LeaveTo(CompositionManager::kWardrobe);
}

void CreditsComposition::OnScrollEnded() {
    LeaveTo(kOptionsPage);
}

}  // namespace GameShow
