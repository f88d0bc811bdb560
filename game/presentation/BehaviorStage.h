#pragma once
// The animation of a stage dressing prop (lights, walls, screens): one action whose frames
// are chosen by key. A queued replay wins; otherwise a new requested key is shown held once,
// and an emptied one shows the current key again, looping, and is refilled with it.
#include "gameservices/minigame/BehaviorManager.h"

namespace QZ2011 {

class BehaviorStage : public GameServices::MiniGame::AnimatedBehavior {
public:
    // The stage's behaviour file (stage props, the board and the buzzer lights).
    static constexpr const char* kBehaviorFile = "StageBehaviors.xml";
    // Its behaviour and action there; the template is the prop's own ("TemplateBehavior"),
    // kDefaultTemplate until the prop is read.
    static constexpr const char* kBehaviorName = "StageBehavior";
    static constexpr const char* kDefaultTemplate = "board_lights_mat";
    static constexpr const char* kAction = "AnimIFL";
    explicit BehaviorStage(GameServices::Entities::Entity* owner);

    void Update(u32 milliseconds) override;
    void Reset() override {}
    TString<char> GetCurrentActionName() const override { return IflAction; }

    // Queues a replay from startKey to "endKey" in the mode for the next update.
    static void PlayAnimation(const char* startKey, BehaviorStage* stage, i32 mode);
    // The key to show; a queued replay is dropped.
    void SetRequestedKey(const char* key);

    TString<char> BehaviorFilePath;
    TString<char> IflAction{kAction};
    TString<char> CurrentKey{GameServices::MiniGame::BehaviorManager::kStartKeyName};
    TString<char> RequestedKey{GameServices::MiniGame::BehaviorManager::kStartKeyName};
    u8 PlayRequest = 0;
    TString<char> PlayStartKey;
    TString<char> PlayEndKey;
    i32 PlayMode = 0;
};

}  // namespace QZ2011
