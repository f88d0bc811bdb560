#include "gameservices/bridge/systems/EntityAnimations.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/AGController.h"
#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "engine/graphics/AGSprite.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
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

// A controller placed directly at a mode and frame.
struct Clock : AGController {
    void At(u32 mode, f32 frame) { m_mode = mode, m_output = frame; }
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
        // Bone 0 held at x = 10.
        std::vector<authoring::SkinBoneTracks> hold(1);
        hold[0].position.Key(0, {10, 0, 0}).Key(30, {10, 0, 0});
        w.Add("rig.slide", 0, authoring::SkinAnimationBytes(31, 30, bones))
            .Add("rig.hold", 0, authoring::SkinAnimationBytes(31, 30, hold))
            .Add("spin.anm", 0, authoring::ModelAnimationBytes(100, 30, authoring::Track::Vec3(),
                                                                authoring::Track::Quat(), authoring::Track::Vec3()));
        // Sprite materials: "pair" steps textures in slot 0 and pans in slot 1; "flip" only steps.
        authoring::TextureSlotData flip, pan;
        flip.controller = authoring::SlotController{4};
        flip.uv.Interpolation(authoring::Track::StepId());
        pan.controller = authoring::SlotController{8};
        authoring::MaterialData pair, flipOnly;
        pair.slots = {"flip_slot", "pan_slot"};
        flipOnly.slots = {"flip_slot"};
        w.Add("flip_slot", TypeKey::TextureSlot, authoring::TextureSlotBytes(flip))
            .Add("pan_slot", TypeKey::TextureSlot, authoring::TextureSlotBytes(pan))
            .Add("pair.mat", TypeKey::Material, authoring::MaterialBytes(pair))
            .Add("flip.mat", TypeKey::Material, authoring::MaterialBytes(flipOnly));
        package.Mount();
        LoadCapacities(dir, {{"FactoryEntityAnimations", 3}, {"FactoryEngineAnimationSkin", 3},
                             {"FactoryEntityAnimationStoryboard", 1}, {"FactoryEntityAnimationKeyFrame", 2}});
        CreateEngineAnimationFactories();
        model = package.Instance<AGModel>(TypeKey::Model, "rig.mdl");
        box.VolatileDatas.Set(kENGINE_DATA_MODEL, model);
        box.VolatileDatas.Set(kRENDERABLE_MODEL_DATA, &description);
        box.Visible = true;
        camera.VolatileDatas.Set(kENGINE_DATA_CAMERA, &engineCamera);
        set.m_Props.push_back(&box);
        set.m_Cameras.push_back(&camera);
        set.m_Characters.push_back(&walker);
        engineCamera.EnsureController();
        engineCamera.SetController(nullptr);
        skin.m_Name = "rig.skel";
        skin.m_ModelTypes = {MiniGame::kModelAll};
    }
    void TearDown() override {
        CleanupAnimations(&set);
        const AnimationFactories& pools = GetAnimationFactories();
        EXPECT_EQ(pools.m_Entities->GetUsedCount() + pools.m_Skins->GetUsedCount() +
                      pools.m_Models->GetUsedCount() + pools.m_Handlers->GetUsedCount(), 0u);
        DestroyEngineAnimationFactories();
        EXPECT_TRUE(!pools.m_Entities && !pools.m_Skins && !pools.m_Models && !pools.m_Textures && !pools.m_UVs &&
                    !pools.m_Cameras && !pools.m_Handlers && !GetPendingKeyRemovals(kSkinKind) &&
                    !GetPendingKeyRemovals(kCameraKind));
        EXPECT_EQ(GetAnimationControllerCount(), 0u);
        package.GiveBack(TypeKey::Model, model);
    }

    TempDir dir;
    drawtest::TestPackage package;
    AGModel* model = nullptr;
    RenderableModelData description;
    PCCam engineCamera;
    Entities::Prop box;
    Entities::Camera camera{"Shot"};
    Entities::Character walker;
    Entities::Set set;
    MiniGame::BehaviorActionSkin skin;
    std::vector<std::string> journal;
    LogCapture log;
    AGController flipClock, tileClock;

    // The box plays a model animation only, with a texture animation "flip" and a UV animation
    // "tile.mat" (neither kind finds the other); the camera its camera animation only.
    void AnimateBoxAndCamera() {
        SetModelAnimation(box, "spin.anm", 4, 1.0f, -1, -1);
        SetCameraAnimation(camera, 4, 1.0f, -1, -1);
        flipClock.SetRange(0, 5);
        tileClock.SetRange(0, 7);
        AddTextureAnimation(*GetEntityAnimations(box), &flipClock, "flip");
        AddUVAnimation(*GetEntityAnimations(box), &tileClock, "tile.mat");
    }
};

