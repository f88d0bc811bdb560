#include "tools/content/Checker.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "game/QZ2011GameContext.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/minigame/BaseGame.h"
#include "platform/file/Path.h"
#include "tools/authoring/PackageWriter.h"

namespace content {

namespace fs = std::filesystem;

namespace {

// Little-endian reads over a byte string, failing (not reading past the end) once short.
class Reader {
public:
    explicit Reader(const std::string& bytes) : m_bytes(bytes) {}
    bool U32(uint32_t& value) {
        if (m_bytes.size() - m_at < 4)
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | static_cast<uint8_t>(m_bytes[m_at + i]);
        m_at += 4;
        return true;
    }
    bool String(std::string& value) {
        const size_t end = m_bytes.find('\0', m_at);
        if (end == std::string::npos)
            return false;
        value = m_bytes.substr(m_at, end - m_at);
        m_at = end + 1;
        return true;
    }
    bool Skip(size_t count) {
        if (m_bytes.size() - m_at < count)
            return false;
        m_at += count;
        return true;
    }

private:
    const std::string& m_bytes;
    size_t m_at = 0;
};

bool SafeEntryName(const std::string& name) {
    if (name.empty() || name[0] == '/')
        return false;
    for (const std::string& part : SplitFields(name, '/'))
        if (part == "..")
            return false;
    return true;
}

std::string Base(const std::string& mount) { return fs::path(authoring::PackageWriter::FolderOf(mount)).filename(); }

// A package file's path as the engine's file layer finds it (folders matched without regard to case).
std::string PackagePath(const std::string& outRoot, const std::string& package, const std::string& name) {
    const std::string folder = authoring::PackageWriter::FolderOf((fs::path(outRoot) / package).string());
    return platform::ResolvePath((folder + "/" + name).c_str());
}

}  // namespace

std::vector<std::string> GamePackages() {
    std::vector<std::string> packages(std::begin(QZ2011GameContext::kPackages), std::end(QZ2011GameContext::kPackages));
    packages.push_back(GameServices::MiniGame::BaseGame::kSystemPackage);
    packages.push_back(GameServices::MiniGame::BaseGame::kStringPackage);
    packages.push_back(QZ2011::QZ11Game::kSequencePackage);
    return packages;
}

std::string PackageEntry::Label() const { return Base(package) + "/" + name; }

Checker::Checker(std::string dataRoot, std::string outRoot, std::string mapRoot)
    : m_dataRoot(std::move(dataRoot)), m_outRoot(std::move(outRoot)), m_mapRoot(std::move(mapRoot)) {}

void Checker::Run() {
    CheckPackages();
    CheckSequences();
    CheckScreens(*this);
    CheckArt2D(*this);
    CheckLevels(*this);
    CheckCharacters(*this);
    CheckSounds(*this);
    WarnUnused();
}

const PackageEntry* Checker::Use(const std::string& name) {
    const PackageEntry* entry = Find(name);
    if (entry)
        m_used.insert(entry->name);
    return entry;
}

bool Checker::ReadXml(const PackageEntry& entry, const char* element, ISerializable& record, const char* root) const {
    GameServices::Utilities::XmlReader reader;
    return reader.ReadFileElement(PathOf(entry).c_str(), element, record, root);
}

// Resources nothing refers to. Documents and sound descriptors are looked up by the game
// itself, so only the pieces other resources name (textures, slots, materials, buffers,
// meshes) are judged.
void Checker::WarnUnused() {
    static const char* const kPieces[] = {".png", "_slot", ".mat", ".vb", ".mesh"};
    for (const auto& [name, entry] : m_byName) {
        if (m_used.count(name))
            continue;
        for (const char* suffix : kPieces)
            if (name.ends_with(suffix)) {
                Warning(entry.from, entry.Label(), "nothing refers to this resource");
                break;
            }
    }
}

std::string Checker::PathOf(const PackageEntry& entry) const { return PackagePath(m_outRoot, entry.package, entry.name); }

const PackageEntry* Checker::Find(const std::string& name) const {
    const auto found = m_byName.find(EntryName(name));
    return found == m_byName.end() ? nullptr : &found->second;
}

std::string Checker::Read(const PackageEntry& entry) const {
    std::string bytes;
    authoring::ReadWholeFile(PathOf(entry), bytes);
    return bytes;
}

void Checker::Error(const SourceRef& from, const std::string& entry, const std::string& text) {
    m_errors.push_back(from.Text() + (entry.empty() ? "" : " (" + entry + ")") + ": error: " + text);
}

void Checker::Warning(const SourceRef& from, const std::string& entry, const std::string& text) {
    m_warnings.push_back(from.Text() + (entry.empty() ? "" : " (" + entry + ")") + ": warning: " + text);
}

void Checker::Count(const std::string& what, size_t count) { m_counts.emplace_back(what, count); }

std::string Checker::CountsLine() const {
    std::string line = "content check:";
    for (size_t i = 0; i < m_counts.size(); ++i)
        line += (i ? ", " : " ") + std::to_string(m_counts[i].second) + " " + m_counts[i].first;
    return line;
}

std::string Checker::TotalsLine() const {
    return "content check: " + std::to_string(m_errors.size()) + " errors, " + std::to_string(m_warnings.size()) +
           " warnings";
}

std::map<std::string, SourceRef> Checker::ReadMap(const std::string& package) const {
    std::map<std::string, SourceRef> map;
    std::ifstream in(fs::path(m_mapRoot) / (package + ".map"));
    for (std::string line; std::getline(in, line);) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        std::string source = line.substr(tab + 1);
        int number = 0;
        if (const size_t colon = source.rfind(':'); colon != std::string::npos) {
            std::istringstream digits(source.substr(colon + 1));
            if (digits >> number && digits.eof())
                source.resize(colon);
            else
                number = 0;
        }
        // Maps name sources relative to the data folder; messages name them from the project root.
        if (!source.starts_with("data/"))
            source = "data/" + source;
        map[line.substr(0, tab)] = SourceRef{source, number};
    }
    return map;
}

