#pragma once
// A prop of the stage dressing (lights, walls, screens), animated by its stage behaviour on
// the template its application data names.
#include "engine/core/Crc32Hash.h"
#include "engine/core/TString.h"
#include "game/presentation/BehaviorStage.h"
#include "game/presentation/StageEntity.h"
#include "gameservices/entities/Prop.h"

namespace QZ2011 {

class QZStageProps : public StageEntity<GameServices::Entities::Prop> {
public:
    static constexpr u32 kTypeId = Crc32Hash("QZStageProps");

    QZStageProps();

    bool IsA(const u32& typeId) const override;
    // TemplateName from the application data's "TemplateBehavior" (kept, reported, without
    // the record), the behaviour on it, then ticking.
    void Initialize() override;

    BehaviorStage m_Behavior{this};
    TString<char> TemplateName;
};

// The stage behaviour of a stage prop; null for any other entity.
BehaviorStage* GetStageBehavior(GameServices::Entities::Entity* entity);

}  // namespace QZ2011
