#include "gameservices/entities/GameAudioAssetFactory.h"

#include "gameservices/entities/RuntimeParameters.h"

namespace GameServices::Entities {

namespace {
GameAudioAssetFactory* g_GameAudioAssetFactory = nullptr;
}  // namespace

GameAudioAssetFactory* GameAudioAssetFactory::Instance() {
    if (!g_GameAudioAssetFactory)
        g_GameAudioAssetFactory = new GameAudioAssetFactory();
    return g_GameAudioAssetFactory;
}

void GameAudioAssetFactory::Destroy() {
    delete g_GameAudioAssetFactory;
    g_GameAudioAssetFactory = nullptr;
}

GameAudioAssetFactory::~GameAudioAssetFactory() {
    delete m_DefaultFactory;
}

void GameAudioAssetFactory::RegisterAudioAssetFactory() {
    IAudioAssetFactory* fresh = new AudioAssetFactory<AudioAsset>(
        KorvoGame::GetFactoryCapacity("FactoryAudioAsset"), "AudioAsset");
    delete m_DefaultFactory;
    m_DefaultFactory = fresh;
}

void GameAudioAssetFactory::RegisterFactory(const TString<char>& kindName,
                                            IAudioAssetFactory* factory) {
    m_Factories.Register(kindName, factory);
}

IAudioAssetFactory* GameAudioAssetFactory::GetFactory(u32 kindId) const {
    return m_Factories.Get(kindId);
}

IAudioAssetFactory* GameAudioAssetFactory::FindOwner(const AudioAsset* asset) const {
    if (!asset)
        return nullptr;
    if (m_DefaultFactory && m_DefaultFactory->Owns(asset))
        return m_DefaultFactory;
    return m_Factories.FindOwner(asset);
}

}  // namespace GameServices::Entities
