#pragma once
// A contestant of the match stage (and the avatar faces of the 3D viewports), animated by
// its contestant behaviour on one of four animation sets.
#include "engine/core/Crc32Hash.h"
#include "game/presentation/QZBehaviorCharacter.h"
#include "game/presentation/StageEntity.h"
#include "gameservices/entities/Character.h"

namespace QZ2011 {

class QZCharacter : public StageEntity<GameServices::Entities::Character> {
public:
    static constexpr u32 kTypeId = Crc32Hash("QZCharacter");

    QZCharacter();

    // Only for "QZCharacter".
    bool IsA(const u32& typeId) const override;
    // The first male or female set by the look's gender (kept, reported, without a look),
    // then ticking.
    void Initialize() override;

    // The animation set: exactly one flag is set afterwards.
    void SetCharacterMale1();
    void SetCharacterMale2();
    void SetCharacterFemale1();
    void SetCharacterFemale2();

    QZBehaviorCharacter m_Behavior{this, QZBehaviorCharacter::kTemplates[QZBehaviorCharacter::kMale1]};
    u8 IsMale1 = 0;
    u8 IsMale2 = 0;
    u8 IsFemale1 = 0;
    u8 IsFemale2 = 0;

private:
    void UseSet(const char* entityTemplate);
    void SelectSet(u8 male1, u8 male2, u8 female1, u8 female2);
};

}  // namespace QZ2011
