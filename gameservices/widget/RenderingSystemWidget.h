#pragma once
// The widgets' drawing side. The widget classes call these hooks whenever a value the
// renderables show changes; each does nothing while the widget has no render data.
#include "engine/core/AGTypes.h"

class AGRenderable;

namespace GameServices::Widget {

class Panel;
class Popup;
class Widget;
class Screen;

class RenderingSystemWidget {
public:
    // The graphic device's x and y scale (1 without a device).
    static f32 WindowXScale();
    static f32 WindowYScale();

    static void UpdateVisibility(Widget& widget);
    static void UpdateText(Widget& widget);
    static void UpdateSize(Widget& widget);
    static void UpdatePosition(Widget& widget);
    static void UpdateScale(Widget& widget);
    static void UpdateColor(Widget& widget);
    static void UpdateOpacity(Widget& widget);
    // Shows the sprite of the widget's behaviour state.
    static void RefreshLook(Widget& widget);
    static AGRenderable* GetRenderable(Widget& widget);
    // Shows one key of a soft keyboard with the look (0 normal, 1 hovered, 2 pressed).
    static void RefreshKey(Widget& keyboard, bool special, i32 index, u32 look);

    static void InitializeScreen(Screen& screen);
    static void AttachScreen(Screen& screen);
    static void CleanupScreen(Screen& screen);
    static void ReleaseScreen(Screen& screen);

    // A popup's layer and the renderables of its panel tree; its clean-up and release.
    static void Initialize(Popup* popup);
    static void AttachLayer(Popup* popup);
    static void Cleanup(Popup* popup);
    static void ReleaseLayer(Popup* popup);
    // Recomputes the transforms, opacities and clip rectangles of a panel tree.
    static void UpdateTransforms(Panel* panel);

    // Steps the widget's animation controller by dt and samples its tracks into the widget's
    // animated values.
    static void ApplyPrscAnimation(Widget& widget, u32 dt);
};

}  // namespace GameServices::Widget
