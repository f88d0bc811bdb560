#include "game/presentation/Board.h"

#include <iterator>

namespace QZ2011 {

namespace {
constexpr const char* kParts[] = {"Block_01",    "Block_02",    "Block_03",    "Block_04",    "Block_05",
                                  "Block_06",    "Block_07",    "Block_08",    "Block_09",    "Block_dt_01",
                                  "Block_dt_02", "Block_dt_03", "Block_dt_04", "Block_dt_05", "Block_dt_06",
                                  "BuzzerLeft",  "BuzzerRight"};
}

const char* Board::GetPart(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kParts)))
        return nullptr;
    return kParts[index];
}

void Board::SetBlockName(int index) {
    if (const char* part = GetPart(index))
        m_BlockName = part;
}

}  // namespace QZ2011
