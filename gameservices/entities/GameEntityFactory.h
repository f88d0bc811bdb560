#pragma once
// The registry of entity pools: the five default pools of the entity model and further
// pools registered by kind name (keyed by its name id).
#include "engine/core/TString.h"
#include "gameservices/entities/EntityFactory.h"
#include "gameservices/entities/KindRegistry.h"

namespace GameServices::Entities {

class GameEntityFactory {
public:
    // The capacity keys of the default pools ("GameServices" section; absent is capacity 0).
    static constexpr const char* kCameraCapacityKey = "FactoryCamera";
    static constexpr const char* kLightCapacityKey = "FactoryLight";
    static constexpr const char* kPropCapacityKey = "FactoryProp";
    static constexpr const char* kCharacterCapacityKey = "FactoryCharacter";
    static constexpr const char* kSetElementCapacityKey = "FactorySetElement";

    static GameEntityFactory* Instance();
    // Deletes the singleton (game end); the next Instance() makes a fresh one.
    static void Destroy();
    virtual ~GameEntityFactory();
    GameEntityFactory(const GameEntityFactory&) = delete;
    GameEntityFactory& operator=(const GameEntityFactory&) = delete;

    // Creates the camera, light, prop, character and set-element pools with the capacities
    // ("GameServices", "FactoryCamera" ...), each replacing and deleting the one before.
    void RegisterEntityFactories();

    // Registers a pool under a kind name. A different pool registered before under the
    // same name is reset and deleted (the sets using it must have been cleared).
    void RegisterFactory(const TString<char>& kindName, IEntityFactory* factory);
    // The pool of a kind, or null.
    IEntityFactory* GetFactory(u32 kindId) const;
    IEntityFactory* GetFactory(const TString<char>& kindName) const;
    // ResetAll on the kind's pool; "Cannot find the factory!" when there is none.
    void ResetFactory(const TString<char>& kindName);
    // Resets and deletes the kind's pool and forgets the kind.
    void DestroyFactory(const TString<char>& kindName);

    IEntityFactory* GetCameraFactory() const { return m_CameraFactory; }
    IEntityFactory* GetLightFactory() const { return m_LightFactory; }
    IEntityFactory* GetPropFactory() const { return m_PropFactory; }
    IEntityFactory* GetCharacterFactory() const { return m_CharacterFactory; }
    IEntityFactory* GetSetElementFactory() const { return m_SetElementFactory; }

    // The pool that created an entity: preferred first (the default pool of its kind),
    // then the other default pools and the registered kinds. Null when no pool owns it.
    IEntityFactory* FindOwner(const Entity* entity, IEntityFactory* preferred) const;

private:
    GameEntityFactory() = default;

    IEntityFactory* m_CameraFactory = nullptr;
    IEntityFactory* m_LightFactory = nullptr;
    IEntityFactory* m_PropFactory = nullptr;
    IEntityFactory* m_CharacterFactory = nullptr;
    IEntityFactory* m_SetElementFactory = nullptr;
    KindRegistry<IEntityFactory> m_Factories;
};

}  // namespace GameServices::Entities
