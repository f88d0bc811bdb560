#pragma once
// The score displays of the stage: the board's digit screens and the families' desks.
#include "engine/core/Crc32Hash.h"
#include "game/presentation/BehaviorScore.h"
#include "game/presentation/StageEntity.h"
#include "gameservices/entities/Prop.h"

namespace QZ2011 {

class ScoreBoardProps : public StageEntity<GameServices::Entities::Prop> {
public:
    static constexpr u32 kTypeId = Crc32Hash("ScoreBoardProps");

    ScoreBoardProps();

    bool IsA(const u32& typeId) const override;
    void Initialize() override;

    BehaviorScore m_Behavior{this, BehaviorScore::kTemplates[BehaviorScore::kBoardTemplate]};
};

class ScoreDeskProps : public StageEntity<GameServices::Entities::Prop> {
public:
    static constexpr u32 kTypeId = Crc32Hash("ScoreDeskProps");

    ScoreDeskProps();

    bool IsA(const u32& typeId) const override;
    void Initialize() override;

    BehaviorScore m_Behavior{this, BehaviorScore::kTemplates[BehaviorScore::kDeskTemplate]};
};

// The score behaviour of a score board or desk; null for any other entity.
BehaviorScore* GetScoreBehavior(GameServices::Entities::Entity* entity);

}  // namespace QZ2011
