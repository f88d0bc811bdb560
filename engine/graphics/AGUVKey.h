#pragma once
// One key of a texture slot's UV animation: which texture of the slot, and the texture
// window's scale, offset and rotation. 24 bytes, the same in files.
#include "engine/core/AGTypes.h"

struct AGUVKey {
    u32 frame = 0;
    f32 scaleU = 1.0f;
    f32 scaleV = 1.0f;
    f32 offsetU = 0.0f;
    f32 offsetV = 0.0f;
    f32 rotation = 0.0f;  // radians
};

static_assert(sizeof(AGUVKey) == 24);
