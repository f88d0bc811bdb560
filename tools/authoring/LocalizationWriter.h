#pragma once
// Writes string tables (".loc"): the 12-byte resource header, u32 count, then per entry the
// u32 name id of its key and the text with its zero byte, in the order given. The source
// form is one "KEY=text" per line; blank lines and lines starting with '#' are skipped.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace authoring {

using LocalizationEntries = std::vector<std::pair<std::string, std::string>>;

std::string LocalizationBytes(const LocalizationEntries& entries);

// Keys are trimmed; the text is everything after the first '=' (a trailing '\r' dropped).
// A line without '=', with an empty key, or a text holding a zero byte is an error naming its
// line; entries parsed before it are kept.
bool ParseLocalizationSource(const std::string& source, LocalizationEntries& entries,
                             std::string& error);

}  // namespace authoring
