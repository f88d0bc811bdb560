#include "engine/core/AGMemoryMapping.h"

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGMemoryPoolManager.h"

namespace {

constexpr size_t kMappingHeaderBytes = 12;
constexpr size_t kEntryBytes = 12;

}  // namespace

bool AGMemoryMapping::LoadFromBytes(const u8* data, size_t size) {
    AGMemoryPoolManager* manager = AGMemoryPoolManager::Get();
    if (!manager) {
        AGReport("memorymapping.mem: no memory pool manager, heaps not created");
        return false;
    }
    if (!data || size < kMappingHeaderBytes + 4) {
        AGReport("memorymapping.mem: file too short (%zu bytes), no heaps created", size);
        return false;
    }
    const u32 count = AGMemBuffer::WordAt(data + kMappingHeaderBytes);
    const size_t available = (size - kMappingHeaderBytes - 4) / kEntryBytes;
    const size_t entries = count < available ? count : available;
    const u8* at = data + kMappingHeaderBytes + 4;
    for (size_t i = 0; i < entries; ++i, at += kEntryBytes) {
        const u32 id = AGMemBuffer::WordAt(at);
        const u32 param = AGMemBuffer::WordAt(at + 4);
        const u32 limit = AGMemBuffer::WordAt(at + 8);
        if (manager->FindHeap(id)) {
            AGReport("memorymapping.mem: heap id 0x%08X listed again, the first heap is kept", id);
            continue;
        }
        manager->AddHeap(id, AGCreateHeap(param, limit));
    }
    if (entries < count) {
        AGReport("memorymapping.mem: truncated, %zu of %u entries read", entries, count);
        return false;
    }
    return true;
}
