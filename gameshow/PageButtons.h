#pragma once
// Widget steps the menu pages share: button looks (usable, disabled, marked), label text and
// parking the profile bar's shared widgets off screen.
#include "engine/core/TString.h"

namespace GameServices::Widget {
class Widget;
}

namespace GameShow {

class CompositionManager;

// The look of a disabled button (behaviour state 3).
inline constexpr u32 kButtonDisabledState = 3;

// Enabled flag, behaviour reset, state 0 when usable and 3 when not, look refreshed. A null
// widget is skipped.
void SetButtonUsable(GameServices::Widget::Widget* button, bool usable);
// Selected flag (a check box's tick), behaviour state 0, look refreshed. A null widget is
// skipped.
void SetButtonMarked(GameServices::Widget::Widget* button, bool marked);
// The button's selected flag; false for a widget without one or null.
bool IsButtonMarked(const GameServices::Widget::Widget* button);
// A label's or a button's text, rebuilt; other widgets are reported.
void ShowWidgetText(GameServices::Widget::Widget* widget, const TString<char>& text);
// The shared wardrobe button and tag panel moved off screen (the pages without the profile
// bar).
void ParkSharedWidgets(CompositionManager& manager);

}  // namespace GameShow
