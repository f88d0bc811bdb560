#include "gameservices/bridge/systems/RenderingSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGLight.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGScene3D.h"
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/bridge/systems/BridgeSystems.h"
#include "gameservices/bridge/systems/CollisionSystem.h"
#include "gameservices/bridge/systems/EntityAnimations.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/GameFlowManager.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tools/authoring/EmitterWriter.h"
#include "tools/authoring/SceneWriter.h"

using namespace GameServices;
using namespace GameServices::Entities::VolatileDataKeys;
using Bridge::RenderingSystem;
using authoring::NameId;

namespace {

const char kStage[] = "<Cameras><item><Name>Persp</Name><PositionZ>-10</PositionZ><FieldOfView>45</FieldOfView>"
    "<Activate>true</Activate></item><item><Name>Flat</Name><Orthographic>true</Orthographic></item></Cameras>"
    "<Lights><item><Name>Key</Name><AttenuationK1>0.25</AttenuationK1><HotSize>12</HotSize><Activate>true</Activate></item></Lights>"
    "<SetElements><item><Name>Card</Name><EngineDataFileName>Card.spt</EngineDataFileName><Visible>true</Visible>"
    "<EngineTextureFileName>Desk.PNG</EngineTextureFileName></item><item><Name>Desk</Name>"
    "<EngineDataFileName>desk.mdl</EngineDataFileName><PositionX>5</PositionX><RotationY>90</RotationY>"
    "</item><item><Name>Stage</Name><EngineDataFileName>Stage.SCN</EngineDataFileName><IsAScene>true</IsAScene>"
    "</item></SetElements>"
    "<Props><item><Name>Chip</Name><EngineDataFileName>card.spt</EngineDataFileName><Visible>true</Visible>"
    "<Collidable>true</Collidable></item>"
    "<item><Name>Box</Name><EngineDataFileName>desk.mdl</EngineDataFileName><Animation type=\"ModelAnimation\">"
    "<AnimationFile>open.anm</AnimationFile></Animation></item>"
    "<item><Name>Part</Name><EngineDataFileName>Part.mdl</EngineDataFileName><PartOfScene>true</PartOfScene>"
    "<Animation type=\"ModelAnimation\"><AnimationFile>spin.anm</AnimationFile></Animation></item>"
    "<item><Name>Ghost</Name><EngineDataFileName>ghost.mdl</EngineDataFileName><PartOfScene>true</PartOfScene>"
    "</item></Props><ComponentLevels>"
    "<ComponentLevel name=\"Inner\" loadingMode=\"loadinlevel\" zIndex=\"4\"><Props><item><Name>Pin</Name>"
    "<EngineDataFileName>card.spt</EngineDataFileName></item></Props></ComponentLevel>"
    "<ComponentLevel name=\"View\" loadingMode=\"loadin3dviewport\"><Cameras><item><Name>Eye</Name>"
    "<Activate>true</Activate></item></Cameras><Props><item><Name>Dot</Name><EngineDataFileName>card.spt"
    "</EngineDataFileName></item></Props></ComponentLevel></ComponentLevels>"
    "<AudioAssets><item><Name>Theme</Name></item></AudioAssets><VideoAssets><item><Name>Intro</Name></item>"
    "</VideoAssets>";

const char kCameras[] =
    "<Cameras><item><Name>Eye</Name><PositionX>4</PositionX><PositionY>3</PositionY><PositionZ>-20</PositionZ>"
     "<LookAtX>-6</LookAtX><FieldOfView>60</FieldOfView><ClippingNear>1</ClippingNear><Activate>true</Activate>"
     "</item><item><Name>Side"
     "</Name><PositionX>-5</PositionX><LookAtX>5</LookAtX><FieldOfView>60</FieldOfView><ClippingNear>1"
     "</ClippingNear></item><item><Name>Shot</Name><PartOfScene>true</PartOfScene><FieldOfView>30</FieldOfView>"
     "<Activate>true</Activate></item></Cameras><Lights><item><Name>Fill</Name><PartOfScene>true</PartOfScene>"
     "</item></Lights><SetElements><item><Name>Stage</Name><EngineDataFileName>stage.scn</EngineDataFileName>"
     "<IsAScene>true</IsAScene></item></SetElements>";

// Engine objects by name, for levels loaded through the game flow.
class LevelRendering : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        authoring::PackageWriter& w = package.Writer();
        authoring::AddTexturedBox(w, {.name = "desk", .slotController = {}, .model = {}});
        authoring::TexturedBox part;
        part.name = "part";
        part.model.local = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1};
        authoring::AddTexturedBox(w, part);
        authoring::SceneData stage;
        stage.modelIds = {NameId("part.mdl"), NameId("desk.mdl")};
        stage.emitterIds = {NameId("spark.emt")};
        const authoring::ModelData pair{.vertexBufferId = NameId("desk.vb"),
                                        .meshIds = {NameId("desk.mesh"), NameId("desk.mesh")},
                                        .materialIds = {NameId("desk.mat"), NameId("part.mat")}};
        w.Add("pair.mdl", 0, authoring::ModelBytes(pair)).Add("card.spt", 0, authoring::SpriteBytes(0, 8, 8, ""))
            .Add("spark.emt", 0, authoring::EmitterBytes(authoring::EmitterData{}))
            .Add("stage.scn", 0, authoring::SceneBytes(stage));
        package.Mount();
        LoadCapacities(dir, {{"FactoryRenderableModelData", 32}, {"FactoryEntityAnimations", 8},
                             {"FactoryCollisionData", 4}});
        RenderingSystem::Startup();
        Bridge::CollisionSystem::Startup();
        Bridge::CreateEngineAnimationFactories();
        flow.SetBridgeSystems(Bridge::BridgeSystems::Instance());
    }
    void TearDown() override {
        if (Bridge::IRenderingSystem::Get())  // a case may have shut it down itself
            RenderingSystem::Cleanup(&set);
        Bridge::CleanupAnimations(&set);
        Bridge::AudioProcessingSystem::Cleanup(&set);
        Bridge::VideoProcessingSystem::Cleanup(&set);
        Bridge::DestroyEngineAnimationFactories();
        set.Clear();
        Bridge::CollisionSystem::Shutdown();
        RenderingSystem::Shutdown();
        LevelFixture::TearDown();
    }
    // The stage read into the set, emptied first of the level before and its engine objects.
    void Load(const std::string& children) {
        RenderingSystem::Cleanup(&set);
        set.Clear();
        WriteLevel("stage", children);
        ASSERT_TRUE(flow.LoadLevel("stage", set));
    }
    // The stage built, its light given a value of each kind.
    void BuildStage() {
        Load(kStage);
        Entities::Light& key = *set.m_Lights[0];
        key.LightType = Entities::Light::kDirection;
        key.Position = AGVec3{1, 2, 3};
        key.Color = 1, key.Ambient = 2, key.Diffuse = 3, key.Specular = 4;
        key.Intensity = 5, key.FallSize = 6, key.Range = 7, key.AttenuationK0 = 8, key.AttenuationK2 = 9;
        RenderingSystem::Initialize(&set);
    }
    u32 Clones(u32 typeKey, const char* name) const {
        return package.Provider(typeKey)->InstanceCount(Crc32Hash(name));
    }

    drawtest::TestPackage package;
    KorvoGame::GameFlowManager flow;
    Entities::Set set;
};

}  // namespace

