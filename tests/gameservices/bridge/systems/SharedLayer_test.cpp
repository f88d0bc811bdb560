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

// With only the core's placeholder providers, a camera or renderer of the wrong class is given
// back instead of being used as one.
TEST(SharedLayer, ResourcesOfAnotherClassAreNotUsed) {
    ResourceEnvironment environment(false);
    AGGraphicLayer* layer = RenderingSystem::GetSharedGraphicLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetCamera(), nullptr);
    RenderingSystem::ReleaseSharedGraphicLayer();
    EXPECT_EQ(RenderingSystem::PeekSharedGraphicLayer(), nullptr);
}

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

// Without graphics the core's placeholders stand for models and lights: an entity naming a
// model or light file gets no engine object, and the placeholder made for it is given back.
TEST_F(PlaceholderRendering, ModelsAndLightsOfAnotherClassAreGivenBack) {
    WriteLevel("stage", "<Lights><item><Name>Lamp</Name><EngineDataFileName>lamp.lgt</EngineDataFileName></item>"
                        "</Lights><SetElements><item><Name>Desk</Name><EngineDataFileName>desk.mdl"
                        "</EngineDataFileName><Visible>true</Visible></item></SetElements>");
    ASSERT_TRUE(flow.LoadLevel("stage", set)) << (log.Lines().empty() ? "" : log.Lines().back());
    RenderingSystem::Initialize(&set);
    using namespace GameServices::Entities::VolatileDataKeys;
    EXPECT_EQ(set.FindSetElement("Desk")->VolatileDatas.GetAs<AGResource>(kENGINE_DATA_MODEL), nullptr);
    EXPECT_EQ(set.m_Lights[0]->VolatileDatas.GetAs<AGResource>(kENGINE_DATA_LIGHT), nullptr);
    for (u32 typeKey : {TypeKey::Model, TypeKey::Light}) {
        AGBaseProvider* provider = environment.Provider(typeKey);
        for (const char* name : {"desk.mdl", "lamp.lgt"})
            EXPECT_EQ(provider ? provider->InstanceCount(Crc32Hash(name)) : 0u, 0u) << name;
    }
    RenderingSystem::Update(&set);
    RenderingSystem::Cleanup(&set);
}

// The same for an avatar's part: the placeholder is given back and the part stays empty.
TEST(SharedLayer, AvatarPartsOfAnotherClassAreGivenBack) {
    ResourceEnvironment environment(false);
    GameServices::Bridge::Avatar avatar;
    avatar.SetPart(0, "head.mdl");
    EXPECT_EQ(avatar.m_Parts[0], nullptr);
    EXPECT_TRUE(avatar.m_ModelsToAdd.empty());
    AGBaseProvider* models = environment.Provider(TypeKey::Model);
    EXPECT_EQ(models ? models->InstanceCount(Crc32Hash("head.mdl")) : 0u, 0u);
}
