#pragma once
// The bridge systems as the level loader reaches them: render descriptions from the level
// renderer's pool, collision descriptions from the collision system's pool and the screen
// size from the graphic device. Skin animations are kept as the stand-in keeps them until
// that system takes them over.
#include "gameservices/game/GameFlowServices.h"

namespace GameServices::Bridge {

class BridgeSystems : public KorvoGame::IBridgeSystems {
public:
    static BridgeSystems* Instance();

    // Null, reported by the pool, when the pool is exhausted or missing.
    RenderableModelData* AllocRenderableModelData() override;
    void SetCollisionData(Entities::Entity& entity, const CollisionData& data) override;
    void SetAudioData(Entities::AudioAsset& asset, const AudioData& data) override;
    void SetVideoData(Entities::VideoAsset& asset, const VideoData& data) override;
    void SetAvatarSkinAnimation(Entities::Character& character, const TString<char>& animationName,
                                const MiniGame::BehaviorActionSkin& skin) override;
    // 800 x 600 while there is no graphic device.
    void GetScreenSize(u32& width, u32& height) override;

private:
    BridgeSystems() = default;
};

}  // namespace GameServices::Bridge