TEST_F(EntityAnimationsTest, PlayModesConvertOrAreReported) {
    const struct { i32 mode; u32 converted; bool reported; } modes[] = {
        {0, 1, false}, {1, 1, false}, {2, 1, true}, {3, 3, false}, {6, 6, false}, {7, 1, true}, {-1, 1, true}};
    for (const auto& m : modes) {
        log.Clear();
        EXPECT_EQ(ConvertPlayMode(m.mode), m.converted) << m.mode;
        EXPECT_EQ(log.Contains("Invalid playmode !!!"), m.reported) << m.mode;
    }
}

TEST_F(EntityAnimationsTest, StartsPlaceTheControllerAtTheirFrame) {
    AGController& controller = *engineCamera.GetController();
    controller.SetRange(0, 120);
    SetCameraAnimation(camera, 3, 2.0f, 10, -1);
    EXPECT_FLOAT_EQ(controller.GetOutput(), 10.0f);
    EXPECT_EQ(EntityAnimationServices().GetEndFrame(camera, {KorvoGame::kAnimationCamera, {}, {}}), 119);  // the last frame
    // Replaying keeps the speed.
    ReplayCameraAnimation(camera, 3, 0, -1);
    controller.UpdateBy(100.0f);
    EXPECT_NEAR(controller.GetOutput(), 6.0f, 1e-3f);
    EntityAnimationServices().Start(box, {KorvoGame::kAnimationModel, {}, "spin.anm"}, 0.0f, 4, 1.0f, -1, -1);
    EXPECT_EQ(model->GetController(), GetEntityAnimations(box)->m_Model->m_Controller);
    // Taken again from its pool (of three), a model animation starts at frame 0 whatever it
    // last played.
    SetModelAnimation(box, "spin.anm", 6, 1.0f, -1, 7);
    for (int i = 0; i < 3; ++i) {
        CleanupAnimations(&set);
        SetModelAnimation(box, "spin.anm", 4, 1.0f, -1, -1);
    }
    EXPECT_FLOAT_EQ(GetEntityAnimations(box)->m_Model->m_Controller->GetOutput(), 0.0f);
}

// A controller at frame 20 of 0..60, speed 2; then one step of 300 ms.
TEST_F(EntityAnimationsTest, PlayModesPlaceAndTimeTheController) {
    const struct { i32 mode; f32 speed; i32 start, end; u32 controllerMode; f32 frame, after; } rows[] = {
        {3, -1.0f, 10, -1, 3, 10, 28},   // start placed, speed kept
        {3, 0.5f, -1, -1, 3, 20, 24.5f},  // place kept
        {4, 0.0f, 5, 7, 4, 5, 5},         // speed 0 holds
        {5, 1.0f, 10, -1, 5, 20, 11},     // backward: the start frame is not used
        {6, 1.0f, -1, 7, 6, 60, 51},      // backward from the controller's own end
    };
    for (const auto& r : rows) {
        AGController controller;
        controller.SetRange(0, 60);
        controller.SetTime(20 * controller.GetFrameDuration());
        controller.SetSpeed(2.0f);
        ApplyPlayMode(controller, r.mode, r.speed, r.start, r.end);
        EXPECT_EQ(controller.GetMode(), r.controllerMode) << r.mode;
        EXPECT_NEAR(controller.GetOutput(), r.frame, 1e-3f) << r.mode;
        controller.UpdateBy(300.0f);
        EXPECT_NEAR(controller.GetOutput(), r.after, 1e-3f) << r.mode;
    }
    AGController slow;
    slow.SetFrameRate(15.0f);
    ApplyPlayMode(slow, 4, 1.0f, -1, -1);
    EXPECT_FLOAT_EQ(slow.GetFrameDuration(), 1000.0f / 30.0f);
}

