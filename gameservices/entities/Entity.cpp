#include "gameservices/entities/Entity.h"

#include <atomic>

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

u32 Entity::NextId() {
    static std::atomic<u32> s_next{1};
    u32 id = s_next.fetch_add(1, std::memory_order_relaxed);
    // After four billion entities the counter wraps; 0 stays reserved for "no entity".
    while (id == 0)
        id = s_next.fetch_add(1, std::memory_order_relaxed);
    return id;
}

Entity::Entity() : Id(NextId()) {
    m_Properties.Register<u32>("Id", &Id);
    m_Properties.Register<TString<char>>("Name", &Name);
    m_Properties.Register<bool>("Visible", &Visible);
    m_Properties.Register<bool>("Synchronize", &Synchronize);
    m_Properties.Register<VolatileData>("VolatileDatas", &VolatileDatas);
    m_Properties.Register<Entities::Depictors>("Depictors", &Depictors);
    m_Properties.Register<Entities::Attributes>("Attributes", &Attributes);
    m_Properties.Register<Entities::Behaviors>("Behaviors", &Behaviors);
}

Entity::Entity(const TString<char>& name) : Id(NextId()), Name(name), Visible(true) {}

bool Entity::IsA(const u32& typeId) const {
    return typeId == TypeIds::Entity;
}

void Entity::ClearComponents() {
    Attributes.Clear();
    Depictors.Clear();
}

}  // namespace GameServices::Entities
