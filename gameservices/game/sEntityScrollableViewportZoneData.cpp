#include "gameservices/game/sEntityScrollableViewportZoneData.h"

#include "gameservices/game/EntityScrollableViewportZone.h"

namespace GameServices::MiniGame {

using KorvoGame::sEntityDataExtension;

const char* const sEntityScrollableViewportZoneData::kKind = "EntityScrollableViewportZone";

sEntityScrollableViewportZoneData::sEntityScrollableViewportZoneData()
    : sEntityDataExtension(kKind) {}



void sEntityScrollableViewportZoneData::Serialize(Utilities::ISerialization& s) {
    s.SerializeUInt("DimensionX", DimensionX, 0);
    s.SerializeUInt("DimensionY", DimensionY, 0);
}

sEntityDataExtension* sEntityScrollableViewportZoneData::Clone() const {
    return CreateCopy(*this);
}

bool sEntityScrollableViewportZoneData::IsValid() const { return m_KindName == kKind; }

Entities::Entity* sEntityScrollableViewportZoneData::CreateEntity(const KorvoGame::sLevel&,
                                                                  Entities::Set& set) {
    return Entities::EntityScrollableViewportZone::Create(DimensionX, DimensionY, set);
}

sEntityDataExtension* sEntityScrollableViewportZoneData::CreateCopy(
    const sEntityDataExtension& source) const {
    auto* copy = new sEntityScrollableViewportZoneData();
    if (const auto* zone = dynamic_cast<const sEntityScrollableViewportZoneData*>(&source)) {
        copy->DimensionX = zone->DimensionX;
        copy->DimensionY = zone->DimensionY;
    }
    return copy;
}

}  // namespace GameServices::MiniGame
