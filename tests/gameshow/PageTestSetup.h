#pragma once
// Small helpers of the menu page tests: presses, new widgets and the sample
// interface files copied into a test folder.
#include <cctype>
#include <string>

#include "gameservices/widget/Widget.h"
#include "gameservices/widget/WidgetBehavior.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"

namespace pagetest {

inline void Click(GameServices::Widget::Widget* widget) { widget->GetBehavior()->onPress(false); }

// A new widget of the type, named, added to the parent.
template <typename T>
T* Add(GameServices::Widget::Panel* parent, const std::string& name) {
    auto* widget = new T(name.c_str());
    parent->AddChild(widget);
    return widget;
}

// A sample interface file copied to `to` in the folder.
inline void CopySample(const TempDir& dir, const std::string& to, const std::string& from) {
    dir.Write(to, FileContents(std::string(TALLYVOX_SAMPLE_UI) + "/" + from));
}

// A sample look, where the character loader looks for it (in lower case).
inline void CopyLook(const TempDir& dir, std::string look) {
    const std::string from = "characters/" + look;
    for (char& c : look)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    CopySample(dir, "-xml/korvocity/" + look, from);
}

}  // namespace pagetest
