#pragma once
// A set element marking a scrollable zone of a viewport by its two dimensions.
#include "gameservices/entities/SetElement.h"

namespace GameServices::Entities {

class Set;

class EntityScrollableViewportZone : public SetElement {
public:
    // Registers the property "ScrollableViewportZoneName".
    EntityScrollableViewportZone();
    ~EntityScrollableViewportZone() override = default;

    // A new zone of these dimensions, appended to the set's extension-made entities (the
    // set owns it).
    static EntityScrollableViewportZone* Create(u32 dimensionX, u32 dimensionY, Set& set);

    TString<char> m_ZoneName;
    u32 m_DimensionX = 0;
    u32 m_DimensionY = 0;
};

}  // namespace GameServices::Entities
