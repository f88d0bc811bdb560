#include "game/presentation/QZBehaviorCharacter.h"

#include <iterator>
#include <utility>

#include "gameservices/bridge/FileSystem.h"

namespace QZ2011 {

using GameServices::MiniGame::BehaviorManager;

namespace {
constexpr const char* kIdle = QZBehaviorCharacter::kActions[QZBehaviorCharacter::kActionIdle];
constexpr const char* kWalk = QZBehaviorCharacter::kActions[QZBehaviorCharacter::kActionWalk];
constexpr const char* kWaitForBuzz = QZBehaviorCharacter::kActions[QZBehaviorCharacter::kActionWaitForBuzz];
constexpr const char* kBuzzLeft = QZBehaviorCharacter::kActions[QZBehaviorCharacter::kActionBuzzLeft];
constexpr const char* kBuzzRight = QZBehaviorCharacter::kActions[QZBehaviorCharacter::kActionBuzzRight];
constexpr i32 kOwnMode = -1;
constexpr i32 kModeOnce = 3;
constexpr i32 kModeLoop = 4;
}  // namespace

QZBehaviorCharacter::QZBehaviorCharacter(GameServices::Entities::Entity* owner, const TString<char>& entityTemplate)
    : AnimatedBehavior(owner, kBehaviorName),
      BehaviorFilePath(
          GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_LEVEL_XML, kBehaviorFile)) {
    SetEntityTemplate(entityTemplate);
    BehaviorManager* manager = BehaviorManager::Instance();
    manager->InitializeBehavior(*this, BehaviorFilePath);
    manager->BindParameter(*this, kWalkParameter, &WalkDuration);
}

TString<char> QZBehaviorCharacter::PoseName(i32 poseId) {
    const char* decade = nullptr;
    switch (poseId / 1000) {
    case 2:
        decade = "00";
        break;
    case 7:
        decade = "70";
        break;
    case 8:
        decade = "80";
        break;
    case 9:
        decade = "90";
        break;
    default:
        return TString<char>();
    }
    const i32 rest = poseId % 1000;
    const i32 level = rest / 10;
    const i32 slot = rest % 10;
    if (rest >= 40 || slot >= 4)
        return TString<char>();
    TString<char> name(kPosePrefix);
    name += decade;
    name += kPoseLevels[level];
    name += kPoseSlots[slot];
    return name;
}

void QZBehaviorCharacter::StopListeningForEnd() {
    if (PendingEndAction.IsEmpty())
        return;
    BehaviorManager::Instance()->UnlistenActionKey(*this, PendingEndAction, BehaviorManager::kEndKeyName, &ActionEndDelegate);
    PendingEndAction = "";
}

void QZBehaviorCharacter::ListenForEnd(const TString<char>& action) {
    StopListeningForEnd();
    PendingEndAction = action;
    BehaviorManager::Instance()->ListenActionEnd(*this, action, &ActionEndDelegate);
}

void QZBehaviorCharacter::PlayCharacterActionDirect(const TString<char>& next, i32 mode, bool returnToIdle) {
    StopListeningForEnd();
    BehaviorManager* manager = BehaviorManager::Instance();
    if (mode == kOwnMode)
        manager->PlayAction(*this, next);
    else
        manager->PlayActionBetweenKeys(*this, next, mode, "", "");
    CurrentAction = next;
    if (returnToIdle)
        ListenForEnd(next);
}

void QZBehaviorCharacter::PlayCharacterAction(const TString<char>& current, const TString<char>& next, i32 mode,
                                              bool returnToIdle) {
    if (next == kWalk || current == kWaitForBuzz || current == kBuzzLeft || current == kBuzzRight) {
        PlayCharacterActionDirect(next, mode, returnToIdle);
        return;
    }
    StopListeningForEnd();
    BehaviorManager::Instance()->PlayTransition(*this, current, next, mode, "", "");
    CurrentAction = next;
    if (returnToIdle)
        ListenForEnd(next);
}

