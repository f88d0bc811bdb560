#include <gtest/gtest.h>

#include "engine/graphics/AGGraphicLayer.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Set.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/Screen.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace widget_test;
using GameServices::Bridge::RenderableModelData;
namespace Keys = GameServices::Entities::VolatileDataKeys;
namespace Entities = GameServices::Entities;

namespace {

class LevelGame : public TestGame {
public:
    Entities::Set* GetCurrentLevel() override { return level; }
    Entities::Set* level = nullptr;
};

// A level whose "View" component is shown by a viewport of a screen.
class ViewPortRender : public ::testing::Test {
protected:
    void SetUp() override {
        LoadCapacities(dir, {{"FactoryRenderableModelData", 8}});
        RenderingSystem::Startup();
        component.m_LoadingMode = Entities::ComponentLevel::kLoadIn3DViewport;
        eye.Activate = true;
        eye.Orthographic = true;
        eye.VolatileDatas.Set(Keys::kRENDERABLE_MODEL_DATA, &eyeData);
        component.m_Cameras.push_back(&eye);
        level.m_ComponentLevels.push_back(&component);
        screen.m_RootPanel = root;
        root->Visible = true;
        root->SetWidth(800.0f);
        root->SetHeight(600.0f);
        view = Add<ViewPort3D>(*root, "view", 10, 20, 200, 100);
        view->m_ComponentLevel = "View";
    }
    void TearDown() override {
        level.RemoveAll();
        component.RemoveAll();
        RenderingSystem::Shutdown();
    }
    void ShowScreen() {
        RenderingSystemWidget::Initialize(&screen);
        RenderingSystemWidget::AttachLayer(&screen);
    }
    void ReleaseScreen() {
        RenderingSystemWidget::Cleanup(&screen);
        RenderingSystemWidget::ReleaseLayer(&screen);
    }
    AGGraphicLayer* ComponentLayer() const {
        return component.VolatileDatas.GetAs<AGGraphicLayer>(Keys::kENGINE_DATA_LAYER_3D);
    }

    TempDir dir;
    LogCapture log;
    RenderPackage package{std::vector<SpriteFile>{}};
    LevelGame game;
    RenderableModelData eyeData;
    Entities::Camera eye{"Eye"};
    Entities::ComponentLevel component{"View"};
    Entities::Set level{"Level"};
    Screen screen;
    Panel* root = new Panel("root");
    ViewPort3D* view = nullptr;
};

}  // namespace

TEST_F(ViewPortRender, AViewportWithoutItsComponentsObjectsIsReportedAndLeftEmpty) {
    struct Case {
        bool currentLevel;
        const char* component;
        const char* report;
    };
    const Case cases[] = {
        {false, "View", "the level doesn't have the Component :View"},
        {true, "Elsewhere", "the level doesn't have the Component :Elsewhere"},
        // The screen came before the level start: no engine camera or 3D layer yet.
        {true, "View", "has no camera or 3D layer yet"},
    };
    for (const Case& c : cases) {
        log.Clear();
        game.level = c.currentLevel ? &level : nullptr;
        view->m_ComponentLevel = c.component;
        ShowScreen();
        EXPECT_TRUE(log.Contains(c.report)) << c.report;
        EXPECT_EQ(Render::LayerOf(*view), nullptr);
        view->SetWidth(300.0f);
        RenderingSystemWidget::UpdateSize(*view);
        view->Visible = false;
        RenderingSystemWidget::UpdateVisibility(*view);
        view->Visible = true;
        RenderingSystemWidget::UpdateTransforms(*root);
        ReleaseScreen();
    }
    // The level starts afterwards: its component's layer was left alone by the screen.
    RenderingSystem::Initialize(&level);
    ASSERT_NE(ComponentLayer(), nullptr);
    EXPECT_EQ(ComponentLayer()->GetParent(), nullptr);
    RenderingSystem::Cleanup(&level);
}

TEST_F(ViewPortRender, TheViewportShowsTheComponentAndEitherReleaseOrderLeavesNoDanglingLayer) {
    game.level = &level;
    for (bool screenFirst : {true, false}) {
        eye.VolatileDatas.Set(Keys::kRENDERABLE_MODEL_DATA, &eyeData);
        RenderingSystem::Initialize(&level);
        RenderingSystem::Update(&level);
        AGGraphicLayer* d = ComponentLayer();
        ASSERT_NE(d, nullptr);
        ShowScreen();
        AGGraphicLayer* v = Render::LayerOf(*view);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->GetCamera(), eye.VolatileDatas.GetCamera());
        EXPECT_EQ(d->GetParent(), v);
        EXPECT_EQ(d->GetCamera(), v->GetCamera());
        EXPECT_EQ(d->GetWidth() * 1000 + d->GetHeight(), 200100u);
        view->Visible = false;
        RenderingSystemWidget::UpdateVisibility(*view);
        EXPECT_FALSE(v->IsEnabled());
        EXPECT_FALSE(d->IsEnabled());
        view->Visible = true;
        RenderingSystemWidget::UpdateVisibility(*view);
        EXPECT_TRUE(d->IsEnabled());
        if (screenFirst) {
            ReleaseScreen();
            EXPECT_EQ(d->GetParent(), nullptr);
            RenderingSystem::Cleanup(&level);
        } else {
            RenderingSystem::Cleanup(&level);
            EXPECT_EQ(v->ChildCount(), 0u);
            EXPECT_EQ(v->GetCamera(), nullptr);
            ReleaseScreen();
        }
        EXPECT_EQ(ComponentLayer(), nullptr);
    }
}
