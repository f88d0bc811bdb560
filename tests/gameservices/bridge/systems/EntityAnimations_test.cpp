#include "gameservices/bridge/systems/EntityAnimations.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/AGController.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameservices/game/sAnimation.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/ModelWriter.h"
#include "tools/authoring/TrackWriter.h"

using namespace GameServices;
using namespace GameServices::Bridge;
using namespace GameServices::Entities::VolatileDataKeys;

namespace {

// Names each call in a shared journal.
struct Listener : IDelegate {
    Listener(std::vector<std::string>& journal, std::string name) : journal(journal), name(std::move(name)) {}
    void Invoke() override {
        journal.push_back(name);
        if (then)
            then();
    }
    std::vector<std::string>& journal;
    std::string name;
    std::function<void()> then;
};

class EntityAnimationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        authoring::PackageWriter& w = package.Writer();
        authoring::AddSkeletonSample(w, "rig");
        authoring::AddTexturedBox(w, authoring::TexturedBox{.name = "tile", .slotController = {{20}}, .model = {}});
        // Two bones moving linearly over frames 0..30: bone 0 along x, bone 1 along y.
        std::vector<authoring::SkinBoneTracks> bones(2);
        bones[0].position.Key(0, {0, 0, 0}).Key(30, {3, 0, 0});
        bones[1].boneIndex = 1;
        bones[1].position.Key(0, {0, 0, 0}).Key(30, {0, 6, 0});
        w.Add("rig.slide", 0, authoring::SkinAnimationBytes(31, 30, bones))
            .Add("spin.anm", 0, authoring::ModelAnimationBytes(100, 30, authoring::Track::Vec3(),
                                                                authoring::Track::Quat(), authoring::Track::Vec3()));
        package.Mount();
        LoadCapacities(dir, {{"FactoryEntityAnimations", 2},
                             {"FactoryEntityAnimationStoryboard", 1},
                             {"FactoryEntityAnimationKeyFrame", 2}});
        CreateEngineAnimationFactories();
        model = package.Instance<AGModel>(TypeKey::Model, "rig.mdl");
        box.VolatileDatas.Set(kENGINE_DATA_MODEL, model);
        box.VolatileDatas.Set(kRENDERABLE_MODEL_DATA, &description);
        box.Visible = true;
        camera.VolatileDatas.Set(kENGINE_DATA_CAMERA, &engineCamera);
        set.m_Props.push_back(&box);
        set.m_Cameras.push_back(&camera);
        engineCamera.EnsureController();
        engineCamera.SetController(nullptr);
        skin.m_Name = "rig.skel";
        skin.m_ModelTypes = {MiniGame::kModelAll};
    }
    void TearDown() override {
        CleanupAnimations(&set);
        EXPECT_EQ(GetAnimationFactories().m_Entities->GetUsedCount() + GetAnimationFactories().m_Skins->GetUsedCount() +
                      GetAnimationFactories().m_Handlers->GetUsedCount(),
                  0u);
        DestroyEngineAnimationFactories();
        package.GiveBack(TypeKey::Model, model);
    }

    TempDir dir;
    drawtest::TestPackage package;
    AGModel* model = nullptr;
    RenderableModelData description;
    PCCam engineCamera;
    Entities::Prop box;
    Entities::Camera camera{"Shot"};
    Entities::Set set;
    MiniGame::BehaviorActionSkin skin;
    std::vector<std::string> journal;
};

