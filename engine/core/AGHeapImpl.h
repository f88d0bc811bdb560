#pragma once
// A named private heap. Package data is allocated from the heap of its pool id and given
// back to the same heap. A heap takes no lock: one heap is used by one thread at a time.
#include "engine/core/AGTypes.h"

class AGHeapImpl {
public:
    virtual ~AGHeapImpl() = default;
    // Null when the heap refuses the request.
    virtual void* Alloc(u32 size) = 0;
    // Null is ignored.
    virtual void Free(void* block) = 0;
};

// The heap factory: a platform heap serving at most limit bytes at a time. param comes
// from the mapping file and is not used.
AGHeapImpl* AGCreateHeap(u32 param, u32 limit);
