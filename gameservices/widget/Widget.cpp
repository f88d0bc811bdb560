#include "gameservices/widget/Widget.h"

#include <cmath>

#include "engine/core/AGLog.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetBehavior.h"

namespace GameServices::Widget {

KorvoGame::GameFlowManager* CurrentGameFlow() {
    KorvoGame::ICurrentGame* game = KorvoGame::ICurrentGame::Get();
    return game ? game->GetGameFlowManager() : nullptr;
}

namespace {

// Removes the delegate only from the flow it was added to, and only while that flow is still
// the running game's: a game that has gone took its event with it.
void RemoveFrameDelegate(KorvoGame::GameFlowManager*& source, IDelegateParam<u32>* delegate) {
    if (source && source == CurrentGameFlow())
        source->GetFrameEvent().RemoveDelegate(delegate);
    source = nullptr;
}

}  // namespace

Widget::Widget(const TString<char>& name) : Entities::Entity(name) {
    if (KorvoGame::GameFlowManager* flow = CurrentGameFlow()) {
        m_FrameSource = flow;
        flow->GetFrameEvent().AddDelegate(&m_FrameDelegate);
    }
}

Widget::~Widget() {
    RemoveFrameDelegate(m_FrameSource, &m_FrameDelegate);
}

bool Widget::IsA(const u32& typeId) const {
    return typeId == TypeIds::Widget || typeId == Entities::TypeIds::Entity;
}

void Widget::SetVisible(const bool& visible) {
    Visible = visible;
    RenderingSystemWidget::UpdateVisibility(*this);
    if (m_Behavior)
        m_Behavior->Reset();
}

void Widget::SetInputLocked(bool locked) {
    m_InputLocked = locked ? 1 : 0;
    if (m_Behavior)
        m_Behavior->Reset();
    RenderingSystemWidget::UpdateBehaviorState(*this);
}

void Widget::SetOpacity(f32 opacity) {
    m_Opacity = opacity;
    m_EffectiveOpacity = opacity;
    RenderingSystemWidget::UpdateOpacity(*this);
}

void Widget::SetColor(u32 argb) {
    m_Color = argb;
    RenderingSystemWidget::UpdateColor(*this);
}

void Widget::SetScale(const AGVec2& scale) {
    m_ScaleX = scale.x;
    m_ScaleY = scale.y;
    m_Hit.minX = 0.0f;
    m_Hit.minY = 0.0f;
    m_Hit.maxX = m_Width * scale.x;
    m_Hit.maxY = m_Height * scale.y;
    RenderingSystemWidget::UpdateScale(*this);
}

void Widget::SetWidth(f32 width) {
    m_Width = width;
    m_Hit.minX = 0.0f;
    m_Hit.maxX = width * RenderingSystemWidget::WindowXScale();
    RenderingSystemWidget::UpdateSize(*this);
}

void Widget::SetHeight(f32 height) {
    m_Height = height;
    m_Hit.minY = 0.0f;
    m_Hit.maxY = height * RenderingSystemWidget::WindowYScale();
    RenderingSystemWidget::UpdateSize(*this);
}

void Widget::SetPosition(const AGVec2& position) {
    SetPositionXY(position.x, position.y);
}

void Widget::SetPositionXY(f32 x, f32 y) {
    m_X = x;
    m_Y = y;
    m_Hit.x = x * RenderingSystemWidget::WindowXScale();
    m_Hit.y = y * RenderingSystemWidget::WindowYScale();
    RenderingSystemWidget::UpdatePosition(*this);
}

AGRenderable* Widget::GetRenderable() {
    return RenderingSystemWidget::GetRenderable(*this);
}

bool Widget::IsOpaqueForInput() const {
    const f32 alpha = static_cast<f32>(m_AnimColor >> 24) / 255.0f;
    return alpha >= 0.5f && m_EffectiveOpacity >= 0.5f;
}

bool Widget::HitTest(HitRectangle& rect, const AGVec2& point) {
    const f32 dx = point.x - rect.x;
    const f32 dy = point.y - rect.y;
    f32 u = dx;
    f32 v = dy;
    if (rect.rotation != 0.0f) {
        if (rect.rotationChanged) {
            rect.cosine = std::cos(rect.rotation);
            rect.sine = std::sin(rect.rotation);
            rect.rotationChanged = 0;
        }
        u = dx * rect.cosine - dy * rect.sine;
        v = dx * rect.sine + dy * rect.cosine;
    }
    return rect.minX <= u && u <= rect.maxX && rect.minY <= v && v <= rect.maxY;
}

HitRectangle Widget::WindowHit() const {
    const platform::gfx::Matrix world = RenderingSystemWidget::WorldTransform(*this);
    const f32 sx = RenderingSystemWidget::WindowXScale();
    const f32 sy = RenderingSystemWidget::WindowYScale();
    // The drawn box's corner is the image of the layout box's (0, 0); its sides run along the
    // matrix's axes, scaled by their lengths.
    const f32 angle = std::atan2(world.m[1], world.m[0]);
    HitRectangle hit;
    hit.x = world.m[12] * sx;
    hit.y = world.m[13] * sy;
    hit.maxX = m_Width * std::hypot(world.m[0], world.m[1]) * sx;
    hit.maxY = m_Height * std::hypot(world.m[4], world.m[5]) * sy;
    // The hit test turns the point back by the angle the box was drawn turned by.
    hit.rotation = -angle;
    hit.rotationChanged = 1;
    return hit;
}

Widget* Widget::FindChild(const TString<char>& name, Panel* root) {
    if (!root)
        return nullptr;
    for (Widget* child : root->m_Children) {
        if (child->Name == name)
            return child;
        if (child->IsA(TypeIds::Panel)) {
            if (Widget* hit = FindChild(name, static_cast<Panel*>(child)))
                return hit;
        }
    }
    return nullptr;
}

void Widget::OnFrame(u32 dt) {
    if (m_Animation)
        RenderingSystemWidget::ApplyPrscAnimation(*this, dt);
}

Panel::Panel(const TString<char>& name)
    : Widget(name), m_PanelBehavior(new WidgetBehavior("BehaviorPanel", this, false)) {
    if (KorvoGame::GameFlowManager* flow = CurrentGameFlow()) {
        m_PanelFrameSource = flow;
        flow->GetFrameEvent().AddDelegate(&m_PanelFrameDelegate);
    }
}

Panel::~Panel() {
    RemovePanelFrame();
    for (Widget* child : m_Children)
        delete child;
    m_Children.clear();
    delete m_PanelBehavior;
}

bool Panel::IsA(const u32& typeId) const {
    return typeId == TypeIds::Panel || typeId == TypeIds::Widget;
}

void Panel::Reset() {
    RemovePanelFrame();
    Destroyed = true;
}

void Panel::SetInputLocked(bool locked) {
    m_InputLocked = locked ? 1 : 0;
    for (Widget* child : m_Children) {
        if (child->m_Enabled)
            child->SetInputLocked(locked);
    }
}

void Panel::AddEventDelegate(u32 kind, IDelegate* delegate) {
    m_PanelBehavior->AddEventDelegate(kind, delegate);
}

void Panel::RemoveEventDelegate(u32 kind, IDelegate* delegate) {
    m_PanelBehavior->RemoveEventDelegate(kind, delegate);
}

void Panel::AddChild(Widget* child) {
    if (!child)
        return;
    child->m_Parent = this;
    m_Children.push_back(child);
}

// The panel's own per-frame step; its drawing comes with the widget renderer.
void Panel::OnPanelFrame(u32) {}

void Panel::RemovePanelFrame() {
    RemoveFrameDelegate(m_PanelFrameSource, &m_PanelFrameDelegate);
}

}  // namespace GameServices::Widget
