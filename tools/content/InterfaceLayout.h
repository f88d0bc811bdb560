#pragma once
// Screen layouts written from their compact sources (data/content/layouts/*.txt) as XAML.
//
// Source records, one per line (a line ending in '\' goes on on the next):
//   screen <Name> <width> <height>                 the user control (first record)
//   style <style> <Kind or style> [key=value ...]  a widget kind, or a style, with the
//                                                  attributes its widgets share
//   grid <Name> <x> <y> <w> <h> [key=value ...]    opens a panel; "end" closes it
//   <style> <Name> <x> <y> <w> <h> [key=value ...] a widget
// A value with spaces is quoted: Text="Choose a decade". A name "Row{1..8}" makes one widget
// per number; "each=<columns>,<dx>,<dy>" places them in a grid of cells from (x, y). Inside
// such a record, "{n}" in a value is the number and "{a|b|c}" picks the number's alternative
// (counted from the first number of the range).
// "over=<Name>[,<Name>...]" declares the widget (and what it holds) drawn over the named widgets
// and what they hold, on purpose: the layout check lets it overlap them. It is not written to
// the layout file.
#include <set>
#include <string>
#include <vector>

#include "tools/content/ContentBuild.h"

namespace content {

struct LayoutWidget {
    std::string kind;  // XAML kind: "Grid", "Button", "Label", ...
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;  // in source order, Name/Margin/size first
    std::vector<LayoutWidget> children;
    std::vector<std::string> over;  // the names of an "over=" declaration
    SourceRef from;
};

struct Layout {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<LayoutWidget> widgets;
    // Every image, font and animation value the widgets name, as written.
    std::set<std::string> images;
    std::set<std::string> fonts;
};

// "Name{a..b}" gives the names with the numbers a..b, "Name{x|y}" the choices numbered from 1,
// a plain name itself (number 0). False for a malformed range.
bool NameRange(const std::string& name, std::vector<std::string>& names, std::vector<int>& numbers);
// A value with "{n}" replaced by the number and "{a|b|c}" by the index-th choice; false when
// a choice is missing.
bool Expand(const std::string& value, int number, int index, std::string& result);
// A decimal integer of the whole text, within +-100000.
bool ParseNumber(const std::string& text, int& value);
// Whitespace-separated words; a double-quoted part keeps its spaces. False for an open quote.
bool Words(const std::string& text, std::vector<std::string>& words);

// Reads a layout source; bad records are reported through out.Error and skipped.
Layout ReadLayout(const SourceFile& source, Output& out);
// The XAML document of a layout.
std::string LayoutXaml(const Layout& layout);

// The layout sources under data/: "content/layouts/<name>.txt" for each screen of the flow.
struct FlowScreen {
    std::string name;
    std::string file;  // layout file name ("ScreenGame.xaml")
    std::string type;  // "Navigation" or "Composition"
    int x = 0;
    int y = 0;
    SourceRef from;
};
std::vector<FlowScreen> ReadFlow(const SourceFile& source, Output& out);
std::string FlowXml(const std::vector<FlowScreen>& screens);
// The source path of a screen's layout.
std::string LayoutSourcePath(const FlowScreen& screen);

}  // namespace content
