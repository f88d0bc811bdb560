#include "game/presentation/BehaviorBuzzLight.h"

#include "game/presentation/BehaviorStage.h"
#include "gameservices/bridge/FileSystem.h"

namespace QZ2011 {

using GameServices::MiniGame::BehaviorManager;

BehaviorBuzzLight::BehaviorBuzzLight(GameServices::Entities::Entity* owner)
    : AnimatedBehavior(owner, "BuzzLight"),
      BehaviorFilePath(GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_LEVEL_XML,
                                                                      BehaviorStage::kBehaviorFile)) {
    SetEntityTemplate("Light");
}

void BehaviorBuzzLight::Update(u32) {
    BehaviorManager* manager = BehaviorManager::Instance();
    manager->RegisterBehavior(*this);
    if (ShowFirstFrameRequest) {
        ShowFirstFrameRequest = 0;
        manager->ReplayCurrentAction(*this, 1, "startKey", "endKey");
    } else if (ShowLastFrameRequest) {
        ShowLastFrameRequest = 0;
        manager->ReplayCurrentAction(*this, 1, "endKey", "endKey");
    } else if (PlayOnceRequest) {
        PlayOnceRequest = 0;
        manager->ReplayCurrentAction(*this, 3, "startKey", "endKey");
    }
}

}  // namespace QZ2011
