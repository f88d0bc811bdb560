#include "engine/core/AGMemBuffer.h"

#include <cstring>

AGMemBuffer::~AGMemBuffer() {
    m_base = m_cursor = nullptr;
    m_size = 0;
    m_lastString.clear();
}

void AGMemBuffer::SetWindow(const void* base, u32 size) {
    m_base = static_cast<const u8*>(base);
    m_cursor = m_base;
    m_size = base ? size : 0;
    m_failed = false;
}

bool AGMemBuffer::Seek(u32 offset) {
    if (!m_base || offset > m_size) {
        m_failed = true;
        return false;
    }
    m_cursor = m_base + offset;
    return true;
}

bool AGMemBuffer::Skip(u32 count) {
    if (!CanRead(count)) {
        m_failed = true;
        return false;
    }
    m_cursor += count;
    return true;
}

bool AGMemBuffer::ReadBytes(void* out, u32 count) {
    if (!CanRead(count)) {
        m_failed = true;
        if (out && count)
            memset(out, 0, count);
        return false;
    }
    if (count)
        memcpy(out, m_cursor, count);
    m_cursor += count;
    return true;
}

const u8* AGMemBuffer::Take(u32 count) {
    if (!CanRead(count)) {
        m_failed = true;
        return nullptr;
    }
    const u8* p = m_cursor;
    m_cursor += count;
    return p;
}

u8 AGMemBuffer::ReadU8() {
    u8 v = 0;
    ReadBytes(&v, 1);
    return v;
}

u16 AGMemBuffer::ReadU16() {
    u8 b[2] = {};
    ReadBytes(b, 2);
    return u16(b[0] | (b[1] << 8));
}

u32 AGMemBuffer::ReadU32() {
    u8 b[4] = {};
    ReadBytes(b, 4);
    return WordAt(b);
}

i32 AGMemBuffer::ReadI32() {
    return i32(ReadU32());
}

f32 AGMemBuffer::ReadF32() {
    u32 bits = ReadU32();
    f32 v;
    memcpy(&v, &bits, 4);
    return v;
}

bool AGMemBuffer::ReadString() {
    u32 left = Remaining();
    const void* zero = left ? memchr(m_cursor, 0, left) : nullptr;
    if (!zero) {
        m_failed = true;
        if (left)
            m_lastString.assign(reinterpret_cast<const char*>(m_cursor), left);
        else
            m_lastString.clear();
        m_cursor += left;
        return false;
    }
    size_t n = static_cast<const u8*>(zero) - m_cursor;
    m_lastString.assign(reinterpret_cast<const char*>(m_cursor), n);
    m_cursor += n + 1;
    return true;
}

bool AGMemBuffer::CheckCount(u32 count, u32 elementSize) {
    if (u64(count) * elementSize > Remaining()) {
        m_failed = true;
        return false;
    }
    return true;
}
