#pragma once
// A list of parts taken from their pool (the choices offered to the player); Clear gives
// them all back.
#include <vector>

#include "gameservices/game/PartPools.h"

namespace GameServices::KorvoGame {

template <typename T>
class ContainerFactory {
public:
    ContainerFactory() = default;
    ~ContainerFactory() { Clear(); }
    ContainerFactory(const ContainerFactory&) = delete;
    ContainerFactory& operator=(const ContainerFactory&) = delete;

    // Appends a part taken from PartPool<T>(); the list now gives it back.
    void Add(T* part) { m_Parts.push_back(part); }
    // Gives one listed part back and drops it from the list.
    void Recycle(T* part) {
        for (auto it = m_Parts.begin(); it != m_Parts.end(); ++it) {
            if (*it == part) {
                m_Parts.erase(it);
                PartPool<T>().Free(part);
                return;
            }
        }
    }
    // Drops a listed part from the list without giving it back: whoever took it out gives it
    // back. False when the part is not listed.
    bool Detach(T* part) {
        for (auto it = m_Parts.begin(); it != m_Parts.end(); ++it) {
            if (*it == part) {
                m_Parts.erase(it);
                return true;
            }
        }
        return false;
    }
    void Clear() {
        for (T* part : m_Parts)
            PartPool<T>().Free(part);
        m_Parts.clear();
    }

    size_t size() const { return m_Parts.size(); }
    bool empty() const { return m_Parts.empty(); }
    T* operator[](size_t i) const { return m_Parts[i]; }
    auto begin() const { return m_Parts.begin(); }
    auto end() const { return m_Parts.end(); }

private:
    std::vector<T*> m_Parts;
};

// Appends one pooled part per listed item (its name and id, customizable); stops when the pool
// is exhausted (reported by it).
template <typename Part, typename Entries>
void FillPooledParts(const Entries& entries, ContainerFactory<Part>& out) {
    for (const auto& entry : entries) {
        Part* part = PartPool<Part>().Alloc();
        if (!part)
            return;
        part->Name = entry.Name;
        part->Id = entry.Id;
        part->Customizable = true;
        out.Add(part);
    }
}

}  // namespace GameServices::KorvoGame
