#include "engine/core/SplitString.h"

#include <cstring>

void SplitString(const TString<char>& text, AGArray<TString<char>>& out,
                 const TString<char>& separators, u8 tag) {
    const u32 length = text.Length();
    if (length == 0)
        return;
    const char* chars = text.c_str();
    const char* seps = separators.c_str();
    const u32 sepCount = separators.Length();
    u32 start = 0;
    for (u32 i = 0; i < length; ++i) {
        if (sepCount != 0 && memchr(seps, chars[i], sepCount)) {
            out.Add(TString<char>(chars + start, i - start, tag));
            start = i + 1;
        }
    }
    out.Add(TString<char>(chars + start, length - start, tag));
}