void QZBehaviorCharacter::ReturnToIdle() {
    PlayCharacterAction(CurrentAction, kIdle, kModeLoop, false);
}

bool QZBehaviorCharacter::ServeGesture(const std::pair<u8*, const char*>* gestures, size_t count, i32 mode,
                                       bool returnToIdle) {
    for (size_t i = 0; i < count; ++i) {
        if (!*gestures[i].first)
            continue;
        *gestures[i].first = 0;
        const TString<char> current = CurrentAction;
        PlayCharacterAction(current, gestures[i].second, mode, returnToIdle);
        return true;
    }
    return false;
}

void QZBehaviorCharacter::Update(u32 milliseconds) {
    BehaviorManager* manager = BehaviorManager::Instance();
    manager->RegisterBehavior(*this);
    if (TotalTime == 0) {
        StopListeningForEnd();
        manager->PlayAction(*this, kIdle);
        CurrentAction = kIdle;
    }
    TotalTime += i32(milliseconds);
    if (WalkRequest) {
        WalkElapsed = 0;
        StopListeningForEnd();
        manager->PlayAction(*this, kWalk);
        CurrentAction = kWalk;
        WalkRequest = 0;
        IsWalking = 1;
        return;
    }
    const std::pair<u8*, const char*> results[] = {
        {&WinSmallRequest, kActions[kActionWinSmall]},   {&WinSmallFamilyRequest, kActions[kActionWinSmallFamily]},
        {&WinMedRequest, kActions[kActionWinMed]},       {&WinMedFamilyRequest, kActions[kActionWinMedFamily]},
        {&WinBigRequest, kActions[kActionWinBig]},       {&WinBigFamilyRequest, kActions[kActionWinBigFamily]},
        {&LoseSmallRequest, kActions[kActionLoseSmall]}, {&LoseSmallFamilyRequest, kActions[kActionLoseSmallFamily]},
        {&LoseBigRequest, kActions[kActionLoseBig]},     {&LoseBigFamilyRequest, kActions[kActionLoseBigFamily]}};
    if (ServeGesture(results, std::size(results), kModeOnce, true))
        return;
    const std::pair<u8*, const char*> others[] = {{&ThinkRequest, kActions[kActionThink]},
                                                  {&ThinkFamilyRequest, kActions[kActionThinkFamily]},
                                                  {&ClapRequest, kActions[kActionClap]},
                                                  {&ClapFamilyRequest, kActions[kActionClapFamily]}};
    if (ServeGesture(others, std::size(others), kOwnMode, false))
        return;
    if (PoseRequest) {
        const TString<char> pose = PoseName(PoseId);
        if (!pose.IsEmpty())
            PlayCharacterActionDirect(pose, kOwnMode, false);
        PoseRequest = 0;
        return;
    }
    // Only a running walk ends: a duration of 0 or less from the behaviour file must not
    // replay the wait at every update and starve the requests below.
    if (IsWalking && WalkElapsed >= WalkDuration) {
        IsWalking = 0;
        WalkElapsed = 0;
        PlayCharacterAction(kWalk, kWaitForBuzz, kModeLoop, false);
        return;
    }
    if (WaitForBuzzRequest) {
        WaitForBuzzRequest = 0;
        const TString<char> current = CurrentAction;
        PlayCharacterAction(current, kWaitForBuzz, kOwnMode, false);
        return;
    }
    if (BuzzRequest) {
        BuzzRequest = 0;
        const TString<char> current = CurrentAction;
        PlayCharacterAction(current, BuzzFromLeft ? kBuzzLeft : kBuzzRight, kOwnMode, false);
        return;
    }
    if (IsWalking) {
        WalkElapsed += i32(milliseconds);
        return;
    }
    if (IdleRequest) {
        IdleRequest = 0;
        const TString<char> current = CurrentAction;
        PlayCharacterAction(current, kIdle, kOwnMode, false);
    }
}

void QZBehaviorCharacter::Reset() {
    StopListeningForEnd();
    WalkElapsed = 0;
    TotalTime = 0;
    CurrentAction = kIdle;
}

}  // namespace QZ2011
