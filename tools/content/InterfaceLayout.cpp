#include "tools/content/InterfaceLayout.h"

#include <cctype>
#include <cstdlib>
#include <map>

namespace content {

namespace {

// The attributes whose values are images or fonts (checked against the art and font sources).
bool IsImageAttribute(const std::string& key) {
    return key.rfind("Image", 0) == 0 && key.find("Size") == std::string::npos &&
           key.find("Position") == std::string::npos;
}
bool IsFontAttribute(const std::string& key) { return key == "TextFontName" || key == "SpecialTextFontName"; }

const std::set<std::string>& Kinds() {
    static const std::set<std::string> kinds = {
        "Button", "CheckBox",     "SliderButton", "SliderTrackBar",  "Image", "Label",      "ScrollText",
        "Grid",   "SoftKeyboard", "Emitter3D",    "ResizableWindow", "Video", "ViewPort3D", "Compositor"};
    return kinds;
}

void WriteWidget(const LayoutWidget& widget, int depth, std::string& out) {
    const std::string indent(size_t(depth) * 2, ' ');
    const std::string element = widget.kind == "Grid" ? "Grid" : "GsWidgetLibrary:" + widget.kind;
    out += indent + "<" + element;
    for (const auto& [key, value] : widget.attributes) {
        out += " " + key + "=\"";
        out += XmlText(value);
        out += "\"";
    }
    if (widget.children.empty()) {
        out += "/>\n";
        return;
    }
    out += ">\n";
    for (const LayoutWidget& child : widget.children)
        WriteWidget(child, depth + 1, out);
    out += indent + "</" + element + ">\n";
}

struct Style {
    std::string kind;
    std::vector<std::pair<std::string, std::string>> attributes;
};

void SetAttribute(std::vector<std::pair<std::string, std::string>>& attributes, const std::string& key,
                  const std::string& value) {
    for (auto& attribute : attributes)
        if (attribute.first == key) {
            attribute.second = value;
            return;
        }
    attributes.emplace_back(key, value);
}

}  // namespace

// Whitespace-separated words; a double-quoted part keeps its spaces (quotes dropped).
bool Words(const std::string& text, std::vector<std::string>& words) {
    std::string word;
    bool quoted = false, any = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return !quoted;
}

bool ParseNumber(const std::string& text, int& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end || v < -100000 || v > 100000)
        return false;
    value = int(v);
    return true;
}

// "{n}" -> number, "{a|b|c}" -> the index-th alternative; false on a bad or short choice.
bool Expand(const std::string& value, int number, int index, std::string& result) {
    result.clear();
    for (size_t i = 0; i < value.size(); ++i) {
        const size_t close = value[i] == '{' ? value.find('}', i) : std::string::npos;
        if (close == std::string::npos) {
            result += value[i];
            continue;
        }
        const std::string inner = value.substr(i + 1, close - i - 1);
        if (inner == "n") {
            result += std::to_string(number);
        } else {
            const std::vector<std::string> choices = SplitFields(inner, '|');
            if (index < 0 || size_t(index) >= choices.size())
                return false;
            result += choices[size_t(index)];
        }
        i = close;
    }
    return true;
}

// "Name{a..b}" -> numbers a..b; "Name{x|y|z}" -> the choices, numbered from 1. A plain name
// gives one widget. False for a malformed range.
bool NameRange(const std::string& name, std::vector<std::string>& names, std::vector<int>& numbers) {
    const size_t open = name.find('{');
    if (open == std::string::npos) {
        names = {name};
        numbers = {0};
        return true;
    }
    const size_t close = name.find('}', open);
    if (close == std::string::npos)
        return false;
    const std::string inner = name.substr(open + 1, close - open - 1);
    const std::string prefix = name.substr(0, open), suffix = name.substr(close + 1);
    const size_t dots = inner.find("..");
    int first = 0, last = -1;
    if (dots != std::string::npos) {
        if (!ParseNumber(inner.substr(0, dots), first) || !ParseNumber(inner.substr(dots + 2), last) || first < 0 ||
            last < first || last - first >= 100)
            return false;
        for (int n = first; n <= last; ++n) {
            names.push_back(prefix + std::to_string(n) + suffix);
            numbers.push_back(n);
        }
        return true;
    }
    for (const std::string& choice : SplitFields(inner, '|')) {
        if (choice.empty())
            return false;
        names.push_back(prefix + choice + suffix);
        numbers.push_back(int(names.size()));
    }
    return names.size() > 1;
}

