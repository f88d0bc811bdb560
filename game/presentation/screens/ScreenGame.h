#pragma once
// "ScreenGame", the match's screen: registered under its name, with the layout of that name.
// Its widgets and steps are not built yet.
#include "gameservices/widget/Screen.h"

namespace QZ2011 {

class ScreenGame : public GameServices::Widget::BaseScreen<ScreenGame> {
public:
    static constexpr const char* kName = "ScreenGame";

    ScreenGame() : BaseScreen<ScreenGame>(kName) { m_LayoutFile = kName; }

    // The quit prompt is open: no sequence may be skipped meanwhile.
    bool m_QuitPromptOpen = false;
};

}  // namespace QZ2011
