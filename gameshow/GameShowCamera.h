#pragma once
// Game-show cameras: level cameras that carry a camera behaviour and the animation key they
// play to, and the manager of the one that is active.
#include "engine/core/Crc32Hash.h"
#include "engine/core/FDelegate.h"
#include "engine/core/FHandler.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/game/ApplicationData.h"
#include "gameshow/GameShowBehaviorCamera.h"

namespace GameServices::Entities {
class Set;
}

namespace GameShow {

// The application data of a game-show camera record: <ApplicationData><EndKey>..</EndKey>.
class sGameShowApplicationDataCameras : public GameServices::KorvoGame::ApplicationData {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;
    void Clear() override { EndKey = ""; }
    ApplicationData* Clone() const override;

    TString<char> EndKey;
};

class GameShowCamera : public GameServices::Entities::Camera {
public:
    static constexpr u32 kTypeId = Crc32Hash("GameShowCamera");

    GameShowCamera();
    explicit GameShowCamera(const TString<char>& name);
    ~GameShowCamera() override;

    bool IsA(const u32& typeId) const override;
    // Reads the end key, starts the camera animation and updates the behaviours every frame.
    void Initialize() override;
    // Stops the per-frame updates.
    void Reset() override;

    const TString<char>& GetEndKey() const { return m_EndKey; }
    GameShowBehaviorCamera& GetBehaviorCamera() { return m_BehaviorCamera; }

private:
    void UpdateBehaviors(u32 milliseconds);
    void Unsubscribe();

    ProcessDelegate<GameShowCamera> m_UpdateDelegate{this, &GameShowCamera::UpdateBehaviors};
    GameShowBehaviorCamera m_BehaviorCamera{this};
    TString<char> m_EndKey;
    // The frame event the update delegate is on; null while it is on none.
    FHandlerParam<u32>* m_FrameEvent = nullptr;
};

class GameShowCameraManager {
public:
    // Made on first use and kept for the run.
    static GameShowCameraManager* Instance();

    void SetSet(GameServices::Entities::Set* set) { m_Set = set; }
    GameServices::Entities::Set* GetSet() const { return m_Set; }
    // Makes the camera active as it is, without initializing it.
    void SetActiveCamera(GameShowCamera* camera) { m_ActiveCamera = camera; }
    GameShowCamera* GetActiveCamera() const { return m_ActiveCamera; }

    // Switches to the set's game-show camera of that name; any other name leaves the active
    // camera as it is.
    void SetActiveCamera(const TString<char>& name);
    // Replays the active camera's animation up to its end key.
    void PlayCameraAnimation();

private:
    GameServices::Entities::Set* m_Set = nullptr;
    GameShowCamera* m_ActiveCamera = nullptr;
};

}  // namespace GameShow
