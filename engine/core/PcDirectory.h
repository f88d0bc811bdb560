#pragma once
// The package class of the "directory" provider: archives and loose entries read from disk.
#include "engine/core/AGDirectory.h"

class PcDirectory : public AGDirectory {
public:
    PcDirectory() = default;
    PcDirectory(const PcDirectory& other) : AGDirectory(other) {}

    // Archive: u32 block count, blocks of {u32 pool id (also the block's key), u32 resident
    // (1 = yes), u32 size, bytes}, then u32 record count and records of {u32 name id, u32
    // type id, u32 block key, u32 offset, u32 size}. Every size and count is checked
    // against the file; a bad archive is reported and loads nothing, a record outside its
    // block or of an unknown type is skipped. Resources of resident blocks may borrow their
    // bytes; the non-resident blocks are freed after the load.
    void LoadArchive() override;
    bool ReadEntry(const AGDirectoryEntry& entry, AGBlock* block) override;
};
