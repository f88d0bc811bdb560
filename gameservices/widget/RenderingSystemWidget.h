#pragma once
// The widgets' drawing side. Each owner of a widget tree (a level Set, a Screen, a Popup) gets
// a 2D layer with its own camera; every Panel gets a layer below it, and every other widget a
// composite of sprites and texts in its Panel's layer. Everything lives in the entities' data
// slots. The widget classes call the hooks whenever a value the renderables show changes; a
// hook does nothing while the widget has no render data.
//
// Index contracts (DATA_SPRITES, DATA_TEXTS, DATA_FONTS; text 0 is the main text, text 1 the
// effect text drawn under it, fonts in text order):
// - Image: no lists; its sprite is the composite's first member.
// - Button: sprites default, pressed, hover, disabled; composite [sprite, effect, text].
// - CheckBox: sprites box x3, check mark x3; composite [box, mark, effect, text].
// - SliderButton: 12 sprites (WidgetClasses.h); composite [0, 1, 8, 10].
// - SliderTrackBar: 5 sprites; composite [0, 2].
// - ResizableWindow: 9 sprites, all in the composite in the same order.
// - SoftKeyboard: per key three look sprites and one text (letter keys, the two layout keys,
//   space), the backspace key's looks and icon, then the entry field's sprite and text.
#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"
#include "platform/gfx/GfxTypes.h"

class AGFont;
class AGRenderable;
class AGSprite;
class AGText;

namespace GameServices::Entities {
class Set;
}

namespace GameServices::Widget {

class Button;
class CheckBox;
class Panel;
class Popup;
class ResizableWindow;
class Screen;
class Widget;

class RenderingSystemWidget {
public:
    // The graphic device's x and y scale (1 without a device).
    static f32 WindowXScale();
    static f32 WindowYScale();

    // A second Initialize reports and releases the owner's previous layer and tree first. The
    // Set form builds every root panel of the Set.
    static void Initialize(Entities::Set* set);
    static void Initialize(Screen* screen);
    static void Initialize(Popup* popup);
    // Hangs the owner's tree below its layer; a Screen's layer (key 1) and a Popup's (key 2)
    // go under the shared graphic layer, popups thus over the screen in attach order.
    static void AttachLayer(Entities::Set* set);
    static void AttachLayer(Screen* screen);
    static void AttachLayer(Popup* popup);
    static void Cleanup(Entities::Set* set);
    static void Cleanup(Screen* screen);
    static void Cleanup(Popup* popup);
    static void ReleaseLayer(Screen* screen);
    static void ReleaseLayer(Popup* popup);

    // World transforms, effective opacities and visibility of a Panel tree, and the Panels'
    // clip rectangles intersected with their ancestors'.
    static void UpdateTransforms(Panel& panel);
    // The matrix the widget is drawn with at rest: its own and its ancestors' positions, scales
    // and rotations, without the passing offsets of their animations; visible or not.
    static platform::gfx::Matrix WorldTransform(const Widget& widget);
    // Rotation about the unit axis into the upper 3x3 of m; the rest of m is kept.
    static void MatrixRotationAxis(const AGVec3& axis, platform::gfx::Matrix& m, f32 angle);