TEST_F(LevelRendering, EveryEntityGetsItsObject) {
    BuildStage();
    const struct { Entities::Entity* entity; u32 key; } built[] = {
        {set.FindSetElement("Card"), kENGINE_DATA_SPRITE}, {set.FindSetElement("Desk"), kENGINE_DATA_MODEL},
        {set.FindProp("Chip"), kENGINE_DATA_SPRITE},        {set.FindProp("Box"), kENGINE_DATA_MODEL},
        {set.FindCamera("Flat"), kENGINE_DATA_CAMERA},      {set.m_Lights[0], kENGINE_DATA_LIGHT}};
    for (const auto& b : built)
        EXPECT_TRUE(b.entity->VolatileDatas.HasData(b.key)) << b.entity->Name.c_str();
    auto* scene = set.FindSetElement("Stage")->VolatileDatas.GetAs<AGScene3D>(kENGINE_DATA_SCENE3D);
    EXPECT_FALSE(scene->GetModel(1)->HasFlags(AGRenderable::kActive));  // a hidden scene's models start inactive
    // A sprite given a texture file draws with that texture's material.
    const AGMaterial* card = set.FindSetElement("Card")->VolatileDatas.GetAs<AGSprite>(kENGINE_DATA_SPRITE)->GetMaterial();
    EXPECT_EQ(card ? card->NameId() : 0u, NameId("desk.mat"));
    // A scene part takes the scene's model, its position and the diagonal as its scale.
    Entities::Prop* part = set.FindProp("Part");
    EXPECT_EQ(part->VolatileDatas.Get(kENGINE_DATA_MODEL), scene->GetModel(0));
    AGVec3 position;
    part->GetPosition(position);
    EXPECT_EQ(position.x + 10 * position.y + 100 * position.z, 321.0f);
    EXPECT_EQ(part->GetScale().x + 10 * part->GetScale().y + 100 * part->GetScale().z, 432.0f);
    EXPECT_FALSE(set.FindProp("Ghost")->VolatileDatas.HasData(kENGINE_DATA_MODEL));
    EXPECT_TRUE(log.Contains("The prop is not part of the scene."));
    // A camera or light without a file is made under its own name; the light held once.
    auto* light = set.m_Lights[0]->VolatileDatas.GetAs<AGLight>(kENGINE_DATA_LIGHT);
    EXPECT_EQ(light->RefCount() * 10 + (light->NameId() == Crc32Hash("Key")), 11u);
    // Every light value reaches the engine light.
    const f32 copied[] = {f32(light->m_kind), light->m_position.x + light->m_position.z, f32(light->m_valueF),
                          f32(light->m_ambient), f32(light->m_diffuse), f32(light->m_specular), light->m_valueA,
                          light->m_outerCone, light->m_range, light->m_valueB, light->m_valueD, light->m_innerCone};
    EXPECT_EQ(std::vector<f32>(std::begin(copied), std::end(copied)),
              (std::vector<f32>{2, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12}));
    // Props play the model animations their descriptions name.
    for (const char* prop : {"Box", "Part"}) {
        const Bridge::EntityAnimations* animations = Bridge::GetEntityAnimations(*set.FindProp(prop));
        ASSERT_TRUE(animations && animations->m_Model) << prop;
        EXPECT_EQ(animations->m_Model->m_AnimationName, prop[0] == 'B' ? "open.anm" : "spin.anm");
    }
}

