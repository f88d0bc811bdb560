#pragma once
// Small steps the game's screens share on the widgets of their layouts.
#include "gameservices/widget/Screen.h"

namespace QZ2011 {

// The widget of that name under the screen's root panel; a missing one is reported and null.
GameServices::Widget::Widget* BindWidget(GameServices::Widget::Screen& screen, const char* name);

// Shows or hides the widget; a null widget is left alone.
void ShowWidget(GameServices::Widget::Widget* widget, bool visible);

// No animation is playing: none loaded, its clock stopped (play mode 0 or 1), or timing that
// could not be set (such a clock never advances, so it would never end).
bool IsAnimationIdle(const GameServices::Widget::Widget* widget);

// Gives the widget the animation file, restarts it and plays it once; at that frame rate
// when one is given, else at the file's own.
void PlayAnimationOnce(GameServices::Widget::Widget* widget, const char* animation, f32 framesPerSecond = 0.0f);

}  // namespace QZ2011
