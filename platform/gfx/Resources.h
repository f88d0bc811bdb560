#pragma once
// Device resources. Each keeps its contents in memory, so it may be created, locked and
// released on any thread: only the device's thread turns contents into GL objects, just
// before a draw. Resources are reference-counted; the creator holds the first reference and
// the device holds one for every binding, so a resource released while bound stays alive
// until it is unbound.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gfx/GfxTypes.h"

namespace platform::gfx {

class Device;

class Resource {
public:
    void AddRef() { m_refs.fetch_add(1, std::memory_order_relaxed); }
    // Deletes the resource when the last reference goes.
    void Release();

protected:
    Resource() = default;
    virtual ~Resource() = default;
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;

private:
    std::atomic<uint32_t> m_refs{1};
};

// GL names of resources released while the device lives are deleted on the device's thread;
// once the device is gone there is nothing left to delete.
struct GlGarbage {
    std::mutex mutex;
    bool alive = true;
    std::vector<uint32_t> textures;
};

// Bytes in memory, locked by range.
class BufferResource : public Resource {
public:
    uint32_t Size() const { return m_size; }
    // Pointer to bytes [offset, offset + size) (size 0: to the end); null when that range is
    // not inside the buffer. Unlock ends the access.
    void* Lock(uint32_t offset, uint32_t size);
    void Unlock() {}

protected:
    BufferResource(std::unique_ptr<uint8_t[]> bytes, uint32_t size)
        : m_bytes(std::move(bytes)), m_size(size) {}
    std::unique_ptr<uint8_t[]> m_bytes;
    uint32_t m_size;
};

class VertexBuffer : public BufferResource {
public:
    const uint8_t* Data() const { return m_bytes.get(); }

private:
    friend class Device;
    using BufferResource::BufferResource;
};

// 16-bit indices.
class IndexBuffer : public BufferResource {
public:
    uint32_t Count() const { return m_size / 2; }
    const uint16_t* Data() const { return reinterpret_cast<const uint16_t*>(m_bytes.get()); }

private:
    friend class Device;
    using BufferResource::BufferResource;
};

class VertexDeclaration : public Resource {
public:
    const std::vector<VertexElement>& Elements() const { return m_elements; }

private:
    friend class Device;
    explicit VertexDeclaration(std::vector<VertexElement> elements)
        : m_elements(std::move(elements)) {}
    std::vector<VertexElement> m_elements;
};

// One level of u32 ARGB texels. A render-target texture has no bytes in memory: its
// contents live in GL only (filled by Device::StretchBackBufferTo) and it cannot be locked.
class Texture : public Resource {
public:
    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    Format GetFormat() const { return m_format; }
    uint32_t GetUsage() const { return m_usage; }

    // Level 0 only. A write lock marks the texels for upload at the next draw that uses
    // the texture. False for a render target or a texture that is already locked.
    bool LockRect(LockedRect& out, bool readOnly);
    void UnlockRect();

private:
    friend class Device;
    Texture(std::shared_ptr<GlGarbage> garbage, uint32_t width, uint32_t height, uint32_t usage,
            Format format, std::unique_ptr<uint32_t[]> texels)
        : m_garbage(std::move(garbage)),
          m_width(width),
          m_height(height),
          m_usage(usage),
          m_format(format),
          m_texels(std::move(texels)) {}
    ~Texture() override;

    // Changes whenever the texels may have changed (a write lock, a copy onto a render
    // target); unique over all textures of the process, so a frame digest tells contents apart.
    static uint64_t NextVersion();
    void Touch() { m_version.store(NextVersion(), std::memory_order_release); }

    std::shared_ptr<GlGarbage> m_garbage;
    std::atomic<uint64_t> m_version{NextVersion()};
    uint32_t m_width, m_height, m_usage;
    Format m_format;
    std::unique_ptr<uint32_t[]> m_texels;
    bool m_locked = false;
    bool m_lockedForWrite = false;
    // Device-thread state.
    std::atomic<bool> m_dirty{true};
    uint32_t m_glName = 0;
    bool m_glAllocated = false;
    uint32_t m_appliedSampler[4] = {~0u, ~0u, ~0u, ~0u};
};

}  // namespace platform::gfx
