#include "questions/LineReader.h"

#include <cstdint>
#include <cstring>

#include "questions/AsciiClass.h"

void LineReader::Assign(const void* bytes, u32 size) {
    if (!bytes)
        size = 0;
    m_bytes.assign(size_t(size) + 1, '\0');
    if (size)
        memcpy(m_bytes.data(), bytes, size);
    m_size = size;
    m_pos = 0;
    m_failed = false;
}

char* LineReader::CutLine() {
    if (m_pos >= m_size) {
        m_failed = true;
        return nullptr;
    }
    char* start = m_bytes.data() + m_pos;
    u32 end = m_pos;
    while (end < m_size && m_bytes[end] != '\r' && m_bytes[end] != '\n')
        ++end;
    if (end == m_size) {
        m_pos = m_size;  // the sentinel NUL ends the last line
        return start;
    }
    bool cr = m_bytes[end] == '\r';
    m_bytes[end] = '\0';
    m_pos = end + 1;
    if (cr && m_pos < m_size)
        m_bytes[m_pos++] = '\0';
    return start;
}

u32 LineReader::ReadU32() {
    if (m_size - m_pos < 4) {
        m_failed = true;
        return 0;
    }
    const u8* p = reinterpret_cast<const u8*>(m_bytes.data() + m_pos);
    m_pos += 4;
    return u32(p[0]) | (u32(p[1]) << 8) | (u32(p[2]) << 16) | (u32(p[3]) << 24);
}

i64 LineReader::ReadDecimalLine() {
    const char* line = CutLine();
    return line ? ParseDecimal(line) : 0;
}

std::vector<char> LineReader::TakeBytes() {
    std::vector<char> bytes;
    bytes.swap(m_bytes);
    m_size = m_pos = 0;
    return bytes;
}

i64 ParseDecimal(const char* text) {
    if (!text)
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (IsAsciiSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    i64 value = 0;
    for (; IsAsciiDigit(*p); ++p) {
        int digit = *p - '0';
        value = value > (INT64_MAX - digit) / 10 ? INT64_MAX : value * 10 + digit;
    }
    return negative ? -value : value;
}
