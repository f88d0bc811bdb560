#pragma once
// "memorymapping.mem": the named heaps to create at start-up. Little-endian: a 12-byte
// resource header (skipped), u32 count, then count x {u32 name id, u32 param, u32 limit}.
#include "engine/core/AGResource.h"
#include "engine/core/AGTypes.h"
#include "engine/core/Crc32Hash.h"

class AGMemoryMapping : public AGResource {
public:
    u32 GetTypeKey() const override { return TypeKey::MemoryMapping; }

    // Creates the heaps listed in the buffer's window (LoadFromBytes).
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Start-up: when the file exists, reads it whole and loads it into a temporary mapping.
    // False when there is no such file or it could not be loaded.
    static bool LoadFile(const char* name = "memorymapping.mem");

    // Creates a heap in AGMemoryPoolManager for every entry. An id that already has a heap
    // keeps it (reported). A file that ends early creates the heaps of its complete entries
    // and reports; the result is then false, as it is when there is no manager.
    static bool LoadFromBytes(const u8* data, size_t size);
};
