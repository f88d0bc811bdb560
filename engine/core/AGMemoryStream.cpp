#include "engine/core/AGMemoryStream.h"

#include <cstring>

#include "engine/core/AGMemory.h"

AGMemoryStream::AGMemoryStream(AllocFn alloc, FreeFn free)
    : m_alloc(alloc ? alloc : &AllocBlock), m_free(free ? free : &FreeBlock) {}

AGMemoryStream::~AGMemoryStream() {
    Close();
}

bool AGMemoryStream::Allocate(u32 size) {
    Close();
    // One byte at least, so that an empty owned block is still a valid pointer.
    u8* buffer = static_cast<u8*>(m_alloc(size ? size : 1));
    if (!buffer)
        return false;
    m_buffer = buffer;
    m_size = size;
    m_ownsBuffer = 1;
    m_isOpen = 1;
    return true;
}

void AGMemoryStream::Attach(void* buffer, u32 size) {
    Close();
    m_buffer = static_cast<u8*>(buffer);
    m_size = buffer ? size : 0;
    m_isOpen = 1;
}

void AGMemoryStream::Close() {
    if (m_ownsBuffer)
        m_free(m_buffer);
    m_buffer = nullptr;
    m_ownsBuffer = 0;
    m_isOpen = 0;
    m_size = 0;
    m_position = 0;
}

u32 AGMemoryStream::Read(u32 count, void* destination) {
    u32 n = count < m_size - m_position ? count : m_size - m_position;
    if (n)
        memcpy(destination, m_buffer + m_position, n);
    m_position += n;
    return n;
}

u32 AGMemoryStream::Write(u32 count, const void* source) {
    u32 n = count < m_size - m_position ? count : m_size - m_position;
    if (n)
        memcpy(m_buffer + m_position, source, n);
    m_position += n;
    return n;
}

bool AGMemoryStream::Seek(u32 offset, u32 origin) {
    return SeekTarget(offset, origin, m_position, m_size, m_position);
}
