// Seeded random damage to every graphics file format: each load must end with the resource
// loaded or empty, without an out-of-bounds access (checked by the sanitizer build) and
// without a hang.
#include <gtest/gtest.h>

#include <random>

#include "engine/core/AGController.h"
#include "engine/graphics/AGBone.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCCam.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/TrackWriter.h"
#include "tools/authoring/VertexBufferWriter.h"

using authoring::Track;

namespace {

constexpr int kRounds = 5000;

// One or two random changes: a flipped bit, an extreme word, a cut or an inserted byte.
std::string Damage(std::string bytes, std::mt19937& rng) {
    const int changes = 1 + int(rng() % 2);
    for (int c = 0; c < changes && !bytes.empty(); ++c) {
        const size_t at = rng() % bytes.size();
        switch (rng() % 4) {
        case 0:
            bytes[at] = char(bytes[at] ^ (1 << (rng() % 8)));
            break;
        case 1: {
            static const u32 words[] = {0, 1, 3, 0x7FFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0x7F800000, 0xFFC00000};
            const u32 w = words[rng() % 9];
            for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
                bytes[at + i] = char(w >> (8 * i));
            break;
        }
        case 2:
            bytes.resize(at);
            break;
        default:
            bytes.insert(bytes.begin() + long(at), char(rng()));
            break;
        }
    }
    return bytes;
}

template <typename T, typename Use>
void Mutate(const std::string& original, u32 seed, Use use) {
    std::mt19937 rng(seed);
    LogCapture quiet;
    for (int round = 0; round < kRounds; ++round) {
        T resource;
        LoadBytes(resource, Damage(original, rng));
        use(resource);
    }
    // Both outcomes occur: some damage is harmless, most is reported.
    EXPECT_GT(quiet.Lines().size(), 0u);
    EXPECT_LT(quiet.Lines().size(), size_t(kRounds));
}

}  // namespace

TEST(GraphicsMutation, ModelAnimations) {
    const std::string bytes = authoring::ModelAnimationBytes(
        30, 30, Track::Vec3().Key(0, {1, 2, 3}).Key(15, {4, 5, 6}).Key(29, {}),
        Track::Quat().Key(0, {0, 0, 0, 1}).Key(29, {0, 1, 0, 0}), Track::Vec3().Key(3, {1, 1, 1}));
    Mutate<AGModelAnimation>(bytes, 1, [](AGModelAnimation& a) {
        AGVec3 p;
        AGQuat q;
        for (f32 t : {-1.0f, 0.0f, 7.5f, 40.0f}) {
            a.m_position.Evaluate(t, p);
            a.m_rotation.Evaluate(t, q);
        }
        EXPECT_GE(a.m_frameCount, a.m_position.Empty() && a.m_rotation.Empty() ? 0.0f : 1.0f);
    });
}

TEST(GraphicsMutation, PrscAnimations) {
    const std::string bytes = authoring::PrscAnimationBytes(
        10, 30, Track::Vec2().Key(0, {0, 0}).Key(9, {5, 5}), Track::Float().Key(0, {0}).Key(5, {90}).Key(9, {180}),
        Track::Vec2().Key(0, {1, 1}), Track::Color().ColorKey(0, 0xFFFFFFFF).ColorKey(9, 0),
        Track::UV().UVKey(0, 0, 1, 1, 0, 0, 0).UVKey(9, 1, 2, 2, 1, 1, 0));
    Mutate<AGPrscAnimation>(bytes, 2, [](AGPrscAnimation& a) {
        AGColor c = 0;
        AGUVKey uv;
        for (f32 t : {0.0f, 4.5f, 9.0f}) {
            a.m_color.Evaluate(t, c);
            a.m_uv.Evaluate(t, uv);
        }
    });
}

TEST(GraphicsMutation, SkinAnimations) {
    std::vector<authoring::SkinBoneTracks> bones(3);
    for (u16 i = 0; i < 3; ++i) {
        bones[i].boneIndex = u16(i * 2);
        bones[i].position = Track::Vec3().Key(0, {f32(i), 0, 0}).Key(20, {0, f32(i), 0});
        bones[i].rotation = Track::Quat().Key(0, {0, 0, 0, 1}).Key(10, {0, 0, 1, 0}).Key(20, {0, 0, 0, 1});
    }
    const std::string bytes = authoring::SkinAnimationBytes(20, 30, bones);
    Mutate<AGSkinAnimation>(bytes, 3, [](AGSkinAnimation& a) {
        AGBone skin[4];
        AGController controller;
        controller.SetTime(300.0f);
        AGSkinAnimation::Apply(controller, a, skin, 4);
        AGSkinAnimation::Blend(controller, a, skin, 4, 0.5f);
    });
}

TEST(GraphicsMutation, VertexBuffers) {
    authoring::VertexBufferData d;
    d.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 2, 2}};
    d.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    d.colors = {1, 2, 3};
    d.texCoords = {{0, 0}, {1, 1}};
    d.influenceCounts = {2, 1, 2};
    d.influenceVertices = {0, 1, 2, 3, 4};
    d.influenceWeights = {1, 1, 1, 0.5f, 0.5f};
    Mutate<AGVertexBuffer>(authoring::VertexBufferBytes(d), 4, [](AGVertexBuffer& vb) {
        // What loads skinned must be safe to skin: counts add up and indices stay in range.
        u32 sum = 0;
        for (u16 c : vb.m_influenceCounts)
            sum += c;
        if (vb.IsSkinned()) {
            EXPECT_EQ(sum, vb.InfluenceCount());
            EXPECT_EQ(vb.m_influenceWeights.Count(), vb.InfluenceCount());
            for (u16 v : vb.m_influenceVertices)
                EXPECT_LT(v, vb.PositionCount());
        }
    });
}

TEST(GraphicsMutation, Cameras) {
    const std::string bytes = authoring::CameraBytes(
        12, Track::Vec3().Key(0, {0, 0, -10}).Key(11, {5, 0, -10}), Track::Vec3().Key(0, {0, 0, 0}),
        Track::Float().Key(0, {45}).Key(6, {60}).Key(11, {30}));
    Mutate<PCCam>(bytes, 5, [](PCCam& camera) {
        if (AGController* c = camera.GetController()) {
            c->SetMode(AGController::kLoop);
            for (int i = 0; i < 4; ++i) {
                c->UpdateBy(200.0f);
                camera.Update();
            }
        }
    });
}
