#include "gameservices/entities/GameAudioAssetFactory.h"

#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/RuntimeParameters.h"

namespace GameServices::Entities {

GameAudioAssetFactory* GameAudioAssetFactory::Instance() {
    static GameAudioAssetFactory* s_instance = new GameAudioAssetFactory();
    return s_instance;
}

GameAudioAssetFactory::~GameAudioAssetFactory() {
    delete m_DefaultFactory;
    for (auto& [id, factory] : m_Factories)
        delete factory;
}

void GameAudioAssetFactory::RegisterAudioAssetFactory() {
    IAudioAssetFactory* fresh = new AudioAssetFactory<AudioAsset>(
        KorvoGame::GetFactoryCapacity("FactoryAudioAsset"), "AudioAsset");
    delete m_DefaultFactory;
    m_DefaultFactory = fresh;
}

void GameAudioAssetFactory::RegisterFactory(const TString<char>& kindName,
                                            IAudioAssetFactory* factory) {
    const u32 id = Crc32Hash(kindName.c_str());
    auto it = m_Factories.find(id);
    if (it != m_Factories.end()) {
        if (it->second == factory)
            return;
        delete it->second;
        m_Factories.erase(it);
    }
    if (factory)
        m_Factories[id] = factory;
}

IAudioAssetFactory* GameAudioAssetFactory::GetFactory(u32 kindId) const {
    auto it = m_Factories.find(kindId);
    return it == m_Factories.end() ? nullptr : it->second;
}

IAudioAssetFactory* GameAudioAssetFactory::FindOwner(const AudioAsset* asset) const {
    if (!asset)
        return nullptr;
    if (m_DefaultFactory && m_DefaultFactory->Owns(asset))
        return m_DefaultFactory;
    for (const auto& [id, factory] : m_Factories)
        if (factory && factory->Owns(asset))
            return factory;
    return nullptr;
}

}  // namespace GameServices::Entities
