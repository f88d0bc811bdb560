// The property hooks, the file names and render types, and the visual states of the widgets.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetRenderData.h"

namespace GameServices::Widget {

using namespace Render;

namespace {

const TextStyle* StyleOf(Widget& widget) {
    if (widget.IsA(TypeIds::Label))
        return &static_cast<Label&>(widget).m_TextStyle;
    if (widget.IsA(TypeIds::Button))
        return &static_cast<Button&>(widget).m_TextStyle;
    if (widget.IsA(TypeIds::CheckBox))
        return &static_cast<CheckBox&>(widget).m_TextStyle;
    return nullptr;
}

// The text up to its last '.' (whole without one), lower-cased, + the extension.
TString<char> WithExtension(const TString<char>& name, const char* extension) {
    u32 end = name.Length();
    for (u32 i = name.Length(); i-- > 0;)
        if (name.c_str()[i] == '.') {
            end = i;
            break;
        }
    TString<char> file(name.c_str(), end);
    file += extension;
    file.ToLower();
    return file;
}

AGFont* LoadFontNamed(const TString<char>& name) {
    AGResourceManager* resources = AGResourceManager::Get();
    AGBaseProvider* provider = resources ? resources->GetProvider(TypeKey::Font) : nullptr;
    if (!provider)
        return nullptr;
    const TString<char> file = RenderingSystemWidget::GetFontFileName(name);
    return GetOrLoadResourceAs<AGFont>(provider, Crc32Hash(file.c_str()));
}

// Lays text i out again with the font; the font entry of that text is replaced and the one it
// held given back, so refreshes never pile fonts up.
void RefreshText(Widget& widget, u32 index, const TextStyle& style, const TString<char>& fontName,
                 const TString<char>& color, i32 type) {
    AGText* text = At(widget.VolatileDatas.GetTexts(), index);
    FontList* fonts = widget.VolatileDatas.GetFonts();
    if (!text || !fonts)
        return;
    if (fonts->size() <= index)
        fonts->resize(index + 1, nullptr);
    AGFont* font = LoadFontNamed(fontName);
    AGFont* old = (*fonts)[index];
    (*fonts)[index] = font;
    const u32 fontSize = font ? font->GetHeaderValue(0) : 0;
    const f32 scale = style.m_Size > 0 && fontSize > 0 ? f32(style.m_Size) / f32(fontSize) : 1.0f;
    text->SetScale(AGVec2{scale, scale});
    text->SetBox(0.0f, 0.0f, widget.m_Width, widget.m_Height);
    text->SetFont(font);
    Relayout(text, Bridge::GetLocalizedTextOr(style.m_StringId, style.m_Text));
    SetRenderableColor(color.c_str(), text);
    if (type >= 0 && text->m_attribute.PartCount() > 0)
        text->m_attribute.m_renderTypes[0] = u32(type);
    GiveBack(TypeKey::Font, old);
}

i32 RenderTypeOfWidget(const Widget& widget) {
    i32 type = -1;
    RenderingSystemWidget::ParseRenderType(widget.m_RenderType, type);
    return type;
}

AGGraphicLayer* ViewportLevelLayer(Widget& viewport) {
    KorvoGame::ICurrentGame* game = KorvoGame::ICurrentGame::Get();
    Entities::Set* level = game ? game->GetCurrentLevel() : nullptr;
    const Entities::Entity* component =
        level ? level->FindComponentLevel(static_cast<ViewPort3D&>(viewport).m_ComponentLevel) : nullptr;
    return component ? component->VolatileDatas.GetAs<AGGraphicLayer>(Keys::kENGINE_DATA_LAYER_3D) : nullptr;
}

// Soft keyboard keys: letters 0..n-1, then the two layout keys, space and backspace, each with
// three look sprites and one text (backspace an icon); the entry field's sprite and text follow.
struct Keys3 {
    SoftKeyboard& keyboard;
    SpriteList* sprites;
    TextList* texts;
    u32 letters;

