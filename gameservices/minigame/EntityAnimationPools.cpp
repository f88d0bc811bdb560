#include "gameservices/minigame/EntityAnimationPools.h"

#include "gameservices/entities/SizedPool.h"
#include "gameservices/minigame/EntityController.h"
#include "gameservices/widget/Screen.h"

namespace GameServices::MiniGame {

using KorvoGame::DeletePool;
using KorvoGame::Factory;
using KorvoGame::MakePool;

namespace {

EntityControllerPools s_pools;

template <typename T>
void GiveBack(Factory<T>* pool, T* object) {
    if (pool && object)
        pool->Free(object);
}

// A screen's reset hands its controllers back here; anything that is no entity controller is
// not the pools' to take.
void ReleaseScreenController(Entities::Behavior* behavior) {
    if (auto* controller = dynamic_cast<EntityController*>(behavior))
        ReleaseEntityController(controller);
}

}  // namespace

EntityControllerPools& GetEntityControllerPools() { return s_pools; }

void CreateEntityControllerPools() {
    u32 capacity = 0;
    MakePool(s_pools.m_Storyboards, capacity, "FactoryEntityAnimationStoryboard", "EntityAnimationStoryboard");
    MakePool(s_pools.m_Animations, capacity, "FactoryEntityAnimation", "EntityAnimation");
    MakePool(s_pools.m_KeyFrames, capacity, "FactoryEntityAnimationKeyFrame", "EntityAnimationKeyFrame");
    MakePool(s_pools.m_Controllers, capacity, "FactoryEntityController", "EntityController");
    Widget::Screen::SetControllerRelease(&ReleaseScreenController);
}

void DestroyEntityControllerPools() {
    Widget::Screen::SetControllerRelease(nullptr);
    DeletePool(s_pools.m_Storyboards);
    DeletePool(s_pools.m_Animations);
    DeletePool(s_pools.m_KeyFrames);
    DeletePool(s_pools.m_Controllers);
}

void ReleaseEntityController(EntityController* controller) {
    if (!controller)
        return;
    if (EntityAnimationStoryboard* storyboard = controller->m_Storyboard) {
        for (EntityAnimation* animation : storyboard->m_Animations) {
            if (!animation)
                continue;
            for (EntityAnimationKeyFrame* frame : animation->m_KeyFrames)
                GiveBack(s_pools.m_KeyFrames, frame);
            animation->Reset();
            GiveBack(s_pools.m_Animations, animation);
        }
        storyboard->m_Animations.clear();
        GiveBack(s_pools.m_Storyboards, storyboard);
    }
    controller->m_Storyboard = nullptr;
    controller->m_Active.clear();
    controller->m_Pending.clear();
    GiveBack(s_pools.m_Controllers, controller);
}

}  // namespace GameServices::MiniGame