    // Builders.
    static void BuildWidgetTree(Panel& panel);
    static void BuildImage(Widget& widget);
    static void BuildLabel(Widget& widget);
    static void BuildButton(Widget& widget);
    static void BuildCheckBox(Widget& widget);
    static void BuildSliderButton(Widget& widget);
    static void BuildSliderTrackBar(Widget& widget);
    static void BuildResizableWindow(Widget& widget);
    static void BuildSoftKeyboard(Widget& widget);
    // A text per line, stacked while they fit in the widget's height; a line with '_' in a
    // widget naming a special font shows the part after the '_' in the special style.
    static void BuildScrollText(Widget& widget);
    // An instance of the "EmitterSource" emitter at the widget's place; without it, an empty
    // composite.
    static void BuildEmitter3D(Widget& widget);
    // Plays or stops the level's video asset and shows the player's texture on the sprite of
    // "ImageDefault"; a missing asset or no current level builds nothing.
    static void BuildVideo(Widget& widget);
    static void BuildViewPort3D(Widget& widget);
    // Lets the level renderer build, attach and release the widgets of a level Set.
    static void InstallLevelRendering();
    // The nine pieces for a window of width x height: corners of the border fraction, the
    // centre of the centre fraction, edges between (all truncated to whole pixels).
    static void LayoutResizableWindow(ResizableWindow& window, f32 width, f32 height);
    // Replaces the slot's sprite by a new instance of the name's sprite (its text up to the
    // last '.', + ".spt", lower-cased); a missing file leaves the slot null.
    static void CreateWidgetSprite(AGSprite*& slot, const TString<char>& image, const AGVec2& size,
                                   const AGVec3& position, const TString<char>& renderType, u32 depth);
    // Replaces the slot's text by a new one laid out in a width x height box; scale = size /
    // the font's size (1 for size 0); renderType -1 keeps the text's own.
    static void CreateWidgetText(AGText*& slot, AGFont* font, f32 boxWidth, f32 boxHeight, u32 vAlign,
                                 u32 hAlign, const TString<char>& text, u32 size, u32 spaceWidth,
                                 i32 charOffset, const TString<char>& color, i32 renderType);

    // Property hooks.
    static void UpdateVisibility(Widget& widget);
    static void UpdateText(Widget& widget);
    static void UpdateSize(Widget& widget);
    static void UpdatePosition(Widget& widget);
    static void UpdateScale(Widget& widget);
    static void UpdateColor(Widget& widget);
    static void UpdateOpacity(Widget& widget);
    // The widget's renderables dim what is drawn before them (AGRenderable::kDim): a picture
    // over the whole window then darkens the frame drawn so far instead of being drawn on it.
    static void MarkDim(Widget& widget);
    // Groups: 6 the letter keys, 0-5 the special keys after them (3-5 only where the keyboard has
    // them). The entry field is no key: no group hides it, so the typed text stays drawn.
    static void SetSoftKeysVisible(u32 group, Widget& keyboard, bool visible);
    // The drawn sprite takes the material of the image's widget-data path.
    static void SetImage(Widget& widget, const TString<char>& image);
    // State 0-3 of the button's sprite list from its image of that state.
    static void LoadButtonImage(Button& button, u32 state);
    // Look 0-2 of the box, or of the check mark when checked.
    static void LoadCheckBoxImage(CheckBox& box, u32 state, bool checked);
    // Width of the first line of the main text.
    static f32 GetTextWidth(Widget& widget);
    // "onlycolor" 0 .. "morechrome" 5, any case; empty gives -1; false for any other word.
    static bool ParseRenderType(const TString<char>& word, i32& type);
    static TString<char> GetFontFileName(const TString<char>& name);
    static TString<char> GetTextureFileName(const TString<char>& name);
    // The sprite file of an image name: its text up to the first '.' (an Image's rule) or the
    // last (every other kind's), whole without one, + ".spt", lower-cased. A '.' in the first
    // character does not count.
    static TString<char> GetSpriteFileName(const TString<char>& image, bool firstDot);
    // Multiplies the children's layout size and position by the ratio.
    static void ScaleChildren(Panel& panel, const AGVec2& ratio);

    // Shows the sprites of the widget's behaviour state; a hidden widget keeps its look.
    static void UpdateBehaviorState(Widget& widget);
    static AGRenderable* GetRenderable(Widget& widget);
    // The ScrollText scroll step and the Emitter3D state; other kinds: nothing.
    static void UpdateSpecialState(Widget& widget);
    // Gives back what only the ScrollText, Emitter3D and Video kinds hold, before the common
    // release of the widget's lists and composite.
    static void ReleaseSpecial(Widget& widget);
    // Shows one key of a soft keyboard with the look (0 normal, 1 hovered, 2 pressed).
    static void RefreshKey(Widget& keyboard, bool special, i32 index, u32 look);

    // Steps the widget's animation controller by dt and samples its tracks into the widget's
    // animated values.
    static void ApplyPrscAnimation(Widget& widget, u32 dt);
};

}  // namespace GameServices::Widget
