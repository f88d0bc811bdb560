#include "engine/core/PcDirectory.h"

#include <vector>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PCFile.h"
#include "platform/core/CriticalSection.h"

using Lock = platform::CriticalSection::Lock;

namespace {

constexpr u32 kBlockHeaderBytes = 12;
constexpr u32 kRecordBytes = 20;

// Reads exactly count bytes or fails.
bool ReadExact(PCFile& file, void* out, u32 count) {
    return file.Read(out, count) && file.LastReadCount() == count;
}

}  // namespace

void PcDirectory::LoadArchive() {
    const char* path = Path().c_str();
    PCFile file;
    if (!file.Open(path, AGFile::kModeRead, false)) {
        AGReport("package %s cannot be opened", path);
        SetLoaded();
        return;
    }
    const u64 fileSize = file.GetSize();
    u64 offset = 0;

    // Blocks are kept aside until the whole archive has proved sound.
    std::vector<AGBlock> blocks;
    std::vector<u32> keys;
    auto fail = [&](const char* what) {
        AGReport("package %s: %s; nothing is loaded from it", path, what);
        for (const AGBlock& block : blocks)
            FreePoolBlock(block);
        SetLoaded();
    };

    u8 word[4];
    if (!ReadExact(file, word, 4))
        return fail("the block count is missing");
    offset += 4;
    const u32 blockCount = AGMemBuffer::WordAt(word);
    for (u32 i = 0; i < blockCount; ++i) {
        u8 header[kBlockHeaderBytes];
        if (fileSize - offset < kBlockHeaderBytes || !ReadExact(file, header, kBlockHeaderBytes))
            return fail("a block header is truncated");
        offset += kBlockHeaderBytes;
        const u32 key = AGMemBuffer::WordAt(header);
        u32 poolId = key;
        u8 resident = AGMemBuffer::WordAt(header + 4) == 1 ? 1 : 0;
        const u32 size = AGMemBuffer::WordAt(header + 8);
        if (size > fileSize - offset)
            return fail("a block runs past the end of the file");
        ApplyOverride(&poolId, &resident);
        AGBlock block;
        if (!AllocatePoolBlock(poolId, size, &block))
            return fail("no memory for a block");
        block.resident = resident;
        if (!ReadExact(file, block.data, size)) {
            FreePoolBlock(block);
            return fail("a block cannot be read");
        }
        offset += size;
        blocks.push_back(block);
        keys.push_back(key);
    }

    if (fileSize - offset < 4 || !ReadExact(file, word, 4))
        return fail("the resource count is missing");
    offset += 4;
    const u32 recordCount = AGMemBuffer::WordAt(word);
    if (u64(recordCount) * kRecordBytes > fileSize - offset)
        return fail("the resource count runs past the end of the file");
    std::vector<u8> records(size_t(recordCount) * kRecordBytes);
    if (recordCount && !ReadExact(file, records.data(), u32(records.size())))
        return fail("the resource records cannot be read");
    file.Close();

    for (const AGBlock& block : blocks)
        AddBlock(block);

    AGResourceManager* manager = AGResourceManager::Get();
    u32 skipped = 0;
    for (u32 i = 0; i < recordCount; ++i) {
        const u8* record = records.data() + size_t(i) * kRecordBytes;
        const u32 nameId = AGMemBuffer::WordAt(record);
        const u32 typeId = AGMemBuffer::WordAt(record + 4);
        const u32 key = AGMemBuffer::WordAt(record + 8);
        const u32 at = AGMemBuffer::WordAt(record + 12);
        const u32 size = AGMemBuffer::WordAt(record + 16);
        const AGBlock* block = nullptr;
        for (size_t b = 0; b < keys.size(); ++b) {
            if (keys[b] == key) {
                block = &blocks[b];
                break;
            }
        }
        AGBaseProvider* provider = manager ? manager->GetProvider(typeId) : nullptr;
        if (!block || u64(at) + size > block->size || !provider) {
            ++skipped;
            continue;
        }
        // A resource already registered under the name (an empty one requested before this
        // mount, or an earlier package's) is replaced; its holders keep theirs until released.
        Lock lock(AGResourceLock());
        AGResource* resource = provider->Create();
        if (!resource)
            continue;
        resource->SetNameId(nameId);
        resource->SetDirectoryId(NameId());
        resource->SetIsBase(true);
        AGMemBuffer buffer(block->data + at, size);
        resource->Load(&buffer, 0, block->resident != 0, true);
        resource->AddRef();
        provider->Insert(nameId, resource);
        resource->SetRefCount(resource->RefCount() - 1);
    }
    if (skipped)
        AGReport("package %s: %u resource records skipped (no such block, outside their block, "
                 "or of an unknown type)", path, skipped);

    ReleaseBlocks(false);
    SetLoaded();
}

bool PcDirectory::ReadEntry(const AGDirectoryEntry& entry, AGBlock* block) {
    *block = AGBlock{};
    const TString<char> path = Path() + entry.name;
    PCFile file;
    if (!file.Open(path.c_str(), AGFile::kModeRead, false)) {
        AGReport("package entry %s cannot be opened", path.c_str());
        return false;
    }
    const u64 size = file.GetSize();
    if (size >= 0xFFFFFFFFull) {
        AGReport("package entry %s is too large", path.c_str());
        return false;
    }
    u32 poolId = entry.poolId;
    u8 resident = entry.resident;
    ApplyOverride(&poolId, &resident);
    AGBlock read;
    if (!AllocatePoolBlock(poolId, u32(size), &read)) {
        AGReport("package entry %s: no memory for %u bytes", path.c_str(), u32(size));
        return false;
    }
    if (!ReadExact(file, read.data, u32(size))) {
        FreePoolBlock(read);
        AGReport("package entry %s cannot be read", path.c_str());
        return false;
    }
    read.resident = resident;
    AddBlock(read);
    if (resident)
        KeepResident(entry.nameId, read);
    *block = read;
    return true;
}
