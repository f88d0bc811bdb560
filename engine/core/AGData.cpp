#include "engine/core/AGData.h"

#include <cstring>

#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGMemory.h"

AGData::AGData(const AGData& other) : AGResource(other) {
    Assign(other.m_bytes, other.m_size);
}

AGData::~AGData() {
    FreeBlock(m_bytes);
}

void AGData::Assign(const u8* bytes, u32 size) {
    FreeBlock(m_bytes);
    m_bytes = nullptr;
    m_size = 0;
    if (!bytes)
        return;
    m_bytes = static_cast<u8*>(AllocBlock(size_t(size) + 1));
    if (!m_bytes)
        return;
    if (size)
        memcpy(m_bytes, bytes, size);
    m_bytes[size] = 0;
    m_size = size;
}

void AGData::Load(AGMemBuffer* buffer, u32 /*a*/, bool /*inPlace*/, bool /*shared*/) {
    if (!buffer || !buffer->Base()) {
        Assign(nullptr, 0);
        return;
    }
    const u32 size = buffer->Remaining();
    Assign(buffer->Take(size), size);
}
