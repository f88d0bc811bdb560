#include "engine/graphics/AGSkinAnimation.h"

#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGBone.h"

namespace {
// Smallest bytes per animated bone: two empty track records and the index.
constexpr u32 kMinBytesPerBone = 8 + 8 + 2;
}  // namespace

void AGSkinAnimation::Clear() {
    m_boneIndices.Release();
    m_positions.Release();
    m_rotations.Release();
    m_frameCount = 0.0f;
    m_frameRate = 30.0f;
}

void AGSkinAnimation::Load(AGMemBuffer* buffer, u32, bool inPlace, bool) {
    Clear();
    if (!buffer)
        return;
    buffer->Skip(12);
    f32 frameCount = buffer->ReadF32();
    const f32 frameRate = buffer->ReadF32();
    const u32 boneCount = buffer->ReadU32();
    if (!buffer->Failed() && buffer->CheckCount(boneCount, kMinBytesPerBone) &&
        (!m_boneIndices.Resize(boneCount) || !m_positions.Resize(boneCount) ||
         !m_rotations.Resize(boneCount)))
        buffer->SetFailed();
    for (u32 i = 0; i < boneCount && !buffer->Failed(); ++i) {
        if (m_positions[i].Read(*buffer, inPlace) && !m_positions[i].Empty() &&
            f32(m_positions[i].LastKeyTime()) < frameCount)
            frameCount = f32(m_positions[i].LastKeyTime());
        if (m_rotations[i].Read(*buffer, inPlace) && !m_rotations[i].Empty() &&
            f32(m_rotations[i].LastKeyTime()) < frameCount)
            frameCount = f32(m_rotations[i].LastKeyTime());
    }
    for (u32 i = 0; i < boneCount && !buffer->Failed(); ++i)
        m_boneIndices[i] = buffer->ReadU16();
    if (buffer->Failed()) {
        Clear();
        AGReport("Skin animation 0x%08X: truncated or corrupt file, left empty.", NameId());
        return;
    }
    m_frameCount = AGSafeFrameCount(frameCount);
    m_frameRate = AGSafeFrameRate(frameRate);
}

namespace {

// pose(i, bone) for every animated bone i whose index the skin's table has.
template <typename Pose>
void ForEachBone(AGSkinAnimation& animation, AGBone* bones, u32 boneCount, Pose pose) {
    for (u32 i = 0; i < animation.BoneCount(); ++i) {
        const u16 index = animation.m_boneIndices[i];
        if (bones && index < boneCount)
            pose(i, bones[index]);
    }
}

}  // namespace

void AGSkinAnimation::Apply(const AGController& controller, AGSkinAnimation& animation,
                            AGBone* bones, u32 boneCount) {
    const f32 t = controller.GetOutput();
    ForEachBone(animation, bones, boneCount, [&](u32 i, AGBone& bone) {
        animation.m_rotations[i].Evaluate(t, bone.rotation);
        animation.m_positions[i].Evaluate(t, bone.position);
    });
}

void AGSkinAnimation::Blend(const AGController& controller, AGSkinAnimation& animation,
                            AGBone* bones, u32 boneCount, f32 weight) {
    const f32 t = controller.GetOutput();
    ForEachBone(animation, bones, boneCount, [&](u32 i, AGBone& bone) {
        AGQuat r = bone.rotation;
        if (animation.m_rotations[i].Evaluate(t, r))
            AGQuat::Slerp(bone.rotation, r, weight);
        AGVec3 p = bone.position;
        if (animation.m_positions[i].Evaluate(t, p)) {
            bone.position.x += (p.x - bone.position.x) * weight;
            bone.position.y += (p.y - bone.position.y) * weight;
            bone.position.z += (p.z - bone.position.z) * weight;
        }
    });
}
