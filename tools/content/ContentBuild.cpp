#include "tools/content/ContentBuild.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/PackageWriter.h"

namespace content {

namespace {

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return "";
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bool(out);
}

std::string Message(const SourceRef& from, const std::string& entry, const char* kind, const std::string& text) {
    std::string line = from.Text();
    if (!entry.empty())
        line += " (" + entry + ")";
    return line + ": " + kind + ": " + text;
}

}  // namespace

SourceFile::SourceFile(const std::string& dataRoot, const std::string& relativePath) : m_path(relativePath) {
    std::ifstream in(std::filesystem::path(dataRoot) / relativePath, std::ios::binary);
    m_ok = bool(in);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::string text = Trim(raw);
        if (text.empty() || text[0] == '#')
            continue;
        SourceLine line{number, text, {}};
        std::istringstream words(text);
        for (std::string word; words >> word;)
            line.fields.push_back(word);
        m_lines.push_back(std::move(line));
    }
}

std::string EntryName(const std::string& name) {
    const std::string lower = authoring::LowerName(name);
    for (const char* suffix : {".xml", ".xaml", ".flow", ".snd"})
        if (lower.ends_with(suffix))
            return lower;
    return name;
}

std::vector<std::string> SplitFields(const std::string& text, char separator) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        out.push_back(Trim(text.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos)
            return out;
        start = end + 1;
    }
}

std::string XmlText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

Output::Output(std::string dataRoot, std::vector<std::string> packages) : m_dataRoot(std::move(dataRoot)) {
    for (const std::string& package : packages)
        m_packages[package];
}

void Output::Add(const std::string& package, const std::string& name, std::string bytes, const SourceRef& from,
                 uint32_t typeId) {
    const auto found = m_packages.find(package);
    const std::string entry = EntryName(name);
    if (found == m_packages.end()) {
        Error(from, "\"" + entry + "\" is written to \"" + package + "\", which this step does not build");
        return;
    }
    if (!found->second.emplace(entry, Item{std::move(bytes), from, typeId ? typeId : TypeKey::Data}).second)
        Error(from, "\"" + entry + "\" is written twice to \"" + package + "\"");
}

void Output::AddLoose(const std::string& relativePath, std::string bytes, const SourceRef& from) {
    if (relativePath.empty() || relativePath[0] == '/' || relativePath.find("..") != std::string::npos) {
        Error(from, "loose file \"" + relativePath + "\" is outside the output folder");
        return;
    }
    if (!m_loose.emplace(relativePath, Item{std::move(bytes), from, 0}).second)
        Error(from, "loose file \"" + relativePath + "\" is written twice");
}

void Output::Error(const SourceRef& from, const std::string& text, const std::string& entry) {
    m_errors.push_back(Message(from, entry, "error", text));
}

void Output::Warning(const SourceRef& from, const std::string& text, const std::string& entry) {
    m_warnings.push_back(Message(from, entry, "warning", text));
}

bool Output::Write(const std::string& outRoot, bool archive, const std::string& mapRoot) const {
    namespace fs = std::filesystem;
    bool ok = true;
    for (const auto& [package, entries] : m_packages) {
        authoring::PackageWriter writer;
        std::string map;
        for (const auto& [name, item] : entries) {
            writer.Add(name, item.typeId, item.bytes);
            map += name + "\t" + item.from.Text() + "\n";
        }
        const std::string mount = (fs::path(outRoot) / package).string();
        if (archive) {
            ok = writer.WriteArchive(mount) && ok;
        } else {
            // A folder keeps no stale entry of an earlier build.
            std::error_code ec;
            fs::remove_all(authoring::PackageWriter::FolderOf(mount), ec);
            ok = writer.WriteFolder(mount) && ok;
        }
        if (!mapRoot.empty())
            ok = WriteBytes(fs::path(mapRoot) / (package + ".map"), map) && ok;
    }
    for (const auto& [path, item] : m_loose)
        ok = WriteBytes(fs::path(outRoot) / path, item.bytes) && ok;
    return ok;
}

}  // namespace content
