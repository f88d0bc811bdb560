#pragma once
// Frame statistics. Created at start-up and deleted at shutdown; nothing reads or changes
// the values yet.
#include "engine/core/AGSingleton.h"
#include "engine/core/AGTypes.h"

class AGStatsManager : public AGSingleton<AGStatsManager> {
public:
    f32 m_smoothing = 0.95f;
    f32 m_frameMs = 16.0f;
    f32 m_elapsed = 0.0f;
    u32 m_frames = 0;
    u32 m_drawCalls = 0;
};
