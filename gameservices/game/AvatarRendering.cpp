#include "gameservices/game/AvatarRendering.h"

#include "engine/core/AGLog.h"
#include "gameservices/entities/Character.h"

namespace GameServices::KorvoGame {

using Entities::VolatileDataKeys::kRENDERABLE_AVATAR_DATA;

StandInAvatarRendering* StandInAvatarRendering::Instance() {
    static StandInAvatarRendering instance;
    return &instance;
}

void StandInAvatarRendering::SetRenderableAvatarData(Entities::Character& character,
                                                     const Bridge::RenderableAvatarData& data) {
    Bridge::RenderableAvatarData* record = character.VolatileDatas.GetRenderableAvatarData();
    if (!record) {
        auto& owned = m_Records[character.Id];
        owned = std::make_unique<Bridge::RenderableAvatarData>();
        record = owned.get();
        character.VolatileDatas.Set(kRENDERABLE_AVATAR_DATA, record);
    }
    record->m_DataPath = data.m_DataPath;
    for (u32 part = 0; part < Bridge::kNbAvatarParts; ++part)
        record->m_PartNames[part] = data.m_PartNames[part];
    record->m_Built = data.m_Built;
    record->m_Changed = 1;
}

void StandInAvatarRendering::InitializeAvatar(Entities::Character& character) {
    Bridge::RenderableAvatarData* record = character.VolatileDatas.GetRenderableAvatarData();
    if (!record || !record->m_Changed)
        return;
    if (!m_Built.insert(character.Id).second)
        AGReport("call RenderingSystem::Cleanup(..) before!");
    record->m_Built = 1;
}

void StandInAvatarRendering::CleanupAvatar(Entities::Character& character) {
    character.VolatileDatas.Remove(kRENDERABLE_AVATAR_DATA);
    m_Records.erase(character.Id);
    m_Built.erase(character.Id);
}

bool StandInAvatarRendering::IsAvatarBuilt(const Entities::Character& character) const {
    return m_Built.count(character.Id) != 0;
}

}  // namespace GameServices::KorvoGame
