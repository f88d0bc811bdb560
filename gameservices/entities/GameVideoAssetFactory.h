#pragma once
// The video-asset pool and its registry. Video assets always come from the default pool.
#include "gameservices/entities/PoolStorage.h"
#include "gameservices/entities/VideoAsset.h"

namespace GameServices::Entities {

template <typename T>
class GameObjectFactory : public BaseGameObjectFactory {
public:
    GameObjectFactory(u32 capacity, const TString<char>& prefix) : m_Pool(capacity, prefix) {}
    ~GameObjectFactory() override { ResetAll(); }

    // The next free object, or null when the pool is exhausted.
    T* Alloc() override { return m_Pool.Take(); }
    void ResetAll() override {
        m_Pool.ResetAll([](T& o) { o.Reset(); });
    }
    // Resets a handed-out object and makes it free; anything else is ignored.
    void Release(T* object) {
        if (object)
            m_Pool.Give(object, [](T& o) { o.Reset(); });
    }
    u32 GetMaxSize() const { return m_Pool.MaxSize(); }
    u32 GetUsedCount() const { return m_Pool.Used(); }

private:
    PoolStorage<T> m_Pool;
};

class GameVideoAssetFactory {
public:
    static GameVideoAssetFactory* Instance();
    // Deletes the singleton (game end); the next Instance() makes a fresh one.
    static void Destroy();
    virtual ~GameVideoAssetFactory();
    GameVideoAssetFactory(const GameVideoAssetFactory&) = delete;
    GameVideoAssetFactory& operator=(const GameVideoAssetFactory&) = delete;

    // Creates the default pool with the capacity ("GameServices", "FactoryVideoAsset"),
    // replacing and deleting the one before.
    void RegisterVideoAssetFactory();
    GameObjectFactory<VideoAsset>* GetDefaultFactory() const { return m_DefaultFactory; }

private:
    GameVideoAssetFactory() = default;

    GameObjectFactory<VideoAsset>* m_DefaultFactory = nullptr;
};

}  // namespace GameServices::Entities
