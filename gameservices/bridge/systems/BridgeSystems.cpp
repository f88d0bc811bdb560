#include "gameservices/bridge/systems/BridgeSystems.h"

#include "engine/core/AGLog.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/bridge/systems/CollisionSystem.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"

namespace GameServices::Bridge {

BridgeSystems* BridgeSystems::Instance() {
    static BridgeSystems s_instance;
    return &s_instance;
}

RenderableModelData* BridgeSystems::AllocRenderableModelData() {
    RenderingSystem::RenderableModelDataFactory* pool = RenderingSystem::GetRenderableModelDataFactory();
    if (!pool) {
        AGReport("m_NbUsedObject < m_MaxSize for RenderableModelDataFacory");
        return nullptr;
    }
    return pool->Alloc();
}

void BridgeSystems::SetCollisionData(Entities::Entity& entity, const CollisionData& data) {
    CollisionSystem::SetCollisionData(entity, data);
}

void BridgeSystems::SetAudioData(Entities::AudioAsset& asset, const AudioData& data) {
    AudioProcessingSystem::SetAudioData(asset, data);
}

void BridgeSystems::SetVideoData(Entities::VideoAsset& asset, const VideoData& data) {
    VideoProcessingSystem::SetVideoData(asset, data);
}

void BridgeSystems::SetAvatarSkinAnimation(Entities::Character& character, const TString<char>& animationName,
                                           const MiniGame::BehaviorActionSkin& skin) {
    RenderingSystem::SetAvatarSkinAnimation(character, animationName, skin);
}

void BridgeSystems::GetScreenSize(u32& width, u32& height) { PCCam::GetScreenSize(width, height); }

}  // namespace GameServices::Bridge
