#include "gameservices/game/sEntitySpawnerData.h"

#include "engine/core/AGLog.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/EntitySpawner.h"
#include "gameservices/game/sLevel.h"

namespace GameServices::MiniGame {

using KorvoGame::sEntityDataExtension;

const char* const sEntitySpawnerData::kKind = "EntitySpawner";

void sSpawnerDataField::Serialize(Utilities::ISerialization& s) {
    s.SerializeString("EntityType", EntityType, TString<char>());
    s.SerializeString("EntityName", EntityName, TString<char>());
    s.SerializeUInt("Probability", Probability, 0);
}

sEntitySpawnerData::sEntitySpawnerData() : sEntityDataExtension(kKind) {}



void sEntitySpawnerData::Serialize(Utilities::ISerialization& s) {
    if (s.IsReading())
        SpawnFields.Clear();
    s.SerializeObject("SpawnField", SpawnFields, true);
}

sEntityDataExtension* sEntitySpawnerData::Clone() const { return CreateCopy(*this); }

bool sEntitySpawnerData::IsValid() const {
    return !SpawnFields.empty() && m_KindName == kKind;
}

Entities::Entity* sEntitySpawnerData::CreateEntity(const KorvoGame::sLevel& level,
                                                   Entities::Set& set) {
    auto* spawner = new Entities::EntitySpawner();
    const std::vector<sSpawnerDataField> fields = SpawnFields.Items();
    for (const sSpawnerDataField& field : fields) {
        TString<char> kind;
        const bool isProp = field.EntityType == "Prop";
        bool named = false;
        if (isProp) {
            for (const KorvoGame::sProp& prop : level.Props) {
                if (prop.Name == field.EntityName) {
                    kind = prop.Kind;
                    named = true;
                    break;
                }
            }
        } else {
            AGReport("The EntityType of a Spawner Field must be an entity!");
        }
        if (!named)
            AGReport("The Name of the Entity to spawn is invalid!");
        if (kind.IsEmpty())
            AGReport("A spawned Entity must have the attribute Kind!");
        spawner->AddSpawnInfo(
            Entities::SpawnInfo(kind, field.EntityType, field.EntityName, field.Probability));
    }
    set.m_ExtensionEntities.push_back(spawner);
    return spawner;
}

sEntityDataExtension* sEntitySpawnerData::CreateCopy(const sEntityDataExtension& source) const {
    auto* copy = new sEntitySpawnerData();
    if (const auto* spawner = dynamic_cast<const sEntitySpawnerData*>(&source))
        copy->SpawnFields = spawner->SpawnFields;
    return copy;
}

}  // namespace GameServices::MiniGame
