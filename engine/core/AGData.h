#pragma once
// Raw bytes of a file (questions, XML, text), copied from the package, no header. The copy
// has one zero byte after the data (not counted in Size) so text parsers stop there.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"

class AGData : public AGResource {
public:
    AGData() = default;
    AGData(const AGData& other);
    ~AGData() override;

    u32 GetTypeKey() const override { return TypeKey::Data; }
    // Copies the bytes from the cursor to the end of the window.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Null when empty.
    const u8* Bytes() const { return m_bytes; }
    const char* Text() const { return reinterpret_cast<const char*>(m_bytes); }
    u32 Size() const { return m_size; }

private:
    void Assign(const u8* bytes, u32 size);

    u8* m_bytes = nullptr;
    u32 m_size = 0;
};
