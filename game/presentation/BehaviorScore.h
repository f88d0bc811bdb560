#pragma once
// A three-digit score display (the big score board and the family desks): each digit is an
// action whose frame n shows n and whose frame 10 is blank.
#include "gameservices/minigame/BehaviorManager.h"

namespace QZ2011 {

class BehaviorScore : public GameServices::MiniGame::AnimatedBehavior {
public:
    static constexpr const char* kBehaviorFile = "ScoreBehaviors.xml";
    // Its behaviour there, the templates of the board and the desks, and the digits' actions
    // (hundreds, tens, units).
    static constexpr const char* kBehaviorName = "ScoreBehavior";
    enum Template : u32 { kBoardTemplate, kDeskTemplate };
    static constexpr const char* kTemplates[2] = {"BoardScore", "DeskScore"};
    static constexpr const char* kDigitActions[3] = {"Hundred", "Ten", "Unit"};
    // The largest value the three digits show; larger ones show it.
    static constexpr i32 kMaxShown = 999;

    BehaviorScore(GameServices::Entities::Entity* owner, const TString<char>& entityTemplate);

    // Shows Value when asked: leading zeros of the hundreds and tens blank, the units always
    // shown; a negative value blanks all three.
    void Update(u32 milliseconds) override;
    void Reset() override {}
    TString<char> GetCurrentActionName() const override { return UnitAction; }

    TString<char> BehaviorFilePath;
    TString<char> HundredAction{kDigitActions[0]};
    TString<char> TenAction{kDigitActions[1]};
    TString<char> UnitAction{kDigitActions[2]};
    i32 Value = -1;
    u8 UpdateRequest = 1;
};

}  // namespace QZ2011
