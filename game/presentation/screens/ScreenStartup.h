#pragma once
// "ScreenStartup", the start-up level's disclaimer: registered under its name, with the layout of that name.
// Its widgets and steps are not built yet.
#include "gameservices/widget/Screen.h"

namespace QZ2011 {

class ScreenStartup : public GameServices::Widget::BaseScreen<ScreenStartup> {
public:
    static constexpr const char* kName = "ScreenStartup";

    ScreenStartup() : BaseScreen<ScreenStartup>(kName) { m_LayoutFile = kName; }
};

}  // namespace QZ2011
