#include "engine/core/AGDirectory.h"

#include <chrono>
#include <thread>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemory.h"
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PCFile.h"
#include "engine/core/PCFileManager.h"
#include "engine/core/PCJobsManager.h"
#include "platform/core/CriticalSection.h"

using Lock = platform::CriticalSection::Lock;

namespace {

// Mounted folder packages by package id (guarded by the resource lock).
std::map<u32, AGDirectory*>& Table() {
    static std::map<u32, AGDirectory*>* table = new std::map<u32, AGDirectory*>;
    return *table;
}

// Entry names are paths below the package folder: never absolute, never through "..".
bool IsSafeEntryName(const std::string& name) {
    if (name.empty() || name[0] == '/')
        return false;
    size_t start = 0;
    for (;;) {
        const size_t slash = name.find('/', start);
        const size_t end = slash == std::string::npos ? name.size() : slash;
        if (end - start == 2 && name.compare(start, 2, "..") == 0)
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

bool FileExists(const char* path) {
    if (PCFileManager* manager = PCFileManager::Get())
        return manager->Exists(path);
    PCFileManager local;
    return local.Exists(path);
}

}  // namespace

AGDirectory::~AGDirectory() {
    Unmount();
}

u8* AGDirectory::AllocateBlock(u32 size) {
    return static_cast<u8*>(AllocBlock(size ? size : 1));
}

bool AGDirectory::AllocatePoolBlock(u32 poolId, u32 size, AGBlock* block) {
    *block = AGBlock{};
    if (poolId != 0) {
        // Named heaps take no lock of their own; the worker and the main thread both use them.
        Lock lock(AGResourceLock());
        AGMemoryPoolManager* pools = AGMemoryPoolManager::Get();
        AGHeapImpl* heap = pools ? pools->FindHeap(poolId) : nullptr;
        if (heap) {
            if (void* data = heap->Alloc(size ? size : 1)) {
                *block = AGBlock{poolId, static_cast<u8*>(data), size, 0};
                return true;
            }
        }
        // No such heap, or it refused: the global allocator serves the block.
    }
    u8* data = AllocateBlock(size);
    if (!data)
        return false;
    *block = AGBlock{0, data, size, 0};
    return true;
}

void AGDirectory::FreePoolBlock(const AGBlock& block) {
    if (!block.data)
        return;
    if (block.poolId == 0) {
        FreeBlock(block.data);
        return;
    }
    Lock lock(AGResourceLock());
    AGMemoryPoolManager* pools = AGMemoryPoolManager::Get();
    if (AGHeapImpl* heap = pools ? pools->FindHeap(block.poolId) : nullptr)
        heap->Free(block.data);
    // Without the heap its blocks went with it.
}

void AGDirectory::ApplyOverride(u32* poolId, u8* resident) const {
    if (m_poolOverride != 0) {
        *poolId = m_poolOverride;
        *resident = m_residentOverride;
    }
}

const AGDirectoryEntry* AGDirectory::FindEntry(u32 nameId) const {
    auto it = m_entries.find(nameId);
    return it == m_entries.end() ? nullptr : &it->second;
}

void AGDirectory::Mount(const char* name, bool onWorker) {
    if (!name)
        name = "";
    if (Loaded() || !m_path.IsEmpty() || m_archivePending.load())
        Unmount();
    m_path = name;
    SetNameId(Crc32Hash(name));
    m_poolOverride = 0;
    m_residentOverride = 0;

    if (*name && FileExists(name) && !PCFileManager().IsDirectory(name)) {
        if (onWorker) {
            PCJobsManager* jobs = PCJobsManager::Get();
            PCJobber* jobber = jobs ? jobs->GetJobber(0) : nullptr;
            m_archivePending.store(1);
            if (jobber && jobber->Post(&AGDirectory::ArchiveJob, reinterpret_cast<uintptr_t>(this)))
                return;
            m_archivePending.store(0);
            AGReport("package %s: the worker cannot take the load, loading it now", name);
        }
        LoadArchive();
        return;
    }

    // Folder form: the name without its extension is the folder, its last component the
    // base name of the index.
    std::string folder = name;
    for (char& c : folder)
        if (c == '\\')
            c = '/';
    const size_t slash = folder.rfind('/');
    const size_t dot = folder.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        folder.erase(dot);
    const size_t baseStart = folder.rfind('/');
    const std::string base = baseStart == std::string::npos ? folder : folder.substr(baseStart + 1);
    folder += '/';
    m_path = folder.c_str();

    const TString<char> indexPath = m_path + (base + ".hdr").c_str();
    if (ReadIndex(indexPath)) {
        Lock lock(AGResourceLock());
        Table()[NameId()] = this;
    }
    SetLoaded();
}

bool AGDirectory::ReadIndex(const TString<char>& indexPath) {
    PCFile file;
    if (!file.Open(indexPath.c_str(), AGFile::kModeRead, true)) {
        AGReport("package index %s cannot be read", indexPath.c_str());
        return false;
    }
    file.Skip(12);
    const u32 count = file.ReadU32();
    // An entry takes at least 13 bytes: id, a terminated name, pool id and resident word.
    if (file.Failed() || !file.CheckCount(count, 13)) {
        AGReport("package index %s: entry count %u runs past the end of the file",
                 indexPath.c_str(), count);
        return false;
    }
    std::map<u32, AGDirectoryEntry> entries;
    u32 rejected = 0;
    for (u32 i = 0; i < count; ++i) {
        AGDirectoryEntry entry;
        entry.nameId = file.ReadU32();
        const bool named = file.ReadString();
        entry.poolId = file.ReadU32();
        entry.resident = file.ReadU32() == 1 ? 1 : 0;
        if (!named || file.Failed()) {
            AGReport("package index %s is truncated in entry %u of %u", indexPath.c_str(), i,
                     count);
            return false;
        }
        std::string entryName = file.LastString();
        for (char& c : entryName)
            if (c == '\\')
                c = '/';
        if (!IsSafeEntryName(entryName)) {
            ++rejected;
            continue;
        }
        entry.name = entryName.c_str();
        entries[entry.nameId] = std::move(entry);
    }
    if (rejected)
        AGReport("package index %s: %u entries with absolute or \"..\" names ignored",
                 indexPath.c_str(), rejected);
    m_entries = std::move(entries);
    return true;
}

void AGDirectory::ArchiveJob(uintptr_t directory) {
    AGDirectory* self = reinterpret_cast<AGDirectory*>(directory);
    self->LoadArchive();
    self->m_archivePending.store(0, std::memory_order_release);
}

void AGDirectory::WaitForArchive() {
    while (m_archivePending.load(std::memory_order_acquire)) {
        PCJobsManager* jobs = PCJobsManager::Get();
        PCJobber* jobber = jobs ? jobs->GetJobber(0) : nullptr;
        if (!jobber || !jobber->IsStarted()) {
            // The worker is gone: the queued load never runs.
            m_archivePending.store(0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void AGDirectory::Unmount() {
    WaitForArchive();
    Lock lock(AGResourceLock());
    const u32 id = NameId();
    if (id != 0) {
        if (AGResourceManager* resources = AGResourceManager::Get()) {
            resources->ReleaseAll(id);
            if (const u32 held = resources->TotalCount(id))
                AGReport("package %s unmounted with %u resources still referenced",
                         m_path.c_str(), held);
        }
        auto it = Table().find(id);
        if (it != Table().end() && it->second == this)
            Table().erase(it);
    }
    ReleaseBlocks(true);
    m_residentOverride = 0;
    m_loaded.store(0, std::memory_order_release);
    m_poolOverride = 0;
    SetNameId(0);
    m_path = TString<char>();
    m_blocks.clear();
    m_entries.clear();
    m_residentBlocks.clear();
}

void AGDirectory::RemoveBlock(const AGBlock& block) {
    for (auto it = m_blocks.begin(); it != m_blocks.end(); ++it) {
        if (it->data == block.data) {
            m_blocks.erase(it);
            return;
        }
    }
}

void AGDirectory::ReleaseBlock(const AGBlock& block) {
    if (block.resident)
        return;
    Lock lock(AGResourceLock());
    FreePoolBlock(block);
    RemoveBlock(block);
}

void AGDirectory::ReleaseResidentBlock(const AGResource* resource) {
    if (!resource)
        return;
    Lock lock(AGResourceLock());
    auto it = m_residentBlocks.find(resource->NameId());
    if (it == m_residentBlocks.end())
        return;
    const AGBlock block = it->second;
    m_residentBlocks.erase(it);
    FreePoolBlock(block);
    RemoveBlock(block);
}

void AGDirectory::ReleaseBlocks(bool all) {
    Lock lock(AGResourceLock());
    std::vector<AGBlock> kept;
    for (const AGBlock& block : m_blocks) {
        if (all || !block.resident)
            FreePoolBlock(block);
        else
            kept.push_back(block);
    }
    m_blocks = std::move(kept);
    if (all)
        m_residentBlocks.clear();
}

AGDirectory* AGDirectory::FindMounted(u32 packageId) {
    Lock lock(AGResourceLock());
    auto it = Table().find(packageId);
    return it == Table().end() ? nullptr : it->second;
}

AGDirectory* AGDirectory::FindHolder(u32 nameId) {
    Lock lock(AGResourceLock());
    for (const auto& [id, package] : Table())
        if (package->FindEntry(nameId))
            return package;
    return nullptr;
}

size_t AGDirectory::MountedCount() {
    Lock lock(AGResourceLock());
    return Table().size();
}
