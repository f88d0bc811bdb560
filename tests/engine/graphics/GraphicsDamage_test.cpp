// Seeded random damage to every graphics file format: each load ends loaded or empty, without
// an out-of-bounds access (the sanitizer build checks) or a hang, and what loaded is safe to
// use.

#include "engine/core/AGController.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGScene3D.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCEmitter.h"
#include "engine/graphics/PCMaterial.h"
#include "engine/graphics/PCModel.h"
#include "engine/graphics/PCText.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/EmitterWriter.h"
#include "tools/authoring/FontBaker.h"
#include "tools/authoring/SceneWriter.h"

using authoring::NameId;

// Some damage to these formats is harmless: the readers do not reject every change. Vertex
// buffers, meshes, skins, skin animations and tracks have their own damage tests.
TEST(GraphicsDamage, ModelAnimations) {
    const std::string model = authoring::ModelAnimationBytes(
        30, 30, Track::Vec3().Key(0, {1, 2, 3}).Key(15, {4, 5, 6}).Key(29, {}),
        Track::Quat().Key(0, {0, 0, 0, 1}).Key(29, {0, 1, 0, 0}), Track::Vec3().Key(3, {1, 1, 1}));
    EXPECT_GT(Damage<AGModelAnimation>(model, 1, [](AGModelAnimation& a) {
        AGVec3 p;
        AGQuat q;
        for (f32 t : {-1.0f, 0.0f, 7.5f, 40.0f}) {
            a.m_position.Evaluate(t, p);
            a.m_rotation.Evaluate(t, q);
        }
        // Kept timing is usable; without it nothing is kept.
        EXPECT_GE(a.m_frameCount, a.m_position.Empty() && a.m_rotation.Empty() ? 0.0f : 1.0f);
        EXPECT_EQ(a.m_frameRate > 0.0f, a.m_frameCount >= 1.0f);
    }), 0);
    ExpectEveryCutEmpty<AGModelAnimation>(model, [](const AGModelAnimation& a) {
        return a.m_frameCount == 0.0f && a.m_frameRate == 0.0f && a.m_position.Empty() && a.m_rotation.Empty() &&
               a.m_scale.Empty();
    });
}

TEST(GraphicsDamage, ModelsScenesAndEmitters) {
    // The skeleton sample and a box, held so that damaged files that still name them find them
    // loaded; the resource manager deletes them at the end.
    drawtest::TestPackage held;
    authoring::AddTexturedBox(held.Writer(), authoring::TexturedBox{});
    authoring::AddSkeletonSample(held.Writer(), "rig");
    held.Mount();
    for (auto [type, name] : {std::pair{TypeKey::VertexBuffer, "box.vb"}, {TypeKey::Mesh, "box.mesh"},
                              {TypeKey::Material, "box.mat"}, {TypeKey::Model, "box.mdl"},
                              {TypeKey::VertexBuffer, "rig.vb"}, {TypeKey::SkeletonPrsAnimation, "rig.idle"}})
        held.Get<AGResource>(type, name);
    auto* skin = held.Get<AGSkin>(TypeKey::Skeleton, "rig.skel");
    authoring::ModelData model;
    model.vertexBufferId = NameId("rig.vb");
    model.meshIds = {NameId("box.mesh"), NameId("box.mesh")};
    model.materialIds = {NameId("box.mat")};
    model.attachBoneId = 2, model.animated = true;
    const std::string modelBytes = authoring::ModelBytes(model);
    Damage<PCModel>(modelBytes, 13, [skin, &modelBytes](PCModel& m) {
        m.SetSkin(skin);
        m.Update();
        m.SetOpacity(0.5f);
        m.Update();
        // Lists fit in the file; the model hangs on a bone the skin has.
        EXPECT_LE(m.MeshCount() + m.Materials().Count(), (modelBytes.size() + 3) / 4);
        EXPECT_LT(m.GetAttachBoneIndex(), i32(skin->BoneCount()));
    });

    authoring::SceneData scene;
    scene.modelIds = {NameId("box.mdl"), NameId("box.mdl")};
    scene.skinLinks = {{NameId("box.mdl"), NameId("rig.skel"), NameId("rig.idle")}};
    scene.modelAnimationLinks = {{NameId("box.mdl"), NameId("rig.idle")}};
    scene.lightIds = {NameId("none")};
    const std::string sceneBytes = authoring::SceneBytes(scene);
    Damage<AGScene3D>(sceneBytes, 14, [&sceneBytes](AGScene3D& s) {
        EXPECT_LE(s.ModelCount() + s.LightCount() + s.EmitterCount(), (sceneBytes.size() + 3) / 4);
        for (u32 i = 0; i < s.ModelCount(); ++i)
            if (AGModel* m = s.GetModel(i)) {
                m->Update();
                EXPECT_TRUE(!m->GetSkin() || m->GetAttachBoneIndex() < i32(m->GetSkin()->BoneCount()));
            }
    });

    authoring::EmitterData emitter;
    emitter.emissionKind = 1;
    emitter.burstFrames = {0, 2, 4};
    emitter.burstCounts = {3, 2, 1};
    emitter.endFrame = 6, emitter.life = emitter.startSpeed = 3, emitter.spinPeriod = 4;
    PCCam camera;
    AGGraphicLayer layer;
    layer.SetCamera(&camera);
    Damage<PCEmitter>(authoring::EmitterBytes(emitter), 15, [&layer](PCEmitter& e) {
        AGController clock;
        AGBindAnimation(clock, 8, 30, 1);
        e.SetController(&clock);
        layer.AddRenderable(&e);
        for (f32 frame : {0.0f, 2.1f, 4.2f, 7.0f, 1.0f}) {
            clock.SetTime(frame * clock.GetFrameDuration());
            layer.Update();
        }
        EXPECT_LE(e.LiveCount(), e.PoolSize());
        layer.RemoveRenderable(&e);
    });
}

