#pragma once
// A menu page whose own behaviour is not built yet: it takes its root panel, starts hidden
// and offers the way back to the main menu through its "BackButton" when it has one.
#include "engine/core/FDelegate.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/CompositionBase.h"

namespace QZ2011 {

class StandInComposition : public GameShow::CompositionBase {
public:
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override {
        FindRootPanel(screenPanel, name);
        if (m_RootPanel && m_RootPanel->IsA(GameServices::Widget::TypeIds::Panel))
            m_Back = GameServices::Widget::Widget::FindChild(
                "BackButton", static_cast<GameServices::Widget::Panel*>(m_RootPanel));
        if (m_Back)
            m_Back->AddEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
        OnActivate(false);
    }
    void Uninitialize() override {
        if (m_Back)
            m_Back->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
        m_Back = nullptr;
        CompositionBase::Uninitialize();
    }

private:
    GameServices::Widget::Widget* m_Back = nullptr;
    FDelegate<CompositionBase> m_BackDelegate{this, &CompositionBase::OnBackToMainMenu};
};

}  // namespace QZ2011
