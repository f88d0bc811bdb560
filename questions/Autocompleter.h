#pragma once
// The answer matcher's dictionary: the words of "autocompletion.txt", filed by their first
// two characters. The matcher forgives a typed word that is a listed word at most one
// spelling replacement (or, in its lenient pass, one typing slip).
#include <map>
#include <string_view>
#include <vector>

#include "engine/core/AGTypes.h"

namespace QZ2011 {

class Autocompleter {
public:
    virtual ~Autocompleter();

    // Loads "autocompletion.txt" through the "data" provider. Returns true (a missing or
    // truncated file leaves the index empty or partial and is reported).
    bool Load();

    // Indexes the bytes of an "autocompletion.txt": a decimal line E, then E times {key
    // line; decimal line n; n word lines}. Negative counts count as 0; reading stops at the
    // end of the data. A repeated key keeps the later list. Returns false when truncated.
    bool LoadFromBytes(const void* bytes, u32 size);

    // True when the word is listed under its key (its first two characters, or the whole word
    // when shorter). Byte-exact and case-sensitive.
    bool IsWord(std::string_view word) const;

    u32 KeyCount() const { return u32(m_index.size()); }

private:
    std::map<u32, std::vector<std::string_view>> m_index;
    std::vector<char> m_bytes;  // the file's text, cut into lines; the index points into it
};

}  // namespace QZ2011
