#pragma once
// A rotation quaternion (x, y, z, w; w last, 16 bytes in files).
#include "engine/core/AGTypes.h"

struct AGQuat {
    f32 x = 0.0f;
    f32 y = 0.0f;
    f32 z = 0.0f;
    f32 w = 1.0f;

    // Moves q toward p by the fraction t, in place, along the short arc (p is negated when
    // the two point into opposite half-spaces). Nearly equal rotations (dot above 0.99) are
    // blended linearly, without renormalising.
    static void Slerp(AGQuat& q, AGQuat p, f32 t);
};

static_assert(sizeof(AGQuat) == 16);
