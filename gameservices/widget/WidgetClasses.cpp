#include "gameservices/widget/WidgetClasses.h"

#include "engine/core/SplitString.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/widget/RenderingSystemWidget.h"

namespace GameServices::Widget {

void BehaviorWidget::AddEventDelegate(u32 kind, IDelegate* delegate) {
    if (m_Embedded)
        m_Embedded->AddEventDelegate(kind, delegate);
}

void BehaviorWidget::RemoveEventDelegate(u32 kind, IDelegate* delegate) {
    if (m_Embedded)
        m_Embedded->RemoveEventDelegate(kind, delegate);
}

void BehaviorWidget::Install(WidgetBehavior& behavior) {
    m_Embedded = &behavior;
    SetBehavior(&behavior);
    Behaviors.m_Map[Crc32Hash(behavior.m_Name.c_str())] = &behavior;
}

#define TALLYVOX_WIDGET_IS_A(Class)                                     \
    bool Class::IsA(const u32& typeId) const {                          \
        return typeId == TypeIds::Class || typeId == TypeIds::Widget;   \
    }

TALLYVOX_WIDGET_IS_A(Image)
TALLYVOX_WIDGET_IS_A(Button)
TALLYVOX_WIDGET_IS_A(Label)
TALLYVOX_WIDGET_IS_A(ScrollText)
TALLYVOX_WIDGET_IS_A(CheckBox)
TALLYVOX_WIDGET_IS_A(SliderButton)
TALLYVOX_WIDGET_IS_A(SliderTrackBar)
TALLYVOX_WIDGET_IS_A(Emitter3D)
TALLYVOX_WIDGET_IS_A(ResizableWindow)
TALLYVOX_WIDGET_IS_A(Video)
#undef TALLYVOX_WIDGET_IS_A

bool ViewPort3D::IsA(const u32& typeId) const {
    return typeId == TypeIds::ViewPort3D || typeId == TypeIds::Panel;
}

// The untyped behaviours serve slots 12 and 13 but are not the widget's behaviour.
Image::Image(const TString<char>& name) : BehaviorWidget(name) {
    m_Embedded = &m_ImageBehavior;
}
Label::Label(const TString<char>& name) : BehaviorWidget(name) {
    m_Embedded = &m_LabelBehavior;
}
ScrollText::ScrollText(const TString<char>& name) : BehaviorWidget(name) {
    m_Embedded = &m_ScrollBehavior;
}
ResizableWindow::ResizableWindow(const TString<char>& name) : BehaviorWidget(name) {
    m_Embedded = &m_WindowBehavior;
}
Video::Video(const TString<char>& name) : BehaviorWidget(name) {}
ViewPort3D::ViewPort3D(const TString<char>& name) : Panel(name) {}

Button::Button(const TString<char>& name) : BehaviorWidget(name) {
    Install(m_ButtonBehavior);
}
CheckBox::CheckBox(const TString<char>& name) : BehaviorWidget(name) {
    Install(m_CheckBehavior);
}
SliderButton::SliderButton(const TString<char>& name) : SliderWidget(name) {
    m_Step = 0.1f;
    Install(m_SliderBehavior);
}
SliderTrackBar::SliderTrackBar(const TString<char>& name) : SliderWidget(name) {
    Install(m_TrackBehavior);
}
Emitter3D::Emitter3D(const TString<char>& name) : BehaviorWidget(name) {
    Install(m_EmitterBehavior);
}

void Image::SetImage(const TString<char>& image) {
    m_ImageName = image;
    RenderingSystemWidget::SetImage(*this, image);
}

const ImageBox& SliderButton::BoxOf(u32 image) const {
    if (image >= 10)
        return m_Thumb;
    if (image >= 8)
        return m_Track;
    return image % 2 ? m_Right : m_Left;
}

void Label::SetText(const TString<char>& text) {
    if (&text != &m_TextStyle.m_Text)
        m_TextStyle.m_Text = text;
    RenderingSystemWidget::UpdateText(*this);
}

void ScrollText::SetText(const TString<char>& text) {
    const TString<char> source =
        m_StringId.Length() > 0 ? Bridge::GetLocalizedText(m_StringId) : text;
    if (source.Length() == 0)
        return;
    AGArray<TString<char>> pieces;
    SplitString(source, pieces, ",", 0);
    m_Lines.clear();
    for (u32 i = 0; i < pieces.Count(); ++i)
        m_Lines.push_back(pieces[i]);
    RenderingSystemWidget::UpdateText(*this);
}

}  // namespace GameServices::Widget
