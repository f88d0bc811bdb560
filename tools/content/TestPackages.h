#pragma once
// The packages the tests read, built from the hand-written test data under tests/data
// (not the sample content): `content testpack <kind> ...`.
#include <string>

namespace content {

// "gssystem.dir" (the global, level, screen and character files with the menus' placeholder
// pictures, font, slide and sounds), "gstrcsystem.dir" (the string table), "ingamexml.dir"
// (the show sequences) and the game's other start-up packages, empty, under `out`. The font
// is left out when `ttf` is empty.
bool WriteTestSystemPackages(const std::string& data, const std::string& out, const std::string& ttf);
// The interface package mounted as `mount`: a few layouts, the navigation and popups files,
// the string table, a placeholder sprite for every image they name, and the font.
bool WriteTestInterfacePackage(const std::string& data, const std::string& mount, const std::string& ttf);
// A "KEY=text" source turned into a string table file.
bool WriteStringTable(const std::string& source, const std::string& table);

}  // namespace content
