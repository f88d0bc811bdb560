#include "gameshow/ConnectionErrorComposition.h"

#include "engine/core/AGLog.h"
#include "gameservices/widget/Widget.h"

namespace GameShow {

using GameServices::Widget::Panel;
using GameServices::Widget::Widget;

ConnectionErrorComposition::~ConnectionErrorComposition() {
    ConnectionErrorComposition::Uninitialize();
}

void ConnectionErrorComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    auto* root = m_RootPanel && m_RootPanel->IsA(GameServices::Widget::TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel)
                                                                                     : nullptr;
    m_CancelButton = root ? Widget::FindChild(kWidgets[0], root) : nullptr;
    m_Text = root ? Widget::FindChild(kWidgets[1], root) : nullptr;
    if (!m_CancelButton)
        AGReport("can not find cancelButton");
    if (!m_Text)
        AGReport("can not find text");
    if (m_CancelButton)
        m_CancelButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_CancelDelegate);
    OnScreenEnter();
}

void ConnectionErrorComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    if (m_CancelButton)
        m_CancelButton->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_CancelDelegate);
    m_CancelButton = nullptr;
    m_Text = nullptr;
}

void ConnectionErrorComposition::OnCancelClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    OnActivate(false);
}

}  // namespace GameShow
