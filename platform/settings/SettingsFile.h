#pragma once
// The per-user settings store: a small text file of "Name=value" lines at
// <config home>/Korvo Inc./<program>/settings. Lines it does not understand are kept as they
// are when the file is written back. The file is replaced atomically (temporary file, fsync,
// rename, fsync of the folder), so a reader sees either the old or the new contents.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::settings {

// The settings file of a program; "" when there is no home or config folder.
std::string SettingsPath(const std::string& program);

// Parses an unsigned 32-bit decimal number: digits only (surrounding blanks allowed), no
// sign, no overflow. False for anything else.
bool ParseU32(std::string_view text, uint32_t& out);

class SettingsFile {
public:
    enum class LoadResult { Loaded, Missing, Failed };

    // Replaces the contents with those of the file. A missing file leaves the store empty.
    // Failed (unreadable, or larger than kMaxFileSize) leaves it empty too; error says why.
    LoadResult Load(const std::string& path, std::string* error = nullptr);

    // True when the name has a value that is a valid unsigned 32-bit decimal.
    bool GetU32(std::string_view name, uint32_t& out) const;
    // The raw text of a value, or false when the name is absent.
    bool Get(std::string_view name, std::string& out) const;

    // Sets the value of the first line with that name, or appends a line.
    void SetU32(std::string_view name, uint32_t value);

    // Writes the contents atomically, creating the folders on the way. On failure the old
    // file is untouched, no temporary file is left behind, and error says why.
    bool Save(const std::string& path, std::string* error = nullptr) const;

    std::string Text() const;

    static constexpr size_t kMaxFileSize = 64 * 1024;

private:
    int Find(std::string_view name) const;

    std::vector<std::string> m_lines;
};

}  // namespace platform::settings
