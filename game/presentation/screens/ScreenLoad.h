#pragma once
// "ScreenLoad", the picture shown while a level loads: a background and a logo with its
// reflection, each of the two animations starting again on the frame after it ends.
#include "gameservices/widget/Screen.h"

namespace QZ2011 {

class ScreenLoad : public GameServices::Widget::BaseScreen<ScreenLoad> {
public:
    static constexpr const char* kName = "ScreenLoad";
    // The widgets the screen binds: the background, the logo and its reflection.
    static constexpr const char* kWidgets[] = {"LoadingBG", "LoadingLogo", "LoadingReflection"};
    static constexpr const char* kLogoAnimation = "prsc_logo_top_prsc.anm";
    static constexpr const char* kReflectionAnimation = "prsc_logo_reflection_prsc.anm";

    ScreenLoad() : BaseScreen<ScreenLoad>(kName) { m_LayoutFile = kName; }

    // Binds and shows "LoadingBG", "LoadingLogo" and "LoadingReflection".
    void onLoad() override;
    void Process(u32 elapsedMs) override;

private:
    GameServices::Widget::Widget* m_Background = nullptr;
    GameServices::Widget::Widget* m_Logo = nullptr;
    GameServices::Widget::Widget* m_Reflection = nullptr;
};

}  // namespace QZ2011
