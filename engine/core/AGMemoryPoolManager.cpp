#include "engine/core/AGMemoryPoolManager.h"

AGHeapImpl* AGMemoryPoolManager::FindHeap(u32 id) const {
    auto it = m_heaps.find(id);
    return it == m_heaps.end() ? nullptr : it->second.heap.get();
}

bool AGMemoryPoolManager::AddHeap(u32 id, AGHeapImpl* heap) {
    std::unique_ptr<AGHeapImpl> owned(heap);
    if (!owned || m_heaps.count(id) != 0)
        return false;
    m_heaps[id].heap = std::move(owned);
    return true;
}
