#pragma once
// The widgets' answer to a replay's "when" lines (platform/window/Replay.h): whether the widget
// of a path is shown and takes input, on the current screen or in the popup that has the focus.
#include <string>

#include "platform/window/Replay.h"

namespace GameServices::Widget {

class ScreenManager;

class WidgetReplayScreen : public platform::window::ReplayScreen {
public:
    // The game's screen manager when none is given.
    explicit WidgetReplayScreen(const ScreenManager* screens = nullptr) : m_Screens(screens) {}

    // "<Screen>/<name>[/<name>...]": the current screen (no switch pending), then each name
    // searched below the one before, depth first. "Popup/<layout>/<name>...": the same in the
    // popup with the focus, built from that layout file. The widget is shown when it and every
    // panel above it are visible, none of them plays a one-shot animation (a page sliding in),
    // and it takes input: enabled, not locked (a popup over its screen locks it), half opaque.
    bool IsShown(const std::string& path) const override;

private:
    const ScreenManager* m_Screens;
};

}  // namespace GameServices::Widget
