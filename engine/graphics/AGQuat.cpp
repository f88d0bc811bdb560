#include "engine/graphics/AGQuat.h"

#include <cmath>

void AGQuat::Slerp(AGQuat& q, AGQuat p, f32 t) {
    f32 d = q.x * p.x + q.y * p.y + q.z * p.z + q.w * p.w;
    if (d < 0.0f) {
        p.x = -p.x;
        p.y = -p.y;
        p.z = -p.z;
        p.w = -p.w;
        d = -d;
    }
    f32 a, b;
    // Also taken for a NaN dot product, where acos would spread the NaN anyway.
    if (!(d <= 0.99f)) {
        a = 1.0f - t;
        b = t;
    } else {
        const f32 theta = std::acos(d);
        const f32 s = 1.0f / std::sin(theta);
        a = std::sin((1.0f - t) * theta) * s;
        b = std::sin(t * theta) * s;
    }
    q.x = q.x * a + p.x * b;
    q.y = q.y * a + p.y * b;
    q.z = q.z * a + p.z * b;
    q.w = q.w * a + p.w * b;
}