TEST_F(EntityAnimationsTest, PlayModesPlaceAndTimeTheController) {
    LogCapture log;
    const struct { i32 mode; u32 converted; bool reported; } modes[] = {
        {0, 1, false}, {1, 1, false}, {2, 1, true}, {3, 3, false}, {6, 6, false}, {7, 1, true}, {-1, 1, true}};
    for (const auto& m : modes) {
        log.Clear();
        EXPECT_EQ(ConvertPlayMode(m.mode), m.converted) << m.mode;
        EXPECT_EQ(log.Contains("Invalid playmode !!!"), m.reported) << m.mode;
    }
    AGController& controller = *engineCamera.GetController();
    controller.SetRange(0, 120);
    SetCameraAnimation(camera, 3, 2.0f, 10, -1);
    EXPECT_FLOAT_EQ(controller.GetOutput(), 10.0f);
    EXPECT_NEAR(controller.GetTime(), 333.33f, 0.01f);
    // A backward mode starts from the end frame; replaying keeps the speed; -1 keeps the place.
    ReplayCameraAnimation(camera, 5, -1, 0);
    EXPECT_EQ(controller.GetMode(), 5u);
    EXPECT_NEAR(controller.GetOutput(), 120.0f, 1e-3f);
    ReplayCameraAnimation(camera, 3, 0, -1);
    controller.UpdateBy(100.0f);
    EXPECT_NEAR(controller.GetOutput(), 6.0f, 1e-3f);
    ReplayCameraAnimation(camera, 1, -1, -1);
    controller.UpdateBy(100.0f);
    EXPECT_NEAR(controller.GetOutput(), 6.0f, 1e-3f);
    EXPECT_EQ(GetCameraAnimationEndFrame(camera), 119);
    SetModelAnimation(box, "spin.anm", 4, 1.0f, -1, -1);
    EXPECT_EQ(model->GetController(), GetEntityAnimations(box)->m_Model->m_Controller);
}

TEST_F(EntityAnimationsTest, KeysFireOncePerPassOfTheirFrame) {
    AGController& controller = *engineCamera.GetController();
    controller.SetRange(0, 30);
    SetCameraAnimation(camera, 4, 1.0f, 0, -1);
    Listener first(journal, "a"), second(journal, "b"), late(journal, "late");
    AddCameraAnimationKey(camera, {10, &first});
    AddCameraAnimationKey(camera, {10, &second});
    const std::vector<AnimationHandler*>& keys = GetEntityAnimations(camera)->m_Camera->m_Keys;
    EXPECT_EQ(keys.size(), 1u);
    std::vector<f32> firedAt;
    camera.Visible = false;
    for (int frame = 0; frame < 60; ++frame) {
        const size_t before = journal.size();
        UpdateAnimations(&set, 0);
        if (journal.size() != before)
            firedAt.push_back(controller.GetOutput());
        controller.UpdateBy(34.0f);
    }
    // Once per loop, in the order added, on the first frame at 9 or more.
    EXPECT_EQ(journal, (std::vector<std::string>{"a", "b", "a", "b"}));
    EXPECT_TRUE(firedAt.at(0) >= 9.0f && firedAt.at(0) < 9.5f) << firedAt.at(0);
    // Removing its own key inside the pass lets the others fire; it is gone afterwards.
    journal.clear();
    first.then = [&] { RemoveCameraAnimationKey(camera, {10, &first}); };
    ReplayCameraAnimation(camera, 3, 9, -1);
    UpdateAnimations(&set, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"a", "b"}));
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0]->m_Event.Count(), 1u);
    // A key beyond the end of a play-once animation fires when it stops.
    AddCameraAnimationKey(camera, {200, &late});
    ReplayCameraAnimation(camera, 3, 0, -1);
    controller.UpdateBy(5000.0f);
    UpdateAnimations(&set, 0);
    EXPECT_EQ(journal.back(), "late");
    RemoveCameraAnimationKey(camera, {10, &second});
    RemoveCameraAnimationKey(camera, {200, &late});
    EXPECT_TRUE(keys.empty());
    // A handler taken again from the pool is armed: its key fires at frame 0.
    journal.clear();
    AddCameraAnimationKey(camera, {0, &second});
    ReplayCameraAnimation(camera, 4, 0, -1);
    UpdateAnimations(&set, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"b"}));
}