bool Checker::ReadIndex(const std::string& package, std::vector<std::string>& names) {
    const std::string index = PackagePath(m_outRoot, package, Base(package) + ".hdr");
    const SourceRef from{"data/content", 0};
    std::string bytes;
    if (!authoring::ReadWholeFile(index, bytes)) {
        Error(from, Base(package) + ".hdr", "package \"" + package + "\" was not written");
        return false;
    }
    Reader reader(bytes);
    uint32_t count = 0;
    if (!reader.Skip(12) || !reader.U32(count)) {
        Error(from, Base(package) + ".hdr", "the index of \"" + package + "\" is truncated");
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t id = 0, pool = 0, resident = 0;
        std::string name;
        if (!reader.U32(id) || !reader.String(name) || !reader.U32(pool) || !reader.U32(resident)) {
            Error(from, Base(package) + ".hdr",
                  "the index of \"" + package + "\" is truncated in entry " + std::to_string(i));
            return false;
        }
        const std::string label = Base(package) + "/" + name;
        if (id != Crc32Hash(name.c_str()))
            Error(from, label, "entry id does not match its name");
        if (name != EntryName(name))
            Error(from, label, "document name is not lower case");
        if (!SafeEntryName(name))
            Error(from, label, "entry name leads outside its package folder");
        else
            names.push_back(name);
    }
    return true;
}

void Checker::CheckPackages() {
    size_t written = 0;
    for (const std::string& package : GamePackages()) {
        std::vector<std::string> names;
        if (!ReadIndex(package, names))
            continue;
        ++written;
        const std::map<std::string, SourceRef> sources = ReadMap(package);
        for (const std::string& name : names) {
            const auto source = sources.find(name);
            PackageEntry entry{package, name, source == sources.end() ? SourceRef{"data/content", 0} : source->second};
            if (!fs::is_regular_file(PackagePath(m_outRoot, package, name)))
                Error(entry.from, entry.Label(), "the index names a file the package folder does not hold");
            const auto [held, fresh] = m_byName.emplace(name, entry);
            if (!fresh)
                Error(entry.from, entry.Label(),
                      "\"" + name + "\" is held by \"" + held->second.package + "\" (made by " +
                          held->second.from.Text() + ") and \"" + package + "\" (made by " + entry.from.Text() + ")");
        }
    }
    Count("packages", written);
}

}  // namespace content
