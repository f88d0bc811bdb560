#pragma once
// The content checker: reads the packages a build wrote and checks that every name the game
// or the data refers to resolves. Messages name the source that made the record (from the
// build's source maps) and the generated entry:
//   "<source>[:<line>] (<Package>/<entry>): error: <text>"
// and end with "content check: <n> errors, <m> warnings".
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/content/ContentBuild.h"

namespace GameServices::Utilities {
class ISerializable;
}
namespace GameShow {
class sEvent;
}

namespace content {

using GameServices::Utilities::ISerializable;

class Checker;

// The checks by topic, each in a file of its own; Checker::Run calls them in this order, after
// the package and sequence checks.
void CheckScreens(Checker& checker);     // CheckScreens.cpp: layouts, pages, popups, strings
void CheckArt2D(Checker& checker);       // CheckArt2D.cpp: images, fonts, widget animations
void CheckLevels(Checker& checker);      // CheckLevels.cpp: levels, behaviours, stage art, system files
void CheckCharacters(Checker& checker);  // CheckCharacters.cpp: assemblies, looks, awards, avatar art
void CheckSounds(Checker& checker);      // CheckSounds.cpp: cue sounds, voices, descriptors, clips

// The mount names of every package the game mounts, from the game's own tables.
std::vector<std::string> GamePackages();

struct PackageEntry {
    std::string package;  // mount name, "GlobalXml.dir"
    std::string name;     // entry name as the index holds it
    SourceRef from;       // the source that made it (empty when no map names it)
    std::string Label() const;  // "GlobalXml/levels.xml"
};

class Checker {
public:
    Checker(std::string dataRoot, std::string outRoot, std::string mapRoot);

    // Runs every check once.
    void Run();

    // The entry a name resolves to (documents by their lower-cased name, as the engine looks
    // them up); null when none.
    const PackageEntry* Find(const std::string& name) const;
    // The bytes of an entry; empty when the file cannot be read.
    std::string Read(const PackageEntry& entry) const;
    // Find, and marks the entry as referred to (the unreferenced-resource warnings skip it).
    const PackageEntry* Use(const std::string& name);
    // Every entry of every package, by entry name.
    const std::map<std::string, PackageEntry>& Entries() const { return m_byName; }
    // Reads one element of an XML entry through the game's XML reader; false when it does not parse.
    bool ReadXml(const PackageEntry& entry, const char* element, ISerializable& record, const char* root = "root") const;

    void Error(const SourceRef& from, const std::string& entry, const std::string& text);
    void Warning(const SourceRef& from, const std::string& entry, const std::string& text);
    // Records how many items of a checked class were found (printed in the summary).
    void Count(const std::string& what, size_t count);

    const std::vector<std::string>& Errors() const { return m_errors; }
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    const std::vector<std::pair<std::string, size_t>>& Counts() const { return m_counts; }
    // "content check: 15 packages, ...": the counts line; then the totals line.
    std::string CountsLine() const;
    std::string TotalsLine() const;

    // The source folder ("data") the build read.
    const std::string& DataRoot() const { return m_dataRoot; }
    // The path of an entry's file, as the engine's file layer finds it.
    std::string PathOf(const PackageEntry& entry) const;

private:
    void CheckPackages();
    void CheckSequences();
    void CheckEntityEvent(const PackageEntry& entry, const std::string& label, const GameShow::sEvent& event,
                          const std::set<std::string>& shown, const std::set<std::string>& hidden);
    void WarnUnused();
    bool ReadIndex(const std::string& package, std::vector<std::string>& names);
    std::map<std::string, SourceRef> ReadMap(const std::string& package) const;

    std::string m_dataRoot;
    std::string m_outRoot;
    std::string m_mapRoot;
    std::map<std::string, PackageEntry> m_byName;
    std::set<std::string> m_used;
    std::vector<std::string> m_errors;
    std::vector<std::string> m_warnings;
    std::vector<std::pair<std::string, size_t>> m_counts;
};

}  // namespace content
