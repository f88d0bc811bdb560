#include "game/presentation/screens/ScreenLoad.h"

#include "game/presentation/screens/ScreenWidgets.h"

namespace QZ2011 {

void ScreenLoad::onLoad() {
    Screen::onLoad();
    m_Background = BindWidget(*this, kWidgets[0]);
    m_Logo = BindWidget(*this, kWidgets[1]);
    m_Reflection = BindWidget(*this, kWidgets[2]);
    for (GameServices::Widget::Widget* widget : {m_Background, m_Logo, m_Reflection})
        ShowWidget(widget, true);
}

void ScreenLoad::Process(u32) {
    const struct {
        GameServices::Widget::Widget* widget;
        const char* animation;
    } loops[] = {{m_Logo, kLogoAnimation}, {m_Reflection, kReflectionAnimation}};
    for (const auto& loop : loops) {
        if (!loop.widget || !IsAnimationIdle(loop.widget))
            continue;
        PlayAnimationOnce(loop.widget, loop.animation);
        loop.widget->Synchronize = false;
    }
}

}  // namespace QZ2011
