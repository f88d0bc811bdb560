#include "tools/authoring/LocalizationWriter.h"

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/ByteWriter.h"

namespace authoring {

std::string LocalizationBytes(const LocalizationEntries& entries) {
    ByteWriter writer;
    writer.ResourceHeader().U32(uint32_t(entries.size()));
    for (const auto& [key, text] : entries)
        writer.U32(Crc32Hash(key.data(), key.size(), 0)).CStr(text);
    return writer.Str();
}

bool ParseLocalizationSource(const std::string& source, LocalizationEntries& entries,
                             std::string& error) {
    size_t start = 0;
    for (unsigned line = 1; start < source.size(); ++line) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos)
            end = source.size();
        std::string text = source.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#')
            continue;
        const size_t equals = text.find('=');
        std::string key = equals == std::string::npos ? std::string() : text.substr(0, equals);
        const size_t keyFirst = key.find_first_not_of(" \t");
        key = keyFirst == std::string::npos
                  ? std::string()
                  : key.substr(keyFirst, key.find_last_not_of(" \t") - keyFirst + 1);
        if (key.empty()) {
            error = "line " + std::to_string(line) + ": expected KEY=text";
            return false;
        }
        std::string value = text.substr(equals + 1);
        if (value.find('\0') != std::string::npos) {
            error = "line " + std::to_string(line) + ": the text holds a zero byte";
            return false;
        }
        entries.emplace_back(std::move(key), std::move(value));
    }
    return true;
}

}  // namespace authoring
