#pragma once
// "ScreenLoad", the picture shown while a level loads: registered under its name, with the layout of that name.
// Its widgets and steps are not built yet.
#include "gameservices/widget/Screen.h"

namespace QZ2011 {

class ScreenLoad : public GameServices::Widget::BaseScreen<ScreenLoad> {
public:
    static constexpr const char* kName = "ScreenLoad";

    ScreenLoad() : BaseScreen<ScreenLoad>(kName) { m_LayoutFile = kName; }
};

}  // namespace QZ2011
