// The 3D viewport widget: a 2D layer that looks through the active camera of a component of
// the current level, and the hook through which the level renderer reaches a Set's widgets.
#include "engine/core/AGLog.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetRenderData.h"

namespace GameServices::Widget {

using namespace Render;

namespace {

class LevelWidgets : public Bridge::ILevelWidgetRendering {
public:
    void Initialize(Entities::Set* set) override { RenderingSystemWidget::Initialize(set); }
    void AttachLayer(Entities::Set* set) override { RenderingSystemWidget::AttachLayer(set); }
    void Cleanup(Entities::Set* set) override { RenderingSystemWidget::Cleanup(set); }
};

}  // namespace

void RenderingSystemWidget::InstallLevelRendering() {
    static LevelWidgets s_widgets;
    Bridge::RenderingSystem::SetWidgetRendering(&s_widgets);
}

// Without the component, its active camera, that camera's engine camera or the component's
// 3D layer (a screen loaded before the level start) the viewport gets no layer, and the
// frame passes it by.
void RenderingSystemWidget::BuildViewPort3D(Widget& widget) {
    auto& viewport = static_cast<ViewPort3D&>(widget);
    KorvoGame::ICurrentGame* game = KorvoGame::ICurrentGame::Get();
    Entities::Set* level = game ? game->GetCurrentLevel() : nullptr;
    Entities::ComponentLevel* component = level ? level->FindComponentLevel(viewport.m_ComponentLevel) : nullptr;
    if (!component) {
        AGReport("the screen contains an ViewPort3D but the level doesn't have the Component :%s",
                 viewport.m_ComponentLevel.c_str());
        return;
    }
    const Entities::Camera* active = component->GetActiveCamera();
    PCCam* camera = active ? active->VolatileDatas.GetCamera() : nullptr;
    if (!camera || !component->VolatileDatas.HasData(Keys::kENGINE_DATA_LAYER_3D)) {
        AGReport("the ViewPort3D's component %s has no camera or 3D layer yet",
                 viewport.m_ComponentLevel.c_str());
        return;
    }
    auto* layer = new AGGraphicLayer();
    layer->SetCamera(camera);
    layer->SetEnabled(true);
    layer->SetSize(Pixels(viewport.m_Width), Pixels(viewport.m_Height));
    layer->SetPosition(AGVec3{viewport.m_X, viewport.m_Y, 0.0f});
    viewport.VolatileDatas.Set(Keys::kDATA_LAYER, layer);
}

}  // namespace GameServices::Widget
