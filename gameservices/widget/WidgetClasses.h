#pragma once
// The concrete widget classes the layout builder creates. Each embeds its input behaviour;
// the typed behaviours are installed as the widget's behaviour and join its behaviours.
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

class Image : public BehaviorWidget {
public:
    explicit Image(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;
    // Reloads the sprite when the widget already has renderables.
    void SetImage(const TString<char>& image);

    TString<char> m_ImageName;
    WidgetBehavior m_ImageBehavior{"BehaviorImage", this, false};
};

// The text fields shared by buttons, labels and check boxes.
struct TextStyle {
    TString<char> m_Text;
    i32 m_HorizontalAlignment = 1;
    i32 m_VerticalAlignment = 1;
    f32 m_FontSize = 0.0f;
    f32 m_Spacing = 0.0f;
    u32 m_TextColor = 0xFFFFFFFFu;
    TString<char> m_Font;
    TString<char> m_Effect;
};

class Button : public BehaviorWidget {
public:
    explicit Button(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_ImageDefault;
    TString<char> m_ImageHover;
    TString<char> m_ImagePressed;
    TString<char> m_ImageDisabled;
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
    TString<char> m_StringId;
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
};

class CheckBox : public BehaviorWidget {
public:
    explicit CheckBox(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_BoxDefault;
    TString<char> m_BoxHover;
    TString<char> m_BoxPressed;
    TString<char> m_BoxDisabled;
    TString<char> m_CheckImage;
    TString<char> m_CheckPressedImage;
    AGVec2 m_CheckSize{0.0f, 0.0f};
    AGVec2 m_CheckPosition{0.0f, 0.0f};
    u8 m_Checked = 0;
    u8 m_PressedLook = 0;
    TextStyle m_TextStyle;
    WidgetCheckBoxBehavior m_CheckBehavior{this};
};

// A value stepped by a left (down) and a right (up) button.
class SliderButton : public BehaviorWidget {
public:
    explicit SliderButton(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_LeftImage;
    TString<char> m_RightImage;
    TString<char> m_ThumbImage;
    TString<char> m_TrackImage;
    AGVec2 m_LeftPosition{0.0f, 0.0f};
    AGVec2 m_LeftSize{0.0f, 0.0f};
    AGVec2 m_RightPosition{0.0f, 0.0f};
    AGVec2 m_RightSize{0.0f, 0.0f};
    AGVec2 m_ThumbPosition{0.0f, 0.0f};
    AGVec2 m_ThumbSize{0.0f, 0.0f};
    AGVec2 m_TrackPosition{0.0f, 0.0f};
    AGVec2 m_TrackSize{0.0f, 0.0f};
    f32 m_Minimum = 0.0f;
    f32 m_Maximum = 1.0f;
    f32 m_Value = 0.0f;
    f32 m_Step = 0.1f;
    WidgetSliderButtonBehavior m_SliderBehavior{this};
};

// A value set by dragging a thumb along a track.
class SliderTrackBar : public BehaviorWidget {
public:
    explicit SliderTrackBar(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_ThumbImage;
    TString<char> m_TrackImage;
    AGVec2 m_ThumbPosition{0.0f, 0.0f};
    AGVec2 m_ThumbSize{0.0f, 0.0f};
    AGVec2 m_TrackPosition{0.0f, 0.0f};
    AGVec2 m_TrackSize{0.0f, 0.0f};
    f32 m_Minimum = 0.0f;
    f32 m_Maximum = 1.0f;
    f32 m_Value = 0.0f;
    f32 m_Step = 0.0f;
    WidgetSliderTrackBarBehavior m_TrackBehavior{this};
};

class Emitter3D : public BehaviorWidget {
public:
    explicit Emitter3D(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    TString<char> m_EmitterSource;
    // Set while the game's popups pause it.
    u8 m_Paused = 0;
    WidgetEmitter3DBehavior m_EmitterBehavior{this};
};

class ResizableWindow : public BehaviorWidget {
public:
    explicit ResizableWindow(const TString<char>& name = TString<char>());
    bool IsA(const u32& typeId) const override;

    // Left, top, right, bottom, centre, then the four corners from the top left.
    TString<char> m_Parts[9];
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
