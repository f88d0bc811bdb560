#pragma once
// The animation of one block of the answer board: flip to show an answer (and, in the 00s
// look, on to the back at the key "StartIFL"), show the back, close, or flash a buzzer top.
// The match flow writes the requests; one is served per update, in the order of the fields.
#include "engine/core/FDelegate.h"
#include "gameservices/minigame/BehaviorManager.h"

namespace QZ2011 {

class BoardBehavior : public GameServices::MiniGame::AnimatedBehavior {
public:
    // Its behaviour in the stage's behaviour file (the templates are the board's parts), the
    // blocks' actions with the front's key, and the buzzer tops' action.
    static constexpr const char* kBehaviorName = "Board";
    static constexpr const char* kFrontAction = "BlockFront";
    static constexpr const char* kBackAction = "BlockBack";
    static constexpr const char* kStartIFL = "StartIFL";
    static constexpr const char* kBuzzAction = "BuzzAnim";

    explicit BoardBehavior(GameServices::Entities::Entity* owner);

    void Update(u32 milliseconds) override;
    // Back to the built state; a "StartIFL" listener still registered is removed first.
    void Reset() override;
    TString<char> GetCurrentActionName() const override { return CurrentAction; }
    // The front action reached "StartIFL": the back is played at the next update.
    void OnStartIFLReached();

    FDelegate<BoardBehavior> KeyDelegate{this, &BoardBehavior::OnStartIFLReached};
    TString<char> CurrentAction;
    u8 FlipRequest = 0;
    u8 ShowBackRequest = 0;
    u8 ShowFrontRequest = 0;
    u8 BuzzRequest = 0;
    u8 WaitingForStartIFL = 0;
    // Kept until Reset: every flip continues with "BlockBack".
    u8 FlipToBack = 0;

private:
    void StopWaiting();
};

}  // namespace QZ2011