TEST_F(EntityAnimationsTest, ASkinNeedsItsEngineObjectAndDescription) {
    Entities::Prop undressed, unmodelled;
    RenderableAvatarData look;
    undressed.VolatileDatas.Set(kRENDERABLE_AVATAR_DATA, &look);
    unmodelled.VolatileDatas.Set(kENGINE_DATA_MODEL, model);
    for (Entities::Prop* prop : {&undressed, &unmodelled}) {
        SetSkinAnimation(*prop, skin, "rig.slide", 0.0f, 4, 1.0f, -1, -1);
        EXPECT_EQ(GetEntityAnimations(*prop), nullptr);
    }
}

// Keys fire once per pass of their frame, and re-arm when playback leaves it.
TEST_F(EntityAnimationsTest, KeysFireOncePerPassInTheirOrder) {
    AGController& controller = *engineCamera.GetController();
    controller.SetRange(0, 30);
    SetCameraAnimation(camera, 4, 1.0f, 0, -1);
    Listener first(journal, "a"), second(journal, "b"), late(journal, "late");
    AddCameraAnimationKey(camera, {10, &first});
    AddCameraAnimationKey(camera, {10, &second});
    // A hidden camera still fires, an inactive one fires nothing.
    camera.Visible = false, camera.Activate = false;
    ReplayCameraAnimation(camera, 3, 9, -1);
    UpdateAnimations(&set, 0);
    EXPECT_TRUE(journal.empty());
    camera.Activate = true;
    // In the order added; removing its own key inside the pass lets the others fire.
    first.then = [&] { RemoveCameraAnimationKey(camera, {10, &first}); };
    ReplayCameraAnimation(camera, 3, 9, -1);
    UpdateAnimations(&set, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"a", "b"}));
    // A key beyond the end of a play-once animation fires when it stops; the key removed
    // during its pass stays removed once its frame is passed again.
    AddCameraAnimationKey(camera, {200, &late});
    ReplayCameraAnimation(camera, 3, 0, -1);
    UpdateAnimations(&set, 0);
    controller.UpdateBy(5000.0f);
    UpdateAnimations(&set, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"a", "b", "b", "late"}));
    RemoveCameraAnimationKey(camera, {10, &second});
    RemoveCameraAnimationKey(camera, {200, &late});
    // A handler taken again from the pool is armed: its key fires at frame 0.
    journal.clear();
    AddCameraAnimationKey(camera, {0, &second});
    ReplayCameraAnimation(camera, 4, 0, -1);
    UpdateAnimations(&set, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"b"}));
    // With the pool's three handlers in use (one by the camera) a third frame gets none; a key
    // removed from one frame stays on the others; a pass started inside a key's call leaves the
    // keys firing.
    Clock clock;
    EngineAnimationModel outer;
    outer.m_Controller = &clock;
    Listener nesting(journal, "outer");
    nesting.then = [&] {
        FireAnimationKeys(*GetEntityAnimations(camera)->m_Camera);
        journal.push_back(AreKeysFiring() ? "firing" : "idle");
    };
    AddKey(outer, {0, &nesting});
    for (u32 frame : {0, 5, 9})
        AddKey(outer, {frame, &second});
    RemoveKey(outer, {5, &second});
    clock.At(AGController::kLoop, 0);
    FireAnimationKeys(outer);
    EXPECT_EQ(journal, (std::vector<std::string>{"b", "outer", "firing", "b"}));
    ClearKeys(outer);
}

