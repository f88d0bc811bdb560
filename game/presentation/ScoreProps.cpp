#include "game/presentation/ScoreProps.h"

#include "gameservices/entities/TypeIds.h"

namespace QZ2011 {

ScoreBoardProps::ScoreBoardProps() { Behaviors.Add(&m_Behavior); }

bool ScoreBoardProps::IsA(const u32& typeId) const {
    return typeId == kTypeId || typeId == GameServices::Entities::TypeIds::Prop;
}

void ScoreBoardProps::Initialize() {
    m_Behavior.Retarget(m_Behavior.m_EntityTemplate, m_Behavior.BehaviorFilePath);
    StartTicking();
}

ScoreDeskProps::ScoreDeskProps() { Behaviors.Add(&m_Behavior); }

bool ScoreDeskProps::IsA(const u32& typeId) const {
    return typeId == kTypeId || typeId == GameServices::Entities::TypeIds::Prop;
}

void ScoreDeskProps::Initialize() {
    m_Behavior.Retarget(m_Behavior.m_EntityTemplate, m_Behavior.BehaviorFilePath);
    StartTicking();
}

BehaviorScore* GetScoreBehavior(GameServices::Entities::Entity* entity) {
    if (auto* board = dynamic_cast<ScoreBoardProps*>(entity))
        return &board->m_Behavior;
    if (auto* desk = dynamic_cast<ScoreDeskProps*>(entity))
        return &desk->m_Behavior;
    return nullptr;
}

}  // namespace QZ2011
