#include "gameservices/entities/GameEntityFactory.h"

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/entities/SetElement.h"

namespace GameServices::Entities {

namespace {

template <typename T>
void ReplacePool(IEntityFactory*& slot, const char* parameter, const char* prefix) {
    IEntityFactory* fresh = new EntityFactory<T>(KorvoGame::GetFactoryCapacity(parameter), prefix);
    delete slot;
    slot = fresh;
}

}  // namespace

namespace {
GameEntityFactory* g_GameEntityFactory = nullptr;
}  // namespace

GameEntityFactory* GameEntityFactory::Instance() {
    if (!g_GameEntityFactory)
        g_GameEntityFactory = new GameEntityFactory();
    return g_GameEntityFactory;
}

void GameEntityFactory::Destroy() {
    delete g_GameEntityFactory;
    g_GameEntityFactory = nullptr;
}

GameEntityFactory::~GameEntityFactory() {
    delete m_CameraFactory;
    delete m_LightFactory;
    delete m_PropFactory;
    delete m_CharacterFactory;
    delete m_SetElementFactory;
}

void GameEntityFactory::RegisterEntityFactories() {
    ReplacePool<Camera>(m_CameraFactory, kCameraCapacityKey, "Camera");
    ReplacePool<Light>(m_LightFactory, kLightCapacityKey, "Light");
    ReplacePool<Prop>(m_PropFactory, kPropCapacityKey, "Prop");
    ReplacePool<Character>(m_CharacterFactory, kCharacterCapacityKey, "Character");
    ReplacePool<SetElement>(m_SetElementFactory, kSetElementCapacityKey, "SetElement");
}

void GameEntityFactory::RegisterFactory(const TString<char>& kindName, IEntityFactory* factory) {
    // The pool's destructor resets every entity before deleting it.
    m_Factories.Register(kindName, factory);
}

IEntityFactory* GameEntityFactory::GetFactory(u32 kindId) const {
    return m_Factories.Get(kindId);
}

IEntityFactory* GameEntityFactory::GetFactory(const TString<char>& kindName) const {
    return GetFactory(Crc32Hash(kindName.c_str()));
}

void GameEntityFactory::ResetFactory(const TString<char>& kindName) {
    IEntityFactory* factory = GetFactory(kindName);
    if (!factory) {
        AGReport("Cannot find the factory!");
        return;
    }
    factory->ResetAll();
}

void GameEntityFactory::DestroyFactory(const TString<char>& kindName) {
    // Forgetting the kind keeps a later ResetFactory of it from reaching a deleted pool.
    IEntityFactory* factory = m_Factories.Take(Crc32Hash(kindName.c_str()));
    if (!factory) {
        AGReport("Cannot find the factory!");
        return;
    }
    delete factory;
}

IEntityFactory* GameEntityFactory::FindOwner(const Entity* entity,
                                             IEntityFactory* preferred) const {
    if (!entity)
        return nullptr;
    if (preferred && preferred->Owns(entity))
        return preferred;
    for (IEntityFactory* factory : {m_CameraFactory, m_LightFactory, m_PropFactory,
                                    m_CharacterFactory, m_SetElementFactory})
        if (factory && factory != preferred && factory->Owns(entity))
            return factory;
    return m_Factories.FindOwner(entity);
}

}  // namespace GameServices::Entities