// Frames seen in turn by a key at frame 10, and whether it fires on each.
TEST_F(EntityAnimationsTest, KeysFireByPlayDirection) {
    const struct { u32 mode; std::vector<std::pair<f32, bool>> steps; } runs[] = {
        {AGController::kOnce, {{8.9f, false}, {9.0f, true}, {9.5f, false}, {12, false}, {0, false}, {9.2f, true}}},
        {AGController::kLoop, {{9.0f, true}, {10, false}, {8.9f, false}, {9.0f, true}}},
        {AGController::kOnceReverse, {{10.5f, false}, {10, true}, {9, false}, {11, false}, {10, true}}},
        {AGController::kLoopReverse, {{10, true}, {0, false}, {10.1f, false}, {9.9f, true}}},
        {AGController::kStopped, {{50, true}, {0, false}, {10, false}}},
        {AGController::kOnceThenReverse, {{9.5f, false}, {10, false}}}};
    for (const auto& run : runs) {
        Clock clock;
        EngineAnimationModel animation;
        animation.m_Controller = &clock;
        Listener key(journal, "k");
        AddKey(animation, {10, &key});
        for (const auto& [frame, fires] : run.steps) {
            journal.clear();
            clock.At(run.mode, frame);
            FireAnimationKeys(animation);
            EXPECT_EQ(journal.size(), fires ? 1u : 0u) << "mode " << run.mode << " frame " << frame;
        }
        EXPECT_FALSE(AreKeysFiring());
        ClearKeys(animation);
    }
}

TEST_F(EntityAnimationsTest, SkinsPoseTheSkeletonAndCrossFade) {
    SetSkinAnimation(box, skin, "rig.slide", 0.0f, 4, 1.0f, 3, -1);
    EngineAnimationSkin* animation = GetEntityAnimations(box)->m_Skins.at(0);
    AGSkin* skeleton = animation->m_Key.m_Skeleton;
    ASSERT_NE(skeleton, nullptr);
    EXPECT_EQ(std::string(animation->m_FolderPath.c_str()), "-data/prop/");  // where a prop's files are
    AvatarSkin other = animation->m_Key;  // another skeleton over the same models is another skin
    other.m_Name = "other.skel";
    EXPECT_EQ(FindSkinAnimation(*GetEntityAnimations(box), other), nullptr);
    EXPECT_EQ(model->GetSkin(), skeleton);
    Listener step(journal, "step");  // a skin's key
    AddSkinAnimationKey(box, skin, {10, &step});
    UpdateAnimations(&set, 500);
    EXPECT_EQ(journal, std::vector<std::string>{"step"});
    AGController* current = animation->m_Controller;
    // A fade of 0.5 s is half done after 250 ms and over on the first frame at 500 ms.
    SetSkinAnimation(box, skin, "rig.hold", 0.5f, 4, 1.0f, -1, -1);
    // Half way: slide at frame 25.5 (x 2.55) moved half way to the held 10.
    UpdateAnimations(&set, 250);
    EXPECT_NEAR(skeleton->Bones()[0].position.x, 6.275f, 1e-3f);
    UpdateAnimations(&set, 249);
    EXPECT_EQ(animation->m_IncomingName, "rig.hold");
    UpdateAnimations(&set, 1);
    EXPECT_EQ(animation->m_CurrentName + (animation->m_Incoming ? "+" : ""), "rig.hold");
    EXPECT_TRUE(animation->m_Controller == current && model->GetController() == current);
    EXPECT_EQ(skeleton->Bones()[0].position.x, 10.0f);
    // The same name re-plays; a fade of no length ends at the next update, even of 0 ms.
    SetSkinAnimation(box, skin, "rig.hold", 0.5f, 4, 1.0f, -1, -1);
    EXPECT_EQ(GetAnimationControllerCount(), 1u);
    SetSkinAnimation(box, skin, "rig.slide", 0.0f, 3, 1.0f, 15, -1);
    UpdateAnimations(&set, 0);
    EXPECT_EQ(animation->m_CurrentName + (animation->m_Incoming ? "+" : ""), "rig.slide");
    EXPECT_NEAR(skeleton->Bones()[0].position.x, 1.5f, 1e-4f);
    EXPECT_EQ(GetSkinAnimationEndFrame(box, skin), 29);
    // A model whose skeleton already bears the skin's name keeps it.
    CleanupAnimations(&set);
    AGSkin* own = package.Instance<AGSkin>(TypeKey::Skeleton, "rig.skel");
    model->SetSkin(own);
    description.SetSkinAnimation("rig.slide", skin, 4, 1.0f);  // started by the prop's description
    RenderingSystem::StartRenderableAnimation(box);
    EXPECT_TRUE(model->GetSkin() == own && model->GetController());
    model->SetSkin(nullptr);
    package.GiveBack(TypeKey::Skeleton, own);
    // The level's end lets go of the skeleton, of the clock and of every animation the skin loaded.
    CleanupAnimations(&set);
    EXPECT_EQ(model->GetController(), nullptr);
    const std::pair<u32, const char*> loaded[] = {
        {TypeKey::Skeleton, "rig.skel"}, {TypeKey::SkeletonPrsAnimation, "rig.slide"},
        {TypeKey::SkeletonPrsAnimation, "rig.hold"}};
    for (const auto& [type, name] : loaded)
        EXPECT_EQ(package.Provider(type)->Find(Crc32Hash(name)), nullptr) << name;
    // Without resources a skin gets neither skeleton nor animation, only its clock, and its
    // updates pose nothing.
    AGResourceManager* resources = AGResourceManager::Get();
    AGResourceManager::SetInstance(nullptr);
    SetSkinAnimation(box, skin, "rig.slide", 0.0f, 4, 1.0f, -1, -1);
    AGResourceManager::SetInstance(resources);
    EngineAnimationSkin* bare = GetEntityAnimations(box)->m_Skins.at(0);
    EXPECT_TRUE(!bare->m_Key.m_Skeleton && !bare->m_Current && bare->m_Controller);
    UpdateAnimations(&set, 250);
    EXPECT_EQ(bare->m_Controller->GetTime(), 0.0f);
}