TEST_F(LevelRendering, ChangesReachTheEngineEachFrame) {
    BuildStage();
    Entities::Light& key = *set.m_Lights[0];
    PCCam* persp = set.FindCamera("Persp")->VolatileDatas.GetCamera();
    auto* light = key.VolatileDatas.GetAs<AGLight>(kENGINE_DATA_LIGHT);
    AGGraphicLayer* layer = set.VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D);
    AGGraphicLayer* inner = set.FindComponentLevel("Inner")->VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D);
    AGGraphicLayer* view = set.FindComponentLevel("View")->VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D);
    // A changed light reaches its engine light with a unit direction.
    set.m_Lights[0]->Direction = AGVec3{0, 3, 4};
    set.m_Lights[0]->Synchronize = false;
    // Set elements follow their visibility every frame.
    set.FindSetElement("Card")->Visible = false;
    set.FindSetElement("Card")->Synchronize = false;
    // Props follow their opacity once changed; an inactive one waits.
    Entities::Prop& box = *set.FindProp("Box");
    box.SetOpacity(0.5f);
    box.Visible = false, box.Synchronize = false;
    set.FindProp("Chip")->Activate = false;
    set.FindProp("Chip")->Synchronize = false;
    for (int frame = 0; frame < 2; ++frame) {
        RenderingSystem::Update(&set);
        EXPECT_FALSE(set.FindSetElement("Card")->VolatileDatas.GetAs<AGSprite>(kENGINE_DATA_SPRITE)->HasFlags(
            AGRenderable::kActive));
        EXPECT_TRUE(set.m_Lights[0]->Synchronize && !set.FindProp("Chip")->Synchronize);
        const Entities::Entity* pipelined[] = {&set, &key, set.FindCamera("Persp")};
        for (const Entities::Entity* piped : pipelined)
            EXPECT_TRUE(piped->VolatileDatas.HasData(kENGINE_DATA_IN_PIPELINE)) << piped->Name.c_str();
        const AGModel* boxModel = box.VolatileDatas.GetAs<AGModel>(kENGINE_DATA_MODEL);
        EXPECT_EQ(boxModel->GetOpacity() + boxModel->HasFlags(AGRenderable::kActive), 0.5f);
        EXPECT_EQ(light->m_direction.y + 10 * light->m_direction.z + 100 * light->m_valueC, 0.6f + 8.0f + 25.0f);
        AGGraphicLayer* shared = RenderingSystem::PeekSharedGraphicLayer();
        EXPECT_EQ(layer->GetCamera(), persp);
        // Card, desk, the scene's two models and emitter, chip and box, once.
        EXPECT_EQ(layer->RenderableCount(), 7u);
        EXPECT_EQ(shared->ChildCount() * 10 + inner->GetOrderKey(), 24u);
        EXPECT_EQ(view->GetParent(), nullptr);
    }
    // A cut (the old camera off, the new one on and out of date) is drawn from the next update.
    Entities::Camera& flat = *set.FindCamera("Flat");
    set.FindCamera("Persp")->Activate = false;
    flat.Activate = true, flat.Synchronize = false;
    RenderingSystem::Update(&set);
    EXPECT_EQ(layer->GetCamera(), flat.VolatileDatas.GetCamera());
}

