#pragma once
// The outcome of the last answer check, read by the round rules.
#include "engine/core/AGTypes.h"

namespace QZ2011 {

class QZ11Game;

struct AnswerResult {
    // The face-off is being replayed after both families missed.
    u8 m_FaceOffReplay = 0;
    // The matched answer, -1 for a wrong one.
    i32 m_AnswerIndex = -1;
    // The first face-off answer's index, -1 for none or wrong.
    i32 m_FirstFaceOffAnswer = -1;
    QZ11Game* m_Game = nullptr;
    // Right answers struck out (seventh or eighth in rounds 3 and 4) in this round.
    i32 m_StruckOut = 0;
};

}  // namespace QZ2011
