#include "gameservices/widget/Popup.h"

#include "engine/core/AGLog.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetManager.h"

namespace GameServices::Widget {

namespace {

// Label and Button carry their text in their text style.
void ShowText(Widget* widget, const TString<char>& text) {
    if (!widget)
        return;
    if (widget->IsA(TypeIds::Label))
        static_cast<Label*>(widget)->SetText(text);
    else if (widget->IsA(TypeIds::Button))
        static_cast<Button*>(widget)->m_TextStyle.m_Text = text;
    RenderingSystemWidget::UpdateText(*widget);
}

}  // namespace

Popup::~Popup() {
    delete m_Panel;
}

bool Popup::IsA(const u32& typeId) const {
    return typeId == TypeIds::Popup;
}

void Popup::Reset() {
    delete m_Panel;
    m_Panel = nullptr;
}

void Popup::onLoad() {
    delete m_Panel;
    m_Panel = WidgetManager::Instance().BuildPanel(nullptr, m_Layout, false);
    Build();
    RenderingSystemWidget::Initialize(this);
    RenderingSystemWidget::AttachLayer(this);
    // A popup opens over a paused game, whose update places nothing: its widgets take their
    // window places (the root's fit to the window) now.
    if (m_Panel)
        RenderingSystemWidget::UpdateTransforms(*m_Panel);
    m_Loaded = 1;
}

void Popup::Close() {
    RenderingSystemWidget::Cleanup(this);
    RenderingSystemWidget::ReleaseLayer(this);
    Reset();
    m_Loaded = 0;
    m_ClosedEvent.Fire();
}

void Popup::Build() {
    ShowText(Widget::FindChild(kTextLabels[0], m_Panel), m_MainText);
    ShowText(Widget::FindChild(kTextLabels[1], m_Panel), m_Title);
    for (Option& option : m_Options) {
        Widget* button = Widget::FindChild(option.m_Name, m_Panel);
        if (!button) {
            AGReport("Can not find the button in popup %s", option.m_Name.c_str());
            continue;
        }
        ShowText(button, option.m_Text);
        if (option.m_AutoClose)
            button->AddEventDelegate(kEventClick, &m_CloseDelegate);
        for (IDelegate* callback : option.m_Callbacks)
            button->AddEventDelegate(kEventClick, callback);
    }
    for (const auto& [name, text] : m_Messages) {
        Widget* label = Widget::FindChild(name, m_Panel);
        if (!label) {
            AGReport("Can not find the label in popup %s", name.c_str());
            continue;
        }
        ShowText(label, text);
    }
}

void Popup::AddButtonCallback(const TString<char>& button, IDelegate* callback) {
    for (Option& option : m_Options) {
        if (option.m_Name == button) {
            option.m_Callbacks.push_back(callback);
            return;
        }
    }
    AGReport("Button not found: %s", button.c_str());
}

void Popup::RemoveButtonCallback(const TString<char>& button) {
    for (Option& option : m_Options)
        if (option.m_Name == button)
            option.m_Callbacks.clear();
}

void Popup::SetMessageText(const TString<char>& name, const TString<char>& text) {
    for (auto& message : m_Messages)
        if (message.first == name)
            message.second = text;
}

void Popup::CloseDelegate() {
    if (m_Manager)
        m_Manager->HidePopupEntity(this);
}

}  // namespace GameServices::Widget
