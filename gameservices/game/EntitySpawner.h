#pragma once
// A set element that, each time it is triggered, may bring one hidden prop of its level
// into play at its own position: each entry of its spawn list passes with its probability.
#include <vector>

#include "gameservices/entities/SetElement.h"
#include "gameservices/game/ITrigger.h"

namespace GameServices::Entities {

// One entry of a spawn list.
struct SpawnInfo {
    // entityType is the record's entity type; only "Prop" (exactly) can spawn.
    SpawnInfo(const TString<char>& kind, const TString<char>& entityType,
              const TString<char>& entityName, u32 probability)
        : Kind(kind), EntityName(entityName), IsProp(entityType == "Prop"),
          Probability(probability) {}

    TString<char> Kind;
    TString<char> EntityName;
    bool IsProp;
    // Percent: 0 never passes, 99 and above always do.
    u32 Probability;
};

class EntitySpawner : public SetElement, public MiniGame::ITrigger {
public:
    // Registers the property "SpawnerName".
    EntitySpawner();
    ~EntitySpawner() override = default;

    void AddSpawnInfo(const SpawnInfo& info) { m_SpawnInfos.push_back(info); }
    const std::vector<SpawnInfo>& GetSpawnInfos() const { return m_SpawnInfos; }

    // Walks the spawn list, drawing 1..99 from the shared random state for each entry; the
    // first passing entry whose prop (the set's first prop of that name) is inactive spawns
    // it: visible, at the spawner's position, initialized and active. At most one prop.
    void OnTrigger(Set& set) override;

    TString<char> m_SpawnerName;

private:
    std::vector<SpawnInfo> m_SpawnInfos;
};

}  // namespace GameServices::Entities
