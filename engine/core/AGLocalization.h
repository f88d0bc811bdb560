#pragma once
// A string table (".loc"): 12-byte header, u32 count, then count x {u32 string id, text and
// its zero byte}. A repeated id keeps the later text.
#include <map>

#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/TString.h"

class AGLocalization : public AGResource {
public:
    AGLocalization() = default;
    AGLocalization(const AGLocalization& other) = default;

    u32 GetTypeKey() const override { return TypeKey::Localization; }
    // A truncated or corrupt table is reported and leaves the resource empty.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // The text of a string id, or null.
    const TString<char>* Find(u32 stringId) const;
    u32 Count() const { return u32(m_strings.size()); }

private:
    std::map<u32, TString<char>> m_strings;
};
