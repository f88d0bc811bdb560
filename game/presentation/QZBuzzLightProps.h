#pragma once
// A buzzer light of the stage.
#include "engine/core/Crc32Hash.h"
#include "game/presentation/BehaviorBuzzLight.h"
#include "game/presentation/StageEntity.h"
#include "gameservices/entities/Prop.h"

namespace QZ2011 {

class QZBuzzLightProps : public StageEntity<GameServices::Entities::Prop> {
public:
    static constexpr u32 kTypeId = Crc32Hash("QZBuzzLightProps");

    QZBuzzLightProps();

    bool IsA(const u32& typeId) const override;
    void Initialize() override;

    BehaviorBuzzLight m_Behavior{this};
};

}  // namespace QZ2011
