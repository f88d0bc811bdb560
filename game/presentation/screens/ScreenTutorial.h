#pragma once
// "ScreenTutorial", the tutorial level's screen: registered under its name, with the layout of that name.
// Its widgets and steps are not built yet.
#include "gameservices/widget/Screen.h"

namespace QZ2011 {

class ScreenTutorial : public GameServices::Widget::BaseScreen<ScreenTutorial> {
public:
    static constexpr const char* kName = "ScreenTutorial";

    ScreenTutorial() : BaseScreen<ScreenTutorial>(kName) { m_LayoutFile = kName; }
};

}  // namespace QZ2011
