#pragma once
// The bridge systems' records as the game flow uses them until the rendering, collision,
// audio and video systems exist: each Set...Data call keeps a copy on the entity under the
// system's key, the skin animation of an avatar is kept by character, and the screen is
// 800 x 600. Records live as long as the process, like the pooled entities that hold them.
#include <deque>
#include <map>
#include <memory>

#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/RenderableModelData.h"

namespace GameServices::KorvoGame {

class StandInBridgeSystems : public IBridgeSystems {
public:
    static StandInBridgeSystems* Instance();

    Bridge::RenderableModelData* AllocRenderableModelData() override;
    void SetCollisionData(Entities::Entity& entity, const Bridge::CollisionData& data) override;
    void SetAudioData(Entities::AudioAsset& asset, const Bridge::AudioData& data) override;
    void SetVideoData(Entities::VideoAsset& asset, const Bridge::VideoData& data) override;
    void SetAvatarSkinAnimation(Entities::Character& character,
                                const TString<char>& animationName,
                                const MiniGame::BehaviorActionSkin& skin) override;
    void GetScreenSize(u32& width, u32& height) override;

    struct SkinAnimation {
        TString<char> m_AnimationName;
        MiniGame::BehaviorActionSkin m_Skin;
    };
    // The skin animation last given to a character, or null.
    const SkinAnimation* GetAvatarSkinAnimation(const Entities::Character& character) const;

private:
    StandInBridgeSystems() = default;

    template <typename T>
    T* Keep(const T& record, std::deque<std::unique_ptr<T>>& store) {
        store.push_back(std::make_unique<T>(record));
        return store.back().get();
    }

    std::deque<std::unique_ptr<Bridge::RenderableModelData>> m_Renderables;
    std::deque<std::unique_ptr<Bridge::CollisionData>> m_Collisions;
    std::deque<std::unique_ptr<Bridge::AudioData>> m_Audio;
    std::deque<std::unique_ptr<Bridge::VideoData>> m_Video;
    std::map<u32, SkinAnimation> m_SkinAnimations;
};

}  // namespace GameServices::KorvoGame
