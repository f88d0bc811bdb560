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

// The text in lower case, as the character loader names the files it reads.
inline std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A sample look, where the character loader looks for it.
inline void CopyLook(const TempDir& dir, const std::string& look) {
    CopySample(dir, "-xml/korvocity/" + Lower(look), "characters/" + look);
}

}  // namespace pagetest
