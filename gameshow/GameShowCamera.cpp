#include "gameshow/GameShowCamera.h"

#include "engine/core/AGLog.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"

namespace GameShow {

using GameServices::Entities::Camera;
using GameServices::KorvoGame::ICurrentGame;

void sGameShowApplicationDataCameras::Serialize(GameServices::Utilities::ISerialization& serialization) {
    serialization.SerializeString("EndKey", EndKey, "");
}

GameServices::KorvoGame::ApplicationData* sGameShowApplicationDataCameras::Clone() const {
    auto* copy = new sGameShowApplicationDataCameras();
    copy->EndKey = EndKey;
    return copy;
}

namespace {
constexpr u32 kBehaviorCameraKey = Crc32Hash(GameShowBehaviorCamera::kBehaviorName);
}

GameShowCamera::GameShowCamera() {
    Behaviors.m_Map[kBehaviorCameraKey] = &m_BehaviorCamera;
}

GameShowCamera::GameShowCamera(const TString<char>& name) : Camera(name) {
    Behaviors.m_Map[kBehaviorCameraKey] = &m_BehaviorCamera;
}

GameShowCamera::~GameShowCamera() {
    Unsubscribe();
    // The manager must not keep a camera that is gone.
    if (GameShowCameraManager::Instance()->GetActiveCamera() == this)
        GameShowCameraManager::Instance()->SetActiveCamera(nullptr);
    Behaviors.m_Map.erase(kBehaviorCameraKey);
}

bool GameShowCamera::IsA(const u32& typeId) const {
    return typeId == kTypeId || typeId == GameServices::Entities::TypeIds::Camera;
}

void GameShowCamera::Initialize() {
    m_EndKey = "";
    auto it = Attributes.m_Map.find(GameServices::Entities::TypeIds::ApplicationDataKey);
    auto* data = it == Attributes.m_Map.end() ? nullptr
                                              : dynamic_cast<sGameShowApplicationDataCameras*>(it->second);
    if (data)
        m_EndKey = data->EndKey;
    else
        AGReport("Missing applicationData  for the Camera!");
    m_BehaviorCamera.PlayCurrentAction();
    // Initialized again without a reset (a camera activated twice), it stays on once.
    if (m_FrameEvent)
        return;
    ICurrentGame* game = ICurrentGame::Get();
    GameServices::KorvoGame::GameFlowManager* flow = game ? game->GetGameFlowManager() : nullptr;
    if (!flow) {
        AGReport("GameShowCamera::Initialize : no game flow to update the camera '%s'", Name.c_str());
        return;
    }
    m_FrameEvent = &flow->GetFrameEvent();
    m_FrameEvent->AddDelegate(&m_UpdateDelegate);
}

void GameShowCamera::Reset() {
    Camera::Reset();
    Unsubscribe();
}

void GameShowCamera::Unsubscribe() {
    if (!m_FrameEvent)
        return;
    // The game flow may have gone before its pooled cameras; only a live one is touched.
    ICurrentGame* game = ICurrentGame::Get();
    GameServices::KorvoGame::GameFlowManager* flow = game ? game->GetGameFlowManager() : nullptr;
    if (flow && &flow->GetFrameEvent() == m_FrameEvent)
        m_FrameEvent->RemoveDelegate(&m_UpdateDelegate);
    m_FrameEvent = nullptr;
}

void GameShowCamera::UpdateBehaviors(u32 milliseconds) {
    for (auto& [id, behavior] : Behaviors.m_Map)
        if (behavior)
            behavior->Update(milliseconds);
}

GameShowCameraManager* GameShowCameraManager::Instance() {
    static GameShowCameraManager manager;
    return &manager;
}

void GameShowCameraManager::SetActiveCamera(const TString<char>& name) {
    GameShowCamera* camera = m_Set ? dynamic_cast<GameShowCamera*>(m_Set->FindCamera(name)) : nullptr;
    if (!camera) {
        AGReport("GameShowCameraManager::SetActiveCamera : no game-show camera '%s' in the set", name.c_str());
        return;
    }
    if (m_ActiveCamera) {
        m_ActiveCamera->Activate = false;
        m_ActiveCamera->Reset();
        m_ActiveCamera->Synchronize = false;
    }
    m_ActiveCamera = camera;
    camera->Activate = true;
    camera->Initialize();
    // Left out of date: the rendering system pushes it at its next update and draws through it.
    camera->Synchronize = false;
}

void GameShowCameraManager::PlayCameraAnimation() {
    if (m_ActiveCamera)
        m_ActiveCamera->GetBehaviorCamera().RequestReplayToKey(m_ActiveCamera->GetEndKey());
}

}  // namespace GameShow
