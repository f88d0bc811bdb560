#pragma once
// The engine's growable array. A grow step of -1 doubles the capacity (0 becomes 2), another
// non-zero step adds itself, and 0 never grows: an Add to a full array then changes nothing.
#include <new>
#include <utility>

#include "engine/core/AGMemory.h"

template <typename T>
class AGArray {
public:
    explicit AGArray(i32 growStep = -1) : m_growStep(growStep) {}
    AGArray(const AGArray&) = delete;
    AGArray& operator=(const AGArray&) = delete;
    ~AGArray() { Reserve(0); }

    // 0 frees the storage; another capacity moves the first min(count, n) entries.
    void Reserve(u32 n) {
        if (n == m_capacity)
            return;
        T* data = nullptr;
        u32 keep = m_count < n ? m_count : n;
        if (n != 0) {
            data = static_cast<T*>(AllocBlock(size_t(n) * sizeof(T)));
            if (!data)
                return;
            for (u32 i = 0; i < keep; ++i)
                new (data + i) T(std::move(m_data[i]));
        }
        for (u32 i = 0; i < m_count; ++i)
            m_data[i].~T();
        FreeBlock(m_data);
        m_data = data;
        m_count = keep;
        m_capacity = n;
    }

    // Returns false when the array is full and may not grow.
    bool Add(const T& item) {
        if (m_count == m_capacity) {
            u32 grown;
            if (m_growStep == -1)
                grown = m_capacity == 0 ? 2 : m_capacity * 2;
            else if (m_growStep != 0)
                grown = m_capacity + u32(m_growStep);
            else
                return false;
            T copy(item);  // the item may live in our own storage
            Reserve(grown);
            if (m_count == m_capacity)
                return false;
            new (m_data + m_count) T(std::move(copy));
            ++m_count;
            return true;
        }
        new (m_data + m_count) T(item);
        ++m_count;
        return true;
    }

    // Removes the entry at index, keeping the order of the rest.
    void RemoveAt(u32 index) {
        if (index >= m_count)
            return;
        for (u32 i = index; i + 1 < m_count; ++i)
            m_data[i] = std::move(m_data[i + 1]);
        m_data[--m_count].~T();
    }

    void Clear() {
        for (u32 i = 0; i < m_count; ++i)
            m_data[i].~T();
        m_count = 0;
    }

    u32 Count() const { return m_count; }
    u32 Capacity() const { return m_capacity; }
    i32 GrowStep() const { return m_growStep; }
    void SetGrowStep(i32 step) { m_growStep = step; }
    T& operator[](u32 i) { return m_data[i]; }
    const T& operator[](u32 i) const { return m_data[i]; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_count; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_count; }

private:
    u32 m_count = 0;
    u32 m_capacity = 0;
    i32 m_growStep;
    T* m_data = nullptr;
};
