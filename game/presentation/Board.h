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
    // Parts by index, each the template of its board behaviour: the blocks, then from
    // kFirstBuzzerPart the buzzer tops.
    static constexpr int kPartCount = 17;
    static constexpr int kFirstBuzzerPart = 15;
    static constexpr const char* kParts[kPartCount] = {
        "Block_01",    "Block_02",    "Block_03",    "Block_04",    "Block_05",    "Block_06",
        "Block_07",    "Block_08",    "Block_09",    "Block_dt_01", "Block_dt_02", "Block_dt_03",
        "Block_dt_04", "Block_dt_05", "Block_dt_06", "BuzzerLeft",  "BuzzerRight"};

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
