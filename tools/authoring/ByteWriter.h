#pragma once
// Builds little-endian byte images of the engine's file formats for tests and data tools.
#include <cstdint>
#include <cstring>
#include <string>

class ByteWriter {
public:
    ByteWriter& U8(uint8_t v) { m_bytes.push_back(char(v)); return *this; }
    ByteWriter& U16(uint16_t v) { return Raw(&v, 2); }
    ByteWriter& U32(uint32_t v) { return Raw(&v, 4); }
    ByteWriter& I32(int32_t v) { return Raw(&v, 4); }
    ByteWriter& U64(uint64_t v) { return Raw(&v, 8); }
    ByteWriter& F32(float v) { return Raw(&v, 4); }
    ByteWriter& Zeros(size_t n) { m_bytes.append(n, '\0'); return *this; }
    // Text without terminator.
    ByteWriter& Text(const std::string& s) { m_bytes += s; return *this; }
    // Text with its NUL terminator.
    ByteWriter& CStr(const std::string& s) { m_bytes += s; m_bytes.push_back('\0'); return *this; }
    ByteWriter& Bytes(const std::string& b) { m_bytes += b; return *this; }
    // The 12-byte header that resource loaders skip.
    ByteWriter& ResourceHeader() { return Zeros(12); }

    const std::string& Str() const { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

private:
    ByteWriter& Raw(const void* p, size_t n) {
        // The build targets little-endian machines only.
        m_bytes.append(static_cast<const char*>(p), n);
        return *this;
    }
    std::string m_bytes;
};
