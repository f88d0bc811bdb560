#include "platform/gfx/Resources.h"

namespace platform::gfx {

void Resource::Release() {
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

void* BufferResource::Lock(uint32_t offset, uint32_t size) {
    uint8_t* base = m_bytes.get();
    if (!base || offset > m_size)
        return nullptr;
    if (size == 0)
        return offset < m_size ? base + offset : nullptr;
    if (size > m_size - offset)
        return nullptr;
    return base + offset;
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
    if (m_lockedForWrite) {
        Touch();
        m_dirty.store(true, std::memory_order_release);
    }
    m_locked = false;
    m_lockedForWrite = false;
}

uint64_t Texture::NextVersion() {
    static std::atomic<uint64_t> s_versions{0};
    return s_versions.fetch_add(1, std::memory_order_relaxed) + 1;
}

Texture::~Texture() {
    if (m_glName == 0)
        return;
    std::lock_guard<std::mutex> lock(m_garbage->mutex);
    if (m_garbage->alive)
        m_garbage->textures.push_back(m_glName);
}

}  // namespace platform::gfx
