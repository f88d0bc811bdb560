#pragma once
// Pools registered under kind names, keyed by the name id of the name. The registry owns
// them: registering a different pool under a kind deletes the one it replaces (the sets
// using it must have been cleared), and the registry deletes what it still holds.
#include <map>

#include "engine/core/Crc32Hash.h"
#include "engine/core/TString.h"

namespace GameServices::Entities {

template <typename Pool>
class KindRegistry {
public:
    KindRegistry() = default;
    ~KindRegistry() {
        for (auto& [id, pool] : m_Pools)
            delete pool;
    }
    KindRegistry(const KindRegistry&) = delete;
    KindRegistry& operator=(const KindRegistry&) = delete;

    // Registering null forgets the kind.
    void Register(const TString<char>& kindName, Pool* pool) {
        const u32 id = Crc32Hash(kindName.c_str());
        auto it = m_Pools.find(id);
        if (it != m_Pools.end()) {
            if (it->second == pool)
                return;
            delete it->second;
            m_Pools.erase(it);
        }
        if (pool)
            m_Pools[id] = pool;
    }

    Pool* Get(u32 kindId) const {
        auto it = m_Pools.find(kindId);
        return it == m_Pools.end() ? nullptr : it->second;
    }

    // Removes the kind and hands its pool to the caller; null when there is none.
    Pool* Take(u32 kindId) {
        auto it = m_Pools.find(kindId);
        if (it == m_Pools.end())
            return nullptr;
        Pool* pool = it->second;
        m_Pools.erase(it);
        return pool;
    }

    // The first registered pool that created the object, or null.
    template <typename T>
    Pool* FindOwner(const T* object) const {
        for (const auto& [id, pool] : m_Pools)
            if (pool->Owns(object))
                return pool;
        return nullptr;
    }

private:
    std::map<u32, Pool*> m_Pools;
};

}  // namespace GameServices::Entities
