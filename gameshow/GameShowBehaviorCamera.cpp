#include "gameshow/GameShowBehaviorCamera.h"

#include "gameservices/bridge/FileSystem.h"

namespace GameShow {

namespace {
constexpr i32 kPlayOnce = 3;
}

using GameServices::MiniGame::BehaviorManager;

TString<char> GameShowBehaviorCamera::BehaviorFile() {
    return GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_GLOBAL_XML,
                                                         kBehaviorFile);
}

GameShowBehaviorCamera::GameShowBehaviorCamera(GameServices::Entities::Entity* camera)
    : AnimatedBehavior(camera, kBehaviorName) {
    SetEntityTemplate(kTemplate);
    BehaviorManager::Instance()->InitializeBehavior(*this, BehaviorFile());
    // Nothing else names the action to play: the template's first one is the camera's.
    if (!m_Actions.empty())
        currentAction = m_Actions.front().m_Name;
}

void GameShowBehaviorCamera::PlayCurrentAction() {
    BehaviorManager::Instance()->PlayActionBetweenKeys(*this, currentAction, kPlayOnce, "", "");
}

void GameShowBehaviorCamera::RequestReplayToKey(const TString<char>& key) {
    replayRequested = true;
    replayEndKey = key;
    replayStartKey = BehaviorManager::kStartKeyName;
    replayPlayMode = kPlayOnce;
}

void GameShowBehaviorCamera::Update(u32) {
    BehaviorManager* behaviors = BehaviorManager::Instance();
    if (replayRequested) {
        replayRequested = false;
        behaviors->ReplayCurrentAction(*this, replayPlayMode, replayStartKey, replayEndKey);
    }
    if (speedRequested) {
        speedRequested = false;
        behaviors->SetCurrentActionSpeed(*this, speed);
    }
    if (listenRequested) {
        listenRequested = false;
        behaviors->ListenCurrentActionKey(*this, listenKey, listenDelegate);
    }
    if (unlistenRequested) {
        unlistenRequested = false;
        behaviors->UnlistenCurrentActionKey(*this, unlistenKey, unlistenDelegate);
    }
}

}  // namespace GameShow
