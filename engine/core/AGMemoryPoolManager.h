#pragma once
// The named private heaps, kept by name id (the CRC-32 of the heap's name).
#include <map>
#include <memory>

#include "engine/core/AGHeapImpl.h"
#include "engine/core/AGSingleton.h"

// One named heap; the record owns it.
struct AGHeapRecord {
    std::unique_ptr<AGHeapImpl> heap;
};

class AGMemoryPoolManager : public AGSingleton<AGMemoryPoolManager> {
public:
    AGMemoryPoolManager() = default;
    AGMemoryPoolManager(const AGMemoryPoolManager&) = delete;
    AGMemoryPoolManager& operator=(const AGMemoryPoolManager&) = delete;
    // Deletes every heap record, and with it every heap.
    ~AGMemoryPoolManager() override = default;

    // The heap of a name id, or null when there is none; callers then use the global
    // allocator. The lookup inserts nothing.
    AGHeapImpl* FindHeap(u32 id) const;
    // Takes ownership of heap. An id that already has a heap keeps it: the new heap is
    // deleted and false returned, since blocks may live in the old one.
    bool AddHeap(u32 id, AGHeapImpl* heap);
    size_t HeapCount() const { return m_heaps.size(); }

private:
    std::map<u32, AGHeapRecord> m_heaps;
};
