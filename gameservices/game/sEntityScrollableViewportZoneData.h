#pragma once
// The scrollable viewport zone record of a set element: the zone's two dimensions. Read from
// the element "EntityScrollableViewportZone".
#include "gameservices/game/sEntityDataExtension.h"

namespace GameServices::MiniGame {

class sEntityScrollableViewportZoneData : public KorvoGame::sEntityDataExtension {
public:
    static const char* const kKind;

    sEntityScrollableViewportZoneData();

    // "DimensionX" then "DimensionY", each 0 when absent.
    void Serialize(Utilities::ISerialization& serialization) override;
    KorvoGame::sEntityDataExtension* Clone() const override;
    // The exact kind name; any dimensions.
    bool IsValid() const override;
    // The set owns the zone; the level record is not used.
    Entities::Entity* CreateEntity(const KorvoGame::sLevel& level, Entities::Set& set) override;
    KorvoGame::sEntityDataExtension* CreateCopy(
        const KorvoGame::sEntityDataExtension& source) const override;

    u32 DimensionX = 0;
    u32 DimensionY = 0;
};

}  // namespace GameServices::MiniGame
