#include "game/presentation/Board.h"

#include "engine/core/AGLog.h"
#include "game/presentation/BehaviorStage.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/TypeIds.h"

namespace QZ2011 {

namespace {
constexpr const char* kParts[Board::kPartCount] = {
    "Block_01",    "Block_02",    "Block_03",    "Block_04",    "Block_05",   "Block_06",
    "Block_07",    "Block_08",    "Block_09",    "Block_dt_01", "Block_dt_02", "Block_dt_03",
    "Block_dt_04", "Block_dt_05", "Block_dt_06", "BuzzerLeft",  "BuzzerRight"};
}

Board::Board() { Behaviors.Add(&m_Behavior); }

bool Board::IsA(const u32& typeId) const {
    return typeId == kTypeId || typeId == GameServices::Entities::TypeIds::Prop;
}

void Board::Initialize() {
    m_Behavior.Retarget(PartName.IsEmpty() ? TString<char>(kParts[0]) : PartName,
                        GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_LEVEL_XML,
                                                                      BehaviorStage::kBehaviorFile));
    StartTicking();
}

void Board::GetPart(int index) {
    if (index < 0 || index >= kPartCount) {
        AGReport("Board::GetPart : no board part %d for '%s'", index, Name.c_str());
        return;
    }
    PartName = kParts[index];
}

}  // namespace QZ2011
