#include "game/presentation/screens/ScreenStartup.h"

#include "game/presentation/screens/ScreenWidgets.h"

namespace QZ2011 {

void ScreenStartup::onLoad() {
    Screen::onLoad();
    m_Disclaimer = BindWidget(*this, "Disclaimer");
    m_Splash = BindWidget(*this, "Splash");
    m_SplashText = BindWidget(*this, "SplashText");
    ShowWidget(m_Splash, false);
    ShowWidget(m_SplashText, false);
    ShowWidget(m_Disclaimer, true);
}

}  // namespace QZ2011
