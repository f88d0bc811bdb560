#pragma once
// A read window over loaded bytes (base, cursor, size). Every resource parses its file from
// one. Reads are bounded: a read past the end fails, returns zero/empty, leaves the cursor
// where it was and sets the sticky failure flag, so a parser may read a whole record and
// test Failed() once. The window never owns its bytes (an AGFile frees what it read).
#include <string>

#include "engine/core/AGTypes.h"

class AGMemBuffer {
public:
    AGMemBuffer() = default;
    AGMemBuffer(const void* base, u32 size) { SetWindow(base, size); }
    AGMemBuffer(const AGMemBuffer&) = delete;
    AGMemBuffer& operator=(const AGMemBuffer&) = delete;
    virtual ~AGMemBuffer();

    void SetWindow(const void* base, u32 size);

    const u8* Base() const { return m_base; }
    const u8* Cursor() const { return m_cursor; }
    u32 Size() const { return m_size; }
    u32 Offset() const { return u32(m_cursor - m_base); }
    u32 Remaining() const { return m_base ? m_size - Offset() : 0; }
    bool CanRead(size_t n) const { return n <= Remaining(); }
    bool Failed() const { return m_failed; }
    void SetFailed() { m_failed = true; }

    // Moves the cursor to an absolute offset (fails past the end).
    bool Seek(u32 offset);
    bool Skip(u32 count);

    u8 ReadU8();
    u16 ReadU16();
    u32 ReadU32();
    i32 ReadI32();
    f32 ReadF32();
    bool ReadBytes(void* out, u32 count);
    // Returns a pointer to count bytes at the cursor and advances past them (null on failure).
    const u8* Take(u32 count);
    // Reads up to and including a zero byte into LastString() (the zero is consumed, not
    // stored). Without a zero before the end of the window, the rest of the window becomes
    // the string, the cursor moves to the end and the read fails (sticky flag set).
    bool ReadString();
    const std::string& LastString() const { return m_lastString; }

    // True when count elements of elementSize bytes still fit in the window; a count that
    // does not fit sets the failure flag. Use before allocating from a count read in a file.
    bool CheckCount(u32 count, u32 elementSize);

    // The little-endian word at a place the caller has bounded.
    static u32 WordAt(const u8* at) {
        return u32(at[0]) | (u32(at[1]) << 8) | (u32(at[2]) << 16) | (u32(at[3]) << 24);
    }

protected:
    u8* MutableBase() { return const_cast<u8*>(m_base); }

private:
    const u8* m_base = nullptr;
    const u8* m_cursor = nullptr;
    u32 m_size = 0;
    bool m_failed = false;
    std::string m_lastString;
};
