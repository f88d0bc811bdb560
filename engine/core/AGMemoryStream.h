#pragma once
// A stream over one memory block, owned (Allocate) or borrowed (Attach). Reads and writes
// stop at the block's end; the block never grows.
#include <cstddef>

#include "engine/core/AGIStream.h"

class AGMemoryStream : public AGIStream {
public:
    using AllocFn = void* (*)(size_t);
    using FreeFn = void (*)(void*);

    // The functions that allocate and free an owned block (the engine allocator by default).
    AGMemoryStream(AllocFn alloc = nullptr, FreeFn free = nullptr);
    AGMemoryStream(const AGMemoryStream&) = delete;
    AGMemoryStream& operator=(const AGMemoryStream&) = delete;
    ~AGMemoryStream() override;

    // Replaces the block with an owned one of size bytes; false when it cannot be allocated.
    bool Allocate(u32 size);
    // Replaces the block with the caller's, which the stream never frees.
    void Attach(void* buffer, u32 size);

    // Frees an owned block; size and position become 0.
    void Close() override;
    u32 Read(u32 count, void* destination) override;
    u32 Write(u32 count, const void* source) override;
    bool Seek(u32 offset, u32 origin) override;
    u32 GetSize() const override { return m_size; }
    bool IsEnd() const override { return m_position == m_size; }

    u32 Position() const { return m_position; }
    u8* Buffer() const { return m_buffer; }
    bool IsOpen() const { return m_isOpen != 0; }

private:
    u32 m_size = 0;
    u32 m_position = 0;
    u8 m_isOpen = 0;
    u8 m_ownsBuffer = 0;
    u8* m_buffer = nullptr;
    AllocFn m_alloc;
    FreeFn m_free;
};
