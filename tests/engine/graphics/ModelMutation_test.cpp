// Seeded random damage to meshes, models, skins, scenes and emitters: every load ends loaded
// or empty, without an out-of-bounds access (the sanitizer build checks) or a hang, and what
// loads is safe to update.
#include <gtest/gtest.h>

#include <random>

#include "engine/core/AGController.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGMesh.h"
#include "engine/graphics/AGScene3D.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCEmitter.h"
#include "engine/graphics/PCModel.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/engine/graphics/ModelTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/EmitterWriter.h"
#include "tools/authoring/SceneWriter.h"

using authoring::NameId;

namespace {

constexpr int kRounds = 5000;

// One or two changes: a flipped bit, an extreme word, a cut or an inserted byte.
std::string Damage(std::string bytes, std::mt19937& rng) {
    static const u32 kWords[] = {0, 1, 255, 0xFFFF, 0x10000, 0x7FFFFFFF, 0xFFFFFFFF, 0x7F800000, 0xFFC00000};
    for (int c = 1 + int(rng() % 2); c > 0 && !bytes.empty(); --c) {
        const size_t at = rng() % bytes.size();
        switch (rng() % 4) {
        case 0: bytes[at] = char(bytes[at] ^ (1 << (rng() % 8))); break;
        case 1:
            for (size_t i = 0, w = kWords[rng() % 9]; i < 4 && at + i < bytes.size(); ++i)
                bytes[at + i] = char(w >> (8 * i));
            break;
        case 2: bytes.resize(at); break;
        default: bytes.insert(bytes.begin() + long(at), char(rng())); break;
        }
    }
    return bytes;
}

template <typename T, typename Use>
void Mutate(const std::string& original, u32 seed, Use use) {
    std::mt19937 rng(seed);
    LogCapture log;
    for (int round = 0; round < kRounds; ++round) {
        T resource;
        LoadBytes(resource, Damage(original, rng));
        use(resource);
    }
    EXPECT_GT(log.Lines().size(), 0u);
}

// The skeleton sample and a box, held once so that damaged files that still name them find
// them loaded.
class Held : public modeltest::ModelPackage {
public:
    Held() {
        authoring::AddTexturedBox(Writer(), authoring::TexturedBox{});
        authoring::AddSkeletonSample(Writer(), "rig");
        Mount();
        for (auto [type, name] : kHeld)
            m_held.push_back({type, GetOrLoadResource(Provider(type), NameId(name), 0, false, true)});
    }
    ~Held() {
        for (auto [type, resource] : m_held)
            Provider(type)->Release(resource);
    }

private:
    static constexpr std::pair<u32, const char*> kHeld[] = {
        {TypeKey::VertexBuffer, "box.vb"},  {TypeKey::Mesh, "box.mesh"},   {TypeKey::Material, "box.mat"},
        {TypeKey::Model, "box.mdl"},        {TypeKey::VertexBuffer, "rig.vb"}, {TypeKey::Skeleton, "rig.skel"},
        {TypeKey::SkeletonPrsAnimation, "rig.idle"}};
    std::vector<std::pair<u32, AGResource*>> m_held;
};

}  // namespace

TEST(ModelMutation, Meshes) {
    Mutate<AGMesh>(authoring::MeshBytes(authoring::BoxMesh(2)), 11, [](AGMesh& mesh) {
        if (mesh.Empty())
            return;
        EXPECT_LE(u64(mesh.m_triangleCount) * 3, mesh.m_lists[AGMesh::kTriangles].Count());
        for (u16 v : mesh.m_lists[AGMesh::kTriangles])
            EXPECT_LT(v, mesh.VertexCount());
    });
}

TEST(ModelMutation, Skins) {
    Mutate<AGSkin>(authoring::SkinBytes(authoring::MakeSkeletonSample(4).bones), 12, [](AGSkin& skin) {
        skin.Update();
        for (u32 i = 0; i < skin.BoneCount(); ++i)
            EXPECT_TRUE(skin.Bones()[i].parent == AGBone::kRoot || skin.Bones()[i].parent < skin.BoneCount());
    });
}

TEST(ModelMutation, Models) {
    Held held;
    authoring::ModelData data;
    data.vertexBufferId = NameId("rig.vb");
    data.meshIds = {NameId("box.mesh"), NameId("box.mesh")};
    data.materialIds = {NameId("box.mat")};
    data.attachBoneId = 2;
    data.animated = true;
    auto* skin = GetOrLoadResourceAs<AGSkin>(held.Provider(TypeKey::Skeleton), NameId("rig.skel"));
    Mutate<PCModel>(authoring::ModelBytes(data), 13, [skin](PCModel& model) {
        model.SetSkin(skin);
        model.Update();
        model.SetOpacity(0.5f);
        model.Update();
    });
    held.Provider(TypeKey::Skeleton)->Release(skin);
}

TEST(ModelMutation, Scenes) {
    Held held;
    authoring::SceneData data;
    data.modelIds = {NameId("box.mdl"), NameId("box.mdl")};
    data.skinLinks = {{NameId("box.mdl"), NameId("rig.skel"), NameId("rig.idle")}};
    data.modelAnimationLinks = {{NameId("box.mdl"), NameId("rig.idle")}};
    data.lightIds = {NameId("none")};
    Mutate<AGScene3D>(authoring::SceneBytes(data), 14, [](AGScene3D& scene) {
        for (u32 i = 0; i < scene.ModelCount(); ++i)
            if (AGModel* model = scene.GetModel(i))
                model->Update();
    });
}

TEST(ModelMutation, Emitters) {
    authoring::EmitterData data;
    data.emissionKind = 1;
    data.burstFrames = {0, 2, 4};
    data.burstCounts = {3, 2, 1};
    data.endFrame = 6;
    data.perSpawn = 2;
    data.life = 3;
    data.spinPeriod = 4;
    data.orientationKind = 0;
    data.startSpeed = 1;
    PCCam camera;
    AGGraphicLayer layer;
    layer.SetCamera(&camera);
    Mutate<PCEmitter>(authoring::EmitterBytes(data), 15, [&layer](PCEmitter& emitter) {
        AGController clock;
        AGBindAnimation(clock, 8, 30, 1);
        emitter.SetController(&clock);
        layer.AddRenderable(&emitter);
        for (f32 frame : {0.0f, 2.1f, 4.2f, 7.0f, 1.0f}) {
            clock.SetTime(frame * clock.GetFrameDuration());
            layer.Update();
        }
        EXPECT_LE(emitter.LiveCount(), emitter.PoolSize());
        layer.RemoveRenderable(&emitter);
    });
}
