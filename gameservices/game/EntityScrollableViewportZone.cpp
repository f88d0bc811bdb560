#include "gameservices/game/EntityScrollableViewportZone.h"

#include "gameservices/entities/Set.h"

namespace GameServices::Entities {

EntityScrollableViewportZone::EntityScrollableViewportZone() {
    m_Properties.Register("ScrollableViewportZoneName", &m_ZoneName);
}

EntityScrollableViewportZone* EntityScrollableViewportZone::Create(u32 dimensionX,
                                                                   u32 dimensionY, Set& set) {
    auto* zone = new EntityScrollableViewportZone();
    zone->m_DimensionX = dimensionX;
    zone->m_DimensionY = dimensionY;
    set.m_ExtensionEntities.push_back(zone);
    return zone;
}

}  // namespace GameServices::Entities
