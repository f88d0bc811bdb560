#pragma once
// The global allocator. Every block carries a header word directly in front of it that
// holds the requested size, the pool bit and the alignment class, so release needs only
// the pointer. Blocks are 16-byte aligned. All forms of operator new/delete route here
// unless the build uses the system allocator (TALLYVOX_SYSTEM_ALLOCATOR).
#include "engine/core/AGTypes.h"

// Returns null when the request cannot be served (no exception).
void* AllocBlock(size_t size);
void* AllocZeroed(size_t size);
// Allocates the new block first; on failure returns null and leaves the old block alone.
void* ReallocBlock(void* old, size_t size);
// Releases a block from any of the entry points above; null does nothing.
void FreeBlock(void* block);
// The malloc entry of the Ogg Vorbis allocation table.
void* OggMallocHook(size_t size);

// Heap accounting (whole heap blocks, header included; pool chunks count too).
struct AGHeapCounters {
    u64 current;
    u64 peak;
};
AGHeapCounters GetHeapCounters();

// Blocks of up to this many bytes (256 with the 8-byte header) come from the size-class
// pools, in 16-byte steps; larger ones come from the heap.
inline constexpr size_t kLargestPooledSize = 248;
inline constexpr int kPoolClassCount = 16;

// Introspection for tests and statistics. Both take a block from any entry point.
size_t BlockRequestedSize(const void* block);
// The size class (0-15) of a pool block, -1 for a heap block.
int BlockPoolClass(const void* block);
// Walks the chunk list of a size class (kept in ascending address order): stores up to max
// chunk addresses in list order and returns how many chunks the class has.
size_t PoolChunks(int poolClass, uintptr_t* out, size_t max);
