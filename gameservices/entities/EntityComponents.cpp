#include "gameservices/entities/EntityComponents.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool Attribute::IsA(const u32& typeId) const {
    return typeId == TypeIds::Attribute;
}

void Depictors::Clear() {
    if (m_Keep)
        return;
    for (auto& [id, depictor] : m_Map)
        if (depictor && !depictor->m_Shared)
            delete depictor;
    m_Map.clear();
}

void Attributes::Clear() {
    if (m_Keep)
        return;
    for (auto& [id, attribute] : m_Map)
        delete attribute;
    m_Map.clear();
}

Attribute* Attributes::FindApplicationData() const {
    auto it = m_Map.find(TypeIds::ApplicationDataKey);
    return it == m_Map.end() ? nullptr : it->second;
}

void Behaviors::Add(Behavior* behavior) {
    if (behavior)
        m_Map[Crc32Hash(behavior->GetName().c_str())] = behavior;
}

void Behaviors::Update(u32 milliseconds) {
    for (auto& [id, behavior] : m_Map)
        if (behavior)
            behavior->Update(milliseconds);
}

}  // namespace GameServices::Entities
