#pragma once
// The bridge systems' records as level loading hands them over, for tests that load levels
// without the real systems: each Set...Data call keeps a copy on the entity under the system's
// key, and the screen is 800 x 600.
// Records live as long as the process, like the pooled entities that hold them.
#include <deque>
#include <memory>

#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/RenderableModelData.h"

class RecordingBridgeSystems : public GameServices::KorvoGame::IBridgeSystems {
public:
    static RecordingBridgeSystems* Instance() {
        static auto* s_instance = new RecordingBridgeSystems();
        return s_instance;
    }

    GameServices::Bridge::RenderableModelData* AllocRenderableModelData() override {
        return Keep(GameServices::Bridge::RenderableModelData(), m_Renderables);
    }
    void SetCollisionData(GameServices::Entities::Entity& entity,
                          const GameServices::Bridge::CollisionData& data) override {
        Put(entity.VolatileDatas, GameServices::Entities::VolatileDataKeys::kCOLLISION_DATA,
            entity.VolatileDatas.GetCollisionData(), data, m_Collisions);
    }
    void SetAudioData(GameServices::Entities::AudioAsset& asset,
                      const GameServices::Bridge::AudioData& data) override {
        Put(asset.VolatileDatas, GameServices::Entities::VolatileDataKeys::kAUDIO_DATA,
            asset.VolatileDatas.GetAudioData(), data, m_Audio);
    }
    void SetVideoData(GameServices::Entities::VideoAsset& asset,
                      const GameServices::Bridge::VideoData& data) override {
        Put(asset.VolatileDatas, GameServices::Entities::VolatileDataKeys::kDATA_VIDEO,
            asset.VolatileDatas.GetVideoData(), data, m_Video);
    }
    void SetAvatarSkinAnimation(GameServices::Entities::Character&, const TString<char>&,
                                const GameServices::MiniGame::BehaviorActionSkin&) override {}
    void GetScreenSize(u32& width, u32& height) override {
        width = 800;
        height = 600;
    }

private:
    RecordingBridgeSystems() = default;

    template <typename T>
    T* Keep(const T& record, std::deque<std::unique_ptr<T>>& store) {
        store.push_back(std::make_unique<T>(record));
        return store.back().get();
    }
    // Overwrites the record the object holds, or gives it a kept copy under the key.
    template <typename Datas, typename Key, typename T>
    void Put(Datas& datas, Key key, T* held, const T& record, std::deque<std::unique_ptr<T>>& store) {
        if (held)
            *held = record;
        else
            datas.Set(key, Keep(record, store));
    }

    std::deque<std::unique_ptr<GameServices::Bridge::RenderableModelData>> m_Renderables;
    std::deque<std::unique_ptr<GameServices::Bridge::CollisionData>> m_Collisions;
    std::deque<std::unique_ptr<GameServices::Bridge::AudioData>> m_Audio;
    std::deque<std::unique_ptr<GameServices::Bridge::VideoData>> m_Video;
};