// Built again without a clean-up: reported, the old objects given back.
TEST_F(LevelRendering, ABuildWithoutCleanupIsReported) {
    BuildStage();
    const u32 models = Clones(TypeKey::Model, "desk.mdl"), sprites = Clones(TypeKey::Sprite, "card.spt");
    RenderingSystem::Initialize(&set);
    EXPECT_TRUE(log.Contains("call RenderingSystem::Cleanup(..) before!"));
    EXPECT_EQ(set.VolatileDatas.GetEngineProviders()->size(), 1u);  // the flat camera, made again
    EXPECT_EQ(Clones(TypeKey::Model, "desk.mdl") * 100 + Clones(TypeKey::Sprite, "card.spt"), models * 100 + sprites);
    // An entity cleaned up on its own leaves the layer.
    RenderingSystem::Update(&set);
    AGGraphicLayer* layer = set.VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D);
    const u32 drawn = layer->RenderableCount();
    RenderingSystem::CleanupEntity(*set.FindSetElement("Card"), layer);
    EXPECT_EQ(layer->RenderableCount() + 1, drawn);
}

TEST_F(LevelRendering, CleanupGivesEverythingBack) {
    BuildStage();
    RenderingSystem::Update(&set);
    RenderingSystem::Cleanup(&set);
    EXPECT_EQ(RenderingSystem::PeekSharedGraphicLayer()->ChildCount(), 0u);
    EXPECT_EQ(Clones(TypeKey::Model, "desk.mdl") + Clones(TypeKey::Sprite, "card.spt") +
                  Clones(TypeKey::Scene3D, "stage.scn") + Clones(TypeKey::Camera, "Persp"), 0u);
    EXPECT_EQ(RenderingSystem::GetRenderableModelDataFactory()->GetUsedCount(), 0u);
    std::vector<Entities::Entity*> all(set.m_SetElements.begin(), set.m_SetElements.end());
    all.insert(all.end(), set.m_Props.begin(), set.m_Props.end());
    all.insert(all.end(), set.m_Cameras.begin(), set.m_Cameras.end());
    all.insert(all.end(), set.m_Lights.begin(), set.m_Lights.end());
    for (auto* component : set.m_ComponentLevels) {
        all.insert(all.end(), component->m_Props.begin(), component->m_Props.end());
        all.push_back(component);
    }
    all.push_back(&set);
    for (auto* e : all)
        for (u32 key : {kRENDERABLE_MODEL_DATA, kENGINE_DATA_SCENE, kENGINE_DATA_CAMERA, kENGINE_DATA_LIGHT, kENGINE_DATA_MODEL,
                        kENGINE_DATA_SPRITE, kENGINE_DATA_SCENE3D, kENGINE_DATA_IN_PIPELINE, kENGINE_DATA_LAYER_3D,
                        kENGINE_PROVIDERS})
            EXPECT_FALSE(e->VolatileDatas.HasData(key)) << e->Name.c_str();
    // The shared layer's camera and renderer go at shutdown: nothing made without a name is left.
    EXPECT_EQ(Clones(TypeKey::Camera, "") + Clones(TypeKey::Renderer, ""), 2u);
    RenderingSystem::Shutdown();
    EXPECT_EQ(Clones(TypeKey::Camera, "") + Clones(TypeKey::Renderer, ""), 0u);
}

