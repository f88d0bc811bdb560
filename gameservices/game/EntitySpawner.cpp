#include "gameservices/game/EntitySpawner.h"

#include "engine/core/AGLog.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"

namespace GameServices::Entities {

EntitySpawner::EntitySpawner() {
    m_Properties.Register("SpawnerName", &m_SpawnerName);
}

void EntitySpawner::OnTrigger(Set& set) {
    // The position has no getter: it is the translation row of the world matrix.
    Matrix44 world;
    UpdateWorldMatrix(world);
    const AGVec3 position{world[12], world[13], world[14]};

    const std::vector<SpawnInfo> infos = m_SpawnInfos;
    for (const SpawnInfo& info : infos) {
        if (Bridge::RandomRange(1, 100) > info.Probability)
            continue;
        if (!info.IsProp) {
            AGReport("The Entity Type specify by the spawner is invalid!");
            continue;
        }
        Prop* prop = set.FindProp(info.EntityName);
        if (!prop) {
            AGReport("can spawn the Prop %s", info.EntityName.c_str());
            continue;
        }
        if (prop->Activate)
            continue;
        prop->SetVisible(true);
        prop->SetPosition(position);
        prop->Initialize();
        prop->Activate = true;
        prop->Synchronize = false;
        return;
    }
}

}  // namespace GameServices::Entities
