#include "game/presentation/BehaviorBuzzLight.h"

#include "game/presentation/BehaviorStage.h"
#include "gameservices/bridge/FileSystem.h"

namespace QZ2011 {

using GameServices::MiniGame::BehaviorManager;

BehaviorBuzzLight::BehaviorBuzzLight(GameServices::Entities::Entity* owner)
    : AnimatedBehavior(owner, kBehaviorName),
      BehaviorFilePath(GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_LEVEL_XML,
                                                                      BehaviorStage::kBehaviorFile)) {
    SetEntityTemplate(kTemplate);
}

void BehaviorBuzzLight::Update(u32) {
    BehaviorManager* manager = BehaviorManager::Instance();
    manager->RegisterBehavior(*this);
    if (ShowFirstFrameRequest) {
        ShowFirstFrameRequest = 0;
        manager->ReplayCurrentAction(*this, 1, BehaviorManager::kStartKeyName, BehaviorManager::kEndKeyName);
    } else if (ShowLastFrameRequest) {
        ShowLastFrameRequest = 0;
        manager->ReplayCurrentAction(*this, 1, BehaviorManager::kEndKeyName, BehaviorManager::kEndKeyName);
    } else if (PlayOnceRequest) {
        PlayOnceRequest = 0;
        manager->ReplayCurrentAction(*this, 3, BehaviorManager::kStartKeyName, BehaviorManager::kEndKeyName);
    }
}

}  // namespace QZ2011