TEST_F(LevelRendering, SetsWithoutCamerasOrActiveCamerasAndAnExhaustedPool) {
    // Built twice: the set and its light are each reported.
    Load("<Lights><item><Name>Lamp</Name></item></Lights>");
    RenderingSystem::Initialize(&set);
    log.Clear();
    RenderingSystem::Initialize(&set);
    EXPECT_EQ(log.Lines(), std::vector<std::string>(2, "call RenderingSystem::Cleanup(..) before!"));
    // No camera: never pipelined.
    Load("<Props><item><Name>Chip</Name><EngineDataFileName>card.spt</EngineDataFileName></item></Props>");
    RenderingSystem::Initialize(&set);
    RenderingSystem::Update(&set);
    EXPECT_FALSE(set.VolatileDatas.HasData(kENGINE_DATA_IN_PIPELINE));

    // Only an inactive camera: the layer looks through a fallback screen camera.
    Load("<Cameras><item><Name>Off</Name></item></Cameras>");
    RenderingSystem::Initialize(&set);
    PCCam* fallback = set.VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D)->GetCamera();
    EXPECT_NE(fallback, set.m_Cameras[0]->VolatileDatas.GetCamera());
    EXPECT_EQ(fallback->GetProjectionKind(), PCCam::kOrthographic);
    EXPECT_EQ(set.VolatileDatas.GetEngineProviders()->back(), fallback);
    RenderingSystem::Cleanup(&set);
    set.Clear();

    // Two records in the pool: the entities after them are reported and skipped.
    RenderingSystem::Shutdown();
    EXPECT_EQ(Bridge::IRenderingSystem::Get(), nullptr);
    LoadCapacities(dir, {{"FactoryRenderableModelData", 2}});
    RenderingSystem::Startup();
    Load("<Props><item><Name>A</Name><EngineDataFileName>card.spt</EngineDataFileName></item><item><Name>B"
         "</Name><EngineDataFileName>card.spt</EngineDataFileName></item><item><Name>C</Name>"
         "<EngineDataFileName>card.spt</EngineDataFileName></item></Props><Cameras><item><Name>K</Name>"
         "<Activate>true</Activate><Orthographic>true</Orthographic></item></Cameras>");
    EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for RenderableModelDataFacory"));
    RenderingSystem::Initialize(&set);
    RenderingSystem::Update(&set);
    // An orthographic camera looks at a device-sized box once synchronised.
    set.m_Cameras[0]->Synchronize = false;
    RenderingSystem::Update(&set);
    PCCam* k = set.m_Cameras[0]->VolatileDatas.GetCamera();
    const f32 box[] = {-400, 400, 300, -300, 1, 10000};
    for (u32 i = 0; i < 6; ++i)
        EXPECT_EQ(k->GetFrustumValue(i), box[i]) << i;
    // The camera and A took the two records; the loader gave B and C back to their pool.
    EXPECT_NE(set.FindProp("A")->VolatileDatas.Get(kENGINE_DATA_SPRITE), nullptr);
    EXPECT_EQ(set.m_Props.size(), 1u);
    RenderingSystem::Cleanup(&set);
    EXPECT_EQ(Clones(TypeKey::Sprite, "card.spt"), 0u);
}

