#include "platform/gfx/Resources.h"

namespace platform::gfx {

void Resource::Release() {
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

namespace {

uint8_t* Range(uint8_t* base, uint32_t total, uint32_t offset, uint32_t size) {
    if (!base || offset > total)
        return nullptr;
    if (size == 0)
        return offset < total ? base + offset : nullptr;
    if (size > total - offset)
        return nullptr;
    return base + offset;
}

}  // namespace

void* VertexBuffer::Lock(uint32_t offset, uint32_t size) {
    return Range(m_bytes.get(), m_size, offset, size);
}

void* IndexBuffer::Lock(uint32_t offset, uint32_t size) {
    return Range(m_bytes.get(), m_size, offset, size);
}

bool Texture::LockRect(LockedRect& out, bool readOnly) {
    if (!m_texels || m_locked)
        return false;
    m_locked = true;
    m_lockedForWrite = !readOnly;
    out.pitch = m_width * 4;
    out.bits = m_texels.get();
    return true;
}

void Texture::UnlockRect() {
    if (!m_locked)
        return;
    if (m_lockedForWrite)
        m_dirty.store(true, std::memory_order_release);
    m_locked = false;
    m_lockedForWrite = false;
}

Texture::~Texture() {
    if (m_glName == 0)
        return;
    std::lock_guard<std::mutex> lock(m_garbage->mutex);
    if (m_garbage->alive)
        m_garbage->textures.push_back(m_glName);
}

}  // namespace platform::gfx
