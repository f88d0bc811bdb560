#pragma once
// An array {data, count, borrowed}. A borrowed array points into bytes someone else owns and
// is never freed by its holder; an owned one lives in the engine allocator. Loaders always
// copy, so borrowed is only ever set by code that hands out its own storage knowingly.
#include <new>
#include <utility>

#include "engine/core/AGMemory.h"
#include "engine/core/AGTypes.h"

template <typename T>
class AGOwnedBuffer {
public:
    AGOwnedBuffer() = default;
    AGOwnedBuffer(const AGOwnedBuffer& other) { CopyFrom(other); }
    AGOwnedBuffer& operator=(const AGOwnedBuffer& other) {
        if (this != &other)
            CopyFrom(other);
        return *this;
    }
    AGOwnedBuffer(AGOwnedBuffer&& other) noexcept
        : m_data(other.m_data), m_count(other.m_count), m_borrowed(other.m_borrowed) {
        other.m_data = nullptr;
        other.m_count = 0;
        other.m_borrowed = 0;
    }
    AGOwnedBuffer& operator=(AGOwnedBuffer&& other) noexcept {
        if (this != &other) {
            Release();
            std::swap(m_data, other.m_data);
            std::swap(m_count, other.m_count);
            std::swap(m_borrowed, other.m_borrowed);
        }
        return *this;
    }
    ~AGOwnedBuffer() { Release(); }

    // Nothing for n == count. Otherwise new owned storage of n entries (new ones
    // value-initialised) takes over the first min(count, n) entries; n == 0 releases.
    // False (and the array unchanged) when memory runs out.
    bool Resize(u32 n) {
        if (n == m_count)
            return true;
        if (n == 0) {
            Release();
            return true;
        }
        T* data = static_cast<T*>(AllocBlock(size_t(n) * sizeof(T)));
        if (!data)
            return false;
        const u32 keep = m_count < n ? m_count : n;
        for (u32 i = 0; i < keep; ++i)
            new (data + i) T(m_data[i]);
        for (u32 i = keep; i < n; ++i)
            new (data + i) T();
        Release();
        m_data = data;
        m_count = n;
        return true;
    }

    // Frees owned storage; data and count become 0 either way.
    void Release() {
        if (m_data && !m_borrowed) {
            for (u32 i = 0; i < m_count; ++i)
                m_data[i].~T();
            FreeBlock(m_data);
        }
        m_data = nullptr;
        m_count = 0;
        m_borrowed = 0;
    }

    // Points the array at storage it does not own.
    void Borrow(T* data, u32 count) {
        Release();
        m_data = data;
        m_count = data ? count : 0;
        m_borrowed = 1;
    }

    // Deep copy: the result always owns its storage.
    void CopyFrom(const AGOwnedBuffer& other) {
        if (other.m_count == 0 || !other.m_data) {
            Release();
            return;
        }
        AGOwnedBuffer copy;
        copy.m_data = static_cast<T*>(AllocBlock(size_t(other.m_count) * sizeof(T)));
        if (!copy.m_data) {
            Release();
            return;
        }
        for (u32 i = 0; i < other.m_count; ++i)
            new (copy.m_data + i) T(other.m_data[i]);
        copy.m_count = other.m_count;
        *this = std::move(copy);
    }

    T* Data() { return m_data; }
    const T* Data() const { return m_data; }
    u32 Count() const { return m_count; }
    bool Empty() const { return m_count == 0; }
    bool Borrowed() const { return m_borrowed != 0; }
    T& operator[](u32 i) { return m_data[i]; }
    const T& operator[](u32 i) const { return m_data[i]; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_count; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_count; }

private:
    T* m_data = nullptr;
    u32 m_count = 0;
    u8 m_borrowed = 0;
};
