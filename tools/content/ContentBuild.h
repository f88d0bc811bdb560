#pragma once
// The sample-content build: text sources under data/ turned into the game's packages.
// A group (one build step) runs its generators; each generator reads its own sources and
// adds entries to the packages of its group. Entries are written in name order, so the
// output does not depend on the order in which generators run.
#include <cstdint>
#include <map>
#include <functional>
#include <string>
#include <vector>

namespace content {

// Where a record came from: a source file relative to the data folder and a line (0: none).
struct SourceRef {
    std::string file;
    int line = 0;
    std::string Text() const { return line > 0 ? file + ":" + std::to_string(line) : file; }
};

// One record line of a text source: '#' comments and blank lines are skipped, fields are
// split on whitespace, `text` is the trimmed line.
struct SourceLine {
    int line = 0;
    std::string text;
    std::vector<std::string> fields;
};

// A text source under the data folder, read whole. A missing file reads as empty with ok false.
class SourceFile {
public:
    SourceFile(const std::string& dataRoot, const std::string& relativePath);
    bool Ok() const { return m_ok; }
    const std::string& Path() const { return m_path; }
    const std::vector<SourceLine>& Lines() const { return m_lines; }
    SourceRef At(const SourceLine& line) const { return {m_path, line.line}; }

private:
    std::string m_path;
    bool m_ok = false;
    std::vector<SourceLine> m_lines;
};

// The entry name a file is packaged under (see Output::Add).
std::string EntryName(const std::string& name);

// Splits a record on a separator, trimming each field ("a | b" -> {"a", "b"}).
std::vector<std::string> SplitFields(const std::string& text, char separator);
// The text with the five XML special characters escaped, for element text and attribute values.
std::string XmlText(const std::string& text);

// The packages one group writes, and its loose files (streams/, video/, LICENSES/).
class Output {
public:
    Output(std::string dataRoot, std::vector<std::string> packages);

    const std::string& DataRoot() const { return m_dataRoot; }
    // Adds an entry. Documents the XML reader loads (".xml", ".xaml", ".flow") and sound
    // descriptors (".snd") are looked up by their lower-cased name, so theirs is lower-cased;
    // every other resource is looked up by the name exactly as the game or the data spells it,
    // which is kept. A package outside the
    // group, or a name added twice to one package, is an error.
    void Add(const std::string& package, const std::string& name, std::string bytes, const SourceRef& from,
             uint32_t typeId = 0);
    // A file outside the packages, by path relative to the output folder.
    void AddLoose(const std::string& relativePath, std::string bytes, const SourceRef& from);
    // An error (or warning) message in the checker's form: "<from> (<entry>): error: <text>".
    void Error(const SourceRef& from, const std::string& text, const std::string& entry = "");
    void Warning(const SourceRef& from, const std::string& text, const std::string& entry = "");

    struct Item {
        std::string bytes;
        SourceRef from;
        uint32_t typeId = 0;
    };
    // Package mount name ("GlobalXml.dir") -> entry name -> item.
    const std::map<std::string, std::map<std::string, Item>>& Packages() const { return m_packages; }
    const std::map<std::string, Item>& Loose() const { return m_loose; }
    const std::vector<std::string>& Errors() const { return m_errors; }
    const std::vector<std::string>& Warnings() const { return m_warnings; }

    // Writes every package of the group under outRoot (folder form, or archives), the loose
    // files, and "<mapRoot>/<package>.map" (entry and source per line) when mapRoot is set.
    bool Write(const std::string& outRoot, bool archive, const std::string& mapRoot) const;

private:
    std::string m_dataRoot;
    std::map<std::string, std::map<std::string, Item>> m_packages;
    std::map<std::string, Item> m_loose;
    std::vector<std::string> m_errors;
    std::vector<std::string> m_warnings;
};

// A generator: reads its sources from out.DataRoot() and adds its entries.
using Generator = void (*)(Output& out);

struct Group {
    const char* name;
    std::vector<const char*> packages;
    std::vector<Generator> generators;
};

// The build steps, in a fixed order.
const std::vector<Group>& Groups();
// The step of that name; null when none.
const Group* FindGroup(const std::string& name);
// Runs the steps' generators and writes their packages under `out` (and the source maps under
// `map` when not empty). Every warning and error line is passed to `report`; returns the number
// of errors (a step with errors writes nothing).
size_t BuildGroups(const std::string& data, const std::string& out, const std::vector<const Group*>& groups,
                   bool archive, const std::string& map, const std::function<void(const std::string&)>& report);

}  // namespace content
