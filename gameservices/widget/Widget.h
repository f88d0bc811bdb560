#pragma once
// The on-screen control model: a widget is an entity with a layout rectangle, a hit
// rectangle in window pixels, an opacity and colour, an animation part and one input
// behaviour. A Panel holds and owns child widgets.
#include <vector>

#include "engine/core/AGVec3.h"
#include "engine/core/FDelegate.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/widget/PRSCAnimation.h"
#include "gameservices/widget/WidgetTypeIds.h"

namespace GameServices::KorvoGame {
class GameFlowManager;
}

namespace GameServices::Widget {

class Panel;
class WidgetBehavior;

// Event kinds of AddEventDelegate and RemoveEventDelegate.
enum EventKind : u32 {
    kEventClick = 0,
    kEventEnter = 1,
    kEventLeave = 2,
    kEventMove = 3,
    kEventValueChanged = 4,
    kEventPress = 5,
};

// In window pixels: the box [minX, maxX] x [minY, maxY] relative to (x, y), turned by the
// rotation (radians) about (x, y).
struct HitRectangle {
    f32 x = 0.0f;
    f32 y = 0.0f;
    f32 minX = 0.0f;
    f32 minY = 0.0f;
    f32 maxX = 0.0f;
    f32 maxY = 0.0f;
    f32 rotation = 0.0f;
    f32 cosine = 1.0f;
    f32 sine = 0.0f;
    // Set when the rotation changes; the next hit test recomputes cosine and sine.
    u32 rotationChanged = 0;
};

// The per-frame event of the running game's flow, or null (no game published, or a game
// without one).
KorvoGame::GameFlowManager* CurrentGameFlow();

class Widget : public Entities::Entity, public PRSCAnimation {
public:
    // Adds the frame delegate to the running game's per-frame event, when there is one.
    explicit Widget(const TString<char>& name = TString<char>());
    // Removes the frame delegate.
    ~Widget() override;
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    bool IsA(const u32& typeId) const override;
    // Stores the flag, shows it and resets the behaviour.
    void SetVisible(const bool& visible) override;
    virtual WidgetBehavior* GetBehavior() const { return m_Behavior; }
    // Stores the flag, resets the behaviour and refreshes the look.
    virtual void SetInputLocked(bool locked);
    // Sets the opacity and the effective opacity.
    virtual void SetOpacity(f32 opacity);
    virtual void SetColor(u32 argb);
    // The hit box becomes the layout size times the scale (no window factor).
    virtual void SetScale(const AGVec2& scale);
    virtual void SetBehavior(WidgetBehavior* behavior) { m_Behavior = behavior; }
    // Forwarded to the behaviour: the event list of the kind (EventKind).
    virtual void AddEventDelegate(u32 kind, IDelegate* delegate) = 0;
    virtual void RemoveEventDelegate(u32 kind, IDelegate* delegate) = 0;

    // Layout size; the hit box is the size times the window scale.
    void SetWidth(f32 width);
    void SetHeight(f32 height);
    // Layout position; the hit position is the position times the window scale.
    void SetPosition(const AGVec2& position);
    void SetPositionXY(f32 x, f32 y);
    AGRenderable* GetRenderable();
    // Half opaque or more, both by the animated alpha and by the effective opacity.
    bool IsOpaqueForInput() const;
    // Inclusive of every edge.
    static bool HitTest(HitRectangle& rect, const AGVec2& point);
    // The hit rectangle where the widget is drawn at rest, in window pixels: through the same
    // positions, scales and rotations of the widget and its ancestors as its drawing (a root
    // panel is centred and scaled to the window); animation offsets are left out.
    HitRectangle WindowHit() const;
    // Depth first in child order; each child's name is compared before its own children.
    // The root itself is never compared.
    static Widget* FindChild(const TString<char>& name, Panel* root);

    f32 m_X = 0.0f;
    f32 m_Y = 0.0f;
    f32 m_DefaultA = 0.0f;
    f32 m_DefaultB = 0.0f;
    f32 m_Width = 0.0f;
    f32 m_Height = 0.0f;
    u8 m_Enabled = 1;
    u8 m_InputLocked = 0;
    Widget* m_Parent = nullptr;
    f32 m_RatioX = 1.0f;
    f32 m_RatioY = 1.0f;
    f32 m_MarginLeft = 0.0f;
    f32 m_MarginTop = 0.0f;
    f32 m_MarginRight = 0.0f;
    f32 m_MarginBottom = 0.0f;
    TString<char> m_Background;
    u32 m_Color = 0;
    f32 m_Opacity = 1.0f;
    f32 m_EffectiveOpacity = 1.0f;
    HitRectangle m_Hit;
    // Written by the transform update: x, y, width, height in window pixels; a Panel's clip
    // rectangle is its own, before its ancestors' cut it.
    f32 m_ScreenRect[4] = {};
    f32 m_ClipRect[4] = {};
    u8 m_TransformComputed = 0;
    u32 m_DrawOrder = 0;
    f32 m_ScaleX = 1.0f;
    f32 m_ScaleY = 1.0f;
    TString<char> m_RenderType;
    u32 m_Resizable = 0;
    WidgetBehavior* m_Behavior = nullptr;
    u8 m_BehaviorFlag = 0;

protected:
    void OnFrame(u32 dt);

private:
    KorvoGame::GameFlowManager* m_FrameSource = nullptr;
    FDelegateParam<Widget, u32> m_FrameDelegate{this, &Widget::OnFrame};
};

class Panel : public Widget {
public:
    explicit Panel(const TString<char>& name = TString<char>());
    // Deletes every child.
    ~Panel() override;

    bool IsA(const u32& typeId) const override;
    // Removes the panel's frame delegate and marks the panel destroyed.
    void Reset() override;
    // Passes the flag on to every enabled child; disabled children keep their own.
    void SetInputLocked(bool locked) override;
    void AddEventDelegate(u32 kind, IDelegate* delegate) override;
    void RemoveEventDelegate(u32 kind, IDelegate* delegate) override;

    // Takes ownership and becomes the child's parent.
    void AddChild(Widget* child);

    std::vector<Widget*> m_Children;

private:
    void OnPanelFrame(u32 dt);
    void RemovePanelFrame();

    KorvoGame::GameFlowManager* m_PanelFrameSource = nullptr;
    FDelegateParam<Panel, u32> m_PanelFrameDelegate{this, &Panel::OnPanelFrame};
    WidgetBehavior* m_PanelBehavior;
};

}  // namespace GameServices::Widget