TEST_F(EntityAnimationsTest, SkinsPoseTheSkeletonAndCrossFade) {
    SetSkinAnimation(box, skin, "rig.slide", 0.0f, 4, 1.0f, 3, -1);
    EngineAnimationSkin* animation = GetEntityAnimations(box)->m_Skins.at(0);
    AGSkin* skeleton = animation->m_Key.m_Skeleton;
    ASSERT_NE(skeleton, nullptr);
    EXPECT_EQ(model->GetSkin(), skeleton);
    UpdateAnimations(&set, 500);
    EXPECT_NEAR(skeleton->Bones()[0].position.x, 1.8f, 1e-4f);
    EXPECT_NEAR(skeleton->Bones()[1].position.y, 3.6f, 1e-4f);
    AGController* current = animation->m_Controller;
    // A fade of 0.5 s is half done after 250 ms and over on the first frame at 500 ms.
    SetSkinAnimation(box, skin, "rig.idle", 0.5f, 4, 1.0f, -1, -1);
    for (u32 dt : {250u, 249u})
        UpdateAnimations(&set, dt);
    EXPECT_EQ(animation->m_IncomingName, "rig.idle");
    UpdateAnimations(&set, 1);
    EXPECT_EQ(animation->m_CurrentName + (animation->m_Incoming ? "+" : ""), "rig.idle");
    EXPECT_TRUE(animation->m_Controller == current && model->GetController() == current);
    // The same name re-plays; a fade of no length ends at the next update, even of 0 ms.
    SetSkinAnimation(box, skin, "rig.idle", 0.5f, 4, 1.0f, -1, -1);
    EXPECT_EQ(GetAnimationControllerCount(), 1u);
    SetSkinAnimation(box, skin, "rig.slide", 0.0f, 3, 1.0f, 15, -1);
    UpdateAnimations(&set, 0);
    EXPECT_EQ(animation->m_CurrentName + (animation->m_Incoming ? "+" : ""), "rig.slide");
    EXPECT_NEAR(skeleton->Bones()[0].position.x, 1.5f, 1e-4f);
    EXPECT_EQ(GetSkinAnimationEndFrame(box, skin), 29);
}

TEST_F(EntityAnimationsTest, ThePerFrameStepFollowsVisibilityActivityAndLevels) {
    LogCapture log;
    Entities::Prop hidden, third;
    Entities::ComponentLevel level;
    for (Entities::Prop* prop : {&hidden, &third})
        prop->VolatileDatas.Set(kENGINE_DATA_MODEL, model);
    level.m_Props.push_back(&hidden);
    set.m_ComponentLevels.push_back(&level);
    SetModelAnimation(box, "spin.anm", 4, 1.0f, 0, -1);
    SetModelAnimation(hidden, "spin.anm", 4, 1.0f, 0, -1);
    // Two records at capacity 2: the third entity is reported and gets none.
    SetModelAnimation(third, "spin.anm", 4, 1.0f, 0, -1);
    EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for EntityAnimationFactory"));
    EXPECT_EQ(GetEntityAnimations(third), nullptr);
    EXPECT_EQ(GetAnimationFactories().m_Skins->GetMaxSize(), 2u);
    AddModelAnimationKey(third, {0, nullptr});
    AGController* shown = GetEntityAnimations(box)->m_Model->m_Controller;
    AGController* inner = GetEntityAnimations(hidden)->m_Model->m_Controller;
    Listener key(journal, "hidden");
    hidden.Visible = false;
    AddModelAnimationKey(hidden, {0, &key});
    UpdateAnimations(&set, 100);
    EXPECT_EQ(inner->GetOutput(), 0.0f);
    EXPECT_TRUE(journal.empty());
    hidden.Visible = true;
    hidden.Activate = false;
    UpdateAnimations(&set, 100);
    hidden.Activate = true;
    UpdateAnimations(&set, 100);
    EXPECT_NEAR(shown->GetOutput(), 9.0f, 1e-3f);
    EXPECT_NEAR(inner->GetOutput(), 3.0f, 1e-3f);
    EXPECT_EQ(journal.size(), 1u);
    CleanupAnimations(&set);
    EXPECT_EQ(model->GetModelAnimation(), nullptr);
    CleanupAnimations(&set);
    // A second creation makes fresh queues and keeps the pools.
    auto* pool = GetAnimationFactories().m_Entities;
    CreateEngineAnimationFactories();
    EXPECT_EQ(GetAnimationFactories().m_Entities, pool);
    set.m_ComponentLevels.clear();
}

