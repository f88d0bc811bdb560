#include "gameservices/entities/GameVideoAssetFactory.h"

#include "gameservices/entities/RuntimeParameters.h"

namespace GameServices::Entities {

namespace {
GameVideoAssetFactory* g_GameVideoAssetFactory = nullptr;
}  // namespace

GameVideoAssetFactory* GameVideoAssetFactory::Instance() {
    if (!g_GameVideoAssetFactory)
        g_GameVideoAssetFactory = new GameVideoAssetFactory();
    return g_GameVideoAssetFactory;
}

void GameVideoAssetFactory::Destroy() {
    delete g_GameVideoAssetFactory;
    g_GameVideoAssetFactory = nullptr;
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
