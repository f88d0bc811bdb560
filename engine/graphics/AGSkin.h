#pragma once
// "skeleton": a table of bones posed by a skin animation, whose matrices skin a model's
// vertices (AGVertexBufferDynamic) and carry models attached to a bone.
//
// File: 12-byte header (skipped), u32 bone count B, then B packed 70-byte records: u32 bone
// id, 16 f32 bind matrix (row-major), u16 parent index (255 = root). Parents precede their
// children.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGBone.h"
#include "engine/graphics/AGOwnedBuffer.h"

class AGSkinAnimation;

class AGSkin : public AGResource, public AGAnimated {
public:
    static constexpr u32 kBoneRecordSize = 70;

    AGSkin() = default;
    // Copies the bones and the controllers; the animation is attached again by whoever
    // attached it to the source.
    AGSkin(const AGSkin& other);

    u32 GetTypeKey() const override { return TypeKey::Skeleton; }
    // A truncated file leaves the skin without bones; a parent index that is neither 255 nor
    // a bone of the table makes that bone a root. Each case writes one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // The skin follows the animation on a controller of its own, timed by the animation's
    // frame count, frame rate and speed, looping. Null detaches the animation.
    void SetAnimation(AGSkinAnimation* animation);
    AGSkinAnimation* GetAnimation() const { return m_animation; }

    // Once per frame of the frame timer (every call when there is none): the animation poses
    // the bones at the controller's frame, then each bone's current matrix is its rotation
    // and position, times its parent's current matrix; the inverse follows (identity for a
    // singular matrix).
    void Update();

    // The first bone with the id, or null.
    const AGBone* FindBone(u32 id) const;
    u32 BoneCount() const { return m_bones.Count(); }
    const AGBone* Bones() const { return m_bones.Data(); }
    AGBone* Bones() { return m_bones.Data(); }

private:
    AGOwnedBuffer<AGBone> m_bones;
    AGSkinAnimation* m_animation = nullptr;
    u32 m_lastFrame = 0;
    bool m_updated = false;
};
