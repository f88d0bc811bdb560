#pragma once
// The string table source and the popup records of the system generator.
#include <map>
#include <string>
#include <vector>

#include "tools/authoring/LocalizationWriter.h"
#include "tools/content/ContentBuild.h"

namespace content {

// "KEY = text" lines: spaces around '=' and at the ends dropped, '#' comment lines skipped.
struct StringTable {
    bool ok = false;
    authoring::LocalizationEntries entries;  // in file order
    std::map<std::string, std::string> text;  // key -> text
};
// Reads the table; with `report`, malformed lines and keys given twice are errors there.
StringTable ReadStringTable(const std::string& dataRoot, const std::string& relativePath, Output* report = nullptr);

// A decimal count; 0 for anything else.
uint32_t ParseCount(const std::string& text);

struct PopupLayout {
    std::string file;
    std::vector<std::string> buttons;
    std::vector<std::string> messages;
    SourceRef from;
};

struct PopupEntry {
    std::string name;
    std::string stringId;
    bool autoClose = false;
    SourceRef from;
};

struct PopupRecord {
    std::string file;
    std::string name;
    uint32_t priority = 0;
    std::string layout;
    std::string titleId;
    std::string textId;
    std::vector<PopupEntry> options;
    std::vector<PopupEntry> messages;
    SourceRef from;
};

// The layout: a centred panel, "Title", "MainText", the message labels, a row of buttons.
std::string PopupLayoutXaml(const PopupLayout& layout);
// A popups file of the popups; a popup whose layout, buttons, labels, priority or string ids
// do not resolve is an error in `out`.
std::string PopupsXml(const std::vector<const PopupRecord*>& popups, const std::map<std::string, PopupLayout>& layouts,
                      const StringTable& strings, Output& out);

}  // namespace content