TEST(GraphicsDamage, MaterialsSlotsSpritesAndFonts) {
    authoring::MaterialData material;
    material.alpha = Track::Float().Key(0, {1}).Key(10, {0.5f}).Key(20, {0});
    material.slots = {"a", "b", "c"};
    const std::string materialBytes = authoring::MaterialBytes(material);
    Damage<PCMaterial>(materialBytes, 11, [&materialBytes](PCMaterial& m) {
        // The slot ids follow 44 bytes at least (header, colours, power, an empty track).
        EXPECT_LE(m.SlotCount(), (materialBytes.size() + 3 - 44) / 4);
        u32 w = 0, h = 0;
        EXPECT_FALSE(m.GetLargestTextureSize(w, h));  // no slot names a texture that exists
        m.Update();
        m.BindTextures();
    });
    authoring::TextureSlotData slot;
    slot.textures = {"a", "b", "c"};
    slot.controller = authoring::SlotController{30, 1.0f, 30.0f};
    slot.uv = Track::UV().Interpolation(Track::StepId()).UVKey(0, 0, 1, 1, 0, 0, 0).UVKey(10, 1, 2, 2, 0.5f, 0.5f, 3).UVKey(20, 2, 1, 1, 0, 0, 0);
    Damage<AGTextureSlot>(authoring::TextureSlotBytes(slot), 12, [](AGTextureSlot& s) {
        for (int i = 0; i < 4; ++i) {
            if (AGController* c = s.GetController())
                c->UpdateBy(250.0f);
            s.Update(0);
        }
        EXPECT_TRUE(s.GetCurrentTexture() == nullptr || s.GetCurrentFrame() < s.TextureCount());
    });
    Damage<PCSprite>(authoring::SpriteBytes(2, 64, 32, ""), 13, [](PCSprite& s) {
        s.Update();
        s.Draw();
        // A quad or nothing; textured only with a material.
        EXPECT_TRUE(!s.GetVertexBuffer() || s.GetVertexBuffer()->PositionCount() == 4);
        EXPECT_EQ(s.IsTextured(), s.GetMaterial() != nullptr);
    });
    authoring::FontData font;
    font.name = "damaged", font.lineHeight = 12, font.textureWidth = font.textureHeight = 128;
    for (u32 c = 0; c < 260; ++c)
        font.glyphs.push_back({c < 256 ? c : 0x2000 + c, c % 128, c / 2, 8, 10, 0, -2, 0});
    Damage<AGFont>(authoring::FontBytes(font), 15, [](AGFont& f) {
        AGText text;
        text.SetFont(&f);
        text.SetBox(0, 0, 100, 60);
        text.Layout("Hello, wide \xE2\x80\xA2 world of text\nand a second line", true);
        EXPECT_EQ(text.PrimitiveCount(), 2 * text.PlacedGlyphCount());
        EXPECT_LE(text.PlacedGlyphCount(), text.GlyphCount());
    });
}
