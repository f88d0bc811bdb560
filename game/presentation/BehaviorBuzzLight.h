#pragma once
// A buzzer light: its one animation held on the first frame, held on the last, or played
// once. One request is served per update, in the order of the fields.
#include "gameservices/minigame/BehaviorManager.h"

namespace QZ2011 {

class BehaviorBuzzLight : public GameServices::MiniGame::AnimatedBehavior {
public:
    // Its behaviour, template and action in the stage's behaviour file.
    static constexpr const char* kBehaviorName = "BuzzLight";
    static constexpr const char* kTemplate = "Light";
    static constexpr const char* kAction = "AnimIFL";

    explicit BehaviorBuzzLight(GameServices::Entities::Entity* owner);

    void Update(u32 milliseconds) override;
    void Reset() override {}
    TString<char> GetCurrentActionName() const override { return LightAction; }

    TString<char> BehaviorFilePath;
    TString<char> LightAction{kAction};
    u8 ShowFirstFrameRequest = 0;
    u8 ShowLastFrameRequest = 0;
    u8 PlayOnceRequest = 0;
};

}  // namespace QZ2011
