#include "gameshow/Sequencers.h"

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameshow/GameShowCamera.h"

namespace GameShow {

void EntitySequencer::onSequenceEvent(const TString<char>& name, const TString<char>& target,
                                      const TString<char>& parameter) {
    ISequenceableEntity** entity = m_Entities.Find(Crc32Hash(target.c_str()));
    if (entity && *entity)
        (*entity)->onSequenceEvent(name, parameter);
    else
        AGReport("EntitySequencer : can't find the Sequenceable Entity called '%s' !!!", target.c_str());
}

void CameraSequencer::onSequenceEvent(const TString<char>& name, const TString<char>& target,
                                      const TString<char>&) {
    if (!m_Set) {
        AGReport("CameraSequencer::onSequenceEvent : the set is NULL !!! Did you forget to initialize it ?");
        return;
    }
    GameServices::Entities::Camera* camera = m_Set->FindCamera(target);
    if (!camera) {
        AGReport("CameraSequencer::onSequenceEvent : can't find the camera '%s'", target.c_str());
        return;
    }
    if (name != "SetActiveCamera")
        return;
    if (!camera->Activate)
        camera->Initialize();
    camera->Activate = true;
    // The rendering system brings the camera up to date at its next update.
    camera->Synchronize = true;
}

void GameShowCameraSequencer::onInitialize(GameServices::Entities::Set* set) {
    if (!set)
        AGReport("GameShowCameraSequencer::onInitialize : the set is NULL !!!");
    m_Set = set;
    GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get();
    GameServices::Entities::Set* level = game ? game->GetCurrentLevel() : set;
    GameShowCameraManager* cameras = GameShowCameraManager::Instance();
    cameras->SetSet(level);
    cameras->SetActiveCamera(level ? dynamic_cast<GameShowCamera*>(level->GetActiveCamera()) : nullptr);
}

void GameShowCameraSequencer::onSequenceEvent(const TString<char>& name, const TString<char>& target,
                                              const TString<char>&) {
    if (!m_Set) {
        AGReport("GameShowCameraSequencer::onSequenceEvent : the set is NULL !!! Did you forget to initialize it ?");
        return;
    }
    if (!m_Set->FindCamera(target))
        return;
    if (name == "SetActiveCamera")
        GameShowCameraManager::Instance()->SetActiveCamera(target);
    else if (name == "PlayCameraAnimation")
        GameShowCameraManager::Instance()->PlayCameraAnimation();
}

}  // namespace GameShow
