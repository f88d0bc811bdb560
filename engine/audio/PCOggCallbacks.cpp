#include "engine/audio/PCOggCallbacks.h"

#include <cstdio>
#include <cstring>

#include "engine/audio/PCStreamWindow.h"

namespace {

size_t MemoryRead(void* out, size_t size, size_t count, void* source) {
    auto* src = static_cast<PCMemorySource*>(source);
    if (size == 0 || count == 0 || src->position >= src->size)
        return 0;
    const u64 left = src->size - src->position;
    // Whole elements only; count * size may not fit.
    u64 elements = left / size;
    if (elements > count)
        elements = count;
    const u64 bytes = elements * size;
    std::memcpy(out, src->base + src->position, size_t(bytes));
    src->position += bytes;
    return size_t(elements);
}

int MemorySeek(void* source, ogg_int64_t offset, int whence) {
    auto* src = static_cast<PCMemorySource*>(source);
    i64 base;
    switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = i64(src->position); break;
    case SEEK_END: base = i64(src->size); break;
    default: return -1;
    }
    if (offset > 0 && base > INT64_MAX - offset)
        return -1;
    const i64 target = base + offset;
    if (target < 0 || u64(target) > src->size)
        return -1;
    src->position = u64(target);
    return 0;
}

long MemoryTell(void* source) { return long(static_cast<PCMemorySource*>(source)->position); }

size_t StreamRead(void* out, size_t size, size_t count, void* source) {
    if (size == 0 || count == 0)
        return 0;
    auto* window = static_cast<PCStreamWindow*>(source);
    // The decoder reads bytes (size 1); larger elements are read whole or not at all.
    if (size == 1)
        return window->Read(out, count);
    size_t done = 0;
    auto* bytes = static_cast<u8*>(out);
    for (; done < count; ++done) {
        size_t got = 0;
        while (got < size) {
            const size_t n = window->Read(bytes + done * size + got, size - got);
            if (n == 0)
                return done;
            got += n;
        }
    }
    return done;
}

int StreamSeek(void* source, ogg_int64_t offset, int whence) {
    return static_cast<PCStreamWindow*>(source)->Seek(offset, whence);
}

long StreamTell(void* source) { return long(static_cast<PCStreamWindow*>(source)->Tell()); }

}  // namespace

ov_callbacks PCMemoryCallbacks() { return ov_callbacks{&MemoryRead, &MemorySeek, nullptr, &MemoryTell}; }

ov_callbacks PCStreamCallbacks() { return ov_callbacks{&StreamRead, &StreamSeek, nullptr, &StreamTell}; }
