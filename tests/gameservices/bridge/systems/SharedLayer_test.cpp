#include <gtest/gtest.h>

#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "gameservices/bridge/systems/Avatar.h"
#include "gameservices/bridge/systems/BridgeSystems.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/GameFlowManager.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/support/ResourceEnvironment.h"

using GameServices::Bridge::RenderingSystem;

namespace {

class PlaceholderRendering : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        LoadCapacities(dir, {{"FactoryRenderableModelData", 8}});
        RenderingSystem::Startup();
        flow.SetBridgeSystems(GameServices::Bridge::BridgeSystems::Instance());
    }
    void TearDown() override {
        set.Clear();
        RenderingSystem::Shutdown();
        LevelFixture::TearDown();
    }
    ResourceEnvironment environment{false};
    GameServices::KorvoGame::GameFlowManager flow;
    GameServices::Entities::Set set;
};

}  // namespace

// Without graphics the core's placeholders stand for models, lights, cameras and renderers: an
// entity or avatar part naming a model or light file gets no engine object, the placeholder made
// for it is given back, and the shared layer uses no camera of the wrong class.
TEST_F(PlaceholderRendering, ObjectsOfAnotherClassAreGivenBackNotUsed) {
    WriteLevel("stage", "<Lights><item><Name>Lamp</Name><EngineDataFileName>lamp.lgt</EngineDataFileName></item>"
                        "</Lights><SetElements><item><Name>Desk</Name><EngineDataFileName>desk.mdl"
                        "</EngineDataFileName><Visible>true</Visible></item></SetElements>");
    ASSERT_TRUE(flow.LoadLevel("stage", set)) << (log.Lines().empty() ? "" : log.Lines().back());
    RenderingSystem::Initialize(&set);
    using namespace GameServices::Entities::VolatileDataKeys;
    EXPECT_EQ(set.FindSetElement("Desk")->VolatileDatas.GetAs<AGResource>(kENGINE_DATA_MODEL), nullptr);
    EXPECT_EQ(set.m_Lights[0]->VolatileDatas.GetAs<AGResource>(kENGINE_DATA_LIGHT), nullptr);
    GameServices::Bridge::Avatar avatar;
    avatar.SetPart(0, "head.mdl");
    EXPECT_EQ(avatar.m_Parts[0], nullptr);
    EXPECT_TRUE(avatar.m_ModelsToAdd.empty());
    for (u32 typeKey : {TypeKey::Model, TypeKey::Light}) {
        AGBaseProvider* provider = environment.Provider(typeKey);
        for (const char* name : {"desk.mdl", "lamp.lgt", "head.mdl"})
            EXPECT_EQ(provider ? provider->InstanceCount(Crc32Hash(name)) : 0u, 0u) << name;
    }
    RenderingSystem::Update(&set);
    RenderingSystem::Cleanup(&set);
    AGGraphicLayer* layer = RenderingSystem::GetSharedGraphicLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetCamera(), nullptr);
    RenderingSystem::ReleaseSharedGraphicLayer();
    EXPECT_EQ(RenderingSystem::PeekSharedGraphicLayer(), nullptr);
}