// Cameras and lights that are part of a scene keep the scene's values.
TEST_F(LevelRendering, SceneCamerasAndLightsKeepTheScenesValues) {
    Load(kCameras);
    Entities::Camera& shot = *set.FindCamera("Shot");
    shot.Position = AGVec3{7, 0, 0};
    Entities::Light& fill = *set.m_Lights[0];
    fill.HotSize = 9.0f;
    fill.Direction = AGVec3{0, 0, 2};
    fill.Synchronize = false;
    for (Entities::Camera* camera : set.m_Cameras)
        camera->Synchronize = false;
    RenderingSystem::Initialize(&set);
    auto* fillLight = fill.VolatileDatas.GetAs<AGLight>(kENGINE_DATA_LIGHT);
    ASSERT_NE(fillLight, nullptr);
    // Only the active scene camera plays its animation, on its engine camera's controller.
    const Bridge::EntityAnimations* animations = Bridge::GetEntityAnimations(shot);
    ASSERT_TRUE(animations && animations->m_Camera);
    EXPECT_EQ(Bridge::GetEntityAnimations(*set.FindCamera("Eye")), nullptr);
    // One active camera is synchronised a frame, the first drawn through; inactive cameras and
    // lights wait.
    for (size_t frame = 1; frame <= 3; ++frame)
        RenderingSystem::Update(&set);
    EXPECT_TRUE(shot.Synchronize && !set.FindCamera("Side")->Synchronize);
    EXPECT_EQ(set.VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D)->GetCamera(),
              set.FindCamera("Eye")->VolatileDatas.GetCamera());
    EXPECT_NE(shot.VolatileDatas.GetCamera()->GetEye().x, 7.0f);
    EXPECT_EQ(fill.Direction.z + fillLight->m_innerCone, 2.0f);
    fill.Activate = true;
    RenderingSystem::Update(&set);
    EXPECT_EQ(fill.Direction.z + 10 * fillLight->m_innerCone, 91.0f);
}

// A moved camera is pushed to its engine camera at the next update.
TEST_F(LevelRendering, AScreenPointGoesToTheWorld) {
    Load(kCameras);
    RenderingSystem::Initialize(&set);
    RenderingSystem::Update(&set);
    Entities::Camera& eye = *set.FindCamera("Eye");
    eye.Position = AGVec3{4, 1, -30};
    eye.LookAt = AGVec3{4, 1, 0};
    eye.Synchronize = false;
    RenderingSystem::Update(&set);
    EXPECT_EQ(eye.VolatileDatas.GetCamera()->GetEye().z, -30.0f);
    // A screen point goes to the plane at the depth and projects back onto itself.
    const AGVec3 world = Bridge::IRenderingSystem::Get()->ScreenToWorld(eye, 100, 50, 7.5f);
    EXPECT_FLOAT_EQ(world.z, 7.5f);
    const AGVec2 back = eye.VolatileDatas.GetCamera()->Project(world);
    EXPECT_NEAR(back.x + back.y, 150.0f, 0.5f);
    // A ray parallel to the plane gives its near point.
    AGVec3 near;
    ASSERT_TRUE(RenderingSystem::ScreenToWorld(*set.FindCamera("Side"), 400, 300, 3.0f, near));
    EXPECT_NEAR(near.x, -4.0f, 1e-4f);
}

