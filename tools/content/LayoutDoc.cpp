#include "tools/content/LayoutDoc.h"

#include "engine/core/AGMemBuffer.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/minigame/BaseGame.h"
#include "tools/content/Checker.h"
#include "tools/content/InterfaceLayout.h"

namespace content {

namespace {

constexpr const char* kStringSource = "data/strings/english.txt";

}  // namespace

LayoutDoc::LayoutDoc(Checker& checker, const std::string& file) {
    m_entry = checker.Use(file);
    if (!m_entry)
        return;
    GameServices::Utilities::XmlReader reader;
    m_read = reader.ReadFile(checker.PathOf(*m_entry).c_str(), m_window, "UserControl");
    if (!m_read) {
        checker.Error(m_entry->from, m_entry->Label(), "layout \"" + file + "\" does not parse");
        return;
    }
    for (const Widget& widget : m_window.m_Widgets)
        Index(widget, nullptr);
    ReadLines(checker);
}

const LayoutDoc::Widget* LayoutDoc::Find(const std::string& name, const Widget* scope) const {
    const auto [first, last] = m_byName.equal_range(name);
    for (auto it = first; it != last; ++it)
        if (!scope || Below(it->second, scope))
            return it->second;
    return nullptr;
}

SourceRef LayoutDoc::From(const Widget& widget) const {
    const auto found = m_lines.find(widget.m_Name.c_str());
    return found != m_lines.end() ? found->second : m_entry->from;
}

bool LayoutDoc::Below(const Widget* widget, const Widget* scope) const {
    for (const Widget* at = widget; at; at = m_parent.at(at))
        if (at == scope)
            return true;
    return false;
}

const std::vector<std::string>& LayoutDoc::Over(const Widget& widget) const {
    static const std::vector<std::string> kNone;
    const auto found = m_over.find(widget.m_Name.c_str());
    return found != m_over.end() ? found->second : kNone;
}

void LayoutDoc::Index(const Widget& widget, const Widget* parent) {
    m_byName.emplace(widget.m_Name.c_str(), &widget);
    m_parent[&widget] = parent;
    m_order.push_back(&widget);
    for (const Widget& child : widget.m_Children)
        Index(child, &widget);
}

// The layout's source records, for the line of each widget name and its declarations (the
// first record of a name wins, in document order, as the game's search meets them).
void LayoutDoc::ReadLines(const Checker& checker) {
    const std::string& path = m_entry->from.file;
    if (!path.starts_with("data/"))
        return;
    Output scratch(checker.DataRoot(), {});
    const Layout layout = ReadLayout(SourceFile(checker.DataRoot(), path.substr(5)), scratch);
    const auto add = [this](const auto& self, const LayoutWidget& widget) -> void {
        m_lines.emplace(widget.name, SourceRef{"data/" + widget.from.file, widget.from.line});
        m_over.emplace(widget.name, widget.over);
        for (const LayoutWidget& child : widget.children)
            self(self, child);
    };
    for (const LayoutWidget& widget : layout.widgets)
        add(add, widget);
}

LoadedStrings::LoadedStrings(Checker& checker) {
    m_name = std::string(GameServices::MiniGame::BaseGame::kStringTable) + "_" +
             GameServices::Bridge::GetLocalizationLanguage().c_str() + ".loc";
    const PackageEntry* entry = checker.Use(m_name);
    if (!entry) {
        checker.Error({kStringSource, 0}, "", "the string table \"" + m_name + "\" is in no package");
        return;
    }
    std::string bytes = checker.Read(*entry);
    AGMemBuffer buffer(bytes.data(), u32(bytes.size()));
    m_table.Load(&buffer, 0, false, false);
    m_loaded = true;
}

bool LoadedStrings::Has(const std::string& id) const {
    return id.empty() || !m_loaded || m_table.Find(Crc32Hash(id.c_str())) != nullptr;
}

std::string LoadedStrings::Shown(const std::string& id, const std::string& fallback) const {
    const TString<char>* text = id.empty() ? nullptr : m_table.Find(Crc32Hash(id.c_str()));
    return text && !text->IsEmpty() ? std::string(text->c_str()) : fallback;
}

}  // namespace content
