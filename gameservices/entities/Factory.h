#pragma once
// A fixed pool of plain records (character parts, appearances, bridge data records). All
// objects are created with the pool; Alloc hands out the next free one.
#include <vector>

#include "engine/core/AGLog.h"
#include "engine/core/TString.h"
#include "gameservices/entities/PoolStorage.h"

namespace GameServices::KorvoGame {

template <typename T>
class Factory {
public:
    explicit Factory(const TString<char>& name, u32 capacity = 100) : m_Name(name) {
        if (capacity > Entities::kMaxPoolCapacity) {
            AGReport("Pool %s asks for %u objects; limited to %u", name.c_str(), capacity,
                     Entities::kMaxPoolCapacity);
            capacity = Entities::kMaxPoolCapacity;
        }
        m_MaxSize = capacity;
        m_Objects.reserve(capacity);
        for (u32 i = 0; i < capacity; ++i)
            m_Objects.push_back(new T());
    }
    virtual ~Factory() {
        for (T* object : m_Objects)
            delete object;
    }
    Factory(const Factory&) = delete;
    Factory& operator=(const Factory&) = delete;

    // Every object is replaced by a newly constructed one; all become free.
    virtual void ResetAll() {
        m_NbUsedObject = 0;
        for (T*& object : m_Objects) {
            delete object;
            object = new T();
        }
    }

    // The next free object; null, reported, when every object is handed out.
    T* Alloc() {
        if (m_NbUsedObject >= m_MaxSize) {
            AGReport("m_NbUsedObject < m_MaxSize for %s", m_Name.c_str());
            return nullptr;
        }
        return m_Objects[m_NbUsedObject++];
    }

    // Makes a handed-out object free again without resetting it. A free object or one from
    // elsewhere is ignored, so a second Free cannot hand the same object out twice.
    void Free(T* object) {
        for (u32 i = 0; i < m_NbUsedObject; ++i) {
            if (m_Objects[i] != object)
                continue;
            m_Objects.erase(m_Objects.begin() + i);
            m_Objects.push_back(object);
            --m_NbUsedObject;
            return;
        }
    }

    const TString<char>& GetName() const { return m_Name; }
    u32 GetMaxSize() const { return m_MaxSize; }
    u32 GetUsedCount() const { return m_NbUsedObject; }

private:
    TString<char> m_Name;
    u32 m_MaxSize = 0;
    u32 m_NbUsedObject = 0;
    std::vector<T*> m_Objects;
};

}  // namespace GameServices::KorvoGame