TEST_F(EntityAnimationsTest, ThePerFrameStepFollowsVisibilityAndLevels) {
    Entities::Prop hidden, third;
    Entities::ComponentLevel level;
    level.m_Props.push_back(&hidden);
    set.m_ComponentLevels.push_back(&level);
    SetModelAnimation(box, "spin.anm", 4, 1.0f, 0, -1);
    // Three records at capacity 3: the fourth entity is reported and gets none.
    for (Entities::Entity* entity : std::initializer_list<Entities::Entity*>{&hidden, &walker, &third}) {
        entity->VolatileDatas.Set(kENGINE_DATA_MODEL, model);
        SetModelAnimation(*entity, "spin.anm", 4, 1.0f, 0, -1);
    }
    EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for EntityAnimationFactory"));
    EXPECT_EQ(GetEntityAnimations(third), nullptr);
    // An absent capacity repeats the one read before it.
    EXPECT_EQ(GetAnimationFactories().m_Handlers->GetMaxSize(), 3u);
    AGController* shown = GetEntityAnimations(box)->m_Model->m_Controller;
    AGController* inner = GetEntityAnimations(hidden)->m_Model->m_Controller;
    Listener key(journal, "hidden");
    hidden.Visible = false;
    AddModelAnimationKey(hidden, {0, &key});
    UpdateAnimations(&set, 100);
    hidden.Visible = true, hidden.Activate = false;
    UpdateAnimations(&set, 100);
    hidden.Activate = true;
    UpdateAnimations(&set, 100);
    EXPECT_NEAR(shown->GetOutput(), 9.0f, 1e-3f);
    EXPECT_NEAR(inner->GetOutput(), 3.0f, 1e-3f);
    EXPECT_EQ(journal.size(), 1u);
    CleanupAnimations(&set);
    EXPECT_EQ(model->GetModelAnimation(), nullptr);
    set.m_ComponentLevels.clear();
}