Layout ReadLayout(const SourceFile& source, Output& out) {
    Layout layout;
    if (!source.Ok()) {
        out.Error({source.Path(), 0}, "the layout source cannot be read");
        return layout;
    }
    std::map<std::string, Style> styles;
    std::vector<std::vector<LayoutWidget>*> open = {&layout.widgets};
    std::vector<SourceRef> openedAt;
    // A record ending in '\\' goes on on the next line; it is reported at its first line.
    std::string pending;
    SourceRef pendingAt;
    for (const SourceLine& line : source.Lines()) {
        if (pending.empty())
            pendingAt = source.At(line);
        pending += line.text;
        if (pending.back() == '\\') {
            pending.back() = ' ';
            continue;
        }
        const SourceRef at = pendingAt;
        const std::string text = std::move(pending);
        pending.clear();
        std::vector<std::string> words;
        if (!Words(text, words)) {
            out.Error(at, "unclosed quote");
            continue;
        }
        const std::string& head = words[0];
        if (head == "screen") {
            if (words.size() != 4 || !ParseNumber(words[2], layout.width) || !ParseNumber(words[3], layout.height))
                out.Error(at, "expected: screen <Name> <width> <height>");
            else
                layout.name = words[1];
            continue;
        }
        if (head == "end") {
            if (open.size() < 2)
                out.Error(at, "\"end\" without an open grid");
            else {
                open.pop_back();
                openedAt.pop_back();
            }
            continue;
        }
        // Attributes: key=value words from `first` on.
        auto attributesFrom = [&](size_t first, std::vector<std::pair<std::string, std::string>>& into) {
            for (size_t i = first; i < words.size(); ++i) {
                const size_t eq = words[i].find('=');
                if (eq == 0 || eq == std::string::npos) {
                    out.Error(at, "\"" + words[i] + "\" is not key=value");
                    return false;
                }
                SetAttribute(into, words[i].substr(0, eq), words[i].substr(eq + 1));
            }
            return true;
        };
        if (head == "style") {
            // A style is a widget kind or another style, with more attributes.
            Style style;
            const auto base = words.size() < 3 ? styles.end() : styles.find(words[2]);
            if (base != styles.end()) {
                style = base->second;
            } else if (words.size() < 3 || !Kinds().count(words[2])) {
                out.Error(at, "expected: style <name> <Kind or style> [key=value ...]");
                continue;
            } else {
                style.kind = words[2];
            }
            if (attributesFrom(3, style.attributes))
                styles[words[1]] = style;
            continue;
        }
        const bool grid = head == "grid";
        const auto found = styles.find(head);
        if (!grid && found == styles.end()) {
            out.Error(at, "unknown style \"" + head + "\"");
            continue;
        }
        int x = 0, y = 0, w = 0, h = 0;
        if (words.size() < 6 || !ParseNumber(words[2], x) || !ParseNumber(words[3], y) || !ParseNumber(words[4], w) ||
            !ParseNumber(words[5], h)) {
            out.Error(at, "expected: " + head + " <Name> <x> <y> <width> <height> [key=value ...]");
            continue;
        }
        Style own = grid ? Style{"Grid", {}} : found->second;
        if (!attributesFrom(6, own.attributes))
            continue;
        std::vector<std::string> names;
        std::vector<int> numbers;
        if (!NameRange(words[1], names, numbers)) {
            out.Error(at, "bad name range \"" + words[1] + "\"");
            continue;
        }
        // Cells of a range: columns, dx, dy.
        int columns = 1, dx = 0, dy = 0;
        for (auto it = own.attributes.begin(); it != own.attributes.end(); ++it)
            if (it->first == "each") {
                const std::vector<std::string> cell = SplitFields(it->second, ',');
                if (cell.size() != 3 || !ParseNumber(cell[0], columns) || !ParseNumber(cell[1], dx) ||
                    !ParseNumber(cell[2], dy) || columns < 1) {
                    out.Error(at, "expected: each=<columns>,<dx>,<dy>");
                    columns = 1;
                }
                own.attributes.erase(it);
                break;
            }
        if (grid && names.size() > 1) {
            out.Error(at, "a grid cannot be a range");
            continue;
        }
        bool bad = false;
        for (int k = 0; k < int(names.size()) && !bad; ++k) {
            const int number = numbers[size_t(k)];
            LayoutWidget widget;
            widget.kind = own.kind;
            widget.name = names[size_t(k)];
            widget.from = at;
            const int cx = x + (k % columns) * dx, cy = y + (k / columns) * dy;
            widget.attributes = {{"Name", widget.name},
                                 {"Margin", std::to_string(cx) + "," + std::to_string(cy) + ",0,0"},
                                 {"Width", std::to_string(w)},
                                 {"Height", std::to_string(h)}};
            for (const auto& [key, value] : own.attributes) {
                std::string expanded;
                if (!Expand(value, number, k, expanded)) {
                    out.Error(at, "\"" + value + "\" has no choice for " + widget.name);
                    bad = true;
                    break;
                }
                if (key == "over") {
                    widget.over = SplitFields(expanded, ',');
                    continue;
                }
                SetAttribute(widget.attributes, key, expanded);
                if (!expanded.empty() && IsImageAttribute(key))
                    layout.images.insert(expanded);
                if (IsFontAttribute(key))
                    layout.fonts.insert(expanded);
            }
            if (bad)
                break;
            open.back()->push_back(std::move(widget));
        }
        if (grid && !bad) {
            open.push_back(&open.back()->back().children);
            openedAt.push_back(at);
        }
    }
    if (!pending.empty())
        out.Error(pendingAt, "the record goes on past the end of the file");
    for (const SourceRef& at : openedAt)
        out.Error(at, "grid without \"end\"");
    if (layout.name.empty())
        out.Error({source.Path(), 0}, "no screen record");
    return layout;
}

