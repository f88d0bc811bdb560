#pragma once
// The registered entity-data extension prototypes, offered in registration order to each
// set-element record being read.
#include <vector>

#include "gameservices/game/sEntityDataExtension.h"

namespace GameServices::KorvoGame {

class EntityDataExtensionFactory {
public:
    static EntityDataExtensionFactory* Instance();
    // Deletes the singleton (game end); the next Instance() makes a fresh one.
    static void Destroy();
    virtual ~EntityDataExtensionFactory() = default;
    EntityDataExtensionFactory(const EntityDataExtensionFactory&) = delete;
    EntityDataExtensionFactory& operator=(const EntityDataExtensionFactory&) = delete;

    // Appends a prototype; the caller keeps it alive for as long as records are read.
    void Register(sEntityDataExtension* prototype);
    void Unregister(sEntityDataExtension* prototype);
    size_t Count() const { return m_Prototypes.size(); }

    // Reads each prototype in turn from the optional child element of its kind name; the
    // first one found gives a new copy of itself. Null when none is present. Each
    // prototype is cleared before its read, so fields absent from this record do not
    // keep the previous record's values.
    sEntityDataExtension* Create(Utilities::ISerialization& serialization);

private:
    EntityDataExtensionFactory() = default;

    std::vector<sEntityDataExtension*> m_Prototypes;
};

}  // namespace GameServices::KorvoGame
