#pragma once
// A three-digit score display (the big score board and the family desks): each digit is an
// action whose frame n shows n and whose frame 10 is blank.
#include "gameservices/minigame/BehaviorManager.h"

namespace QZ2011 {

class BehaviorScore : public GameServices::MiniGame::AnimatedBehavior {
public:
    static constexpr const char* kBehaviorFile = "ScoreBehaviors.xml";
    // The largest value the three digits show; larger ones show it.
    static constexpr i32 kMaxShown = 999;

    BehaviorScore(GameServices::Entities::Entity* owner, const TString<char>& entityTemplate);

    // Shows Value when asked: leading zeros of the hundreds and tens blank, the units always
    // shown; a negative value blanks all three.
    void Update(u32 milliseconds) override;
    void Reset() override {}
    TString<char> GetCurrentActionName() const override { return UnitAction; }

    TString<char> BehaviorFilePath;
    TString<char> HundredAction{"Hundred"};
    TString<char> TenAction{"Ten"};
    TString<char> UnitAction{"Unit"};
    i32 Value = -1;
    u8 UpdateRequest = 1;
};

}  // namespace QZ2011
