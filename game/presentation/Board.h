#pragma once
// A block of the stage's answer board or a buzzer top. Its part name is the entity template
// of its board behaviour.
#include "engine/core/Crc32Hash.h"
#include "engine/core/TString.h"
#include "game/presentation/BoardBehavior.h"
#include "game/presentation/StageEntity.h"
#include "gameservices/entities/Prop.h"

namespace QZ2011 {

class Board : public StageEntity<GameServices::Entities::Prop> {
public:
    static constexpr u32 kTypeId = Crc32Hash("Board");
    // Parts by index: 0-8 "Block_01".."Block_09", 9-14 "Block_dt_01".."Block_dt_06",
    // 15 "BuzzerLeft", 16 "BuzzerRight".
    static constexpr int kPartCount = 17;

    Board();

    bool IsA(const u32& typeId) const override;
    // The behaviour on the part's template ("Block_01" while no part is set), then ticking.
    void Initialize() override;
    // Takes the part of the index as the part name; any other index is reported and changes
    // nothing.
    void GetPart(int index);

    BoardBehavior m_Behavior{this};
    TString<char> PartName;
};

}  // namespace QZ2011
