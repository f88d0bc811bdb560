#pragma once
// The audio-asset pool and its registry.
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/PoolStorage.h"

namespace GameServices::Entities {

template <typename T>
class AudioAssetFactory : public IAudioAssetFactory {
public:
    AudioAssetFactory(u32 capacity, const TString<char>& prefix) : m_Pool(capacity, prefix) {}
    ~AudioAssetFactory() override { ResetAll(); }

    T* Alloc() override { return m_Pool.Take(); }
    void Release(AudioAsset* asset) override {
        if (asset)
            m_Pool.Give(asset, [](T& a) { a.Reset(); });
    }
    void ResetAll() override {
        m_Pool.ResetAll([](T& a) { a.Reset(); });
    }
    u32 GetMaxSize() const override { return m_Pool.MaxSize(); }
    u32 GetUsedCount() const override { return m_Pool.Used(); }

private:
    PoolStorage<T> m_Pool;
};

class GameAudioAssetFactory {
public:
    static GameAudioAssetFactory* Instance();
    virtual ~GameAudioAssetFactory();
    GameAudioAssetFactory(const GameAudioAssetFactory&) = delete;
    GameAudioAssetFactory& operator=(const GameAudioAssetFactory&) = delete;

    // Creates the default pool with the capacity ("GameServices", "FactoryAudioAsset"),
    // replacing and deleting the one before.
    void RegisterAudioAssetFactory();
    IAudioAssetFactory* GetDefaultFactory() const { return m_DefaultFactory; }

private:
    GameAudioAssetFactory() = default;

    IAudioAssetFactory* m_DefaultFactory = nullptr;
};

}  // namespace GameServices::Entities
