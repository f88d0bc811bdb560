#pragma once
// A data package, mounted under a name such as "GlobalXml.dir". A file of that very name is
// an archive: its blocks are read and every resource in it is created and loaded at mount
// (optionally on the worker thread). Otherwise the package is a folder named after the
// name without its extension, with an index "<folder>/<base>.hdr"; its entries are read on
// demand by GetOrLoadResource. Folder packages are listed in the package table, ascending
// by package id, which is the order GetOrLoadResource searches.
#include <atomic>
#include <map>
#include <vector>

#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/TString.h"

// Bytes a package holds. Pool id 0 is the global allocator, any other a named heap.
struct AGBlock {
    u32 poolId = 0;
    u8* data = nullptr;
    u32 size = 0;
    u8 resident = 0;
};

// One index entry of a folder package.
struct AGDirectoryEntry {
    u32 nameId = 0;
    TString<char> name;
    u32 poolId = 0;
    u8 resident = 0;
};

class AGDirectory : public AGResource {
public:
    AGDirectory() = default;
    // Packages are mounted, never cloned: a copy starts unmounted.
    AGDirectory(const AGDirectory& other) : AGResource(other) {}
    // Waits for a pending archive load, then unmounts.
    ~AGDirectory() override;

    u32 GetTypeKey() const override { return TypeKey::Directory; }
    // Packages are not loaded from a buffer.
    void Load(AGMemBuffer*, u32, bool, bool) override {}

    // Reads the archive named by Path() and loads its resources.
    virtual void LoadArchive() = 0;
    // Fills a block with the bytes of an entry of this package; false (block empty) when
    // the entry cannot be read.
    virtual bool ReadEntry(const AGDirectoryEntry& entry, AGBlock* block) = 0;
    // size bytes from the global allocator.
    virtual u8* AllocateBlock(u32 size);

    // Mounts the package (see above). With onWorker an archive is loaded by a job on jobber
    // 0; Loaded() tells when it has finished. A bad archive or index is reported and mounts
    // nothing (Loaded() still becomes true).
    void Mount(const char* name, bool onWorker);
    // Deletes the package's unheld resources, leaves the package table and frees every
    // block. Resources still held are reported (they must be released before).
    void Unmount();
    bool Loaded() const { return m_loaded.load(std::memory_order_acquire) != 0; }

    const TString<char>& Path() const { return m_path; }
    u32 PoolOverride() const { return m_poolOverride; }
    void SetPoolOverride(u32 poolId, bool resident) {
        m_poolOverride = poolId;
        m_residentOverride = resident ? 1 : 0;
    }
    const std::vector<AGBlock>& Blocks() const { return m_blocks; }
    const std::map<u32, AGDirectoryEntry>& Entries() const { return m_entries; }
    const AGDirectoryEntry* FindEntry(u32 nameId) const;

    // Frees a non-resident block and forgets it; a resident block stays.
    void ReleaseBlock(const AGBlock& block);
    // Frees the resident bytes kept for the resource, if any.
    void ReleaseResidentBlock(const AGResource* resource);
    // Frees every block (all) or every non-resident one.
    void ReleaseBlocks(bool all);

    // The mounted folder package with that id, or null.
    static AGDirectory* FindMounted(u32 packageId);
    // The first mounted folder package (ascending id) whose index holds the name id.
    static AGDirectory* FindHolder(u32 nameId);
    static size_t MountedCount();

protected:
    // A block of size bytes in the pool (falls back to the global allocator, pool 0, when
    // the pool has no heap or the heap refuses). False when no memory at all.
    bool AllocatePoolBlock(u32 poolId, u32 size, AGBlock* block);
    void FreePoolBlock(const AGBlock& block);
    // Pool and resident flag of a block or entry, after the package override.
    void ApplyOverride(u32* poolId, u8* resident) const;
    void AddBlock(const AGBlock& block) { m_blocks.push_back(block); }
    void KeepResident(u32 nameId, const AGBlock& block) { m_residentBlocks[nameId] = block; }
    void SetLoaded() { m_loaded.store(1, std::memory_order_release); }

private:
    // Reads the index of a folder package; false (and nothing kept) for a bad index.
    bool ReadIndex(const TString<char>& indexPath);
    static void ArchiveJob(uintptr_t directory);
    void WaitForArchive();
    void RemoveBlock(const AGBlock& block);

    std::atomic<u8> m_loaded{0};
    TString<char> m_path;
    u32 m_poolOverride = 0;
    u8 m_residentOverride = 0;
    std::vector<AGBlock> m_blocks;
    std::map<u32, AGDirectoryEntry> m_entries;
    std::map<u32, AGBlock> m_residentBlocks;
    // 1 while an archive load is queued or running on the worker.
    std::atomic<u8> m_archivePending{0};
};
