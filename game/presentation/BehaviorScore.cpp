#include "game/presentation/BehaviorScore.h"

#include <algorithm>

#include "engine/core/AGLog.h"
#include "gameservices/bridge/FileSystem.h"

namespace QZ2011 {

using GameServices::MiniGame::BehaviorManager;

namespace {
constexpr i32 kBlank = 10;
constexpr i32 kModePause = 1;
}  // namespace

BehaviorScore::BehaviorScore(GameServices::Entities::Entity* owner, const TString<char>& entityTemplate)
    : AnimatedBehavior(owner, kBehaviorName),
      BehaviorFilePath(GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_LEVEL_XML,
                                                                      kBehaviorFile)) {
    SetEntityTemplate(entityTemplate);
}

void BehaviorScore::Update(u32) {
    BehaviorManager* manager = BehaviorManager::Instance();
    manager->RegisterBehavior(*this);
    if (!UpdateRequest)
        return;
    i32 digits[3] = {kBlank, kBlank, kBlank};
    if (Value >= 0) {
        const i32 shown = std::min(Value, kMaxShown);
        digits[0] = shown / 100;
        digits[1] = shown % 100 / 10;
        digits[2] = shown % 10;
        if (digits[0] == 0) {
            digits[0] = kBlank;
            if (digits[1] == 0)
                digits[1] = kBlank;
        }
    }
    const TString<char>* names[3] = {&HundredAction, &TenAction, &UnitAction};
    for (int i = 0; i < 3; ++i) {
        GameServices::MiniGame::BehaviorAction* action = BehaviorManager::FindBehaviorAction(m_Actions, *names[i]);
        if (action)
            manager->StartAction(*this, *action, kModePause, digits[i], digits[i]);
        else
            AGReport("Can not find this BehaviorAction for this action %s", names[i]->c_str());
    }
    UpdateRequest = 0;
}

}  // namespace QZ2011
