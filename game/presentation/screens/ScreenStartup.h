#pragma once
// "ScreenStartup", the start-up level's screen: the disclaimer first; the start-up mode hides
// it and later shows the splash and its text.
#include "gameservices/widget/Screen.h"

namespace QZ2011 {

class ScreenStartup : public GameServices::Widget::BaseScreen<ScreenStartup> {
public:
    static constexpr const char* kName = "ScreenStartup";
    // The widgets the screen binds: the disclaimer, the splash and its text.
    static constexpr const char* kWidgets[] = {"Disclaimer", "Splash", "SplashText"};

    ScreenStartup() : BaseScreen<ScreenStartup>(kName) { m_LayoutFile = kName; }
    ~ScreenStartup() override = default;

    // Binds the three widgets: "Disclaimer" shown, "Splash" and "SplashText" hidden.
    void onLoad() override;
    // The bindings go with the panels.
    void Reset() override {
        m_Disclaimer = m_Splash = m_SplashText = nullptr;
        Screen::Reset();
    }
    // The screen stays as the start-up mode leaves it.
    void Process(u32 elapsedMs) override { (void)elapsedMs; }

    // Null while the screen is not loaded or its layout lacks them.
    GameServices::Widget::Widget* m_Disclaimer = nullptr;
    GameServices::Widget::Widget* m_Splash = nullptr;
    GameServices::Widget::Widget* m_SplashText = nullptr;
    // The splash text's pulse, switched on with the splash.
    bool m_SplashPulse = false;
    u32 m_SplashPulseFrames = 0;
};

}  // namespace QZ2011