TEST_F(EntityAnimationsTest, TextureSlotsHaveTheirOwnControllers) {
    AGModel* tile = package.Instance<AGModel>(TypeKey::Model, "tile.mdl");
    box.VolatileDatas.Set(kENGINE_DATA_MODEL, tile);
    description.m_RenderableKind = RenderableModelData::kModel;
    // The new controller starts where the slot's own stands, over one frame less, timed at 30 per second.
    tile->FindSkin("tile.mat")->GetSlot(0)->GetController()->UpdateBy(200.0f);
    description.SetUVAnimation("tile.mat", 4, 2.0f);
    RenderingSystem::StartRenderableAnimation(box);
    ASSERT_EQ(GetEntityAnimations(box)->m_UVs.size(), 1u);
    AGController* controller = GetEntityAnimations(box)->m_UVs[0]->m_Controller;
    EXPECT_EQ(controller->GetEndTime(), 18 * controller->GetFrameDuration());
    EXPECT_NEAR(controller->GetOutput(), 6.0f, 1e-3f);
    SetUVAnimation(box, "tile.mat", 4, 2.0f, 3, -1);
    EXPECT_EQ(GetEntityAnimations(box)->m_UVs.size(), 1u);
    // The slot does not step textures: no texture animation, with the report.
    SetTextureAnimation(box, "tile.mat", 4, 1.0f, -1, -1);
    EXPECT_TRUE(GetEntityAnimations(box)->m_Textures.empty() && log.Contains("can't Find the controller in this material"));
    CleanupAnimations(&set);
    package.GiveBack(TypeKey::Model, tile);
}

// A sprite's UV animation takes a slot that does not step; its texture animation does too, and
// takes the stepping slot only when there is no other. Slot -1: none made, reported.
TEST_F(EntityAnimationsTest, SpriteAnimationsTakeTheirSlots) {
    const struct { const char* material; bool texture; i32 slot, endFrame; } sprites[] = {
        {"pair.mat", true, 1, 6}, {"flip.mat", true, 0, 2}, {"flip.mat", false, -1, 0}};
    RenderableModelData flat;
    flat.m_RenderableKind = RenderableModelData::kSprite;
    for (const auto& s : sprites) {
        log.Clear();
        AGSprite sprite;
        sprite.TakeMaterial(package.Instance<AGMaterial>(TypeKey::Material, s.material));
        Entities::Prop card;
        card.VolatileDatas.Set(kENGINE_DATA_SPRITE, &sprite);
        card.VolatileDatas.Set(kRENDERABLE_MODEL_DATA, &flat);
        if (s.texture)
            SetTextureAnimation(card, "card", 4, 1.0f, -1, -1);
        else
            SetUVAnimation(card, "card", 4, 1.0f, -1, -1);
        EntityAnimations& record = *GetEntityAnimations(card);
        const EngineAnimationBase* made = s.texture ? static_cast<EngineAnimationBase*>(FindTextureAnimation(record, "card"))
                                                    : FindUVAnimation(record, "card");
        const std::string row = std::string(s.material) + (s.texture ? " texture" : " uv");
        ASSERT_EQ(made != nullptr, s.slot >= 0) << row;
        EXPECT_EQ(log.Contains("can't Find the controller in this material"), s.slot < 0) << row;
        if (made) {
            EXPECT_EQ(sprite.GetMaterial()->GetSlot(u32(s.slot))->GetController(), made->m_Controller) << row;
            EXPECT_EQ(i32(made->m_Controller->GetEndFrame()), s.endFrame) << row;
            namespace types = Entities::ClassTypes;
            EXPECT_TRUE(made->IsA(types::kEngineAnimationTexture.m_Id) && made->IsA(types::kEngineAnimationBase.m_Id))
                << row;
        }
        set.m_Props.push_back(&card);
        CleanupAnimations(&set);
        set.m_Props.pop_back();
    }
}

