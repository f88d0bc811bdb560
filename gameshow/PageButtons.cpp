#include "gameshow/PageButtons.h"

#include "engine/core/AGLog.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionBase.h"
#include "gameshow/CompositionManager.h"

namespace GameShow {

using GameServices::Widget::Button;
using GameServices::Widget::CheckBox;
using GameServices::Widget::Label;
using GameServices::Widget::RenderingSystemWidget;
using GameServices::Widget::Widget;
using GameServices::Widget::WidgetLookBehavior;
namespace TypeIds = GameServices::Widget::TypeIds;

namespace {

void SetLookState(Widget& widget, u32 state) {
    if (auto* look = dynamic_cast<WidgetLookBehavior*>(widget.GetBehavior()))
        look->m_VisualState = state;
    RenderingSystemWidget::UpdateBehaviorState(widget);
}

}  // namespace

void SetButtonUsable(Widget* button, bool usable) {
    if (!button)
        return;
    button->m_Enabled = usable ? 1 : 0;
    if (button->GetBehavior())
        button->GetBehavior()->Reset();
    SetLookState(*button, usable ? 0 : kButtonDisabledState);
}

void SetButtonMarked(Widget* button, bool marked) {
    if (!button)
        return;
    if (button->IsA(TypeIds::CheckBox))
        static_cast<CheckBox*>(button)->m_Checked = marked ? 1 : 0;
    SetLookState(*button, 0);
}

bool IsButtonMarked(const Widget* button) {
    return button && button->IsA(TypeIds::CheckBox) && static_cast<const CheckBox*>(button)->m_Checked;
}

void ShowWidgetText(Widget* widget, const TString<char>& text) {
    if (!widget)
        return;
    if (widget->IsA(TypeIds::Label)) {
        static_cast<Label*>(widget)->SetText(text);
    } else if (widget->IsA(TypeIds::Button)) {
        static_cast<Button*>(widget)->m_TextStyle.m_Text = text;
        RenderingSystemWidget::UpdateText(*widget);
    } else {
        AGReport("%s shows no text", widget->Name.c_str());
    }
}

void ParkSharedWidgets(CompositionManager& manager) {
    for (Widget* shared : {manager.m_WardrobeButton, manager.m_TagPanel}) {
        if (!shared)
            continue;
        shared->SetPositionXY(CompositionBase::kParkedPosition, CompositionBase::kParkedPosition);
        shared->Synchronize = false;
    }
}

}  // namespace GameShow
