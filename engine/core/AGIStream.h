#pragma once
// A byte stream with a 32-bit position.
#include "engine/core/AGObject.h"

class AGIStream : public AGObject {
public:
    // Seek origins.
    static constexpr u32 kSeekStart = 0;
    static constexpr u32 kSeekCurrent = 1;
    // The offset counts back from the end.
    static constexpr u32 kSeekEnd = 2;

    virtual void Close() = 0;
    // Both return the number of bytes moved.
    virtual u32 Read(u32 count, void* destination) = 0;
    virtual u32 Write(u32 count, const void* source) = 0;
    // Refuses (false) a target beyond the size.
    virtual bool Seek(u32 offset, u32 origin) = 0;
    virtual u32 GetSize() const = 0;
    // The position equals the size.
    virtual bool IsEnd() const = 0;

protected:
    // The position a Seek asks for; false when it lies outside [0, size].
    static bool SeekTarget(u32 offset, u32 origin, u32 position, u32 size, u32& target) {
        u64 t;
        if (origin == kSeekStart)
            t = offset;
        else if (origin == kSeekCurrent)
            t = u64(position) + offset;
        else if (origin == kSeekEnd && offset <= size)
            t = size - offset;
        else
            return false;
        if (t > size)
            return false;
        target = u32(t);
        return true;
    }
};
