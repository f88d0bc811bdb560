// A level Set built in code and drawn on the offscreen device with a screen over it: a sprite
// prop under an orthographic camera, moved and hidden; a screen drawn over the level whether
// it came before or after the level's pipeline; a viewport showing a level component.
#include <gtest/gtest.h>

#include <memory>

#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace widget_test;
using GameServices::Bridge::RenderableModelData;
namespace Entities = GameServices::Entities;
namespace Keys = GameServices::Entities::VolatileDataKeys;

namespace {

constexpr u32 kClear = drawtest::kBlack;
constexpr u32 kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

// A camera looking at the screen as a screen camera does: one unit a pixel, y downwards.
void ScreenLike(Entities::Camera& camera) {
    camera.Activate = true;
    camera.Orthographic = true;
    camera.Position = AGVec3{160, 120, 50};
    camera.LookAt = AGVec3{160, 120, 0};
    camera.Up = AGVec3{0, -1, 0};
}

class LevelDrawing : public drawtest::DeviceFixture<320, 240>, public ShownRoot {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        if (HasFatalFailure())
            return;
        LoadCapacities(home, {{"FactoryRenderableModelData", 8}});
        package = std::make_unique<RenderPackage>(
            std::vector<SpriteFile>{{"red", kRed}, {"green", kGreen}, {"blue", kBlue}});
        RenderingSystem::Startup();
        RenderingSystemWidget::InstallLevelRendering();
        game.level = &level;
        ScreenLike(cam);
        ScreenLike(eye);
        Describe(cam, "");
        Describe(eye, "");
        Place(chip, "red.spt", 40, 40);
        Place(dot, "green.spt", 20, 20);
        level.m_Cameras.push_back(&cam);
        level.m_Props.push_back(&chip);
        view.m_LoadingMode = Entities::ComponentLevel::kLoadIn3DViewport;
        view.m_Cameras.push_back(&eye);
        view.m_Props.push_back(&dot);
        level.m_ComponentLevels.push_back(&view);
        root->SetWidth(320.0f);
        root->SetHeight(240.0f);
        Add<Image>(*root, "cover", 36, 36, 8, 8)->m_ImageName = "blue";
        viewport = Add<ViewPort3D>(*root, "viewport", 10, 10, 100, 100);
        viewport->m_ComponentLevel = "View";
    }
    void TearDown() override {
        if (package) {
            HideScreen(screen);
            RenderingSystem::Cleanup(&level);
            // The shared layer leaves the device: no frame draws it once deleted.
            const u32 layers = m_device.GetLayerCount();
            RenderingSystem::Shutdown();
            EXPECT_EQ(m_device.GetLayerCount(), layers - 1);
            level.RemoveAll();
            view.RemoveAll();
            package.reset();
        }
        DeviceFixture::TearDown();
    }
    void Describe(Entities::Entity& e, const char* file) {
        data.push_back(std::make_unique<RenderableModelData>(file, ""));
        data.back()->m_RenderableKind = RenderableModelData::RenderableKindOf(file);
        described.push_back(&e);
    }
    // The level start; the clean-up takes the descriptions off the entities.
    void StartLevel() {
        for (size_t i = 0; i < described.size(); ++i)
            described[i]->VolatileDatas.Set(Keys::kRENDERABLE_MODEL_DATA, data[i].get());
        RenderingSystem::Initialize(&level);
    }
    void Place(Entities::Prop& prop, const char* file, f32 x, f32 y) {
        Describe(prop, file);
        prop.Visible = true;
        prop.SetPosition(AGVec3{x, y, 0});
        prop.SetScale(2.0f);
    }
    void ShowScreen() {
        widget_test::ShowScreen(screen);
        RenderingSystemWidget::UpdateTransforms(*root);
    }
    void Draw() {
        RenderingSystem::Update(&level);
        Frame();
    }

    TempDir home;
    LogCapture log;
    std::unique_ptr<RenderPackage> package;
    TestGame game;
    std::vector<std::unique_ptr<RenderableModelData>> data;
    std::vector<Entities::Entity*> described;
    Entities::Camera cam{"Cam"}, eye{"Eye"};
    Entities::Prop chip{"Chip"}, dot{"Dot"};
    Entities::ComponentLevel view{"View"};
    Entities::Set level{"Level"};
    ViewPort3D* viewport = nullptr;
};

}  // namespace

TEST_F(LevelDrawing, AViewportShowsItsComponentAndEitherReleaseOrderLeavesNoDanglingLayer) {
    // Before the level start, without its component, or with no level: reported, left empty.
    const struct { Entities::Set* level; const char* component; const char* report; } missing[] = {
        {&level, "View", "has no camera or 3D layer yet"},
        {&level, "Elsewhere", "the level doesn't have the Component :Elsewhere"},
        {nullptr, "View", "the level doesn't have the Component :View"}};
    for (const auto& c : missing) {
        game.level = c.level;
        viewport->m_ComponentLevel = c.component;
        ShowScreen();
        EXPECT_TRUE(log.Contains(c.report)) << c.report;
        viewport->SetWidth(120.0f);
        RenderingSystemWidget::UpdateSize(*viewport);
        RenderingSystemWidget::UpdateVisibility(*viewport);
        HideScreen(screen);
    }
    game.level = &level;
    viewport->m_ComponentLevel = "View";
    viewport->SetWidth(100.0f);
    // A started component with no active camera: reported, left empty.
    eye.Activate = false;
    StartLevel();
    log.Clear();
    ShowScreen();
    EXPECT_EQ(Render::LayerOf(*viewport), nullptr);
    HideScreen(screen);
    RenderingSystem::Cleanup(&level);
    eye.Activate = true;
    for (bool screenFirst : {true, false}) {
        StartLevel();
        Draw();
        // Not under the shared layer: nothing of the component draws without its viewport.
        EXPECT_EQ(Pixel(34, 34), kClear);
        ShowScreen();
        Draw();
        // The dot at 20, 20 shows shifted by the viewport's place.
        EXPECT_EQ(Pixel(34, 34), kGreen);
        AGGraphicLayer* v = Render::LayerOf(*viewport);
        AGGraphicLayer* d = view.VolatileDatas.GetAs<AGGraphicLayer>(Keys::kENGINE_DATA_LAYER_3D);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(d->GetWidth() * 1000 + d->GetHeight(), 100100u);
        // Resizing the viewport resizes the component's layer with it.
        viewport->SetWidth(80.0f);
        RenderingSystemWidget::UpdateSize(*viewport);
        EXPECT_EQ(d->GetWidth(), 80u);
        viewport->SetWidth(100.0f);
        RenderingSystemWidget::UpdateSize(*viewport);
        viewport->Visible = false;
        RenderingSystemWidget::UpdateVisibility(*viewport);
        Draw();
        EXPECT_EQ(Pixel(34, 34), kClear);
        viewport->Visible = true;
        if (screenFirst) {
            HideScreen(screen);
            EXPECT_EQ(d->GetParent(), nullptr);
            RenderingSystem::Cleanup(&level);
        } else {
            RenderingSystem::Cleanup(&level);
            EXPECT_EQ(v->ChildCount(), 0u);
            Draw();
            HideScreen(screen);
        }
    }
}

