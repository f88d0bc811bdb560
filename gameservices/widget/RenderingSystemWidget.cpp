#include "gameservices/widget/RenderingSystemWidget.h"

#include "engine/graphics/PCGraphicDevice.h"
#include "gameservices/widget/Widget.h"

namespace GameServices::Widget {

f32 RenderingSystemWidget::WindowXScale() {
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    return device ? device->GetXScale() : 1.0f;
}

f32 RenderingSystemWidget::WindowYScale() {
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    return device ? device->GetYScale() : 1.0f;
}

// Without render data there is nothing to show.
void RenderingSystemWidget::UpdateVisibility(Widget&) {}
void RenderingSystemWidget::UpdateText(Widget&) {}
void RenderingSystemWidget::UpdateSize(Widget&) {}
void RenderingSystemWidget::UpdatePosition(Widget&) {}
void RenderingSystemWidget::UpdateScale(Widget&) {}
void RenderingSystemWidget::UpdateColor(Widget&) {}
void RenderingSystemWidget::UpdateOpacity(Widget&) {}
void RenderingSystemWidget::RefreshLook(Widget&) {}
AGRenderable* RenderingSystemWidget::GetRenderable(Widget&) {
    return nullptr;
}
void RenderingSystemWidget::RefreshKey(Widget&, bool, i32, u32) {}
void RenderingSystemWidget::InitializeScreen(Screen&) {}
void RenderingSystemWidget::AttachScreen(Screen&) {}
void RenderingSystemWidget::CleanupScreen(Screen&) {}
void RenderingSystemWidget::ReleaseScreen(Screen&) {}
void RenderingSystemWidget::Initialize(Popup*) {}
void RenderingSystemWidget::AttachLayer(Popup*) {}
void RenderingSystemWidget::Cleanup(Popup*) {}
void RenderingSystemWidget::ReleaseLayer(Popup*) {}
void RenderingSystemWidget::UpdateTransforms(Panel*) {}

void RenderingSystemWidget::ApplyPrscAnimation(Widget& widget, u32 dt) {
    if (!widget.m_Animation || !widget.m_Ready)
        return;
    widget.m_Control.UpdateBy(static_cast<f32>(dt));
    widget.SampleTracks();
}

}  // namespace GameServices::Widget
