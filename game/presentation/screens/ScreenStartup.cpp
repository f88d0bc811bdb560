#include "game/presentation/screens/ScreenStartup.h"

#include "game/presentation/screens/ScreenWidgets.h"

namespace QZ2011 {

void ScreenStartup::onLoad() {
    Screen::onLoad();
    m_Disclaimer = BindWidget(*this, kWidgets[0]);
    m_Splash = BindWidget(*this, kWidgets[1]);
    m_SplashText = BindWidget(*this, kWidgets[2]);
    ShowWidget(m_Splash, false);
    ShowWidget(m_SplashText, false);
    ShowWidget(m_Disclaimer, true);
}

}  // namespace QZ2011
