#pragma once
// The spawner record of a set element: the level's props that the spawner may bring into
// play, each with its chance in percent. Read from the element "EntitySpawner".
#include "engine/core/SerializableVector.h"
#include "gameservices/game/sEntityDataExtension.h"

namespace GameServices::MiniGame {

// One entry of the spawn list.
class sSpawnerDataField : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> EntityName;
    TString<char> EntityType;
    u32 Probability = 0;
};

class sEntitySpawnerData : public KorvoGame::sEntityDataExtension {
public:
    static const char* const kKind;

    sEntitySpawnerData();

    // Reading empties the list first, also when "SpawnField" is missing: the prototype is
    // read into again and again and must not keep the fields of the record read before.
    // Writing keeps the list.
    void Serialize(Utilities::ISerialization& serialization) override;
    KorvoGame::sEntityDataExtension* Clone() const override;
    // A non-empty list and the exact kind name.
    bool IsValid() const override;
    // An EntitySpawner with one entry per field; the set owns it. A field naming no prop
    // record, or of a type other than "Prop", is reported and still gets its entry.
    Entities::Entity* CreateEntity(const KorvoGame::sLevel& level, Entities::Set& set) override;
    // The copy's kind name is always "EntitySpawner".
    KorvoGame::sEntityDataExtension* CreateCopy(
        const KorvoGame::sEntityDataExtension& source) const override;

    Utilities::SerializableVector<sSpawnerDataField> SpawnFields;
};

}  // namespace GameServices::MiniGame
