#include "game/presentation/BehaviorStage.h"

#include "gameservices/bridge/FileSystem.h"

namespace QZ2011 {

using GameServices::MiniGame::BehaviorManager;

namespace {
constexpr i32 kStageModePause = 1;
constexpr i32 kStageModeLoop = 4;
}  // namespace

BehaviorStage::BehaviorStage(GameServices::Entities::Entity* owner)
    : AnimatedBehavior(owner, kBehaviorName),
      BehaviorFilePath(GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_LEVEL_XML,
                                                                      BehaviorStage::kBehaviorFile)) {
    SetEntityTemplate(kDefaultTemplate);
}

void BehaviorStage::Update(u32) {
    BehaviorManager* manager = BehaviorManager::Instance();
    manager->RegisterBehavior(*this);
    if (PlayRequest) {
        manager->ReplayCurrentAction(*this, PlayMode, PlayStartKey, PlayEndKey);
        PlayRequest = 0;
        return;
    }
    if (!RequestedKey.IsEmpty()) {
        if (RequestedKey != CurrentKey) {
            manager->ReplayCurrentAction(*this, kStageModePause, RequestedKey, BehaviorManager::kEndKeyName);
            CurrentKey = RequestedKey;
        }
    } else if (!CurrentKey.IsEmpty()) {
        manager->PlayActionBetweenKeys(*this, IflAction, kStageModeLoop, CurrentKey, CurrentKey);
        RequestedKey = CurrentKey;
    }
}

void BehaviorStage::PlayAnimation(const char* startKey, BehaviorStage* stage, i32 mode) {
    if (!stage)
        return;
    stage->PlayRequest = 1;
    stage->PlayStartKey = startKey ? startKey : "";
    stage->PlayEndKey = BehaviorManager::kEndKeyName;
    stage->PlayMode = mode;
}

void BehaviorStage::SetRequestedKey(const char* key) {
    RequestedKey = key ? key : "";
    PlayRequest = 0;
}

}  // namespace QZ2011
