#include "gameshow/MenuCharacter.h"

#include "engine/core/AGLog.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::MiniGame::BehaviorManager;

namespace {
constexpr u32 kBehaviorKey = Crc32Hash(BehaviorCharacter::kBehaviorName);
constexpr const char* kEndKey = BehaviorManager::kEndKeyName;
}  // namespace

BehaviorCharacter::BehaviorCharacter(const TString<char>& entityTemplate, GameServices::Entities::Entity* entity)
    : AnimatedBehavior(entity, kBehaviorName) {
    SetEntityTemplate(entityTemplate);
}

void BehaviorCharacter::Reset() {
    currentAction = MenuActions::kIdle;
    // A request left from before would be replayed by the next first update with nothing
    // to bring the avatar back to idle.
    requestedAction = "";
    tryToken = 0;
    idleLimit = kIdleLimitMs;
    idleTime = 0;
    tryTime = 0;
    breakQueued = false;
    firstUpdate = true;
    tryActive = false;
}

void BehaviorCharacter::Update(u32 milliseconds) {
    BehaviorManager* behaviors = BehaviorManager::Instance();
    behaviors->RegisterBehavior(*this);
    if (firstUpdate) {
        if (requestedAction.IsEmpty()) {
            behaviors->PlayAction(*this, currentAction);
            requestedAction = currentAction;
        } else {
            behaviors->PlayAction(*this, requestedAction);
            currentAction = requestedAction;
        }
        behaviors->ListenCurrentActionKey(*this, kEndKey, &endKeyDelegate);
        firstUpdate = false;
        tryActive = false;
    } else if (requestedAction != currentAction) {
        if (currentAction.IsEmpty())
            currentAction = requestedAction;
        behaviors->UnlistenCurrentActionKey(*this, kEndKey, &endKeyDelegate);
        behaviors->PlayTransition(*this, currentAction, requestedAction, -1, "", "");
        currentAction = requestedAction;
        behaviors->ListenCurrentActionKey(*this, kEndKey, &endKeyDelegate);
    }
    if (tryActive) {
        tryTime += milliseconds;
        if (tryTime >= kTryCooldownMs)
            tryActive = false;
    }
    if (!breakQueued && tryToken == 0) {
        idleTime += milliseconds;
        if (idleTime >= idleLimit) {
            requestedAction = MenuActions::kLoopBreak;
            breakQueued = true;
        }
    }
}

void BehaviorCharacter::OnActionEnd() {
    if (tryToken == 0 && !breakQueued)
        return;
    tryActive = true;
    tryTime = 0;
    tryToken = 0;
    requestedAction = MenuActions::kIdle;
    idleTime = 0;
    idleLimit = kIdleLimitMs + GameServices::Bridge::RandomRange(0, kIdleSpreadMs);
    breakQueued = false;
}

bool BehaviorCharacter::RequestTry(u32 token, const TString<char>& action) {
    if (tryActive || token == tryToken)
        return false;
    tryToken = token;
    requestedAction = action;
    return true;
}

MenuCharacter::MenuCharacter() : m_Behavior(BehaviorCharacter::kMaleTemplate, this) {
    Behaviors.m_Map[kBehaviorKey] = &m_Behavior;
}

MenuCharacter::MenuCharacter(const TString<char>& name)
    : Character(name), m_Behavior(BehaviorCharacter::kMaleTemplate, this) {
    Behaviors.m_Map[kBehaviorKey] = &m_Behavior;
}

MenuCharacter::~MenuCharacter() {
    Unsubscribe();
    Behaviors.m_Map.erase(kBehaviorKey);
}

bool MenuCharacter::IsA(const u32& typeId) const {
    return typeId == kTypeId;
}

void MenuCharacter::Initialize() {
    GameServices::KorvoGame::CharacterManager::Instance();
    const GameServices::KorvoGame::Appearance* appearance = VolatileDatas.GetAppearance();
    if (!appearance) {
        AGReport("No Appearance defined for this character");
        return;
    }
    m_Behavior.m_Actions.clear();
    m_Behavior.m_Transitions.clear();
    m_Behavior.SetEntityTemplate(appearance->Assembly.Gender == GameServices::KorvoGame::CharacterAssembly::kMale
                                     ? BehaviorCharacter::kMaleTemplate
                                     : BehaviorCharacter::kFemaleTemplate);
    BehaviorManager::Instance()->InitializeBehavior(m_Behavior, "");
    // A new look is a new body without animations (nor their key listeners): the next update
    // starts the behaviour's action on it afresh instead of leaving the old one.
    m_Behavior.firstUpdate = true;

    // The pages initialize the avatar at every look change: the delegate goes on once.
    Unsubscribe();
    GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get();
    GameServices::KorvoGame::GameFlowManager* flow = game ? game->GetGameFlowManager() : nullptr;
    if (!flow) {
        AGReport("MenuCharacter::Initialize : no game flow to update the character '%s'", Name.c_str());
        return;
    }
    m_FrameEvent = &flow->GetFrameEvent();
    m_FrameEvent->AddDelegate(&m_UpdateDelegate);
}

void MenuCharacter::Reset() {
    Character::Reset();
    Unsubscribe();
    m_Behavior.Reset();
}

void MenuCharacter::Unsubscribe() {
    if (!m_FrameEvent)
        return;
    // The game flow may be gone before its pooled characters; only a live one is touched.
    GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get();
    GameServices::KorvoGame::GameFlowManager* flow = game ? game->GetGameFlowManager() : nullptr;
    if (flow && &flow->GetFrameEvent() == m_FrameEvent)
        m_FrameEvent->RemoveDelegate(&m_UpdateDelegate);
    m_FrameEvent = nullptr;
}

void MenuCharacter::UpdateBehaviors(u32 milliseconds) {
    for (auto& [id, behavior] : Behaviors.m_Map)
        if (behavior)
            behavior->Update(milliseconds);
}

namespace {
struct SuffixEntry {
    const char* female;
    const char* male;
    const char* suffix;
};
constexpr SuffixEntry kSuffixes[] = {
    {"Female1", "Male2", "_dpnk"}, {"Female2", "Male1", "_pnk"}, {"Female3", "Male4", "_blk"},
    {"Female4", "Male3", "_yel"},  {"Female5", "Male6", "_wht"}, {"Female6", "Male5", "_brw"},
};
}  // namespace

TString<char> GetLookSuffix(const TString<char>& assemblyName) {
    for (const SuffixEntry& entry : kSuffixes)
        if (assemblyName == entry.female || assemblyName == entry.male)
            return entry.suffix;
    return "";
}

TString<char> GetLookSuffix() {
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    Settings* settings = profiles->GetSettings();
    if (!settings)
        return "";
    const i32 slot = settings->CurrentSavedGame < 0 ? 0 : settings->CurrentSavedGame;
    PlayerProfile* profile = profiles->GetSlot(slot);
    return profile ? GetLookSuffix(profile->Appearance.Assembly.Name) : TString<char>();
}

}  // namespace GameShow
