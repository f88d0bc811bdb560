#include "gameservices/widget/RenderingSystemWidget.h"

#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetRenderData.h"
#include "platform/gfx/GfxMath.h"

namespace GameServices::Widget {

using namespace Render;
using platform::gfx::Matrix;
using Bridge::RenderingSystem;

namespace {

constexpr u32 kScreenKey = 1;
constexpr u32 kPopupKey = 2;

AGGraphicLayer* NewDeviceLayer() {
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    return NewLayer(device ? device->GetWidth() : 0, device ? device->GetHeight() : 0, AGVec3{});
}

Entities::Set* CurrentLevel() {
    KorvoGame::ICurrentGame* game = KorvoGame::ICurrentGame::Get();
    return game ? game->GetCurrentLevel() : nullptr;
}

// The 3D layer of the level component a viewport shows, or null.
AGGraphicLayer* ViewportLevelLayer(const ViewPort3D& viewport) {
    Entities::Set* level = CurrentLevel();
    const Entities::Entity* component = level ? level->FindComponentLevel(viewport.m_ComponentLevel) : nullptr;
    return component ? component->VolatileDatas.GetAs<AGGraphicLayer>(Keys::kENGINE_DATA_LAYER_3D) : nullptr;
}

void AddChild(AGGraphicLayer* parent, AGGraphicLayer* child) {
    if (child->GetParent() == parent)
        return;
    if (AGGraphicLayer* old = child->GetParent())
        old->SortRenderables();
    parent->AddChildLayer(child);
}

void AttachTree(Panel& panel, AGGraphicLayer* layer) {
    const std::vector<Widget*> children = panel.m_Children;
    for (Widget* child : children) {
        if (child->IsA(TypeIds::ViewPort3D)) {
            AGGraphicLayer* view = LayerOf(*child);
            if (!view)
                continue;
            if (AGGraphicLayer* level = ViewportLevelLayer(*static_cast<ViewPort3D*>(child))) {
                level->SetSize(Pixels(child->m_Width), Pixels(child->m_Height));
                level->SetCamera(view->GetCamera());
                AddChild(view, level);
            }
            view->SetOrderKey(child->m_DrawOrder);
            AddChild(layer, view);
        } else if (child->IsA(TypeIds::Panel)) {
            AGGraphicLayer* own = LayerOf(*child);
            if (!own)
                continue;
            own->SetOrderKey(child->m_DrawOrder);
            AddChild(layer, own);
            AttachTree(*static_cast<Panel*>(child), own);
            own->SetOpacity(child->m_Opacity);
        } else if (AGCompositeRenderable* composite = CompositeOf(*child)) {
            composite->SetDepth(f32(child->m_DrawOrder));
            composite->AddToLayer(layer);
        }
    }
}

// Takes every renderable of the widget out of its layer and composite before giving it back:
// the composite's destruction prepares every member it still holds.
void ReleaseWidget(Widget& widget) {
    RenderingSystemWidget::ReleaseSpecial(widget);
    AGCompositeRenderable* composite = CompositeOf(widget);
    AGGraphicLayer* layer = composite ? composite->GetLayer() : nullptr;
    auto drop = [&](AGRenderable* r) {
        if (layer)
            layer->RemoveRenderable(r);
        if (composite)
            composite->DetachRenderable(r);
    };
    if (widget.IsA(TypeIds::Image) && composite) {
        if (AGRenderable* member = composite->GetMember(0)) {
            drop(member);
            GiveBack(TypeKey::Sprite, static_cast<AGSprite*>(member));
        }
    }
    auto release = [&](auto* list, u32 type) {
        if (!list)
            return;
        for (auto* item : *list)
            if (item) {
                drop(item);
                GiveBack(type, item);
            }
        delete list;
    };
    release(widget.VolatileDatas.GetSprites(), TypeKey::Sprite);
    release(widget.VolatileDatas.GetTexts(), TypeKey::Text);
    if (auto* fonts = widget.VolatileDatas.GetFonts()) {
        for (AGFont* font : *fonts)
            GiveBack(TypeKey::Font, font);
        delete fonts;
    }
    delete composite;
    for (u32 key : {Keys::kDATA_SPRITES, Keys::kDATA_TEXTS, Keys::kDATA_FONTS, Keys::kDATA_COMPOSITERENDERABLE})
        widget.VolatileDatas.Remove(key);
}

void ReleaseTree(Panel& panel, AGGraphicLayer* layer) {
    const std::vector<Widget*> children = panel.m_Children;
    for (Widget* child : children) {
        if (child->m_Animation)
            child->ReleaseAnimation();
        if (child->IsA(TypeIds::Panel)) {
            AGGraphicLayer* own = LayerOf(*child);
            if (!own) {
                AGReport("Widget doesnt have the volatile data kWIDGET_DATA_LAYER_2D!");
                continue;
            }
            if (layer)
                layer->RemoveChildLayer(own);
            if (child->IsA(TypeIds::ViewPort3D)) {
                while (own->ChildCount() > 0)
                    own->RemoveChildLayer(own->GetChild(0));
                delete own;  // its camera is the level's
            } else {
                ReleaseTree(*static_cast<Panel*>(child), own);
                DeleteLayer(own);
            }
            child->VolatileDatas.Remove(Keys::kDATA_LAYER);
        } else {
            ReleaseWidget(*child);
        }
    }
}

void ReleaseRoot(Panel* root) {
    if (!root)
        return;
    AGGraphicLayer* layer = LayerOf(*root);
    if (layer && layer->GetParent())
        layer->GetParent()->RemoveChildLayer(layer);
    ReleaseTree(*root, layer);
    DeleteLayer(layer);
    root->VolatileDatas.Remove(Keys::kDATA_LAYER);
}

void BuildRoot(Panel* root) {
    if (root && !LayerOf(*root))
        RenderingSystemWidget::BuildWidgetTree(*root);
}

AGGraphicLayer* InitializeOwner(Entities::Entity& owner) {
    AGGraphicLayer* layer = NewDeviceLayer();
    owner.VolatileDatas.Set(Keys::kDATA_LAYER, layer);
    return layer;
}

void AttachOwner(Entities::Entity& owner, Panel* root, u32 key) {
    AGGraphicLayer* layer = LayerOf(owner);
    if (!layer) {
        AGReport("The Screen dont have a AGGraphicLayer! Please call RenderingSystemWidget::Initialize.");
        return;
    }
    if (AGGraphicLayer* rootLayer = root ? LayerOf(*root) : nullptr) {
        AddChild(layer, rootLayer);
        AttachTree(*root, rootLayer);
    }
    layer->SetOrderKey(key);
    AddChild(RenderingSystem::GetSharedGraphicLayer(), layer);
}

void ReleaseOwnerLayer(Entities::Entity& owner) {
    DeleteLayer(LayerOf(owner));
    owner.VolatileDatas.Remove(Keys::kDATA_LAYER);
}

// A screen's or popup's layer and tree; the previous ones go first.
template <typename Owner>
void InitializeDrawn(Owner& owner, Panel* root) {
    if (LayerOf(owner)) {
        AGReport("call RenderingSystem::Cleanup(..) before!");
        RenderingSystemWidget::Cleanup(&owner);
        RenderingSystemWidget::ReleaseLayer(&owner);
    }
    InitializeOwner(owner);
    BuildRoot(root);
}

Panel* RootOf(Entities::Entity* widget) {
    return widget && widget->IsA(TypeIds::Panel) ? static_cast<Panel*>(widget) : nullptr;
}

}  // namespace

f32 RenderingSystemWidget::WindowXScale() {
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    return device ? device->GetXScale() : 1.0f;
}

f32 RenderingSystemWidget::WindowYScale() {
    const PCGraphicDevice* device = PCGraphicDevice::Get();
    return device ? device->GetYScale() : 1.0f;
}

void RenderingSystemWidget::Initialize(Entities::Set* set) {
    if (!set)
        return;
    if (LayerOf(*set)) {
        AGReport("call RenderingSystem::Cleanup(..) before!");
        Cleanup(set);
    }
    AGGraphicLayer* layer = InitializeOwner(*set);
    auto* providers = set->VolatileDatas.GetEngineProviders();
    if (!providers) {
        providers = new Bridge::EngineProviders();
        set->VolatileDatas.Set(Keys::kENGINE_PROVIDERS, providers);
    }
    if (layer->GetCamera())
        providers->push_back(layer->GetCamera());
    for (Entities::Entity* widget : set->m_Widgets)
        BuildRoot(RootOf(widget));
}

void RenderingSystemWidget::Initialize(Screen* screen) {
    if (screen)
        InitializeDrawn(*screen, screen->m_RootPanel);
}

void RenderingSystemWidget::Initialize(Popup* popup) {
    if (popup)
        InitializeDrawn(*popup, popup->m_Panel);
}

void RenderingSystemWidget::AttachLayer(Entities::Set* set) {
    AGGraphicLayer* layer = set ? LayerOf(*set) : nullptr;
    if (!layer) {
        AGReport("The Set dont have a AGGraphicLayer! Please call RenderingSystemWidget::Initialize.");
        return;
    }
    for (Entities::Entity* widget : set->m_Widgets) {
        AGGraphicLayer* own = widget ? LayerOf(*widget) : nullptr;
        if (!own)
            continue;
        AddChild(layer, own);
        if (Panel* root = RootOf(widget))
            AttachTree(*root, own);
    }
}

void RenderingSystemWidget::AttachLayer(Screen* screen) {
    if (screen)
        AttachOwner(*screen, screen->m_RootPanel, kScreenKey);
}

void RenderingSystemWidget::AttachLayer(Popup* popup) {
    if (popup)
        AttachOwner(*popup, popup->m_Panel, kPopupKey);
}

// The Set's own camera is among its engine providers, which the level renderer gives back.
void RenderingSystemWidget::Cleanup(Entities::Set* set) {
    if (!set)
        return;
    if (AGGraphicLayer* layer = LayerOf(*set)) {
        for (Entities::Entity* widget : set->m_Widgets)
            if (Panel* root = RootOf(widget))
                ReleaseRoot(root);
        if (layer->GetParent())
            layer->GetParent()->RemoveChildLayer(layer);
        delete layer;
    }
    set->VolatileDatas.Remove(Keys::kDATA_LAYER);
}

void RenderingSystemWidget::Cleanup(Screen* screen) {
    if (!screen || !LayerOf(*screen))
        return;
    ReleaseRoot(screen->m_RootPanel);
    ReleaseOwnerLayer(*screen);
}

void RenderingSystemWidget::ReleaseLayer(Screen* screen) {
    if (screen && LayerOf(*screen))
        ReleaseOwnerLayer(*screen);
}

// The popup's layer stays under the shared layer until ReleaseLayer, without a camera it
// draws nothing.
void RenderingSystemWidget::Cleanup(Popup* popup) {
    AGGraphicLayer* layer = popup ? LayerOf(*popup) : nullptr;
    if (!layer)
        return;
    ReleaseRoot(popup->m_Panel);
    GiveBack(TypeKey::Camera, layer->GetCamera());
    layer->SetCamera(nullptr);
}

void RenderingSystemWidget::ReleaseLayer(Popup* popup) {
    if (popup && LayerOf(*popup))
        ReleaseOwnerLayer(*popup);
}

void RenderingSystemWidget::MatrixRotationAxis(const AGVec3& axis, Matrix& m, f32 angle) {
    const Matrix r = platform::gfx::MatrixRotationAxis(platform::gfx::Vec3{axis.x, axis.y, axis.z}, -angle);
    for (u32 row = 0; row < 3; ++row)
        for (u32 col = 0; col < 3; ++col)
            m.m[row * 4 + col] = r.m[row * 4 + col];
}

namespace {

Matrix Translation(f32 x, f32 y) {
    Matrix m = platform::gfx::MatrixIdentity();
    m.m[12] = x;
    m.m[13] = y;
    return m;
}

// About the centre of the unscaled box: scale, rotate, then move to the animated position.
// Without `animated`, the widget at rest: its animation's offsets left out.
Matrix LocalTransform(const Widget& w, bool animated = true) {
    const f32 cx = 0.5f * w.m_Width;
    const f32 cy = 0.5f * w.m_Height;
    const f32 a = animated ? 1.0f : 0.0f;
    Matrix scale = platform::gfx::MatrixIdentity();
    scale.m[0] = w.m_ScaleX * (animated ? w.m_AnimScaleX : 1.0f);
    scale.m[5] = w.m_ScaleY * (animated ? w.m_AnimScaleY : 1.0f);
    Matrix rotation = platform::gfx::MatrixIdentity();
    RenderingSystemWidget::MatrixRotationAxis(AGVec3{0.0f, 0.0f, 1.0f}, rotation, w.m_Hit.rotation + a * w.m_AnimRotation);
    Matrix m = platform::gfx::MatrixMultiply(Translation(-cx, -cy), scale);
    m = platform::gfx::MatrixMultiply(m, rotation);
    return platform::gfx::MatrixMultiply(m, Translation(cx + w.m_X + a * w.m_AnimX, cy + w.m_Y + a * w.m_AnimY));
}

// world = local(W) x local(parent) x ...; false when the widget or an ancestor is hidden.
bool ChainTransform(const Widget& widget, Matrix& world, f32& opacity) {
    world = platform::gfx::MatrixIdentity();
    opacity = 1.0f;
    for (const Widget* n = &widget; n; n = n->m_Parent) {
        world = platform::gfx::MatrixMultiply(world, LocalTransform(*n));
        opacity *= f32(n->m_AnimColor >> 24) * 0.003921569f * n->m_Opacity;
        if (!n->Visible)
            return false;
    }
    return true;
}

void ApplyVisibility(Widget& widget, bool visible) {
    const bool shown = widget.Visible;
    widget.Visible = visible;
    RenderingSystemWidget::UpdateVisibility(widget);
    widget.Visible = shown;
}

void UpdatePanelTransform(Panel& panel) {
    AGGraphicLayer* layer = LayerOf(panel);
    if (!layer)
        return;
    if (!panel.Visible) {
        layer->SetEnabled(false);
        return;
    }
    Matrix world;
    f32 opacity = 1.0f;
    const bool visible = ChainTransform(panel, world, opacity);
    // The clip is in window pixels: the panel's size under every scale of its chain (the root's
    // fit to the window included), not its own scale alone.
    f32 rect[4] = {std::trunc(world.m[12]), std::trunc(world.m[13]), panel.m_Width * std::hypot(world.m[0], world.m[1]),
                   panel.m_Height * std::hypot(world.m[4], world.m[5])};
    for (u32 i = 0; i < 4; ++i)
        panel.m_ClipRect[i] = rect[i];
    for (const Widget* up = panel.m_Parent; up; up = up->m_Parent) {
        if (!up->IsA(TypeIds::Panel))
            AGReport("panel's parent must be another panel.");
        const f32 right = std::min(rect[0] + rect[2], up->m_ClipRect[0] + up->m_ClipRect[2]);
        const f32 bottom = std::min(rect[1] + rect[3], up->m_ClipRect[1] + up->m_ClipRect[3]);
        rect[0] = std::max(rect[0], up->m_ClipRect[0]);
        rect[1] = std::max(rect[1], up->m_ClipRect[1]);
        rect[2] = std::max(0.0f, right - rect[0]);
        rect[3] = std::max(0.0f, bottom - rect[1]);
    }
    layer->SetPosition(AGVec3{rect[0], rect[1], 0.0f});
    layer->SetSize(Pixels(rect[2]), Pixels(rect[3]));
    layer->SetEnabled(visible);
}

void UpdateWidgetTransform(Widget& widget) {
    AGCompositeRenderable* composite = CompositeOf(widget);
    if (!composite)
        return;
    if (!widget.Visible) {
        ApplyVisibility(widget, false);
        return;
    }
    Matrix world;
    f32 opacity = 1.0f;
    const bool visible = ChainTransform(widget, world, opacity);
    if (widget.IsA(TypeIds::ResizableWindow)) {
        RenderingSystemWidget::LayoutResizableWindow(static_cast<ResizableWindow&>(widget),
                                                     widget.m_Width * world.m[0], widget.m_Height * world.m[5]);
        world = Translation(world.m[12], world.m[13]);
    }
    ApplyVisibility(widget, visible);
    widget.m_EffectiveOpacity = opacity;
    composite->SetOpacity(opacity);
    composite->Transform() = world;
    widget.m_ScreenRect[0] = world.m[12];
    widget.m_ScreenRect[1] = world.m[13];
    widget.m_ScreenRect[2] = widget.m_Width * world.m[0];
    widget.m_ScreenRect[3] = widget.m_Height * world.m[5];
    widget.m_TransformComputed = 1;
}

}  // namespace

void RenderingSystemWidget::UpdateTransforms(Panel& panel) {
    UpdatePanelTransform(panel);
    for (Widget* child : panel.m_Children) {
        if (child->IsA(TypeIds::Panel))
            UpdateTransforms(*static_cast<Panel*>(child));
        else
            UpdateWidgetTransform(*child);
    }
}

platform::gfx::Matrix RenderingSystemWidget::WorldTransform(const Widget& widget) {
    Matrix world = platform::gfx::MatrixIdentity();
    for (const Widget* n = &widget; n; n = n->m_Parent)
        world = platform::gfx::MatrixMultiply(world, LocalTransform(*n, false));
    return world;
}

void RenderingSystemWidget::ApplyPrscAnimation(Widget& widget, u32 dt) {
    if (!widget.m_Animation || !widget.m_Ready)
        return;
    widget.m_Control.UpdateBy(static_cast<f32>(dt));
    widget.SampleTracks();
}

}  // namespace GameServices::Widget
