#include "gameservices/entities/GameVideoAssetFactory.h"

#include "gameservices/entities/RuntimeParameters.h"

namespace GameServices::Entities {

GameVideoAssetFactory* GameVideoAssetFactory::Instance() {
    static GameVideoAssetFactory* s_instance = new GameVideoAssetFactory();
    return s_instance;
}

GameVideoAssetFactory::~GameVideoAssetFactory() {
    delete m_DefaultFactory;
}

void GameVideoAssetFactory::RegisterVideoAssetFactory() {
    auto* fresh = new GameObjectFactory<VideoAsset>(
        KorvoGame::GetFactoryCapacity("FactoryVideoAsset"), "VideoAsset");
    delete m_DefaultFactory;
    m_DefaultFactory = fresh;
}

}  // namespace GameServices::Entities
