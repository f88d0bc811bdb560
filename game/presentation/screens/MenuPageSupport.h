#pragma once
// What the game's menu pages share: their widgets found by name under the page, the binding
// of the decade and difficulty pages, and the shared profile bar (wardrobe button and tag
// panel) moved with the page.
#include <cstddef>

#include "engine/core/AGLog.h"
#include "engine/core/FDelegate.h"
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

// A click listener added to or taken off a widget; a missing widget is skipped.
inline void ListenToClick(GameServices::Widget::Widget* widget, IDelegate* delegate, bool listen) {
    if (!widget)
        return;
    if (listen)
        widget->AddEventDelegate(GameServices::Widget::kEventClick, delegate);
    else
        widget->RemoveEventDelegate(GameServices::Widget::kEventClick, delegate);
}

// Binds a selector page: its root panel, the named widgets (a missing one is reported and
// null), a click listener on each of the first widgets (one per delegate) and on the shared
// wardrobe button, which is stored; then the slide, and the page hidden.
template <std::size_t W, typename Delegate, std::size_t B>
void BindSelector(GameShow::CompositionBase& page, GameServices::Widget::Panel* screenPanel, const TString<char>& name,
                  const char* const (&names)[W], GameServices::Widget::Widget* (&widgets)[W],
                  Delegate (&delegates)[B], GameServices::Widget::Widget*& wardrobeButton, IDelegate& wardrobe) {
    static_assert(B <= W, "a delegate for each listened widget");
    page.FindRootPanel(screenPanel, name);
    for (std::size_t i = 0; i < W; ++i)
        widgets[i] = FindWidget(page, names[i]);
    for (std::size_t i = 0; i < B; ++i)
        ListenToClick(widgets[i], &delegates[i], true);
    wardrobeButton = page.GetManager().m_WardrobeButton;
    ListenToClick(wardrobeButton, &wardrobe, true);
    page.PlaySlideAnimation();
    page.OnActivate(false);
}

// Undoes BindSelector: the root panel forgotten, every listener taken off, the widgets null.
template <std::size_t W, typename Delegate, std::size_t B>
void UnbindSelector(GameShow::CompositionBase& page, GameServices::Widget::Widget* (&widgets)[W],
                    Delegate (&delegates)[B], GameServices::Widget::Widget*& wardrobeButton, IDelegate& wardrobe) {
    page.CompositionBase::Uninitialize();
    ListenToClick(wardrobeButton, &wardrobe, false);
    wardrobeButton = nullptr;
    for (std::size_t i = 0; i < B; ++i)
        ListenToClick(widgets[i], &delegates[i], false);
    for (GameServices::Widget::Widget*& widget : widgets)
        widget = nullptr;
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