TEST_F(LevelRendering, PausingScenesPausesTheirModelsAndEmitters) {
    Load(kCameras);
    RenderingSystem::Initialize(&set);
    auto* scene = set.m_SetElements[0]->VolatileDatas.GetAs<AGScene3D>(kENGINE_DATA_SCENE3D);
    RenderingSystem::PauseScenes(&set, true);
    EXPECT_EQ(scene->GetModel(1)->IsPaused() + scene->GetEmitter(0)->IsPaused(), 2);
}

// The name id of the first part's material afterwards, and the report; a texture named without
// its extension is a .png.
TEST_F(LevelRendering, ModelsTakeTheirMaterials) {
    const struct { const char *model, *texture; u32 material0; const char* report; } cases[] = {
        {"pair.mdl", "Wood.PNG", NameId("desk.mat"), "Can not find the material pair_material.mat"},
        {"desk.mdl", "Wood", NameId("wood.mat"), nullptr}, {"desk.mdl", "", NameId("desk.mat"), nullptr}};
    for (const auto& c : cases) {
        log.Clear();
        Entities::Prop prop("Thing");
        Bridge::RenderableModelData data(c.model, "");
        data.m_TextureFileName = c.texture;
        prop.VolatileDatas.Set(kRENDERABLE_MODEL_DATA, &data);
        AGModel* model = RenderingSystem::CreateModel(prop);
        EXPECT_EQ(model->Materials().Get(0)->NameId(), c.material0) << c.model << " " << c.texture;
        EXPECT_TRUE(!c.report || log.Contains(c.report));
        // A second model for the same entity gives the first back.
        RenderingSystem::CreateModel(prop);
        EXPECT_EQ(Clones(TypeKey::Model, c.model), 1u);
        RenderingSystem::CleanupEntity(prop, nullptr);
        EXPECT_EQ(Clones(TypeKey::Model, c.model), 0u);
    }
}

// X and Z skipped at 0, Y in this system's degrees, then the scale.
TEST_F(LevelRendering, PlacementTurnsThenScales) {
    AGModel* model = package.Instance<AGModel>(TypeKey::Model, "desk.mdl");
    RenderingSystem::SetRenderableTransform(model, false, 0.0f, 90.0f, 0.0f, AGVec3{1, 2, 3}, AGVec3{2, 2, 2});
    const platform::gfx::Matrix& m = model->GetLocal();
    EXPECT_FLOAT_EQ(m.m[0], 2.0f * std::cos(90.0f * 0.017453289f));
    EXPECT_EQ(m.m[5] + m.m[12] + 10 * m.m[13] + 100 * m.m[14], 323.0f);
    EXPECT_FALSE(model->HasFlags(AGRenderable::kActive));
    package.GiveBack(TypeKey::Model, model);
}

TEST(CollisionObjectSlot, ANewObjectOrAnEraseDeletesTheOldOneUnlessShared) {
    static int live = 0;
    struct Body : Entities::Depictor {
        Body() { ++live; }
        ~Body() override { --live; }
    };
    Entities::Prop prop("Thing");
    auto* first = new Body();
    RenderingSystem::SetCollisionObject(prop, first);
    RenderingSystem::SetCollisionObject(prop, first);
    EXPECT_EQ(live, 1);
    Body shared;
    shared.m_Shared = 1;
    RenderingSystem::SetCollisionObject(prop, &shared);
    EXPECT_EQ(RenderingSystem::GetCollisionObject(prop), &shared);
    RenderingSystem::EraseCollisionObject(prop);
    EXPECT_TRUE(live == 1 && RenderingSystem::GetCollisionObject(prop) == nullptr);
}