    explicit Keys3(SoftKeyboard& k)
        : keyboard(k), sprites(k.VolatileDatas.GetSprites()), texts(k.VolatileDatas.GetTexts()),
          letters(u32(k.m_Letters.size())) {}
    AGSprite* Look(u32 key, u32 look) const { return key < letters + 4 ? At(sprites, 3 * key + look) : nullptr; }
    AGText* Text(u32 key) const { return key == letters + 3 ? nullptr : At(texts, key < letters + 3 ? key : key - 1); }
    AGRenderable* Second(u32 key) const {
        if (key == letters + 3)
            return At(sprites, 3 * key + 3);
        return Text(key);
    }
    // The entry field's text.
    AGText* EntryText() const { return At(texts, letters + 3); }

    void Show(u32 key, bool shown) const {
        const bool visible = keyboard.Visible;
        for (u32 look = 0; look < 3; ++look)
            SetShown(Look(key, look), shown, visible);
        SetShown(Second(key), shown, visible);
    }
    void Label(u32 key, const TString<char>& text) const {
        if (AGText* t = Text(key)) {
            t->SetAlignment(1, 1);
            Relayout(t, text);
        }
    }
    // Letter i from the current order's characters; past their end, no label.
    void Relabel() const {
        const TString<char>& chars = keyboard.m_Qwerty ? keyboard.m_QwertyChars : keyboard.m_AbcdeChars;
        for (u32 i = 0; i < letters; ++i)
            Label(i, i < chars.Length() ? TString<char>(chars.c_str() + i, 1) : TString<char>());
    }
    void ShowFrom(u32 first, bool shown) const {
        for (u32 i = first; i < letters; ++i)
            Show(i, shown);
    }
};

constexpr u32 kDigitKeys = 10;

void LeaveDigits(const Keys3& keys) {
    SoftKeyboard& k = keys.keyboard;
    k.m_Digits = 0;
    keys.Label(keys.letters + 1, k.m_TextSpecial12345);
    keys.ShowFrom(kDigitKeys, true);
    keys.Relabel();
}

void ToggleKey(const Keys3& keys, u32 special) {
    SoftKeyboard& k = keys.keyboard;
    if (special == 0) {
        if (k.m_Digits)
            LeaveDigits(keys);
        k.m_Qwerty = k.m_Qwerty ? 0 : 1;
        k.m_Abcde = k.m_Qwerty ? 0 : 1;
        keys.Label(keys.letters, k.m_Qwerty ? k.m_TextSpecialAbcde : k.m_TextSpecialQwerty);
        keys.Relabel();
    } else if (special == 1 && !k.m_Digits) {
        k.m_Digits = 1;
        keys.Label(keys.letters + 1, k.m_Qwerty ? k.m_TextSpecialQwerty : k.m_TextSpecialAbcde);
        for (u32 i = 0; i < std::min(keys.letters, kDigitKeys); ++i)
            {
            const char digit = char('0' + i);
            keys.Label(i, TString<char>(&digit, 1));
        }
        keys.ShowFrom(kDigitKeys, false);
    } else if (special == 1) {
        LeaveDigits(keys);
    }
}

void KeyboardState(SoftKeyboard& keyboard) {
    WidgetSoftKeyboardBehavior& behavior = keyboard.m_KeyboardBehavior;
    const Keys3 keys(keyboard);
    if (!behavior.m_Pressed) {
        if (keyboard.m_HoveredLetter >= 0)
            RenderingSystemWidget::RefreshKey(keyboard, false, keyboard.m_HoveredLetter, 1);
        RenderingSystemWidget::UpdateText(keyboard);
        return;
    }
    if (!behavior.m_HoveredIsSpecial || keyboard.m_HoveredSpecial < 0)
        return;
    const u32 special = u32(keyboard.m_HoveredSpecial);
    RenderingSystemWidget::RefreshKey(keyboard, true, i32(special), 2);
    if (keyboard.m_InputLocked || behavior.m_PressHandled)
        return;
    behavior.m_PressHandled = 1;
    ToggleKey(keys, special);
}

// Sizes, places and shows the sprite of one state.
void ShowStateSprite(AGSprite* sprite, const ImageBox& box, i32 type) {
    if (!sprite)
        return;
    sprite->SetSize(Pixels(box.m_Size.x), Pixels(box.m_Size.y));
    sprite->UpdateVertices();
    sprite->SetPosition(box.m_Position);
    sprite->SetFlags(kLookFlags);
    if (type >= 0 && sprite->m_attribute.PartCount() > 0)
        sprite->m_attribute.m_renderTypes[0] = u32(type);
}

void ButtonState(Button& button, AGCompositeRenderable& composite, const SpriteList* sprites) {
    const i32 type = RenderTypeOfWidget(button);
    const ImageBox box{AGVec2{button.m_Width, button.m_Height}, AGVec2{0.0f, 0.0f}};
    for (u32 i = 0; i < 4; ++i)
        ShowStateSprite(At(sprites, i), box, type);
    u32 state = button.m_InputLocked ? u32(Button::kDisabled) : button.m_ButtonBehavior.m_VisualState;
    if (!At(sprites, state)) {
        AGReport("this behavior is not initialize in the Button");
        state = Button::kDefault;
    }
    Swap(composite, MemberOf(composite, sprites, 0, 4), At(sprites, state));
    RenderingSystemWidget::UpdateText(button);
}

void CheckBoxState(CheckBox& box, AGCompositeRenderable& composite, const SpriteList* sprites) {
    const u32 state = std::min(box.m_CheckBehavior.m_VisualState, 2u);
    if (!At(sprites, state))
        AGReport("this behavior is not initialize in the Check Box");
    const i32 type = RenderTypeOfWidget(box);
    for (u32 i = 0; i < 6; ++i)
        ShowStateSprite(At(sprites, i), box.m_Check, type);
    const i32 mark = MemberOf(composite, sprites, 3, 3);
    Swap(composite, MemberOf(composite, sprites, 0, 3), At(sprites, state));
    Swap(composite, mark, At(sprites, state + 3));
    RenderingSystemWidget::UpdateVisibility(box);
    RenderingSystemWidget::UpdateText(box);
}

void SliderButtonState(SliderButton& slider, AGCompositeRenderable& composite, const SpriteList* sprites) {
    u32 shown[4] = {6, 7, 9, 11};
    if (slider.m_Enabled && !slider.m_InputLocked) {
        const u32 state = std::min(slider.m_SliderBehavior.m_VisualState, 5u);
        const u32 part = slider.m_SliderBehavior.m_Part;
        if (!At(sprites, state))
            AGReport("this behavior is not initialize in the SlidderButton");
        shown[0] = part == WidgetSliderButtonBehavior::kLeftPart ? state : 0;
        shown[1] = part == WidgetSliderButtonBehavior::kRightPart ? state : 1;
        shown[2] = 8;
        shown[3] = 10;
    }
    // The left pictures are the even ones below 8, the right ones the odd ones.
    auto family = [&](u32 odd) {
        for (u32 m = 0; m < composite.MemberCount(); ++m)
            for (u32 i = odd; i < 8; i += 2)
                if (composite.GetMember(m) && composite.GetMember(m) == At(sprites, i))
                    return i32(m);
        return -1;
    };
    const i32 places[4] = {family(0), family(1), MemberOf(composite, sprites, 8, 2), MemberOf(composite, sprites, 10, 2)};
    for (u32 i = 0; i < 4; ++i)
        Swap(composite, places[i], At(sprites, shown[i]));
    // The thumb sits on the track at the value's share of the free length.
    const f32 range = slider.m_Maximum - slider.m_Minimum;
    const f32 share = range > 0.0f ? std::clamp((slider.m_Value - slider.m_Minimum) / range, 0.0f, 1.0f) : 0.0f;
    const AGVec2 at{slider.m_Track.m_Position.x + share * (slider.m_Track.m_Size.x - slider.m_Thumb.m_Size.x),
                    slider.m_Track.m_Position.y};
    for (u32 i : {10u, 11u})
        if (AGSprite* thumb = At(sprites, i))
            thumb->SetPosition(at);
}

void TrackBarState(SliderTrackBar& bar, AGCompositeRenderable& composite, const SpriteList* sprites) {
    const u32 state = std::clamp(bar.m_TrackBehavior.m_VisualState, 2u, 3u);
    if (!At(sprites, state))
        AGReport("this behavior is not initialize in the SlidderTrackBar");
    const bool enabled = bar.m_Enabled && !bar.m_InputLocked;
    const i32 track = MemberOf(composite, sprites, 0, 2);
    const i32 thumb = MemberOf(composite, sprites, 2, 3);
    Swap(composite, track, At(sprites, enabled ? 0 : 1));
    Swap(composite, thumb, At(sprites, enabled ? state : 4));
    const AGVec2 at{bar.m_Track.m_Position.x + bar.m_Value, bar.m_Track.m_Position.y};
    for (u32 i = 2; i < 5; ++i)
        if (AGSprite* sprite = At(sprites, i))
            sprite->SetPosition(at);
}

}  // namespace

bool RenderingSystemWidget::ParseRenderType(const TString<char>& word, i32& type) {
    if (word.Length() == 0) {
        type = -1;
        return false;
    }
    static const char* const kWords[] = {"onlycolor", "diffuse", "diffusealpha", "additive", "simplechrome", "morechrome"};
    TString<char> lower = word;
    lower.ToLower();
    for (i32 i = 0; i < 6; ++i)
        if (lower == kWords[i]) {
            type = i;
            return true;
        }
    AGReport("invalid render type %s", word.c_str());
    return false;
}

TString<char> RenderingSystemWidget::GetFontFileName(const TString<char>& name) {
    return name.Length() == 0 ? TString<char>("tahoma.fon") : WithExtension(name, ".fon");
}

TString<char> RenderingSystemWidget::GetTextureFileName(const TString<char>& name) {
    return WithExtension(name, ".png");
}

void RenderingSystemWidget::UpdateVisibility(Widget& widget) {
    const bool visible = widget.Visible;
    if (AGCompositeRenderable* composite = CompositeOf(widget)) {
        if (widget.IsA(TypeIds::CheckBox)) {
            const i32 mark = MemberOf(*composite, widget.VolatileDatas.GetSprites(), 3, 3);
            if (mark >= 0)
                SetShown(composite->GetMember(u32(mark)), static_cast<CheckBox&>(widget).m_Checked != 0, visible);
        }
        composite->SetVisible(visible);
        return;
    }
    if (AGGraphicLayer* layer = LayerOf(widget)) {
        layer->SetEnabled(visible);
        if (widget.IsA(TypeIds::ViewPort3D))
            if (AGGraphicLayer* level = ViewportLevelLayer(widget))
                level->SetEnabled(visible);
    }
}

void RenderingSystemWidget::UpdateColor(Widget& widget) {
    if (AGCompositeRenderable* composite = CompositeOf(widget))
        for (u32 i = 0; i < composite->MemberCount(); ++i)
            if (AGRenderable* member = composite->GetMember(i))
                member->SetColor(widget.m_Color);
}

void RenderingSystemWidget::UpdateScale(Widget& widget) {
    if (AGCompositeRenderable* composite = CompositeOf(widget)) {
        composite->Transform().m[0] = widget.m_ScaleX;
        composite->Transform().m[5] = widget.m_ScaleY;
    } else if (AGGraphicLayer* layer = LayerOf(widget)) {
        layer->SetSize(Pixels(widget.m_ScaleX * widget.m_Width), Pixels(widget.m_ScaleY * widget.m_Height));
    }
}

void RenderingSystemWidget::UpdatePosition(Widget& widget) {
    const AGVec3 at{widget.m_X, widget.m_Y, 0.0f};
    if (AGCompositeRenderable* composite = CompositeOf(widget)) {
        composite->SetPosition(at);
    } else if (AGGraphicLayer* layer = LayerOf(widget)) {
        layer->SetPosition(at);
        for (u32 i = 0; i < layer->ChildCount(); ++i)
            layer->GetChild(i)->SetPosition(at);
    }
}

void RenderingSystemWidget::UpdateSize(Widget& widget) {
    const u32 width = Pixels(widget.m_Width);
    const u32 height = Pixels(widget.m_Height);
    if (widget.IsA(TypeIds::Button) || widget.IsA(TypeIds::Image)) {
        AGCompositeRenderable* composite = CompositeOf(widget);
        AGRenderable* first = composite ? composite->GetMember(0) : nullptr;
        if (first && first->GetRenderableType() == AGRenderable::kSprite) {
            auto* sprite = static_cast<AGSprite*>(first);
            sprite->SetSize(width, height);
            sprite->UpdateVertices();
        }
    } else if (widget.IsA(TypeIds::ViewPort3D)) {
        // A viewport built without its component's layer leaves that layer alone.
        if (AGGraphicLayer* layer = LayerOf(widget)) {
            layer->SetSize(width, height);
            if (AGGraphicLayer* level = ViewportLevelLayer(widget))
                level->SetSize(width, height);
        }
    }
}

void RenderingSystemWidget::UpdateOpacity(Widget& widget) {
    if (AGCompositeRenderable* composite = CompositeOf(widget))
        composite->SetOpacity(widget.m_EffectiveOpacity);
    else if (AGGraphicLayer* layer = LayerOf(widget))
        layer->SetOpacity(widget.m_Opacity);
}

void RenderingSystemWidget::MarkDim(Widget& widget) {
    if (AGCompositeRenderable* composite = CompositeOf(widget))
        for (u32 i = 0; i < composite->MemberCount(); ++i)
            if (AGRenderable* member = composite->GetMember(i))
                member->SetFlags(AGRenderable::kDim);
}

void RenderingSystemWidget::UpdateText(Widget& widget) {
    if (!CompositeOf(widget))
        return;
    const i32 type = RenderTypeOfWidget(widget);
    if (const TextStyle* style = StyleOf(widget)) {
        if (At(widget.VolatileDatas.GetTexts(), 1)) {
            RefreshText(widget, 1, *style, style->m_Effect, style->m_EffectColor, type);
            if (AGText* effect = At(widget.VolatileDatas.GetTexts(), 1))
                effect->SetPosition(style->m_EffectOffset);
        }
        RefreshText(widget, 0, *style, style->m_FontName, style->m_Color, type);
        return;
    }
    if (!widget.IsA(TypeIds::SoftKeyboard))
        return;
    auto& keyboard = static_cast<SoftKeyboard&>(widget);
    const Keys3 keys(keyboard);
    if (AGText* entry = keys.EntryText(); entry && entry->HasFlags(AGRenderable::kShown))
        Relayout(entry, keyboard.GetEnteredText());
    for (u32 key = 0; key < keys.letters + 3; ++key)
        if (AGText* text = keys.Text(key)) {
            SetRenderableColor(keyboard.m_TextStyle.m_Color.c_str(), text);
            if (type >= 0 && text->m_attribute.PartCount() > 0)
                text->m_attribute.m_renderTypes[0] = u32(type);
        }
}

void RenderingSystemWidget::SetSoftKeysVisible(u32 group, Widget& widget, bool visible) {
    if (!widget.IsA(TypeIds::SoftKeyboard) || !CompositeOf(widget))
        return;
    const Keys3 keys(static_cast<SoftKeyboard&>(widget));
    if (group == 6)
        keys.ShowFrom(0, visible);
    else if (group < 3 || (group < 6 && keys.Look(keys.letters + group, 0)))
        keys.Show(keys.letters + group, visible);
}

void RenderingSystemWidget::SetImage(Widget& widget, const TString<char>& image) {
    AGCompositeRenderable* composite = CompositeOf(widget);
    AGRenderable* first = composite ? composite->GetMember(0) : nullptr;
    if (!first || first->GetRenderableType() != AGRenderable::kSprite)
        return;
    TString<char> texture = GetTextureFileName(Bridge::FileSystem::GetFilePath(Bridge::FILE_WIDGET_DATA, image));
    TString<char> material(texture.c_str(), texture.Length() - 4);
    material += ".mat";
    static_cast<AGSprite*>(first)->SetMaterial(material.c_str());
}

namespace {

// Replaces sprite i of the widget's list; a drawn sprite is taken out of its composite and
// layer first and its place goes to the new one.
void ReloadSprite(Widget& widget, u32 index, const TString<char>& image, const ImageBox& box) {
    SpriteList* sprites = widget.VolatileDatas.GetSprites();
    AGCompositeRenderable* composite = CompositeOf(widget);
    if (!sprites || !composite || index >= sprites->size())
        return;
    AGSprite* old = (*sprites)[index];
    const i32 member = old ? MemberOf(*composite, sprites, index, 1) : -1;
    const u32 flags = old ? old->m_flags & kLookFlags : 0;
    if (member >= 0) {
        if (AGGraphicLayer* layer = composite->GetLayer())
            layer->RemoveRenderable(old);
        composite->DetachRenderable(old);
    }
    RenderingSystemWidget::CreateWidgetSprite((*sprites)[index], image, box.m_Size,
                                              AGVec3{box.m_Position.x, box.m_Position.y, 0.0f},
                                              widget.m_RenderType, widget.m_DrawOrder);
    if (member >= 0 && (*sprites)[index]) {
        (*sprites)[index]->ClearFlags(kLookFlags);
        (*sprites)[index]->SetFlags(flags);
        composite->ReplaceRenderable(u32(member), (*sprites)[index]);
    }
}

}  // namespace

void RenderingSystemWidget::LoadButtonImage(Button& button, u32 state) {
    if (state > Button::kDisabled) {
        AGReport("this behavior does not exist");
        return;
    }
    SetImage(button, button.m_Images[Button::kDefault]);
    ReloadSprite(button, state, button.m_Images[state],
                 ImageBox{AGVec2{button.m_Width, button.m_Height}, AGVec2{0.0f, 0.0f}});
    UpdateBehaviorState(button);
}

void RenderingSystemWidget::LoadCheckBoxImage(CheckBox& box, u32 state, bool checked) {
    if (state > 2)
        return;
    const u32 index = checked ? state + 3 : state;
    ReloadSprite(box, index, box.m_Images[index], box.m_Check);
}

f32 RenderingSystemWidget::GetTextWidth(Widget& widget) {
    if (!CompositeOf(widget)) {
        AGReport("this widget has not been initialized");
        return 0.0f;
    }
    AGText* text = StyleOf(widget) ? At(widget.VolatileDatas.GetTexts(), 0) : nullptr;
    if (!text) {
        AGReport("this type of widget does not have text inside");
        return 0.0f;
    }
    return text->MeasureText(text->GetString());
}

void RenderingSystemWidget::ScaleChildren(Panel& panel, const AGVec2& ratio) {
    for (Widget* child : panel.m_Children) {
        child->SetWidth(child->m_Width * ratio.x);
        child->SetHeight(child->m_Height * ratio.y);
        child->SetPositionXY(child->m_X * ratio.x, child->m_Y * ratio.y);
    }
}

void RenderingSystemWidget::UpdateBehaviorState(Widget& widget) {
    AGCompositeRenderable* composite = CompositeOf(widget);
    if (!widget.Visible || !composite)
        return;
    const SpriteList* sprites = widget.VolatileDatas.GetSprites();
    if (widget.IsA(TypeIds::Button)) {
        ButtonState(static_cast<Button&>(widget), *composite, sprites);
    } else if (widget.IsA(TypeIds::ResizableWindow)) {
        LayoutResizableWindow(static_cast<ResizableWindow&>(widget), widget.m_Width, widget.m_Height);
        for (u32 i = 0; i < 9; ++i)
            SetShown(At(sprites, i), true, widget.Visible);
    } else if (widget.IsA(TypeIds::CheckBox)) {
        CheckBoxState(static_cast<CheckBox&>(widget), *composite, sprites);
    } else if (widget.IsA(TypeIds::SliderButton)) {
        SliderButtonState(static_cast<SliderButton&>(widget), *composite, sprites);
    } else if (widget.IsA(TypeIds::SliderTrackBar)) {
        TrackBarState(static_cast<SliderTrackBar&>(widget), *composite, sprites);
    } else if (widget.IsA(TypeIds::SoftKeyboard)) {
        KeyboardState(static_cast<SoftKeyboard&>(widget));
    } else {
        UpdateSpecialState(widget);
    }
}

AGRenderable* RenderingSystemWidget::GetRenderable(Widget& widget) {
    AGCompositeRenderable* composite = CompositeOf(widget);
    return composite ? composite->GetMember(0) : nullptr;
}

void RenderingSystemWidget::RefreshKey(Widget& widget, bool special, i32 index, u32 look) {
    AGCompositeRenderable* composite = CompositeOf(widget);
    if (!composite || !widget.IsA(TypeIds::SoftKeyboard) || index < 0 || look > 2)
        return;
    const Keys3 keys(static_cast<SoftKeyboard&>(widget));
    const u32 key = special ? keys.letters + u32(index) : u32(index);
    if (key >= keys.letters + 4 || (!special && key >= keys.letters))
        return;
    Swap(*composite, MemberOf(*composite, keys.sprites, 3 * key, 3), keys.Look(key, look));
}

}  // namespace GameServices::Widget
