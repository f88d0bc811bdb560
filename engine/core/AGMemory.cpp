#include "engine/core/AGMemory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

// Layout. A block handed out is 16-byte aligned and preceded by one header word:
//   bits 4-63 the size asked for, bit 3 set on a pool block, bits 0-2 the alignment class
//   of a heap block (an index into kAlignTable).
// Pool slots are [header | block] of 16 x (class + 1) bytes and start at addresses that are
// 8 mod 16; a free slot's header word links to the next free slot. A heap block of
// alignment A is allocated as size + A bytes aligned to A, with the block at base + A.
//
// All state is constant-initialised and never destroyed: shared libraries allocate before
// our static initialisers run and free after our exit handlers.

namespace {

using Header = uintptr_t;

constexpr size_t kHeaderBytes = sizeof(Header);
constexpr Header kPoolBit = 8;
constexpr Header kClassMask = 7;
constexpr size_t kAlignTable[8] = {1, 4, 8, 16, 32, 64, 128, 0};
// Alignments above 128 keep the real base in the word in front of the header.
constexpr Header kEscapeClass = 7;
constexpr size_t kPoolStep = 16;
constexpr size_t kPoolMaxTotal = 256;
constexpr size_t kChunkLinkBytes = 16;  // {next chunk's slot area, its size}
// The size field has 60 bits; the margin keeps size + alignment from overflowing.
constexpr size_t kMaxRequest = (SIZE_MAX >> 4) - 4096;

#ifdef TALLYVOX_SYSTEM_ALLOCATOR
constexpr bool kUsePools = false;
#else
constexpr bool kUsePools = true;
#endif

struct Pool {
    std::mutex lock;
    uintptr_t freeHead = 0;
    uintptr_t chunkHead = 0;  // slot area of the lowest chunk
    size_t chunkAreaSize = 0;
    uintptr_t chunkTail = 0;  // slot area of the highest chunk
    size_t tailAreaSize = 0;
    size_t blockSize = 0;  // slot size, header included
    u32 perRefill = 0;
    u32 initialPerRefill = 0;
};

struct State {
    Pool pools[kPoolClassCount];
    std::mutex heapLock;
    u64 current = 0;
    u64 peak = 0;

