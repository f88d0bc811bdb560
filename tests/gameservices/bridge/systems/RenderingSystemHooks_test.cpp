// The rendering system's installed hooks, a camera's viewport, the shared layer's camera after
// a level clean-up, and a slot whose new object cannot be made.
#include <gtest/gtest.h>

#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGScene3D.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/systems/BridgeSystems.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/PropRenderHooks.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/GameFlowManager.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tools/authoring/SceneWriter.h"

using namespace GameServices;
using namespace GameServices::Entities::VolatileDataKeys;
using Bridge::RenderingSystem;

namespace {

class RenderingHooksTest : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        authoring::TexturedBox desk;
        desk.name = "desk";
        authoring::AddTexturedBox(package.Writer(), desk);
        authoring::SceneData stage;
        stage.modelIds = {authoring::NameId("desk.mdl")};
        package.Writer().Add("stage.scn", 0, authoring::SceneBytes(stage));
        package.Mount();
        LoadCapacities(dir, {{"FactoryRenderableModelData", 8}});
        RenderingSystem::Startup();
        flow.SetBridgeSystems(Bridge::BridgeSystems::Instance());
    }
    void TearDown() override {
        set.Clear();
        RenderingSystem::Shutdown();
        LevelFixture::TearDown();
    }

    drawtest::TestPackage package;
    KorvoGame::GameFlowManager flow;
    Entities::Set set;
};

}  // namespace

TEST_F(RenderingHooksTest, ViewportSharedCameraAndThePropUpdaterFromStartupToShutdown) {
    WriteLevel("stage",
               "<Cameras><item><Name>Eye</Name><ViewPortWidth>320</ViewPortWidth><ViewPortHeight>200"
               "</ViewPortHeight><FieldOfView>45</FieldOfView><Activate>true</Activate></item><item><Name>Flat</Name>"
               "<Orthographic>true</Orthographic><PositionX>7</PositionX><PositionZ>10</PositionZ><LookAtX>7"
               "</LookAtX></item></Cameras>"
               "<SetElements><item><Name>Stage</Name><EngineDataFileName>stage.scn</EngineDataFileName>"
               "<IsAScene>true</IsAScene><Visible>false</Visible></item></SetElements>");
    ASSERT_TRUE(flow.LoadLevel("stage", set));
    RenderingSystem::Initialize(&set);
    const platform::gfx::Viewport& view = set.m_Cameras[0]->VolatileDatas.GetCamera()->Viewport();
    EXPECT_EQ(view.width * 1000 + view.height, 320200u);
    EXPECT_EQ(set.FindCamera("Flat")->VolatileDatas.GetCamera()->GetEye().x, 7.0f);  // placed when built
    // A hidden scene's models are built hidden.
    auto* scene = set.m_SetElements[0]->VolatileDatas.GetAs<AGScene3D>(kENGINE_DATA_SCENE3D);
    ASSERT_NE(scene, nullptr);
    EXPECT_FALSE(scene->GetModel(0)->HasFlags(AGRenderable::kActive));
    RenderingSystem::Update(&set);
    // A prop that joins the running level is drawn from the next frame on, once.
    Entities::Prop late("Late");
    Bridge::RenderableModelData lateData("desk.mdl", "");
    late.VolatileDatas.Set(kRENDERABLE_MODEL_DATA, &lateData);
    ASSERT_NE(RenderingSystem::CreateModel(late), nullptr);
    set.m_Props.push_back(&late);
    AGGraphicLayer* layer = set.VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D);
    const u32 drawn = layer->RenderableCount();
    RenderingSystem::Update(&set);
    RenderingSystem::Update(&set);
    EXPECT_EQ(layer->RenderableCount(), drawn + 1);
    set.m_Props.pop_back();
    RenderingSystem::CleanupEntity(late, layer);
    AGGraphicLayer* shared = RenderingSystem::PeekSharedGraphicLayer();
    PCCam* sharedCamera = shared->GetCamera();
    ASSERT_NE(sharedCamera, nullptr);
    RenderingSystem::Cleanup(&set);
    EXPECT_EQ(shared->GetCamera(), sharedCamera);  // a level layer leaving takes no camera from it

    // A prop refresh reaches the renderable only while the system is up.
    Entities::Prop prop("Thing");
    Bridge::RenderableModelData data("desk.mdl", "");
    prop.VolatileDatas.Set(kRENDERABLE_MODEL_DATA, &data);
    AGModel* model = RenderingSystem::CreateModel(prop);
    ASSERT_NE(model, nullptr);
    prop.SetOpacity(0.5f);
    Entities::UpdatePropRenderable(prop);
    EXPECT_EQ(model->GetOpacity(), 0.5f);
    RenderingSystem::Shutdown();
    prop.SetOpacity(0.25f);
    Entities::UpdatePropRenderable(prop);
    EXPECT_EQ(model->GetOpacity(), 0.5f);
    RenderingSystem::Startup();

    // A description left without a file makes no model: the slot is emptied, not left holding
    // the model just given back.
    data.m_ModelFileName = "";
    EXPECT_EQ(RenderingSystem::CreateModel(prop), nullptr);
    EXPECT_EQ(prop.VolatileDatas.Get(kENGINE_DATA_MODEL), nullptr);
    EXPECT_EQ(package.Provider(TypeKey::Model)->InstanceCount(authoring::NameId("desk.mdl")), 0u);
    RenderingSystem::CleanupEntity(prop, nullptr);
}
