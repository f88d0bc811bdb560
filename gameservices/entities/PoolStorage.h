#pragma once
// The storage shared by the fixed-capacity pools of entities and assets. Every object is
// created up front; positions [0, used) are handed out, the rest are free, and the next
// Take hands out the object at position used.
#include <cstdio>
#include <vector>

#include "engine/core/AGLog.h"
#include "engine/core/TString.h"

namespace GameServices::Entities {

// A capacity read from a data file is clamped to this, so a mistyped number cannot make
// start-up build objects without bound; the game's largest pools hold a few hundred.
inline constexpr u32 kMaxPoolCapacity = 4096;

template <typename T>
class PoolStorage {
public:
    // Creates capacity objects, each named prefix followed by its address.
    PoolStorage(u32 capacity, const TString<char>& prefix) : m_Prefix(prefix) {
        if (capacity > kMaxPoolCapacity) {
            AGReport("Pool %s asks for %u objects; limited to %u", prefix.c_str(), capacity,
                     kMaxPoolCapacity);
            capacity = kMaxPoolCapacity;
        }
        m_MaxSize = capacity;
        m_Objects.reserve(capacity);
        for (u32 i = 0; i < capacity; ++i) {
            T* object = new T();
            char address[32];
            snprintf(address, sizeof(address), "%p", static_cast<void*>(object));
            object->Name = prefix + address;
            m_Objects.push_back(object);
        }
    }
    ~PoolStorage() {
        for (T* object : m_Objects)
            delete object;
    }
    PoolStorage(const PoolStorage&) = delete;
    PoolStorage& operator=(const PoolStorage&) = delete;

    // The next free object, or null (reported) when every object is handed out.
    T* Take() {
        if (m_Used >= m_MaxSize) {
            AGReport("m_NbUsedObject+1 >= m_MaxSize --> %s", m_Prefix.c_str());
            return nullptr;
        }
        return m_Objects[m_Used++];
    }

    // Takes back a handed-out object: onRelease runs on it, then it moves to the end of the
    // pool. An object that is free already or not from this pool is left alone, so a
    // second release cannot make a handed-out object count as free.
    // Pointers are compared as P*, the type the caller holds (a base of T).
    template <typename P, typename Fn>
    bool Give(const P* object, Fn&& onRelease) {
        for (u32 i = 0; i < m_Used; ++i) {
            T* candidate = m_Objects[i];
            if (static_cast<const P*>(candidate) != object)
                continue;
            onRelease(*candidate);
            m_Objects.erase(m_Objects.begin() + i);
            m_Objects.push_back(candidate);
            --m_Used;
            return true;
        }
        return false;
    }

    template <typename Fn>
    void ResetAll(Fn&& onReset) {
        for (T* object : m_Objects)
            onReset(*object);
        m_Used = 0;
    }

    template <typename P>
    bool Owns(const P* object) const {
        for (T* candidate : m_Objects)
            if (static_cast<const P*>(candidate) == object)
                return true;
        return false;
    }

    u32 MaxSize() const { return m_MaxSize; }
    u32 Used() const { return m_Used; }
    T* At(u32 index) const { return m_Objects[index]; }

private:
    u32 m_MaxSize = 0;
    u32 m_Used = 0;
    std::vector<T*> m_Objects;
    TString<char> m_Prefix;
};

}  // namespace GameServices::Entities