    constexpr State() {
        for (int k = 0; k < kPoolClassCount; ++k) {
            pools[k].blockSize = kPoolStep * size_t(k + 1);
            pools[k].perRefill = pools[k].initialPerRefill = k < 8 ? 256 : 64;
        }
    }
};

union StateStorage {
    State state;
    constexpr StateStorage() : state() {}
    ~StateStorage() {}
};

constinit StateStorage g_storage;

inline State& S() { return g_storage.state; }

inline Header* HeaderOf(const void* block) {
    return reinterpret_cast<Header*>(const_cast<void*>(block)) - 1;
}

inline int ClassOfTotal(size_t total) { return int((total + kPoolStep - 1) / kPoolStep) - 1; }

void CountHeapBytes(u64 add, u64 remove) {
    std::lock_guard<std::mutex> guard(S().heapLock);
    S().current += add;
    S().current -= remove;
    S().peak = std::max(S().peak, S().current);
}

// Returns the header address of a heap block of size bytes aligned to max(align, 16), with
// the alignment class written and the pool bit clear; null when the heap refuses.
Header* LargeBlockAlloc(size_t size, size_t align) {
    const size_t a = std::max<size_t>(align, 16);
    if (size > kMaxRequest || a > SIZE_MAX - size)
        return nullptr;
    void* base = nullptr;
    if (posix_memalign(&base, a, size + a) != 0)
        return nullptr;
    Header* header = reinterpret_cast<Header*>(static_cast<u8*>(base) + a) - 1;
    Header cls = kEscapeClass;
    for (Header c = 3; c < kEscapeClass; ++c)
        if (kAlignTable[c] == a)
            cls = c;
    if (cls == kEscapeClass)
        header[-1] = reinterpret_cast<uintptr_t>(base);
    *header = cls;
    CountHeapBytes(size + a, 0);
    return header;
}

void LargeBlockFree(Header* header) {
    const Header word = *header;
    const Header cls = word & kClassMask;
    uintptr_t base;
    if (cls == kEscapeClass)
        base = header[-1];
    else
        base = reinterpret_cast<uintptr_t>(header) & ~uintptr_t(kAlignTable[cls] - 1);
    CountHeapBytes(0, (word >> 4) + kHeaderBytes + (reinterpret_cast<uintptr_t>(header) - base));
    free(reinterpret_cast<void*>(base));
}

// Keeps the chunk list in ascending address order. Each chunk's link sits at the end of
// its slot area. A heap hands out chunks above (or below) the earlier ones, so a new chunk is
// linked at the tail or the head at once; only one that falls between walks the list.
void LinkChunk(Pool& pool, uintptr_t area, size_t areaSize) {
    auto linkOf = [](uintptr_t a, size_t size) {
        return reinterpret_cast<uintptr_t*>(a + size - kChunkLinkBytes);
    };
    uintptr_t* newLink = linkOf(area, areaSize);
    if (pool.chunkHead == 0 || pool.chunkHead > area) {
        newLink[0] = pool.chunkHead;
        newLink[1] = pool.chunkAreaSize;
        pool.chunkHead = area;
        pool.chunkAreaSize = areaSize;
        if (pool.chunkTail == 0) {
            pool.chunkTail = area;
            pool.tailAreaSize = areaSize;
        }
        return;
    }
    uintptr_t at = pool.chunkHead;
    size_t atSize = pool.chunkAreaSize;
    if (area > pool.chunkTail) {
        at = pool.chunkTail;
        atSize = pool.tailAreaSize;
        pool.chunkTail = area;
        pool.tailAreaSize = areaSize;
    }
    for (;;) {
        uintptr_t* link = linkOf(at, atSize);
        if (link[0] == 0 || link[0] > area) {
            newLink[0] = link[0];
            newLink[1] = link[1];
            link[0] = area;
            link[1] = areaSize;
            return;
        }
        at = link[0];
        atSize = link[1];
    }
}

// Called with the pool lock held (the heap lock is taken inside it, never the other way).
// A failed growth leaves blocks per refill halved (at least 1) for the next attempt.
bool SmallBlockPoolGrow(Pool& pool) {
    const size_t stride = pool.blockSize;
    const u32 count = pool.perRefill;
    pool.perRefill = std::max<u32>(count / 2, 1);
    // The slot area starts 8 bytes into the 16-aligned chunk block so that slots are 8 mod 16.
    const size_t area = count * stride + kChunkLinkBytes;
    const size_t chunkSize = area + kHeaderBytes;
    Header* chunk = LargeBlockAlloc(chunkSize, 16);
    if (!chunk)
        return false;
    *chunk |= Header(chunkSize) << 4;
    pool.perRefill = count;

    const uintptr_t first = reinterpret_cast<uintptr_t>(chunk + 1) + kHeaderBytes;
    for (u32 i = 0; i < count; ++i) {
        const uintptr_t slot = first + i * stride;
        *reinterpret_cast<uintptr_t*>(slot) = i + 1 < count ? slot + stride : pool.freeHead;
    }
    pool.freeHead = first;
    LinkChunk(pool, first, area);
    return true;
}

// Returns the header address of a slot for total bytes (header included, 1-256) with the
// pool bit set; null when the pool cannot grow.
Header* SmallBlockAlloc(size_t total) {
    Pool& pool = S().pools[ClassOfTotal(total)];
    Header* slot;
    {
        std::lock_guard<std::mutex> guard(pool.lock);
        if (pool.freeHead == 0 && !SmallBlockPoolGrow(pool))
            return nullptr;
        slot = reinterpret_cast<Header*>(pool.freeHead);
        pool.freeHead = *slot;
    }
    *slot = kPoolBit;
    return slot;
}

void SmallBlockFree(Header* header) {
    Pool& pool = S().pools[ClassOfTotal((*header >> 4) + kHeaderBytes)];
    std::lock_guard<std::mutex> guard(pool.lock);
    *header = pool.freeHead;
    pool.freeHead = reinterpret_cast<uintptr_t>(header);
}

using FreeFunction = void (*)(Header*);
// Indexed by the pool bit.
constexpr FreeFunction kFreeTable[2] = {LargeBlockFree, SmallBlockFree};

}  // namespace

