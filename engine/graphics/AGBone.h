#pragma once
// One bone of a skin's bone table: its pose (position and rotation, written by skin
// animations) and the matrices the skin derives from it.
#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "engine/graphics/AGQuat.h"
#include "platform/gfx/GfxMath.h"

struct AGBone {
    static constexpr u16 kRoot = 255;

    u32 id = 0;
    u16 parent = 0;
    platform::gfx::Matrix current = platform::gfx::MatrixIdentity();
    platform::gfx::Matrix bind = platform::gfx::MatrixIdentity();
    platform::gfx::Matrix inverse = platform::gfx::MatrixIdentity();
    AGVec3 position;
    AGQuat rotation{0.0f, 0.0f, 0.0f, 0.0f};
};