TEST_F(EntityAnimationsTest, StoryboardsGoBackAndBehavioursPlayThroughThePublishedServices) {
    CreateEntityAnimationFactories();
    AnimationFactories& pools = GetAnimationFactories();
    auto* controller = pools.m_Controllers->Alloc();
    controller->m_Storyboard = pools.m_Storyboards->Alloc();
    MiniGame::EntityAnimation* animation = pools.m_Animations->Alloc();
    animation->m_KeyFrames = {pools.m_KeyFrames->Alloc(), pools.m_KeyFrames->Alloc()};
    controller->m_Storyboard->m_Animations = {animation};
    ReleaseEntityController(controller);
    EXPECT_EQ(pools.m_Controllers->GetUsedCount() + pools.m_Storyboards->GetUsedCount() +
                  pools.m_Animations->GetUsedCount() + pools.m_KeyFrames->GetUsedCount(),
              0u);
    KorvoGame::IEntityAnimation* services = KorvoGame::IEntityAnimation::Get();
    ASSERT_NE(services, nullptr);
    KorvoGame::AnimationTarget target;
    target.kind = KorvoGame::kAnimationModel;
    target.name = "spin.anm";
    services->Start(box, target, 0.0f, 3, 1.0f, 10, -1);
    EXPECT_EQ(services->GetEndFrame(box, target), 99);
    EXPECT_FLOAT_EQ(GetEntityAnimations(box)->m_Model->m_Controller->GetOutput(), 10.0f);
    DestroyEntityAnimationFactories();
    EXPECT_EQ(KorvoGame::IEntityAnimation::Get(), nullptr);
}

TEST_F(EntityAnimationsTest, TextureSlotsPlayOnControllersOfTheirOwn) {
    LogCapture log;
    AGModel* tile = package.Instance<AGModel>(TypeKey::Model, "tile.mdl");
    box.VolatileDatas.Set(kENGINE_DATA_MODEL, tile);
    description.m_RenderableKind = RenderableModelData::kModel;
    for (int twice = 0; twice < 2; ++twice)
        SetUVAnimation(box, "tile.mat", 4, 2.0f, 3, -1);
    ASSERT_EQ(GetEntityAnimations(box)->m_UVs.size(), 1u);
    AGController* controller = GetEntityAnimations(box)->m_UVs[0]->m_Controller;
    EXPECT_EQ(tile->FindSkin("tile.mat")->GetSlot(0)->GetController(), controller);
    EXPECT_EQ(GetUVAnimationEndFrame(box, "tile.mat"), 18);
    SetUVAnimationSpeed(box, "tile.mat", 0.5f);
    ReplayUVAnimation(box, "tile.mat", 3, 0, -1);
    UpdateAnimations(&set, 100);
    EXPECT_NEAR(controller->GetOutput(), 1.5f, 1e-4f);
    // The slot does not step textures: no texture animation, with the report.
    SetTextureAnimation(box, "tile.mat", 4, 1.0f, -1, -1);
    EXPECT_TRUE(GetEntityAnimations(box)->m_Textures.empty() && log.Contains("can't Find the controller in this material"));
    CleanupAnimations(&set);
    package.GiveBack(TypeKey::Model, tile);
}

}  // namespace
