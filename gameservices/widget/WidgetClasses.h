#pragma once
// The concrete widget classes the layout builder creates. Each embeds its input behaviour;
// the typed behaviours are installed as the widget's behaviour and join its behaviours.
#include "engine/core/FHandler.h"
#include "gameservices/widget/Widget.h"
#include "gameservices/widget/WidgetBehavior.h"

namespace GameServices::Widget {

// Forwards the event delegates to the embedded behaviour (none: nothing to forward).
class BehaviorWidget : public Widget {
public:
    using Widget::Widget;
    void AddEventDelegate(u32 kind, IDelegate* delegate) override;
    void RemoveEventDelegate(u32 kind, IDelegate* delegate) override;

protected:
    // Makes the behaviour the widget's own and lists it among the entity's behaviours.
    void Install(WidgetBehavior& behavior);

    WidgetBehavior* m_Embedded = nullptr;
};

// One picture of a multi-part widget: its size and its place in the widget, layout pixels.
struct ImageBox {
    AGVec2 m_Size{0.0f, 0.0f};
    AGVec2 m_Position{0.0f, 0.0f};
};

class Image : public BehaviorWidget {
public:
    explicit Image(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;
    // Gives the drawn sprite the picture's material when the widget has renderables.
    void SetImage(const TString<char>& image);

    // "ImageDefault".
    TString<char> m_ImageName;
    WidgetBehavior m_ImageBehavior{"BehaviorImage", this, false};
};

// The text attributes of labels, buttons, check boxes and the soft keyboard.
struct TextStyle {
    TString<char> m_Text;
    // Localized text key; its text, when found, is shown instead of m_Text.
    TString<char> m_StringId;
    TString<char> m_FontName;
    // Pixels; 0 draws at the font's own size.
    u32 m_Size = 0;
    u32 m_SpaceWidth = 6;
    i32 m_OffsetBetweenCharacter = 0;
    // Hexadecimal AARRGGBB, with or without "#" or "0x"; empty is magenta.
    TString<char> m_Color;
    u32 m_VerticalAlignment = 1;
    u32 m_HorizontalAlignment = 1;
    // The font of a shadow text drawn under the main text; empty: none.
    TString<char> m_Effect;
    TString<char> m_EffectColor;
    AGVec2 m_EffectOffset{0.0f, 0.0f};
};

class Button : public BehaviorWidget {
public:
    enum ImageState : u32 { kDefault = 0, kPressed = 1, kHover = 2, kDisabled = 3 };
    explicit Button(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    // By ImageState.
    TString<char> m_Images[4];
    TextStyle m_TextStyle;
    TString<char> m_HoverAnimation;
    WidgetButtonBehavior m_ButtonBehavior{this};
};

class Label : public BehaviorWidget {
public:
    explicit Label(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;
    // Takes the text and rebuilds the text renderables.
    void SetText(const TString<char>& text);

    TextStyle m_TextStyle;
    WidgetBehavior m_LabelBehavior{"BehaviorLabel", this, false};
};

class ScrollText : public BehaviorWidget {
public:
    explicit ScrollText(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;
    // The lines become the pieces of the text between commas; with a string id, of that
    // id's localized text instead. An empty text keeps the lines.
    void SetText(const TString<char>& text);

    std::vector<TString<char>> m_Lines;
    f32 m_LineHeight = 0.0f;
    f32 m_Speed = 0.0f;
    TextStyle m_NormalStyle;
    TextStyle m_SpecialStyle;
    TString<char> m_StringId;
    WidgetBehavior m_ScrollBehavior{"BehaviorScrollText", this, false};

    // Lines the renderer shows (those whose heights fit in the widget's).
    u32 m_ShownLines = 0;
    // Scrolling, kept by the renderer: started once the lines were blanked, the next entry of
    // m_Lines to show, and per shown line whether it has finished and is special.
    bool m_ScrollStarted = false;
    u32 m_NextLine = 0;
    u32 m_FinishedLines = 0;
    std::vector<u8> m_LineFinished;
    std::vector<u8> m_LineSpecial;
    // Fired once, when every shown line has run out of entries.
    FHandler m_ScrollEnded;
};

class CheckBox : public BehaviorWidget {
public:
    explicit CheckBox(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    // The box normal, hovered and pressed, then the check mark in the same three looks.
    TString<char> m_Images[6];
    // Of every picture.
    ImageBox m_Check;
    // Pixels the text sits right of the widget's left edge.
    u32 m_TextOffset = 0;
    u8 m_Checked = 0;
    u8 m_PressedLook = 0;
    TextStyle m_TextStyle;
    WidgetCheckBoxBehavior m_CheckBehavior{this};
};

// A value shown by a thumb on a track.
class SliderWidget : public BehaviorWidget {
public:
    using BehaviorWidget::BehaviorWidget;

    ImageBox m_Track;
    ImageBox m_Thumb;
    f32 m_Minimum = 0.0f;
    f32 m_Maximum = 1.0f;
    f32 m_Value = 0.0f;
    f32 m_Step = 0.0f;
};

// A value stepped by a left (down) and a right (up) button.
class SliderButton : public SliderWidget {
public:
    // Pictures: left and right buttons normal (0, 1), hovered (2, 3), pressed (4, 5),
    // disabled (6, 7); track normal and disabled (8, 9); thumb normal and disabled (10, 11).
    static constexpr u32 kImageCount = 12;
    explicit SliderButton(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;
    // The box picture i is drawn in.
    const ImageBox& BoxOf(u32 image) const;

    TString<char> m_Images[kImageCount];
    ImageBox m_Left;
    ImageBox m_Right;
    WidgetSliderButtonBehavior m_SliderBehavior{this};
};

// A value set by dragging a thumb along a track; the value is the thumb's offset in pixels.
class SliderTrackBar : public SliderWidget {
public:
    // Track normal and disabled (0, 1); thumb normal, hovered and disabled (2, 3, 4).
    static constexpr u32 kImageCount = 5;
    explicit SliderTrackBar(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_Images[kImageCount];
    WidgetSliderTrackBarBehavior m_TrackBehavior{this};
};

class Emitter3D : public BehaviorWidget {
public:
    explicit Emitter3D(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_EmitterSource;
    // Set while the game's popups pause it.
    u8 m_Paused = 0;
    // Set, the emitter spawns nothing more; cleared, it starts again.
    u8 m_Stopped = 0;
    // The emitter's two force directions, given to it unless both are zero.
    AGVec3 m_ForceDirection1{0.0f, 0.0f, 0.0f};
    AGVec3 m_ForceDirection2{0.0f, 0.0f, 0.0f};
    WidgetEmitter3DBehavior m_EmitterBehavior{this};
};

class ResizableWindow : public BehaviorWidget {
public:
    explicit ResizableWindow(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    // Centre; corners top-left, bottom-left, bottom-right, top-right; edges top, left,
    // bottom, right.
    TString<char> m_Parts[9];
    // Fractions of the window's size.
    AGVec2 m_CenterSize{0.0f, 0.0f};
    AGVec2 m_BorderSize{0.0f, 0.0f};
    WidgetBehavior m_WindowBehavior{"BehaviorResizableWindow", this, false};
};

class Video : public BehaviorWidget {
public:
    explicit Video(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_VideoName;
    TString<char> m_DefaultImage;
};

class ViewPort3D : public Panel {
public:
    explicit ViewPort3D(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_ComponentLevel;
};

}  // namespace GameServices::Widget
