#pragma once
// The dressed avatar of the menus: a character whose "MenuAvatar" behaviour idles, inserts an
// occasional idle break and plays the try-on actions the look and wardrobe pages ask for,
// moving between actions through the transitions of the menu behaviours file.
#include "engine/core/Crc32Hash.h"
#include "engine/core/FDelegate.h"
#include "engine/core/FHandler.h"
#include "engine/core/TString.h"
#include "gameservices/entities/Character.h"
#include "gameservices/minigame/BehaviorManager.h"

namespace GameShow {

// Action names of the menu behaviour.
namespace MenuActions {
inline constexpr const char* kIdle = "Idle";
inline constexpr const char* kLoopBreak = "LoopBreak";
inline constexpr const char* kTryHead = "Try_Head";
inline constexpr const char* kTryTop = "Try_Top";
inline constexpr const char* kTryBottom = "Try_Bottom";
inline constexpr const char* kTryAll = "Try_All";
}  // namespace MenuActions

class BehaviorCharacter : public GameServices::MiniGame::AnimatedBehavior {
public:
    static constexpr const char* kBehaviorName = "MenuAvatar";
    static constexpr const char* kMaleTemplate = "CharacterMale";
    static constexpr const char* kFemaleTemplate = "CharacterFemale";
    // How long after a try or a break ended the pages may not start another try.
    static constexpr u32 kTryCooldownMs = 300;
    static constexpr u32 kIdleLimitMs = 5000;
    // The limit after a break or a try: kIdleLimitMs plus a draw below this.
    static constexpr u32 kIdleSpreadMs = 8000;

    BehaviorCharacter(const TString<char>& entityTemplate, GameServices::Entities::Entity* entity);

    void Update(u32 milliseconds) override;
    void Reset() override;
    TString<char> GetCurrentActionName() const override { return currentAction; }

    // The current action reached its end key: after a try or a break, back to "Idle" with the
    // try window open and a new idle limit; otherwise the looping action goes on.
    void OnActionEnd();

    // A page's try: taken when no try is active and the token (non-zero, the page's own)
    // differs from the pending one; the action is played from the next update. False when
    // refused.
    bool RequestTry(u32 token, const TString<char>& action);
    // True while the pages must not start a try.
    bool IsTryActive() const { return tryActive; }

    TString<char> currentAction = MenuActions::kIdle;
    // What the next update plays; the pages write their try action here.
    TString<char> requestedAction;
    // The token of the pending try; 0 when none is pending.
    u32 tryToken = 0;
    u32 idleTime = 0;
    u32 idleLimit = kIdleLimitMs;
    bool breakQueued = false;
    bool firstUpdate = true;
    bool tryActive = false;
    u32 tryTime = 0;
    FDelegate<BehaviorCharacter> endKeyDelegate{this, &BehaviorCharacter::OnActionEnd};
};

class MenuCharacter : public GameServices::Entities::Character {
public:
    static constexpr u32 kTypeId = Crc32Hash("MenuCharacter");

    MenuCharacter();
    explicit MenuCharacter(const TString<char>& name);
    // Leaves the frame event.
    ~MenuCharacter() override;
    MenuCharacter(const MenuCharacter&) = delete;
    MenuCharacter& operator=(const MenuCharacter&) = delete;

    // Only for "MenuCharacter".
    bool IsA(const u32& typeId) const override;
    // By the look's gender, the behaviour's template and tables, then the per-frame updates
    // (once, however often it is called). Without a look: reported, nothing else done.
    void Initialize() override;
    // Leaves the frame event and resets the behaviour.
    void Reset() override;

    BehaviorCharacter& GetBehaviorCharacter() { return m_Behavior; }
    // True while the per-frame delegate is on the game's frame event.
    bool IsSubscribed() const { return m_FrameEvent != nullptr; }

private:
    void UpdateBehaviors(u32 milliseconds);
    void Unsubscribe();

    BehaviorCharacter m_Behavior;
    ProcessDelegate<MenuCharacter> m_UpdateDelegate{this, &MenuCharacter::UpdateBehaviors};
    // The frame event the delegate is on; null while on none.
    FHandlerParam<u32>* m_FrameEvent = nullptr;
};

// The skin-tone suffix of a character assembly ("Male2" gives "_dpnk"); empty for any other
// name (exact comparison).
TString<char> GetLookSuffix(const TString<char>& assemblyName);
// The suffix of the look of the current profile (the settings' current slot, -1 counting as
// 0); empty without a profile.
TString<char> GetLookSuffix();

}  // namespace GameShow
