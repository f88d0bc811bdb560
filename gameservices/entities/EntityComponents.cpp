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

}  // namespace GameServices::Entities
