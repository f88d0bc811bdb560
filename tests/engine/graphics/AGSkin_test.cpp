#include "engine/graphics/AGSkin.h"

#include <cmath>

#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/AGVertexBufferDynamic.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/ModelWriter.h"

using authoring::BoneData;

namespace {

// Bone 1 (root) at the origin, bone 2 one level up at y = 2 in the bind pose.
std::vector<BoneData> TwoBones() {
    return {{1, authoring::IdentityMatrix(), 255}, {2, authoring::TranslationMatrix(0, -2, 0), 0}};
}

}  // namespace

TEST(AGSkin, TwoBonesWithANinetyDegreeKeyMoveTheirVertices) {
    Loaded<AGSkin> skin(authoring::SkinBytes(TwoBones()));
    ASSERT_EQ(skin.BoneCount(), 2u);
    // Bone 2 sits 2 above its parent, turned 90 degrees about z.
    const f32 s = std::sqrt(0.5f);
    Loaded<AGSkinAnimation> animation(authoring::SkinAnimationBytes(
        10, 30, {{}, {1, Track::Vec3().Key(0, {0.5f, 2, 0}), Track::Quat().Key(0, {0, 0, s, s})}}));
    skin.SetAnimation(&animation);
    skin.Update();

    // v0 on bone 1 alone, v1 on bone 2 alone, v2 half on each, v3 on none.
    authoring::VertexBufferData data;
    data.positions = {{1, 0, 0}, {0, 3, 0}, {1, 2, 0}, {4, 4, 4}};
    data.normals = {{0, 0.6f, 0.8f}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    data.influenceCounts = {2, 2};
    data.influenceVertices = {0, 2, 1, 2};
    data.influenceWeights = {1, 0.5f, 1, 0.5f};
    Loaded<AGVertexBuffer> vb(authoring::VertexBufferBytes(data));
    ASSERT_TRUE(vb.HasSkinNormals());
    AGVertexBufferDynamic skinned;
    ASSERT_TRUE(skinned.Initialize(vb));
    skinned.Skin(vb, skin.Bones(), skin.BoneCount());
    skinned.Skin(vb, skin.Bones(), skin.BoneCount());  // each pass starts afresh

    // Left-handed, row vectors: the turn takes +x to +y and +y to -x.
    const AGVec3 positions[4] = {{1, 0, 0}, {-0.5f, 2, 0}, {0.75f, 2.5f, 0}, {0, 0, 0}};
    const AGVec3 normals[3] = {{0, 0.6f, 0.8f}, {-1, 0, 0}, {0.5f, 0.5f, 0}};
    for (u32 i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ExpectNear(skinned.m_positions[i], positions[i], "position", 1e-5f);
        if (i < 3)
            ExpectNear(skinned.m_normals[i], normals[i], "normal", 1e-5f);
    }
}

TEST(AGSkin, ParentsBeyondTheTableBecomeRootsAndCutFilesLeaveNoBones) {
    std::vector<BoneData> bones = TwoBones();
    bones[1].parent = 2;  // one past the last bone
    LogCapture log;
    Loaded<AGSkin> skin(authoring::SkinBytes(bones));
    ASSERT_EQ(skin.BoneCount(), 2u);
    EXPECT_TRUE(skin.Bones()[1].parent == AGBone::kRoot && log.Lines().size() == 1u);
    skin.Update();

    const std::string bytes = authoring::SkinBytes(TwoBones());
    LoadBytes(skin, bytes.substr(0, bytes.size() - 1));
    EXPECT_EQ(std::make_pair(skin.BoneCount(), log.Lines().size()), std::make_pair(0u, size_t(2)));
}
