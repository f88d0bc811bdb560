#include "engine/core/PCHeap.h"

#include <cstdlib>

AGHeapImpl* AGCreateHeap(u32 /*param*/, u32 limit) { return new PCHeap(limit); }

PCHeap::~PCHeap() {
    while (m_blocks) {
        BlockLink* next = m_blocks->next;
        free(m_blocks);
        m_blocks = next;
    }
    m_used = 0;
    m_limit = 0;
}

void* PCHeap::Alloc(u32 size) {
    if (size > m_limit - m_used)
        return nullptr;
    BlockLink* link = static_cast<BlockLink*>(malloc(sizeof(BlockLink) + size));
    if (!link)
        return nullptr;
    link->prev = nullptr;
    link->next = m_blocks;
    link->size = size;
    if (m_blocks)
        m_blocks->prev = link;
    m_blocks = link;
    m_used += size;
    return link + 1;
}

void PCHeap::Free(void* block) {
    if (!block)
        return;
    BlockLink* link = static_cast<BlockLink*>(block) - 1;
    if (link->prev)
        link->prev->next = link->next;
    else
        m_blocks = link->next;
    if (link->next)
        link->next->prev = link->prev;
    m_used -= link->size;
    free(link);
}
