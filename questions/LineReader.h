#pragma once
// Reader of the question bank's text files, which mix text lines with u32 little-endian
// counts. It works on its own copy of the file's bytes (so the cached resource bytes are
// never written) plus one NUL after them. A line ends at the first CR or LF; a CR always
// takes the byte after it into the terminator. Terminators are overwritten with NUL in the
// copy, so a cut line is a C string that stays valid while the reader's bytes live. A count
// starts right after the preceding terminator, on any byte boundary.
//
// Reads are bounded: a line needs at least one byte left, a count four; a read that does not
// fit fails, returns null/0 and sets the sticky failure flag.
#include <vector>

#include "engine/core/AGTypes.h"

class LineReader {
public:
    LineReader() = default;
    LineReader(const void* bytes, u32 size) { Assign(bytes, size); }

    // Copies the bytes and rewinds. A null pointer gives an empty reader.
    void Assign(const void* bytes, u32 size);

    // Cuts the next line in place and returns it, or null when no byte is left.
    char* CutLine();
    u32 ReadU32();
    // A line holding a decimal number, read as the C library's text-to-integer conversion
    // reads it (leading white space, a sign, digits) without locale and with saturation.
    i64 ReadDecimalLine();

    bool Failed() const { return m_failed; }
    bool AtEnd() const { return m_pos >= m_size; }
    u32 Remaining() const { return m_size - m_pos; }

    // Hands the bytes to a holder whose texts point into them (the cut lines stay valid).
    std::vector<char> TakeBytes();

private:
    std::vector<char> m_bytes;
    u32 m_size = 0;
    u32 m_pos = 0;
    bool m_failed = false;
};

// The C library's atoi on ASCII text, without locale: white space, an optional sign, then
// digits; saturates at the i64 range instead of overflowing.
i64 ParseDecimal(const char* text);
