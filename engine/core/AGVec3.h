#pragma once
// The plain math values of positions and sizes (little-endian f32 fields in files).
#include "engine/core/AGTypes.h"

struct AGVec2 {
    f32 x = 0.0f;
    f32 y = 0.0f;
};

struct AGVec3 {
    f32 x = 0.0f;
    f32 y = 0.0f;
    f32 z = 0.0f;
};

static_assert(sizeof(AGVec2) == 8 && sizeof(AGVec3) == 12);
