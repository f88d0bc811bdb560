#pragma once
// The animated behaviour of a game-show camera: behaviour "Camera", template "AnimatedCamera"
// of the camera behaviours file. Requests made from sequence events are stored and carried
// out in the behaviour's next update, inside the frame loop.
#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameservices/minigame/BehaviorManager.h"

namespace GameShow {

class GameShowBehaviorCamera : public GameServices::MiniGame::AnimatedBehavior {
public:
    static constexpr const char* kBehaviorFile = "CamerasBehaviors.xml";
    // Its behaviour and template there (the template's first action is the camera's).
    static constexpr const char* kBehaviorName = "Camera";
    static constexpr const char* kTemplate = "AnimatedCamera";
    // The file the camera behaviours are merged from, once for every camera of the run.
    static TString<char> BehaviorFile();

    // Fills the action table; the first action becomes the current one.
    explicit GameShowBehaviorCamera(GameServices::Entities::Entity* camera);

    void Update(u32 milliseconds) override;
    void Reset() override {}
    TString<char> GetCurrentActionName() const override { return currentAction; }

    // The current action once over its whole length.
    void PlayCurrentAction();
    // At the next update, the current action once from its start to the key.
    void RequestReplayToKey(const TString<char>& key);

    TString<char> currentAction;
    bool replayRequested = false;
    TString<char> replayEndKey;
    TString<char> replayStartKey;
    i32 replayPlayMode = 0;
    bool speedRequested = false;
    f32 speed = 0.0f;
    bool listenRequested = false;
    IDelegate* listenDelegate = nullptr;
    TString<char> listenKey;
    bool unlistenRequested = false;
    IDelegate* unlistenDelegate = nullptr;
    TString<char> unlistenKey;
};

}  // namespace GameShow
