#pragma once
// An answer block or buzzer top of the stage board, named by the part of the board model it
// drives.
#include "engine/core/TString.h"
#include "gameservices/entities/Prop.h"

namespace QZ2011 {

class Board : public GameServices::Entities::Prop {
public:
    // The board parts by index: 0-8 "Block_01".."Block_09", 9-14 "Block_dt_01".."Block_dt_06",
    // 15 "BuzzerLeft", 16 "BuzzerRight"; null for any other index.
    static const char* GetPart(int index);
    // The part's name; an index without a part changes nothing.
    void SetBlockName(int index);

    TString<char> m_BlockName;
    bool m_OpenRequest = false;
    // The 00s look of an opened block.
    bool m_Style00 = false;
    bool m_CloseRequest = false;
    bool m_Lit = false;
};

}  // namespace QZ2011
