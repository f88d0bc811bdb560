#pragma once
// "skeletonPrsAnimation": position and rotation tracks for some bones of a skin.
//
// File: 12-byte header (skipped), f32 frame count, f32 frame rate, u32 bone count B, B pairs
// of track records (position vec3, rotation quaternion), then B u16 indices into the skin's
// bone table, in the same order.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "engine/graphics/AGTrack.h"

class AGController;
struct AGBone;

class AGSkinAnimation : public AGResource {
public:
    AGSkinAnimation() = default;
    AGSkinAnimation(const AGSkinAnimation&) = default;

    u32 GetTypeKey() const override { return TypeKey::SkeletonPrsAnimation; }
    // The frame count is clamped to the last key time of every non-empty bone track, then
    // made safe for a controller. A truncated or corrupt file leaves the animation empty
    // and writes one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Poses the bones at the controller's current frame: rotation and position of each
    // animated bone from its tracks (an empty track leaves that value). Bone indices beyond
    // the table are skipped.
    static void Apply(const AGController& controller, AGSkinAnimation& animation, AGBone* bones,
                      u32 boneCount);
    // As Apply, but moves each bone's pose toward the animated one by weight.
    static void Blend(const AGController& controller, AGSkinAnimation& animation, AGBone* bones,
                      u32 boneCount, f32 weight);

    void Clear();
    u32 BoneCount() const { return m_boneIndices.Count(); }

    AGOwnedBuffer<u16> m_boneIndices;
    AGOwnedBuffer<AGTrack<AGVec3>> m_positions;
    AGOwnedBuffer<AGTrack<AGQuat>> m_rotations;
    f32 m_speed = 1.0f;
    f32 m_frameCount = 0.0f;
    f32 m_frameRate = 30.0f;
};
