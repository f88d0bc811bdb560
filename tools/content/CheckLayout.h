#pragma once
// The layout checks of one layout document: every text it shows fits its widget, laid out by
// the game's own text layout with the packaged fonts (a ScrollText scrolls and is not held to
// its box); every character a widget can show is in its font; visible widgets of one page do
// not overlap unless the later is declared drawn over the other ("over=" in the source, see
// InterfaceLayout.h), a panel's children lying on the panel and a picture lying under the
// widgets of its own panel; no widget leaves the design's size.
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/content/ContentBuild.h"

class AGFont;

namespace GameServices::Widget {
struct sPopupInfo;
struct sWidget;
}

namespace content {

class Checker;
class LayoutDoc;
class LoadedStrings;

// What the code may put into widgets at run time: the widget named `prefix`, or `prefix` and
// a number (under the panel `page` when one is named), shows any of `characters` (each must be
// in its font) and each of `texts` (each must fit); `what` names them in messages.
struct RuntimeText {
    std::string prefix;
    std::string characters;
    std::string what;
    std::vector<std::string> texts;
    std::string page;
    std::string font = {};  // the font the code sets for these texts; empty: the widget's own
};

// A page the screen shows on its own: its root panel, and the widgets outside every page
// (shown with each page) that the page moves out of sight.
struct LayoutPage {
    std::string root;
    std::vector<std::string> parked;
};

class LayoutCheck {
public:
    LayoutCheck(Checker& checker, const LoadedStrings& strings);
    ~LayoutCheck();

    // `pages`: the pages the screen shows one at a time; none: the whole layout is one page.
    void Check(const LayoutDoc& doc, const std::vector<LayoutPage>& pages, const std::vector<RuntimeText>& runtime);
    // The texts a popup puts into its layout's title, main text, option buttons and messages.
    void CheckPopup(const LayoutDoc& doc, const GameServices::Widget::sPopupInfo& info, const SourceRef& from,
                    const std::string& label);
    // How many texts were laid out.
    size_t Texts() const { return m_texts; }

    struct Text;

private:
    AGFont* Font(const std::string& key);
    void CheckTexts(const LayoutDoc& doc, const std::vector<RuntimeText>& runtime);
    void CheckText(const SourceRef& from, const std::string& label, const std::string& widget,
                   const Text& text, bool scrolls);
    void CheckOverlaps(const LayoutDoc& doc, const std::vector<LayoutPage>& pages);
    // Where a widget draws, as boxes (x, y, width, height) relative to its own position: a
    // label its laid-out text, a soft keyboard its key rows, keys and entry, any other widget
    // its box.
    std::vector<std::array<float, 4>> Drawn(const GameServices::Widget::sWidget& widget);
    void CheckDesign(const LayoutDoc& doc);

    Checker& m_checker;
    const LoadedStrings& m_strings;
    std::map<std::string, std::unique_ptr<AGFont>> m_fonts;
    size_t m_texts = 0;
};

}  // namespace content
