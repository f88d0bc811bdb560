#include "gameservices/bridge/systems/AnimationPools.h"

#include <algorithm>

#include "engine/core/AGController.h"
#include "gameservices/bridge/systems/EntityAnimations.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SizedPool.h"
#include "gameservices/game/CharacterManager.h"

namespace GameServices::Bridge {

using namespace Entities::VolatileDataKeys;
using KorvoGame::DeletePool;
using KorvoGame::Factory;
using KorvoGame::MakePool;

namespace {

AnimationFactories s_factories;
std::vector<AGController*>* s_controllers = nullptr;
std::vector<PendingKeyRemoval>* s_pending[kAnimationKinds] = {};
EntityAnimationServices s_services;

void DeleteQueues() {
    for (auto*& queue : s_pending) {
        delete queue;
        queue = nullptr;
    }
}

void UpdateEntity(EntityAnimations& record, u32 dt, bool prop) {
    for (EngineAnimationSkin* skin : record.m_Skins)
        skin->Update(dt);
    if (prop) {
        if (record.m_Model && record.m_Model->m_Controller)
            record.m_Model->m_Controller->UpdateBy(f32(dt));
        for (EngineAnimationTexture* texture : record.m_Textures)
            if (texture->m_Controller)
                texture->m_Controller->UpdateBy(f32(dt));
        for (EngineAnimationUV* uv : record.m_UVs)
            if (uv->m_Controller)
                uv->m_Controller->UpdateBy(f32(dt));
    }
    FireEntityAnimationKeys(record);
}

void CleanupEntity(Entities::Entity& entity) {
    EntityAnimations* record = GetEntityAnimations(entity);
    if (!record)
        return;
    ReleaseEntityAnimations(entity, *record);
    GiveBackTo(s_factories.m_Entities, record);
    entity.VolatileDatas.Remove(kANIMATIONS_ENTITY_DATA);
}

}  // namespace

AnimationFactories& GetAnimationFactories() { return s_factories; }

std::vector<PendingKeyRemoval>* GetPendingKeyRemovals(AnimationKind kind) {
    return kind < kAnimationKinds ? s_pending[kind] : nullptr;
}

AGController* NewAnimationController() {
    if (!s_controllers) {
        AGReport("The animation controller list is not made");
        return nullptr;
    }
    auto* controller = new AGController();
    s_controllers->push_back(controller);
    return controller;
}

void ReleaseAnimationController(AGController* controller) {
    if (!s_controllers || !controller)
        return;
    auto it = std::find(s_controllers->begin(), s_controllers->end(), controller);
    if (it == s_controllers->end())
        return;
    delete controller;
    s_controllers->erase(it);
}

u32 GetAnimationControllerCount() { return s_controllers ? u32(s_controllers->size()) : 0; }

void CreateEngineAnimationFactories() {
    // The queues of an earlier call are freed, not lost.
    DeleteQueues();
    for (auto*& queue : s_pending)
        queue = new std::vector<PendingKeyRemoval>();
    u32 capacity = 0;
    MakePool(s_factories.m_Entities, capacity, "FactoryEntityAnimations", "EntityAnimationFactory");
    MakePool(s_factories.m_Skins, capacity, "FactoryEngineAnimationSkin", "EngineSkinAnimationFactory");
    MakePool(s_factories.m_Models, capacity, "FactoryEngineAnimationModel", "EngineModelAnimationFactory");
    MakePool(s_factories.m_Textures, capacity, "FactoryEngineAnimationTexture", "EngineTextureAnimationFactory");
    MakePool(s_factories.m_UVs, capacity, "FactoryEngineAnimationUV", "EnginUVAnimationFactory");
    MakePool(s_factories.m_Cameras, capacity, "FactoryEngineAnimationCamera", "EngineAnimationCameraFactory");
    if (!s_controllers) {
        if (KorvoGame::RuntimeParameters* parameters = KorvoGame::RuntimeParameters::Instance())
            parameters->GetParameter<u32>(&capacity, "GameServices", "FactoryAGStateController");
        s_controllers = new std::vector<AGController*>();
        s_controllers->reserve(std::min<u32>(capacity, Entities::kMaxPoolCapacity));
    }
    MakePool(s_factories.m_Handlers, capacity, "FactoryAnimationHandler", "AnimationHandlerFactory");
}

void DestroyEngineAnimationFactories() {
    DeletePool(s_factories.m_Handlers);
    DeletePool(s_factories.m_Skins);
    DeletePool(s_factories.m_Models);
    DeletePool(s_factories.m_Textures);
    DeletePool(s_factories.m_UVs);
    DeletePool(s_factories.m_Entities);
    DeletePool(s_factories.m_Cameras);
    if (s_controllers) {
        for (AGController* controller : *s_controllers)
            delete controller;
        delete s_controllers;
        s_controllers = nullptr;
    }
    DeleteQueues();
}

void CreateEntityAnimationFactories() {
    // Behaviours play their animations through these from now on.
    if (!KorvoGame::IEntityAnimation::Get())
        KorvoGame::IEntityAnimation::SetInstance(&s_services);
}

void DestroyEntityAnimationFactories() {
    if (KorvoGame::IEntityAnimation::Get() == &s_services)
        KorvoGame::IEntityAnimation::SetInstance(nullptr);
}

void UpdateAnimations(Entities::Set* set, u32 elapsedMs) {
    if (!set)
        return;
    for (Entities::Prop* prop : set->m_Props)
        if (EntityAnimations* record = prop && prop->Visible && prop->Activate ? GetEntityAnimations(*prop) : nullptr)
            UpdateEntity(*record, elapsedMs, true);
    for (Entities::Character* character : set->m_Characters)
        if (EntityAnimations* record =
                character && character->Visible && character->Activate ? GetEntityAnimations(*character) : nullptr)
            UpdateEntity(*record, elapsedMs, false);
    for (Entities::Camera* camera : set->m_Cameras)
        if (EntityAnimations* record = camera && camera->Activate ? GetEntityAnimations(*camera) : nullptr)
            FireEntityAnimationKeys(*record);
    for (Entities::ComponentLevel* level : set->m_ComponentLevels)
        UpdateAnimations(level, elapsedMs);
}

void CleanupAnimations(Entities::Set* set) {
    if (!set)
        return;
    KorvoGame::CharacterManager::Instance()->RemoveAppearances(*set);
    for (Entities::Prop* prop : set->m_Props)
        if (prop)
            CleanupEntity(*prop);
    const std::vector<Entities::Character*> characters = set->m_Characters;
    for (Entities::Character* character : characters)
        if (character)
            CleanupEntity(*character);
    for (Entities::Camera* camera : set->m_Cameras) {
        if (!camera)
            continue;
        CleanupEntity(*camera);
        delete camera->GetAnimationData();
        camera->VolatileDatas.Remove(kANIMATIONS_ENGINE_DATA);
    }
    for (Entities::ComponentLevel* level : set->m_ComponentLevels)
        CleanupAnimations(level);
}

}  // namespace GameServices::Bridge
