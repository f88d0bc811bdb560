#include "game/presentation/QZStageProps.h"
#include "game/presentation/ScoreProps.h"

namespace QZ2011 {

BehaviorScore* GetScoreBehavior(GameServices::Entities::Entity* entity) {
    if (auto* board = dynamic_cast<ScoreBoardProps*>(entity))
        return &board->m_Score;
    if (auto* desk = dynamic_cast<ScoreDeskProps*>(entity))
        return &desk->m_Score;
    return nullptr;
}

void BehaviorStage::Reset() {
    m_PlayRequest = false;
    m_StartKey = "";
    m_EndKey = "";
    m_PlayMode = 0;
    RequestedKey = "";
    m_AppliedKey = "";
}

void BehaviorStage::SetHoldKey(const char* key) {
    RequestedKey = key ? key : "";
    m_PlayRequest = false;
}

void BehaviorStage::PlayAnimation(const char* startKey, BehaviorStage* stage, int mode) {
    if (!stage)
        return;
    stage->m_PlayRequest = true;
    stage->m_StartKey = startKey ? startKey : "";
    stage->m_EndKey = "endKey";
    stage->m_PlayMode = mode;
}

BehaviorStage* GetStageBehavior(GameServices::Entities::Entity* entity) {
    auto* prop = dynamic_cast<QZStageProps*>(entity);
    return prop ? &prop->m_Stage : nullptr;
}

}  // namespace QZ2011
