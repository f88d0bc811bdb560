#include "engine/graphics/AGSkin.h"

#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/core/PCTimerManager.h"
#include "engine/graphics/AGSkinAnimation.h"

using platform::gfx::Matrix;

AGSkin::AGSkin(const AGSkin& other) : AGResource(other), AGAnimated(other), m_bones(other.m_bones) {}

void AGSkin::Load(AGMemBuffer* buffer, u32, bool, bool) {
    m_bones.Release();
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    b.Skip(12);
    const u32 count = b.ReadU32();
    if (b.Failed() || !b.CheckCount(count, kBoneRecordSize) || !m_bones.Resize(count)) {
        m_bones.Release();
        AGReport("Skin 0x%08X: truncated or corrupt file, left without bones.", NameId());
        return;
    }
    u32 badParents = 0;
    for (u32 i = 0; i < count; ++i) {
        AGBone& bone = m_bones[i];
        bone.id = b.ReadU32();
        for (f32& v : bone.bind.m)
            v = b.ReadF32();
        bone.parent = b.ReadU16();
        if (bone.parent != AGBone::kRoot && bone.parent >= count) {
            bone.parent = AGBone::kRoot;
            ++badParents;
        }
    }
    if (badParents)
        AGReport("Skin 0x%08X: %u bones name a parent beyond the table; made roots.", NameId(),
                 badParents);
}

void AGSkin::SetAnimation(AGSkinAnimation* animation) {
    m_animation = animation;
    if (!animation)
        return;
    EnsureController();
    AGBindAnimation(*m_owned, animation->m_frameCount, animation->m_frameRate, animation->m_speed);
    m_owned->SetMode(AGController::kLoop);
    SetController(m_owned);
}

void AGSkin::Update() {
    if (const PCTimerManager* timer = PCTimerManager::Get()) {
        if (m_updated && m_lastFrame == timer->GetFrameNumber())
            return;
        m_lastFrame = timer->GetFrameNumber();
    }
    m_updated = true;
    if (m_animation && m_current) {
        StepController();
        AGSkinAnimation::Apply(*m_current, *m_animation, m_bones.Data(), m_bones.Count());
    }
    for (AGBone& bone : m_bones) {
        const AGQuat& q = bone.rotation;
        Matrix current = platform::gfx::MatrixRotationQuaternion({q.x, q.y, q.z, q.w});
        current.m[12] = bone.position.x;
        current.m[13] = bone.position.y;
        current.m[14] = bone.position.z;
        if (bone.parent != AGBone::kRoot)
            current = platform::gfx::MatrixMultiply(current, m_bones[bone.parent].current);
        bone.current = current;
        if (!platform::gfx::MatrixInverse(current, bone.inverse))
            bone.inverse = platform::gfx::MatrixIdentity();
    }
}

const AGBone* AGSkin::FindBone(u32 id) const {
    for (const AGBone& bone : m_bones)
        if (bone.id == id)
            return &bone;
    return nullptr;
}
