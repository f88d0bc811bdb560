#include "game/presentation/BoardBehavior.h"

#include "game/presentation/Board.h"

namespace QZ2011 {

using GameServices::MiniGame::BehaviorManager;

namespace {
constexpr i32 kBoardModePause = 1;
constexpr i32 kBoardModeOnce = 3;
}  // namespace

BoardBehavior::BoardBehavior(GameServices::Entities::Entity* owner)
    : AnimatedBehavior(owner, kBehaviorName), CurrentAction(kFrontAction) {
    SetEntityTemplate(Board::kParts[0]);
}

void BoardBehavior::StopWaiting() {
    if (WaitingForStartIFL)
        BehaviorManager::Instance()->UnlistenCurrentActionKey(*this, kStartIFL, &KeyDelegate);
    WaitingForStartIFL = 0;
}

void BoardBehavior::Update(u32) {
    BehaviorManager* manager = BehaviorManager::Instance();
    if (FlipRequest) {
        FlipRequest = 0;
        StopWaiting();
        manager->PlayActionBetweenKeys(*this, CurrentAction, kBoardModeOnce, "", "");
        if (FlipToBack) {
            manager->ListenCurrentActionKey(*this, kStartIFL, &KeyDelegate);
            WaitingForStartIFL = 1;
        }
    } else if (ShowBackRequest) {
        ShowBackRequest = 0;
        manager->PlayActionBetweenKeys(*this, kBackAction, kBoardModeOnce, BehaviorManager::kStartKeyName, "");
    } else if (ShowFrontRequest) {
        ShowFrontRequest = 0;
        manager->PlayActionBetweenKeys(*this, CurrentAction, kBoardModePause, BehaviorManager::kStartKeyName, "");
    } else if (BuzzRequest) {
        BuzzRequest = 0;
        manager->PlayActionBetweenKeys(*this, kBuzzAction, kBoardModeOnce, "", "");
    }
}

void BoardBehavior::Reset() {
    // A pooled block outlives its level's animations only without a listener left behind.
    StopWaiting();
    CurrentAction = kFrontAction;
    FlipRequest = ShowBackRequest = ShowFrontRequest = BuzzRequest = FlipToBack = 0;
}

void BoardBehavior::OnStartIFLReached() {
    if (!WaitingForStartIFL)
        return;
    StopWaiting();
    ShowBackRequest = 1;
}

}  // namespace QZ2011
