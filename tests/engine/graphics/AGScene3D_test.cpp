#include "engine/graphics/AGScene3D.h"

#include <functional>

#include "engine/core/AGController.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCEmitter.h"
#include "engine/graphics/PCModel.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tools/authoring/EmitterWriter.h"
#include "tools/authoring/SceneWriter.h"

using authoring::NameId;
using authoring::SceneData;

namespace {

// A skeleton sample ("rig": model, skeleton, idle animation), a box, a spark emitter, a
// lamp and a path, and scenes "a" and "b" naming them; "a" also links a model it does not have.
void WriteScenes(drawtest::TestPackage& package) {
    authoring::EmitterData spark;
    spark.endFrame = 20;
    authoring::AddTexturedBox(package.Writer(), authoring::TexturedBox{});
    authoring::AddSkeletonSample(package.Writer(), "rig");
    package.Writer().Add("spark.emt", 0, authoring::EmitterBytes(spark)).Add("lamp.lgt", 0, authoring::LightBytes({}))
        .Add("path.anm", 0, authoring::ModelAnimationBytes(10, 30, authoring::Track::Vec3().Key(0, {1, 2, 3}),
                                            authoring::Track::Quat(), authoring::Track::Vec3()));
    SceneData a;
    a.modelIds = {NameId("rig.mdl"), NameId("box.mdl")};
    a.emitterIds = {NameId("spark.emt")};
    a.lightIds = {NameId("lamp.lgt")};
    a.skinLinks = {{NameId("rig.mdl"), NameId("rig.skel"), NameId("rig.idle")},
                   {NameId("gone.mdl"), NameId("rig.skel"), NameId("rig.idle")}};
    a.emitterAnimationLinks = {{NameId("spark.emt"), NameId("path.anm")}};
    a.modelAnimationLinks = {{NameId("box.mdl"), NameId("path.anm")}};
    a.frameCount = 31, a.frameRate = 15;
    SceneData b;
    b.modelIds = {NameId("box.mdl"), NameId("rig.mdl")};
    b.emitterIds = {NameId("spark.emt")};
    package.Writer().Add("a.scn", 0, authoring::SceneBytes(a)).Add("b.scn", 0, authoring::SceneBytes(b));
}

// The two scenes' package, mounted.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteScenes(package);
        package.Mount();
    }
    drawtest::TestPackage package;
    LogCapture log;
};

}  // namespace

TEST_F(SceneTest, LinksModelsSkinsAndPathsToOneClock) {
    auto* scene = package.Get<AGScene3D>(TypeKey::Scene3D, "a.scn");
    ASSERT_EQ(scene->ModelCount(), 2u);
    EXPECT_TRUE(scene->SkinCount() == 1u && log.Contains("which the scene does not have"));
    auto* rig = static_cast<PCModel*>(scene->GetModel(0));
    AGSkin* skeleton = scene->GetSkin(0);
    auto* emitter = scene->GetEmitter(0);
    EXPECT_TRUE(rig->GetSkin() == skeleton && skeleton->GetAnimation() && rig->GetDynamicVertexBuffer());
    EXPECT_EQ(scene->GetModel(1)->GetModelAnimation(), emitter->GetPathAnimation());
    EXPECT_EQ(scene->AnimationCount(), 2u);

    // One controller drives everything, at the scene's rate; 31 frames end at frame 30.
    AGController* clock = scene->GetController();
    EXPECT_EQ(std::make_pair(clock->GetEndFrame(), clock->GetFrameRate()), std::make_pair(30.0f, 15.0f));
    EXPECT_EQ(std::vector<AGController*>({rig->GetController(), skeleton->GetController(), emitter->GetController()}),
              std::vector<AGController*>(3, clock));
    // The emitter follows its path: its particles start at the path's key.
    emitter->Update();
    ASSERT_GT(emitter->LiveCount(), 0u);
    const AGVec3 at = emitter->FirstLive()->position;
    EXPECT_TRUE(at.x == 1.0f && at.y == 2.0f && at.z == 3.0f);
    rig->ClearFlags(AGRenderable::kActive);
    emitter->ClearFlags(AGRenderable::kActive);
    scene->ActivateAll();
    EXPECT_TRUE(rig->HasFlags(AGRenderable::kActive) && emitter->HasFlags(AGRenderable::kActive));

    // Paused, neither model, skeleton nor emitter moves the scene's clock on; resumed, each does.
    drawtest::ScopedTimer timer;
    const std::function<void()> steps[] = {[&] { scene->GetModel(1)->Update(); }, [&] { skeleton->Update(); },
                                           [&] { emitter->Update(); }};
    for (bool paused : {true, false}) {
        scene->SetPaused(paused);
        for (u32 i = 0; i < 3; ++i) {
            const f32 before = clock->GetTime();
            timer.timer.Update();
            steps[i]();
            EXPECT_EQ(clock->GetTime() != before, !paused) << i;
        }
    }
    package.GiveBack(TypeKey::Scene3D, scene);
}

