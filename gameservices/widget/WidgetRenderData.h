#pragma once
// The widget renderer's own helpers: typed access to a widget's data slots, the renderables'
// shown and active flags, and giving resources back.
#include "engine/graphics/AGCompositeRenderable.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/AGText.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Entity.h"

namespace GameServices::Widget::Render {

using Bridge::FontList;
using Bridge::SpriteList;
using Bridge::TextList;
namespace Keys = Entities::VolatileDataKeys;

inline AGGraphicLayer* LayerOf(const Entities::Entity& e) {
    return e.VolatileDatas.GetAs<AGGraphicLayer>(Keys::kDATA_LAYER);
}
inline AGCompositeRenderable* CompositeOf(const Entities::Entity& e) {
    return e.VolatileDatas.GetAs<AGCompositeRenderable>(Keys::kDATA_COMPOSITERENDERABLE);
}

// Entry i of a list, null past its end or without the list.
template <typename List>
auto At(const List* list, size_t i) -> typename List::value_type {
    return list && i < list->size() ? (*list)[i] : nullptr;
}

// A layout length as whole pixels: truncated, negative and NaN lengths give 0, huge ones a
// million.
inline u32 Pixels(f32 length) {
    return length > 0.0f ? (length < 1.0e6f ? u32(length) : 1000000u) : 0u;
}

constexpr u32 kLookFlags = AGRenderable::kActive | AGRenderable::kShown;

// A shown member follows its composite's visibility; a member that is not shown stays hidden.
inline void SetShown(AGRenderable* r, bool shown, bool visible) {
    if (!r)
        return;
    if (!shown)
        r->ClearFlags(kLookFlags);
    else if (visible)
        r->SetFlags(kLookFlags);
    else {
        r->SetFlags(AGRenderable::kShown);
        r->ClearFlags(AGRenderable::kActive);
    }
}

// Lays the text out again without showing it: layout activates a text, a hidden one stays hidden.
inline void Relayout(AGText* text, const AGString& string) {
    if (!text)
        return;
    const bool active = text->HasFlags(AGRenderable::kActive);
    text->Layout(string);
    if (!active)
        text->ClearFlags(AGRenderable::kActive);
}

// The member holding one of the sprites [first, first + count) of the list, or -1.
inline i32 MemberOf(const AGCompositeRenderable& c, const SpriteList* sprites, u32 first, u32 count) {
    for (u32 m = 0; m < c.MemberCount(); ++m) {
        const AGRenderable* member = c.GetMember(m);
        for (u32 i = first; member && i < first + count; ++i)
            if (At(sprites, i) && member == At(sprites, i))
                return i32(m);
    }
    return -1;
}

// Puts the sprite in the member's place with the member's look flags; a null sprite or a
// missing member changes nothing.
inline void Swap(AGCompositeRenderable& c, i32 member, AGRenderable* sprite) {
    if (member < 0 || !sprite)
        return;
    AGRenderable* old = c.GetMember(u32(member));
    if (old == sprite)
        return;
    if (old) {
        sprite->ClearFlags(kLookFlags);
        sprite->SetFlags(old->m_flags & kLookFlags);
    }
    c.ReplaceRenderable(u32(member), sprite);
}

inline void GiveBack(u32 typeKey, AGResource* resource) {
    Bridge::RenderingSystem::GiveBack(typeKey, resource);
}

// A 2D layer with its own screen camera (far plane 100), enabled.
inline AGGraphicLayer* NewLayer(u32 width, u32 height, const AGVec3& position) {
    auto* layer = new AGGraphicLayer();
    if (auto* camera = Bridge::RenderingSystem::CreateResourceAs<PCCam>(TypeKey::Camera)) {
        AGGraphicLayer::SetupScreenCamera(camera);
        layer->SetCamera(camera);
    }
    layer->SetEnabled(true);
    layer->SetSize(width, height);
    layer->SetPosition(position);
    return layer;
}

inline void DeleteLayer(AGGraphicLayer* layer) {
    if (!layer)
        return;
    if (AGGraphicLayer* parent = layer->GetParent())
        parent->RemoveChildLayer(layer);
    GiveBack(TypeKey::Camera, layer->GetCamera());
    delete layer;
}

}  // namespace GameServices::Widget::Render
