#pragma once
// The layout documents and the string table as the game reads them, shared by the screen and
// layout checks.
#include <map>
#include <string>
#include <vector>

#include "engine/core/AGLocalization.h"
#include "gameservices/widget/LayoutRecords.h"
#include "tools/content/ContentBuild.h"

namespace content {

class Checker;
struct PackageEntry;

// One layout document read through the game's reader, its widgets indexed by name in
// document order (the first of a name is the one the game's search finds), with the source
// line that made each and the widgets each declares itself drawn over ("over=" in the source).
class LayoutDoc {
public:
    using Widget = GameServices::Widget::sWidget;

    LayoutDoc(Checker& checker, const std::string& file);
    LayoutDoc(const LayoutDoc&) = delete;
    LayoutDoc& operator=(const LayoutDoc&) = delete;

    const PackageEntry* Entry() const { return m_entry; }
    bool Read() const { return m_read; }
    const GameServices::Widget::sWindow& Window() const { return m_window; }

    // The first widget of that name at or below `scope` (the whole layout when null).
    const Widget* Find(const std::string& name, const Widget* scope = nullptr) const;
    // Where the source made the widget; the layout's own source when no line names it.
    SourceRef From(const Widget& widget) const;
    // The panel holding a widget; null at the top.
    const Widget* Parent(const Widget& widget) const { return m_parent.at(&widget); }
    // Whether `widget` is `scope` or lies below it.
    bool Below(const Widget* widget, const Widget* scope) const;
    // The names the widget's source record declares it drawn over.
    const std::vector<std::string>& Over(const Widget& widget) const;
    // Every widget in document order (the order the game creates, and draws, them).
    const std::vector<const Widget*>& InOrder() const { return m_order; }
    template <typename F>
    void ForEach(F&& f) const {
        for (const auto& [name, widget] : m_byName)
            f(*widget);
    }

private:
    void Index(const Widget& widget, const Widget* parent);
    void ReadLines(const Checker& checker);

    const PackageEntry* m_entry = nullptr;
    bool m_read = false;
    GameServices::Widget::sWindow m_window;
    std::multimap<std::string, const Widget*> m_byName;
    std::map<const Widget*, const Widget*> m_parent;
    std::vector<const Widget*> m_order;
    std::map<std::string, SourceRef> m_lines;
    std::map<std::string, std::vector<std::string>> m_over;
};

// The string table the game loads, read through the engine's table reader.
class LoadedStrings {
public:
    explicit LoadedStrings(Checker& checker);
    // An empty id asks for nothing.
    bool Has(const std::string& id) const;
    // The text the game shows for an id with a literal fallback, as the widgets look it up.
    std::string Shown(const std::string& id, const std::string& fallback) const;

private:
    std::string m_name;
    AGLocalization m_table;
    bool m_loaded = false;
};

}  // namespace content
