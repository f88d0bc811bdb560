// syspack: writes the game's packages of the sample data in folder form from data/:
// "gsSystem.dir" (the global and level XML files, the navigation, screen and popup files, the
// character assemblies with their wardrobes, anatomies and looks),
// "gstrcsystem.dir" (the English string table) and "ingamexml.dir" (the match's show
// sequences, mounted by the match while it loads them).
//   syspack <data folder> <output folder>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/LocalizationWriter.h"
#include "tools/authoring/PackageWriter.h"

namespace {

// Every file of the folder, by lower-cased name, in name order so the index is reproducible.
bool AddFolder(authoring::PackageWriter& package, const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::string bytes;
        if (!authoring::ReadWholeFile(file.string(), bytes)) {
            fprintf(stderr, "syspack: cannot read %s\n", file.c_str());
            return false;
        }
        package.Add(authoring::LowerName(file.filename().string()), TypeKey::Data, bytes);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: syspack <data folder> <output folder>\n");
        return 2;
    }
    const std::filesystem::path data = argv[1];
    const std::filesystem::path out = argv[2];
    authoring::PackageWriter system;
    for (const char* folder : {"global", "levels", "screens", "characters"})
        if (!AddFolder(system, data / folder))
            return 1;
    authoring::PackageWriter sequences;
    if (!AddFolder(sequences, data / "ingamexml"))
        return 1;
    // The engine finds a file in whichever mounted package holds it: names are unique across
    // packages.
    authoring::PackageWriter all = system;
    for (const auto& entry : sequences.Entries())
        all.Add(entry.name, entry.typeId, entry.bytes);
    if (!all.Duplicates().empty()) {
        fprintf(stderr, "syspack: %s is in more than one folder\n", all.Duplicates().front().c_str());
        return 1;
    }

    std::string source;
    std::string error;
    authoring::LocalizationEntries strings;
    if (!authoring::ReadWholeFile((data / "strings" / "gstrc_english.txt").string(), source) ||
        !authoring::ParseLocalizationSource(source, strings, error)) {
        fprintf(stderr, "syspack: string table: %s\n", error.c_str());
        return 1;
    }
    authoring::PackageWriter tables;
    tables.Add("gstrc_english.loc", TypeKey::Localization, authoring::LocalizationBytes(strings));

    if (!system.WriteFolder((out / "gssystem.dir").string()) || !tables.WriteFolder((out / "gstrcsystem.dir").string()) ||
        !sequences.WriteFolder((out / "ingamexml.dir").string())) {
        fprintf(stderr, "syspack: cannot write into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
