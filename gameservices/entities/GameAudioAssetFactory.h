#pragma once
// The audio-asset pools: the default pool and further pools registered by kind name (keyed
// by its name id).
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/KindRegistry.h"
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
    bool Owns(const AudioAsset* asset) const override { return asset && m_Pool.Owns(asset); }

private:
    PoolStorage<T> m_Pool;
};

class GameAudioAssetFactory {
public:
    static GameAudioAssetFactory* Instance();
    // Deletes the singleton (game end); the next Instance() makes a fresh one.
    static void Destroy();
    virtual ~GameAudioAssetFactory();
    GameAudioAssetFactory(const GameAudioAssetFactory&) = delete;
    GameAudioAssetFactory& operator=(const GameAudioAssetFactory&) = delete;

    // Creates the default pool with the capacity ("GameServices", "FactoryAudioAsset"),
    // replacing and deleting the one before.
    void RegisterAudioAssetFactory();
    IAudioAssetFactory* GetDefaultFactory() const { return m_DefaultFactory; }

    // Registers a pool under a kind name; a different pool registered before under the same
    // name is deleted (the sets using it must have been cleared).
    void RegisterFactory(const TString<char>& kindName, IAudioAssetFactory* factory);
    // The pool of a kind, or null.
    IAudioAssetFactory* GetFactory(u32 kindId) const;
    // The pool that created an asset, the default pool first; null when none did.
    IAudioAssetFactory* FindOwner(const AudioAsset* asset) const;

private:
    GameAudioAssetFactory() = default;

    IAudioAssetFactory* m_DefaultFactory = nullptr;
    KindRegistry<IAudioAssetFactory> m_Factories;
};

}  // namespace GameServices::Entities