void* AllocBlock(size_t size) {
    if (size > kMaxRequest)
        return nullptr;
    const size_t total = size + kHeaderBytes;
    Header* header = kUsePools && total <= kPoolMaxTotal ? SmallBlockAlloc(total)
                                                          : LargeBlockAlloc(size, 16);
    if (!header)
        return nullptr;
    *header |= Header(size) << 4;
    return header + 1;
}

void* AllocZeroed(size_t size) {
    void* block = AllocBlock(size);
    if (block)
        memset(block, 0, size);
    return block;
}

void* ReallocBlock(void* old, size_t size) {
    void* block = AllocBlock(size);
    if (!block || !old)
        return block;
    memcpy(block, old, std::min(size, BlockRequestedSize(old)));
    FreeBlock(old);
    return block;
}

void FreeBlock(void* block) {
    if (!block)
        return;
    Header* header = HeaderOf(block);
    kFreeTable[(*header & kPoolBit) ? 1 : 0](header);
}

void* OggMallocHook(size_t size) { return AllocBlock(size); }

AGHeapCounters GetHeapCounters() {
    std::lock_guard<std::mutex> guard(S().heapLock);
    return {S().current, S().peak};
}

size_t BlockRequestedSize(const void* block) { return *HeaderOf(block) >> 4; }

int BlockPoolClass(const void* block) {
    const Header word = *HeaderOf(block);
    if (!(word & kPoolBit))
        return -1;
    return ClassOfTotal((word >> 4) + kHeaderBytes);
}

size_t PoolChunks(int poolClass, uintptr_t* out, size_t max) {
    if (poolClass < 0 || poolClass >= kPoolClassCount)
        return 0;
    Pool& pool = S().pools[poolClass];
    std::lock_guard<std::mutex> guard(pool.lock);
    size_t count = 0;
    uintptr_t at = pool.chunkHead;
    size_t atSize = pool.chunkAreaSize;
    while (at != 0) {
        if (count < max)
            out[count] = at;
        ++count;
        const uintptr_t* link = reinterpret_cast<const uintptr_t*>(at + atSize - kChunkLinkBytes);
        at = link[0];
        atSize = link[1];
    }
    return count;
}

#ifndef TALLYVOX_SYSTEM_ALLOCATOR

namespace {

void* AllocAligned(size_t size, size_t align) {
    if (align <= 16)
        return AllocBlock(size);
    if ((align & (align - 1)) != 0 || size > kMaxRequest)
        return nullptr;
    Header* header = LargeBlockAlloc(size, align);
    if (!header)
        return nullptr;
    *header |= Header(size) << 4;
    return header + 1;
}

void* NewOrThrow(size_t size, size_t align) {
    for (;;) {
        if (void* block = AllocAligned(size, align))
            return block;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

void* NewOrNull(size_t size, size_t align) noexcept {
    try {
        return NewOrThrow(size, align);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

// The replacements of every global allocation function. The header tells delete everything,
// so the size and alignment arguments of the delete forms are not needed.
void* operator new(size_t size) { return NewOrThrow(size, 0); }
void* operator new[](size_t size) { return NewOrThrow(size, 0); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return NewOrNull(size, 0); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return NewOrNull(size, 0); }
void* operator new(size_t size, std::align_val_t align) { return NewOrThrow(size, size_t(align)); }
void* operator new[](size_t size, std::align_val_t align) {
    return NewOrThrow(size, size_t(align));
}
void* operator new(size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    return NewOrNull(size, size_t(align));
}
void* operator new[](size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    return NewOrNull(size, size_t(align));
}

void operator delete(void* block) noexcept { FreeBlock(block); }
void operator delete[](void* block) noexcept { FreeBlock(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { FreeBlock(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { FreeBlock(block); }
void operator delete(void* block, size_t) noexcept { FreeBlock(block); }
void operator delete[](void* block, size_t) noexcept { FreeBlock(block); }
void operator delete(void* block, std::align_val_t) noexcept { FreeBlock(block); }
void operator delete[](void* block, std::align_val_t) noexcept { FreeBlock(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    FreeBlock(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    FreeBlock(block);
}
void operator delete(void* block, size_t, std::align_val_t) noexcept { FreeBlock(block); }
void operator delete[](void* block, size_t, std::align_val_t) noexcept { FreeBlock(block); }

#endif  // TALLYVOX_SYSTEM_ALLOCATOR
