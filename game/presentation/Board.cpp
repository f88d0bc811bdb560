#include "game/presentation/Board.h"

#include "engine/core/AGLog.h"
#include "game/presentation/BehaviorStage.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/TypeIds.h"

namespace QZ2011 {

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
