#include "engine/core/AGLocalization.h"

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"

void AGLocalization::Load(AGMemBuffer* buffer, u32 /*a*/, bool /*inPlace*/, bool /*shared*/) {
    m_strings.clear();
    if (!buffer || !buffer->Base())
        return;
    buffer->Skip(12);
    const u32 count = buffer->ReadU32();
    // An entry takes at least 5 bytes: its id and the zero byte of an empty text.
    if (buffer->Failed() || !buffer->CheckCount(count, 5)) {
        AGReport("string table 0x%08X: bad header or entry count %u", NameId(), count);
        return;
    }
    for (u32 i = 0; i < count; ++i) {
        const u32 id = buffer->ReadU32();
        if (!buffer->ReadString() || buffer->Failed()) {
            AGReport("string table 0x%08X is truncated in entry %u of %u", NameId(), i, count);
            m_strings.clear();
            return;
        }
        const std::string& text = buffer->LastString();
        m_strings[id] = TString<char>(text.c_str(), u32(text.size()));
    }
}

const TString<char>* AGLocalization::Find(u32 stringId) const {
    auto it = m_strings.find(stringId);
    return it == m_strings.end() ? nullptr : &it->second;
}
