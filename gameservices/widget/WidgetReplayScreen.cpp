#include "gameservices/widget/WidgetReplayScreen.h"

#include <cctype>
#include <sstream>
#include <vector>

#include "gameservices/widget/Popup.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"

namespace GameServices::Widget {

namespace {

// A layout file's name without its folders and extension, lower case.
std::string LayoutStem(const char* file) {
    std::string name = file;
    name = name.substr(name.find_last_of("/\\") + 1);
    name = name.substr(0, name.find('.'));
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// Moving: a one-shot animation still plays on it (a loop never settles, so it does not count).
bool Moving(const Widget& widget) {
    if (!widget.m_Animation || !widget.m_Ready)
        return false;
    const u32 mode = widget.m_Control.GetMode();
    return mode == AGController::kOnce || mode == AGController::kOnceReverse || mode == AGController::kOnceThenReverse;
}

}  // namespace

bool WidgetReplayScreen::IsShown(const std::string& path) const {
    std::vector<std::string> names;
    std::istringstream in(path);
    for (std::string name; std::getline(in, name, '/');)
        names.push_back(name);
    if (names.size() < 2)
        return false;
    const ScreenManager& screens = m_Screens ? *m_Screens : ScreenManager::Instance();
    Panel* root = nullptr;
    size_t first = 1;
    if (names[0] == "Popup") {
        const Popup* popup = screens.GetTopPopup();
        if (!popup || !popup->m_Loaded || popup->m_InputLocked || names.size() < 3 ||
            LayoutStem(popup->m_Layout.c_str()) != LayoutStem(names[1].c_str()))
            return false;
        root = popup->m_Panel;
        first = 2;
    } else {
        const Screen* screen = screens.GetCurrentScreen();
        if (!screen || !screen->IsLoaded() || screens.IsScreenChangePending() || screen->m_ScreenName != names[0].c_str())
            return false;
        root = screen->m_RootPanel;
    }
    Widget* widget = root;
    for (size_t i = first; i < names.size() && widget; ++i)
        widget = widget->IsA(TypeIds::Panel) ? Widget::FindChild(names[i].c_str(), static_cast<Panel*>(widget)) : nullptr;
    if (!widget || !widget->m_Enabled || widget->m_InputLocked || !widget->IsOpaqueForInput())
        return false;
    for (const Widget* up = widget; up; up = up->m_Parent)
        if (!up->Visible || Moving(*up))
            return false;
    return true;
}

}  // namespace GameServices::Widget