std::string LayoutXaml(const Layout& layout) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<UserControl xmlns:x=\"urn:tallyvox:layout-x\" xmlns:GsWidgetLibrary=\"urn:tallyvox:widgets\"\n"
        "             x:Name=\"" +
        layout.name + "\" Width=\"" + std::to_string(layout.width) + "\" Height=\"" + std::to_string(layout.height) +
        "\">\n";
    for (const LayoutWidget& widget : layout.widgets)
        WriteWidget(widget, 1, out);
    return out + "</UserControl>\n";
}

std::vector<FlowScreen> ReadFlow(const SourceFile& source, Output& out) {
    std::vector<FlowScreen> screens;
    if (!source.Ok())
        out.Error({source.Path(), 0}, "the screen flow source cannot be read");
    for (const SourceLine& line : source.Lines()) {
        FlowScreen screen;
        screen.from = source.At(line);
        if (line.fields.size() != 5 || (line.fields[2] != "Navigation" && line.fields[2] != "Composition") ||
            !ParseNumber(line.fields[3], screen.x) || !ParseNumber(line.fields[4], screen.y) ||
            line.fields[1].find('/') != std::string::npos) {
            out.Error(screen.from, "expected: <screen> <layout file> Navigation|Composition <x> <y>");
            continue;
        }
        screen.name = line.fields[0];
        screen.file = line.fields[1];
        screen.type = line.fields[2];
        screens.push_back(screen);
    }
    return screens;
}

std::string FlowXml(const std::vector<FlowScreen>& screens) {
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Data>\n  <Screens>\n";
    for (const FlowScreen& s : screens) {
        out += "    <Screen>\n      <DisplayName>";
        out += XmlText(s.name);
        out += "</DisplayName>\n      <FileName>";
        out += XmlText(s.file);
        out += "</FileName>\n      <Type>" + s.type + "</Type>\n      <Position><X>" + std::to_string(s.x) + "</X><Y>" +
               std::to_string(s.y) + "</Y></Position>\n    </Screen>\n";
    }
    return out + "  </Screens>\n  <Connections/>\n</Data>\n";
}

std::string LayoutSourcePath(const FlowScreen& screen) {
    std::string base = screen.file.substr(0, screen.file.rfind('.'));
    for (char& c : base)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return "content/layouts/" + base + ".txt";
}

}  // namespace content