TEST_F(EntityAnimationsTest, MissingAnimationsAreReportedAndAnswerZero) {
    Entities::Prop bare, sprite, dressed;
    AGSprite engineSprite;
    Avatar avatar;
    sprite.VolatileDatas.Set(kENGINE_DATA_SPRITE, &engineSprite);
    dressed.VolatileDatas.Set(kENGINE_DATA_AVATAR, &avatar);
    Listener listener(journal, "l");
    const AnimationKey key{1, &listener};
    EntityAnimationServices anim;  // the calls by kind reach each kind's own
    using namespace KorvoGame;
    AnimateBoxAndCamera();
    EXPECT_EQ(GetTextureAnimationEndFrame(box, "flip") * 10 + GetUVAnimationEndFrame(box, "tile.mat"), 57);
    anim.Replay(box, {kAnimationUV, {}, "tile.mat"}, 3, 0, -1);  // found among the UV animations only
    EXPECT_EQ(tileClock.GetMode(), u32(AGController::kOnce));
    const char* const first = "you must set an animation first";
    const char* const replay = "you try to Replay an animation that doesn't exist !!";
    const char* const speed = "you try to change the speed of an animation that doesn't exist !!";
    const char* const noKey = "can't find this animation to add a key";
    const char* const noTexture = "can't find this texture animation";
    const struct { std::function<i32()> call; const char* report; } rows[] = {
        {[&] { return ReplayModelAnimation(bare, 3, -1, -1), 0; }, first},
        {[&] { return GetModelAnimationEndFrame(bare); }, first},
        {[&] { return GetCameraAnimationEndFrame(bare); }, first},
        {[&] { return GetSkinAnimationEndFrame(bare, skin); }, first},
        {[&] { return GetTextureAnimationEndFrame(bare, "tile.mat"); }, first},
        {[&] { return GetUVAnimationEndFrame(bare, "tile.mat"); }, first},
        {[&] { return ReplaySkinAnimation(box, {}, 3, -1, -1), 0; }, "The skin  drives no model"},
        {[&] { return anim.Replay(box, {kAnimationSkin, &skin, {}}, 3, -1, -1), 0; }, replay},
        {[&] { return ReplayModelAnimation(camera, 3, -1, -1), 0; }, replay},
        {[&] { return SetSkinAnimationSpeed(box, skin, 1.0f), 0; }, speed},
        {[&] { return SetCameraAnimationSpeed(box, 1.0f), 0; }, speed},
        {[&] { return AddSkinAnimationKey(box, skin, key), 0; }, noKey},
        {[&] { return anim.AddKey(box, {kAnimationCamera, {}, {}}, 1, &listener), 0; }, noKey},
        {[&] { return anim.RemoveKey(box, {kAnimationCamera, {}, {}}, 1, &listener), 0; }, noKey},
        {[&] { return RemoveModelAnimationKey(camera, key), 0; }, "can't find this animation "},
        {[&] { return anim.RemoveKey(box, {kAnimationTexture, {}, "tile.mat"}, 1, &listener), 0; }, noTexture},
        {[&] { return GetSkinAnimationEndFrame(box, skin); }, "Error GetSkinAnimationEndFrame failed!"},
        {[&] { return anim.GetEndFrame(camera, {kAnimationModel, {}, {}}); }, "Error GetModelAnimationEndFrame failed!"},
        {[&] { return GetTextureAnimationEndFrame(box, "tile.mat"); }, "Error GetTextureAnimationEndFrame failed!"},
        {[&] { return anim.GetEndFrame(box, {kAnimationUV, {}, "flip"}); }, "Error GetUVAnimationEndFrame failed!"},
        {[&] { return anim.GetEndFrame(box, {kAnimationCamera, {}, {}}); }, "Failed to retrieve AGCamera!"},
        {[&] { return i32(!AddModelAnimation(*GetEntityAnimations(box), {}, "spin.anm")); },
         "You can't have two different Model animation"},  // the first goes back to its pool
        {[&] { return SetCameraAnimation(box, 4, 1.0f, -1, -1), 0; }, "Failed to initialize the Camera animation!"},
        {[&] { return SetModelAnimation(sprite, "spin.anm", 4, 1.0f, -1, -1), 0; },
         "ModelAnimation is not suported for the Sprite"},
        {[&] { return SetModelAnimation(dressed, "spin.anm", 4, 1.0f, -1, -1), 0; },
         "ModelAnimation is not suported for the Avatar"},
        {[&] { return SetSkinAnimation(sprite, skin, "rig.slide", 0.0f, 4, 1.0f, -1, -1), 0; },
         "SkinAnimation is not suported for the Sprite"},
        {[&] { return anim.Start(dressed, {kAnimationUV, {}, "tile.mat"}, 0.0f, 4, 1.0f, -1, -1), 0; },
         "TextureAnimation is not suported for the Avatar"}};
    for (const auto& row : rows) {
        log.Clear();
        EXPECT_EQ(row.call(), 0) << row.report;
        EXPECT_EQ(log.Lines(), (std::vector<std::string>{row.report}));
    }
    EXPECT_EQ(GetAnimationFactories().m_Handlers->GetUsedCount(), 0u);
    EXPECT_TRUE(GetEntityAnimations(sprite) == nullptr && GetEntityAnimations(dressed) == nullptr);
}

