#include "gameservices/entities/GameAudioAssetFactory.h"

#include "gameservices/entities/RuntimeParameters.h"

namespace GameServices::Entities {

GameAudioAssetFactory* GameAudioAssetFactory::Instance() {
    static GameAudioAssetFactory* s_instance = new GameAudioAssetFactory();
    return s_instance;
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

}  // namespace GameServices::Entities
