#include "game/presentation/screens/ScreenWidgets.h"

#include "engine/core/AGLog.h"

namespace QZ2011 {

using GameServices::Widget::Panel;
using GameServices::Widget::Widget;

namespace {

// The second of the play modes {1, 3, 4, 5, 6}: once forwards.
constexpr u32 kPlayOnceIndex = 1;

}  // namespace

Widget* BindWidget(GameServices::Widget::Screen& screen, const char* name) {
    Panel* root = screen.m_RootPanel;
    Widget* widget = root ? Widget::FindChild(name, root) : nullptr;
    if (!widget)
        AGReport("%s: no widget %s in its layout", screen.m_ScreenName.c_str(), name);
    return widget;
}

void ShowWidget(Widget* widget, bool visible) {
    if (widget)
        widget->SetVisible(visible);
}

bool IsAnimationIdle(const Widget* widget) {
    if (!widget || !widget->m_Animation || !widget->m_Ready)
        return true;
    const u32 mode = widget->m_Control.GetMode();
    return mode == 0 || mode == AGController::kStopped;
}

void PlayAnimationOnce(Widget* widget, const char* animation, f32 framesPerSecond) {
    if (!widget)
        return;
    widget->SetAnimation(animation);
    widget->m_Control.Restart();
    if (framesPerSecond > 0.0f)
        widget->m_Control.SetFrameRate(framesPerSecond);
    widget->Play(kPlayOnceIndex);
}

}  // namespace QZ2011
