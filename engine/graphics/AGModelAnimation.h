#pragma once
// "prsAnimation": a model's position, rotation and scale over time.
//
// File: 12-byte header (skipped), f32 frame count, f32 frame rate (frames per second),
// then the position (vec3), rotation (quaternion) and scale (vec3) track records.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGTrack.h"

class AGModelAnimation : public AGResource {
public:
    AGModelAnimation() = default;
    AGModelAnimation(const AGModelAnimation&) = default;

    u32 GetTypeKey() const override { return TypeKey::PrsAnimation; }
    // A truncated or corrupt file leaves the animation empty and writes one log line.
    // Frame count and rate are made safe for a controller (AGSafeFrameCount/Rate).
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    void Clear();

    AGTrack<AGVec3> m_position;
    AGTrack<AGQuat> m_rotation;
    AGTrack<AGVec3> m_scale;
    f32 m_speed = 1.0f;
    f32 m_frameCount = 0.0f;
    f32 m_frameRate = 0.0f;
};