// Shared models are counted, instances are clones, scenes left at shut-down go first.
TEST_F(SceneTest, SharedModelsAreCountedAndInstancesCloned) {
    auto* a = package.Get<AGScene3D>(TypeKey::Scene3D, "a.scn");
    auto* b = package.Get<AGScene3D>(TypeKey::Scene3D, "b.scn");
    AGModel* box = a->GetModel(1);
    EXPECT_EQ(std::make_pair(b->GetModel(0), box->RefCount()), std::make_pair(box, 2u));
    package.GiveBack(TypeKey::Scene3D, b);
    EXPECT_EQ(std::make_pair(box->RefCount(), a->GetEmitter(0)->RefCount()), std::make_pair(1u, 1u));

    // With shared clear (and in a scene's clone) every model is a private copy.
    auto* own = static_cast<AGScene3D*>(GetOrLoadResource(package.Provider(TypeKey::Scene3D),
                                                          NameId("b.scn"), 0, false, false));
    auto* copy = package.Instance<AGScene3D>(TypeKey::Scene3D, "a.scn");
    for (AGModel* model : {own->GetModel(0), copy->GetModel(1)})
        EXPECT_TRUE(!model->IsBase() && model->GetMesh(0) != box->GetMesh(0));
    EXPECT_NE(copy->GetSkin(0), a->GetSkin(0));
    EXPECT_EQ(copy->GetController()->GetEndFrame(), 30.0f);  // the clone keeps the scene's timing
    EXPECT_EQ(copy->GetModel(0)->GetSkin(), copy->GetSkin(0));
    EXPECT_EQ(package.Provider(TypeKey::Model)->InstanceCount(NameId("box.mdl")), 2u);
    for (AGScene3D* held : {copy, own, a})
        package.GiveBack(TypeKey::Scene3D, held);
    EXPECT_EQ(package.Provider(TypeKey::Model)->InstanceCount(NameId("box.mdl")), 0u);
    // Nothing else the scenes took is held any more: unheld, it is gone.
    for (auto [key, name] : {std::pair{TypeKey::Skeleton, "rig.skel"}, {TypeKey::SkeletonPrsAnimation, "rig.idle"},
                             {TypeKey::PrsAnimation, "path.anm"}, {TypeKey::Light, "lamp.lgt"}})
        EXPECT_EQ(package.Provider(key)->Find(NameId(name)), nullptr) << name;
}

// A scene going first takes its path animation and skeleton off the models and emitter it
// shares, and leaves them the controller of the scene taken later.
TEST_F(SceneTest, ASceneGoingFirstLeavesTheSharedPartsBare) {
    auto* a = package.Get<AGScene3D>(TypeKey::Scene3D, "a.scn");
    auto* b = package.Get<AGScene3D>(TypeKey::Scene3D, "b.scn");
    ASSERT_TRUE(b->GetEmitter(0) == a->GetEmitter(0) && b->GetEmitter(0)->GetPathAnimation());
    package.GiveBack(TypeKey::Scene3D, a);
    EXPECT_TRUE(!b->GetEmitter(0)->GetPathAnimation() && !b->GetModel(0)->GetModelAnimation() &&
                !b->GetModel(1)->GetSkin() && b->GetEmitter(0)->GetController() == b->GetController());
    package.GiveBack(TypeKey::Scene3D, b);

    // The resource manager deletes what nobody gave back; scene copies and scenes holding
    // private models must go before the models they hold (checked by the sanitizer build).
    EXPECT_NE(package.Instance<AGScene3D>(TypeKey::Scene3D, "a.scn"), nullptr);
    EXPECT_NE(GetOrLoadResource(package.Provider(TypeKey::Scene3D), NameId("b.scn"), 0, false, false), nullptr);
}

// Before the graphics start-up the providers are placeholders: a take gives null and no hold.
TEST(AGGraphicsProviders, TakingFromAPlaceholderProviderGivesNullAndKeepsNoHold) {
    ResourceEnvironment env(false);
    LogCapture log;
    for (bool shared : {true, false})
        EXPECT_EQ(AGTakeResource<PCCam>(TypeKey::Camera, Crc32Hash("intro"), shared), nullptr) << shared;
    const AGResource* placeholder = env.Provider(TypeKey::Camera)->Find(Crc32Hash("intro"));
    EXPECT_EQ(std::pair(placeholder->RefCount(), env.Provider(TypeKey::Camera)->InstanceCount(Crc32Hash("intro"))),
              std::pair(0u, 0u));
    EXPECT_TRUE(log.Contains("not of the class asked for"));
}