// Texture and UV keys fire with the entity's; each removes itself, after its pass.
TEST_F(EntityAnimationsTest, TextureAndUVKeysFireWithTheEntity) {
    using namespace KorvoGame;
    AnimateBoxAndCamera();
    EntityAnimationServices anim;
    Listener flipKey(journal, "flip"), tileKey(journal, "tile");
    flipKey.then = [&] { RemoveTextureAnimationKey(box, "flip", {0, &flipKey}); };
    tileKey.then = [&] { anim.RemoveKey(box, {kAnimationUV, {}, "tile.mat"}, 0, &tileKey); };
    anim.AddKey(box, {kAnimationTexture, {}, "flip"}, 0, &flipKey);
    anim.AddKey(box, {kAnimationUV, {}, "tile.mat"}, 0, &tileKey);
    FireEntityAnimationKeys(*GetEntityAnimations(box));
    EXPECT_EQ(journal, (std::vector<std::string>{"flip", "tile"}));
    SetTextureAnimationSpeed(box, "flip", 0.5f);
    anim.SetSpeed(box, {kAnimationUV, {}, "tile.mat"}, 2.0f);
    UpdateAnimations(&set, 100);
    EXPECT_NEAR(flipClock.GetOutput(), 1.5f, 1e-4f);
    EXPECT_NEAR(tileClock.GetOutput(), 6.0f, 1e-4f);
    ReplayTextureAnimation(box, "flip", 3, 2, -1);
    anim.Replay(box, {kAnimationModel, {}, {}}, 3, 2, -1);
    EXPECT_EQ((std::vector<f32>{f32(flipClock.GetMode()), flipClock.GetOutput(),
                                GetEntityAnimations(box)->m_Model->m_Controller->GetOutput()}),
              (std::vector<f32>{3, 2, 2}));
    // Keys left on at the level's end go back with their animations.
    AddModelAnimationKey(box, {5, &flipKey});
    AddTextureAnimationKey(box, "flip", {5, &flipKey});
    AddUVAnimationKey(box, "tile.mat", {5, &tileKey});
    EXPECT_EQ(GetAnimationFactories().m_Handlers->GetUsedCount(), 3u);
}

// Each pool holds three: past that an animation of the kind is refused.
TEST_F(EntityAnimationsTest, EachPoolHoldsThree) {
    AnimateBoxAndCamera();
    EntityAnimations& record = *GetEntityAnimations(box);
    EntityAnimations spare[4];
    for (i32 type = 0; type < 4; ++type) {
        skin.m_ModelTypes = {type};
        SetSkinAnimation(box, skin, "rig.slide", 0.0f, 4, 1.0f, -1, -1);
        AddTextureAnimation(record, &flipClock, "more");
        AddUVAnimation(record, &tileClock, "more");
        AddModelAnimation(spare[type], {}, "spin.anm");
    }
    EXPECT_EQ(record.m_Skins.size() * 100 + record.m_Textures.size() * 10 + record.m_UVs.size(), 333u);
    EXPECT_TRUE(spare[1].m_Model && !spare[2].m_Model);
    for (EntityAnimations& other : spare)
        ReleaseModelAnimation(other.m_Model);
}

}  // namespace
