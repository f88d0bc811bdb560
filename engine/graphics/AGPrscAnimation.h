#pragma once
// "prscAnimation" (".anm"): a 2D element's position, rotation, scale, colour and texture
// window over time.
//
// File: 12-byte header (skipped), f32 frame count, f32 frame rate, then the position (vec2),
// rotation (f32), scale (vec2), colour (u32 ARGB) and UV (AGUVKey) track records.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGTrack.h"

class AGPrscAnimation : public AGResource {
public:
    AGPrscAnimation() = default;
    AGPrscAnimation(const AGPrscAnimation&) = default;

    u32 GetTypeKey() const override { return TypeKey::PrscAnimation; }
    // A truncated or corrupt file leaves the animation empty and writes one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    void Clear();

    AGTrack<AGVec2> m_position;
    AGTrack<f32> m_rotation;
    AGTrack<AGVec2> m_scale;
    AGTrack<AGColor> m_color;
    AGTrack<AGUVKey> m_uv;
    f32 m_speed = 1.0f;
    f32 m_frameCount = 0.0f;
    f32 m_frameRate = 0.0f;
};
