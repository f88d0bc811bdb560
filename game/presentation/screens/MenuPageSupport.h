#pragma once
// What the game's menu pages share: their widgets found by name under the page, and the
// shared profile bar (wardrobe button and tag panel) moved with the page.
#include "engine/core/AGLog.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/CompositionBase.h"
#include "gameshow/CompositionManager.h"

namespace QZ2011::MenuPage {

// The named widget under the page's root panel; a missing one is reported and null.
inline GameServices::Widget::Widget* FindWidget(const GameShow::CompositionBase& page, const char* name) {
    GameServices::Widget::Widget* root = page.GetRootPanel();
    GameServices::Widget::Widget* widget =
        root && root->IsA(GameServices::Widget::TypeIds::Panel)
            ? GameServices::Widget::Widget::FindChild(name, static_cast<GameServices::Widget::Panel*>(root))
            : nullptr;
    if (!widget)
        AGReport("can not find %s on %s", name, page.GetName().c_str());
    return widget;
}

// The wardrobe button and the tag panel at their layout positions, or parked off screen.
inline void PlaceProfileBar(GameShow::CompositionManager& manager, bool parked) {
    const std::pair<GameServices::Widget::Widget*, AGVec2> widgets[] = {
        {manager.m_WardrobeButton, manager.m_WardrobeButtonPosition}, {manager.m_TagPanel, manager.m_TagPanelPosition}};
    for (const auto& [widget, position] : widgets) {
        if (!widget)
            continue;
        if (parked)
            widget->SetPositionXY(GameShow::CompositionBase::kParkedPosition,
                                  GameShow::CompositionBase::kParkedPosition);
        else
            widget->SetPosition(position);
        widget->Synchronize = false;
    }
}

}  // namespace QZ2011::MenuPage
