#include "platform/settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/FdIo.h"
#include "platform/core/XdgPaths.h"

namespace platform::settings {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Splits "Name=value"; false for a line without '=' or with an empty name.
bool SplitLine(std::string_view line, std::string_view& name, std::string_view& value) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    name = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return !name.empty();
}

std::string Describe(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + strerror(errno);
}

}  // namespace

std::string SettingsPath(const std::string& program) {
    std::string base = ConfigHome();
    if (base.empty() || program.empty())
        return std::string();
    return base + "/Korvo Inc./" + program + "/settings";
}

bool ParseU32(std::string_view text, uint32_t& out) {
    text = Trim(text);
    if (text.empty() || text.size() > 10)
        return false;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value > 0xFFFFFFFFull)
        return false;
    out = uint32_t(value);
    return true;
}

SettingsFile::LoadResult SettingsFile::Load(const std::string& path, std::string* error) {
    m_lines.clear();
    // Non-blocking, so that a FIFO in the file's place cannot hold the game up in open; only a
    // regular file is read.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return LoadResult::Missing;
        if (error)
            *error = Describe("cannot open", path);
        return LoadResult::Failed;
    }
    struct stat info;
    const bool statted = fstat(fd, &info) == 0;
    if (!statted || !S_ISREG(info.st_mode) || fcntl(fd, F_SETFL, O_RDONLY) != 0) {
        if (error)
            *error = statted && !S_ISREG(info.st_mode) ? path + " is not a regular file" : Describe("cannot open", path);
        close(fd);
        return LoadResult::Failed;
    }
    // One byte more than the limit tells an oversized file.
    std::string bytes(kMaxFileSize + 1, '\0');
    const int64_t n = ReadAll(fd, bytes.data(), bytes.size());
    if (n < 0 && error)
        *error = Describe("cannot read", path);
    close(fd);
    if (n < 0)
        return LoadResult::Failed;
    if (uint64_t(n) > kMaxFileSize) {
        if (error)
            *error = "settings file " + path + " is too large";
        return LoadResult::Failed;
    }
    bytes.resize(size_t(n));
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
    return LoadResult::Loaded;
}

int SettingsFile::Find(std::string_view name) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
        std::string_view key, value;
        if (SplitLine(m_lines[i], key, value) && key == name)
            return int(i);
    }
    return -1;
}

bool SettingsFile::Get(std::string_view name, std::string& out) const {
    int index = Find(name);
    if (index < 0)
        return false;
    std::string_view key, value;
    SplitLine(m_lines[size_t(index)], key, value);
    out.assign(value);
    return true;
}

bool SettingsFile::GetU32(std::string_view name, uint32_t& out) const {
    std::string text;
    return Get(name, text) && ParseU32(text, out);
}

void SettingsFile::SetU32(std::string_view name, uint32_t value) {
    std::string line = std::string(name) + "=" + std::to_string(value);
    int index = Find(name);
    if (index >= 0)
        m_lines[size_t(index)] = std::move(line);
    else
        m_lines.push_back(std::move(line));
}

std::string SettingsFile::Text() const {
    std::string text;
    for (const std::string& line : m_lines) {
        text += line;
        text += '\n';
    }
    return text;
}

bool SettingsFile::Save(const std::string& path, std::string* error) const {
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder)) {
        if (error)
            *error = Describe("cannot create folder", folder);
        return false;
    }
    std::string temp = path + ".XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = Describe("cannot create", temp);
        return false;
    }
    const char* step = nullptr;
    const std::string text = Text();
    if (!WriteAll(fd, text.data(), text.size()))
        step = "cannot write";
    else if (fsync(fd) != 0)
        step = "cannot sync";
    int closed = close(fd);
    if (!step && closed != 0)
        step = "cannot close";
    if (!step && rename(temp.c_str(), path.c_str()) != 0)
        step = "cannot replace";
    if (step) {
        if (error)
            *error = Describe(step, path);
        unlink(temp.c_str());
        return false;
    }
    // Makes the rename itself durable.
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

}  // namespace platform::settings
