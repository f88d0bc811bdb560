#pragma once
// A buzzer light: its one animation held on the first frame, held on the last, or played
// once. One request is served per update, in the order of the fields.
#include "gameservices/minigame/BehaviorManager.h"

namespace QZ2011 {

class BehaviorBuzzLight : public GameServices::MiniGame::AnimatedBehavior {
public:
    explicit BehaviorBuzzLight(GameServices::Entities::Entity* owner);

    void Update(u32 milliseconds) override;
    void Reset() override {}
    TString<char> GetCurrentActionName() const override { return LightAction; }

    TString<char> BehaviorFilePath;
    TString<char> LightAction{"AnimIFL"};
    u8 ShowFirstFrameRequest = 0;
    u8 ShowLastFrameRequest = 0;
    u8 PlayOnceRequest = 0;
};

}  // namespace QZ2011
