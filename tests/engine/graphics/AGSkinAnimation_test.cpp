#include "engine/graphics/AGSkinAnimation.h"

#include "engine/core/AGController.h"
#include "engine/graphics/AGBone.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"

namespace {

AGController At(f32 frame) {
    AGController controller;
    controller.SetTime(frame * controller.GetFrameDuration());
    return controller;
}

}  // namespace

TEST(AGSkinAnimation, FrameCountClampsToTheShortestNonEmptyTrack) {
    AGSkinAnimation anim;
    const Track rotation = Track::Quat().Key(0, {0, 0, 0, 1}).Key(60, {0, 0, 0, 1});
    for (auto [positionEnd, expected] : {std::pair<u16, f32>{80, 60}, {50, 50}}) {
        LoadBytes(anim, authoring::SkinAnimationBytes(100, 24,
                            {{0, Track::Vec3().Key(0, {}).Key(positionEnd, {}), Track::Quat()},
                             {3, Track::Vec3(), rotation}, {1, Track::Vec3(), Track::Quat()}}));
        ASSERT_EQ(anim.BoneCount(), 3u);
        EXPECT_EQ((std::vector<f32>{anim.m_frameCount, anim.m_frameRate, f32(anim.m_boneIndices[1])}),
                  (std::vector<f32>{expected, 24, 3}));
    }
}

TEST(AGSkinAnimation, CutOrOversizedFilesLeaveItEmpty) {
    const std::string full = authoring::SkinAnimationBytes(
        10, 30, {{0, Track::Vec3().Key(0, {1, 2, 3}), Track::Quat().Key(0, {0, 0, 0, 1})}});
    ExpectEveryCutEmpty<AGSkinAnimation>(full, [](const AGSkinAnimation& a) {
        return a.BoneCount() + a.m_positions.Count() + a.m_rotations.Count() == 0;
    });
    std::string huge = full;
    huge.replace(20, 4, "\xFF\xFF\xFF\x7F");
    Loaded<AGSkinAnimation> anim(huge);
    EXPECT_EQ(anim.BoneCount(), 0u);
}

TEST(AGSkinAnimation, ApplyAndBlendPoseBonesAndSkipIndicesBeyondTheSkin) {
    Loaded<AGSkinAnimation> anim(authoring::SkinAnimationBytes(10, 30,
        {{1, Track::Vec3().Key(0, {0, 0, 0}).Key(10, {10, 20, 30}), Track::Quat().Key(0, {0, 0, 0, 1})},
         {2, Track::Vec3().Key(0, {9, 9, 9}), Track::Quat()},
         {0, Track::Vec3(), Track::Quat().Key(0, {0, 1, 0, 0})}}));
    AGBone bones[8];  // the skin has the first two
    bones[0].position = {5, 6, 7};
    AGSkinAnimation::Apply(At(5.0f), anim, bones, 2);
    // Bone 2 is beyond the skin; bone 0 has no position keys: its position is left alone.
    EXPECT_EQ((std::vector<f32>{bones[2].position.x, bones[1].position.x, bones[1].position.z,
                                bones[1].rotation.w, bones[0].position.y, bones[0].rotation.y}),
              (std::vector<f32>{0, 5, 15, 1, 6, 1}));

    // Blending a quarter of the way toward frame 10 (10, 20, 30).
    AGSkinAnimation::Blend(At(10.0f), anim, bones, 2, 0.25f);
    EXPECT_EQ((std::vector<f32>{bones[1].position.x, bones[1].position.y, bones[1].position.z, bones[0].position.y}),
              (std::vector<f32>{6.25f, 12.5f, 18.75f, 6}));
}
