// An avatar drawn on the offscreen device: its parts at the character's place, gone when hidden.
#include <gtest/gtest.h>

#include <memory>

#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/AvatarRendering.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tools/authoring/ModelWriter.h"

using namespace GameServices;
using Bridge::RenderingSystem;

namespace {

constexpr u32 kRed = 0xFFFF0000u;

class AvatarDrawing : public drawtest::DeviceFixture<64, 64> {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        if (HasFatalFailure())
            return;
        package = std::make_unique<drawtest::TestPackage>();
        for (const char* part : {"head", "top"})
            authoring::AddTexturedBox(package->Writer(), authoring::TexturedBox{.name = part, .texel = kRed, .slotController = {}, .model = {}});
        package->Mount();
        LoadCapacities(dir, {{"FactoryRenderableModelData", 1}, {"FactoryGsAvatar", 1},
                             {"FactoryRenderableAvatarData", 1}});
        RenderingSystem::Startup();
    }
    void TearDown() override {
        if (package) {
            RenderingSystem::Cleanup(&level);
            RenderingSystem::Shutdown();
            package.reset();
        }
        DeviceFixture::TearDown();
    }
    void Draw() {
        dad.Synchronize = false;
        RenderingSystem::Update(&level);
        Frame();
    }

    TempDir dir;
    std::unique_ptr<drawtest::TestPackage> package;
    Bridge::RenderableModelData cameraData;
    Entities::Camera camera{"Cam"};
    Entities::Character dad{"Dad"};
    Entities::Set level{"Level"};
};

TEST_F(AvatarDrawing, TwoBoxPartsDrawAtTheCharacterAndHideWithIt) {
    // One unit a pixel, y downwards.
    camera.Activate = camera.Orthographic = true;
    camera.Position = AGVec3{32, 32, 50};
    camera.LookAt = AGVec3{32, 32, 0};
    camera.VolatileDatas.Set(Entities::VolatileDataKeys::kRENDERABLE_MODEL_DATA, &cameraData);
    dad.Visible = true;
    dad.SetPosition(AGVec3{20, 40, 0});
    Bridge::RenderableAvatarData look;
    look.m_PartNames[0] = "head.mdl";
    look.m_PartNames[4] = "top.mdl";
    RenderingSystem::SetRenderableAvatarData(dad, look);
    level.m_Cameras.push_back(&camera);
    level.m_Characters.push_back(&dad);
    RenderingSystem::Initialize(&level);
    Draw();
    EXPECT_EQ(Pixel(20, 40), kRed);
    EXPECT_EQ(Pixel(40, 20), drawtest::kBlack);
    dad.SetVisible(false);
    Draw();
    EXPECT_EQ(Pixel(20, 40), drawtest::kBlack);
}

}  // namespace
