#include "gameservices/game/StandInBridgeSystems.h"

#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/VideoAsset.h"

namespace GameServices::KorvoGame {

using Entities::VolatileDataKeys::kAUDIO_DATA;
using Entities::VolatileDataKeys::kCOLLISION_DATA;
using Entities::VolatileDataKeys::kDATA_VIDEO;

StandInBridgeSystems* StandInBridgeSystems::Instance() {
    static StandInBridgeSystems* s_instance = new StandInBridgeSystems();
    return s_instance;
}

Bridge::RenderableModelData* StandInBridgeSystems::AllocRenderableModelData() {
    return Keep(Bridge::RenderableModelData(), m_Renderables);
}

void StandInBridgeSystems::SetCollisionData(Entities::Entity& entity,
                                            const Bridge::CollisionData& data) {
    if (Bridge::CollisionData* kept = entity.VolatileDatas.GetCollisionData())
        *kept = data;
    else
        entity.VolatileDatas.Set(kCOLLISION_DATA, Keep(data, m_Collisions));
}

void StandInBridgeSystems::SetAudioData(Entities::AudioAsset& asset,
                                        const Bridge::AudioData& data) {
    if (Bridge::AudioData* kept = asset.VolatileDatas.GetAudioData())
        *kept = data;
    else
        asset.VolatileDatas.Set(kAUDIO_DATA, Keep(data, m_Audio));
}

void StandInBridgeSystems::SetVideoData(Entities::VideoAsset& asset,
                                        const Bridge::VideoData& data) {
    if (Bridge::VideoData* kept = asset.VolatileDatas.GetVideoData())
        *kept = data;
    else
        asset.VolatileDatas.Set(kDATA_VIDEO, Keep(data, m_Video));
}

void StandInBridgeSystems::SetAvatarSkinAnimation(Entities::Character& character,
                                                  const TString<char>& animationName,
                                                  const MiniGame::BehaviorActionSkin& skin) {
    m_SkinAnimations[character.Id] = SkinAnimation{animationName, skin};
}

void StandInBridgeSystems::GetScreenSize(u32& width, u32& height) {
    width = 800;
    height = 600;
}

const StandInBridgeSystems::SkinAnimation* StandInBridgeSystems::GetAvatarSkinAnimation(
    const Entities::Character& character) const {
    auto it = m_SkinAnimations.find(character.Id);
    return it == m_SkinAnimations.end() ? nullptr : &it->second;
}

}  // namespace GameServices::KorvoGame
