#pragma once
// A contestant at the family desk: idle loop, walk-in and wait for the buzzer, the buzz
// gesture, one-shot win and lose gestures (back to the idle loop at their end), think and
// clap gestures, and the entry poses. The match flow writes the requests; one is served per
// update in a fixed priority.
#include <utility>

#include "engine/core/FDelegate.h"
#include "gameservices/minigame/BehaviorManager.h"

namespace QZ2011 {

class QZBehaviorCharacter : public GameServices::MiniGame::AnimatedBehavior {
public:
    static constexpr const char* kBehaviorFile = "Behaviors.xml";
    // Its behaviour there and the templates of the four animation sets.
    static constexpr const char* kBehaviorName = "MaleAvatar";
    enum AnimationSet : u32 { kMale1, kMale2, kFemale1, kFemale2 };
    static constexpr const char* kTemplates[4] = {"CharacterMale1", "CharacterMale2", "CharacterFemale1",
                                                  "CharacterFemale2"};
    // The parameter bound to WalkDuration.
    static constexpr const char* kWalkParameter = "ChangeWalkAnimTime";
    // The actions it plays besides the poses.
    enum Action : u32 {
        kActionIdle, kActionWalk, kActionWaitForBuzz, kActionBuzzLeft, kActionBuzzRight, kActionWinSmall,
        kActionWinSmallFamily, kActionWinMed, kActionWinMedFamily, kActionWinBig, kActionWinBigFamily,
        kActionLoseSmall, kActionLoseSmallFamily, kActionLoseBig, kActionLoseBigFamily, kActionThink,
        kActionThinkFamily, kActionClap, kActionClapFamily, kActionCount
    };
    static constexpr const char* kActions[kActionCount] = {
        "Salutation01", "Walk",         "WaitForBuzz",    "BuzzLeft",  "BuzzRight",     "WinSmall", "WinSmallFamily",
        "WinMed",       "WinMedFamily", "WinBig",         "WinBigFamily", "LoseSmall",   "LoseSmallFamily",
        "LoseBig",      "LoseBigFamily", "Think",         "ThinkFamily", "Clap1",       "ClapFamily1"};
    // A pose action's name: the prefix, the decade, the level and the member slot.
    static constexpr const char* kPosePrefix = "Pose";
    static constexpr const char* kPoseLevels[4] = {"Easy", "Med", "Hard", "Family"};
    static constexpr const char* kPoseSlots[4] = {"M1", "F1", "M2", "F2"};
    static constexpr i32 kDefaultWalkDuration = 2000;

    QZBehaviorCharacter(GameServices::Entities::Entity* owner, const TString<char>& entityTemplate);

    void Update(u32 milliseconds) override;
    // The next update starts from the idle action; an end listener still registered is
    // removed. Requests are kept.
    void Reset() override;
    TString<char> GetCurrentActionName() const override { return CurrentAction; }

    // The pose action of a code (decade base 7000/8000/9000/2000 + 10 x level + slot), or
    // empty for any other code.
    static TString<char> PoseName(i32 poseId);
    // The end of a one-shot gesture: the idle loop.
    void ReturnToIdle();

    TString<char> BehaviorFilePath;
    TString<char> CurrentAction{kActions[kActionIdle]};
    i32 WalkDuration = kDefaultWalkDuration;
    i32 WalkElapsed = 0;
    // 0 until the first update after construction or Reset.
    i32 TotalTime = 0;
    u8 WalkRequest = 0;
    u8 PoseRequest = 0;
    u8 BuzzRequest = 0;
    u8 IdleRequest = 0;
    u8 WaitForBuzzRequest = 0;
    u8 IsWalking = 0;
    u8 WinSmallRequest = 0;
    u8 LoseSmallRequest = 0;
    u8 WinMedRequest = 0;
    u8 LoseBigRequest = 0;
    u8 ThinkRequest = 0;
    u8 WinBigRequest = 0;
    u8 WinSmallFamilyRequest = 0;
    u8 LoseSmallFamilyRequest = 0;
    u8 WinMedFamilyRequest = 0;
    u8 LoseBigFamilyRequest = 0;
    u8 ThinkFamilyRequest = 0;
    u8 WinBigFamilyRequest = 0;
    u8 ClapRequest = 0;
    u8 ClapFamilyRequest = 0;
    i32 PoseId = 0;
    // Set: "BuzzLeft"; clear: "BuzzRight".
    u8 BuzzFromLeft = 0;
    FDelegate<QZBehaviorCharacter> ActionEndDelegate{this, &QZBehaviorCharacter::ReturnToIdle};
    // The action whose end ActionEndDelegate listens to; empty when none.
    TString<char> PendingEndAction;

private:
    // Through the behaviour file's transition, except towards "Walk" and out of the wait
    // and buzz actions, which play directly. Mode -1 is the action's own.
    void PlayCharacterAction(const TString<char>& current, const TString<char>& next, i32 mode, bool returnToIdle);
    void PlayCharacterActionDirect(const TString<char>& next, i32 mode, bool returnToIdle);
    void ListenForEnd(const TString<char>& action);
    void StopListeningForEnd();
    // The first set flag of the list is cleared and its action played; false when none is set.
    bool ServeGesture(const std::pair<u8*, const char*>* gestures, size_t count, i32 mode, bool returnToIdle);
};

}  // namespace QZ2011
