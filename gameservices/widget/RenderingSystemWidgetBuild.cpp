// The renderable builders: the tree walk and one builder per widget kind.
#include <cmath>

#include "engine/core/AGDirectory.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetRenderData.h"

namespace GameServices::Widget {

using namespace Render;

namespace {

AGBaseProvider* Provider(u32 typeKey) {
    AGResourceManager* resources = AGResourceManager::Get();
    return resources ? resources->GetProvider(typeKey) : nullptr;
}

// A new instance of the sprite file, or null when no mounted package holds it.
AGSprite* NewSprite(const TString<char>& fileName) {
    const u32 id = Crc32Hash(fileName.c_str());
    AGBaseProvider* provider = Provider(TypeKey::Sprite);
    if (!provider || !AGDirectory::FindHolder(id))
        return nullptr;
    AGResource* made = CreateResourceInstance(provider, id, 0, false);
    // Without the graphics start-up the provider makes placeholders that are no sprites.
    auto* sprite = dynamic_cast<AGSprite*>(made);
    if (made && !sprite)
        provider->Release(made);
    return sprite;
}

void ApplyRenderType(AGRenderable* r, i32 type) {
    if (!r || type < 0)
        return;
    if (r->GetRenderableType() == AGRenderable::kSprite && type <= i32(AGSprite::kBlendAdditive))
        static_cast<AGSprite*>(r)->SetBlendMode(u32(type));
    if (r->m_attribute.PartCount() > 0)
        r->m_attribute.m_renderTypes[0] = u32(type);
}

i32 RenderTypeOf(const Widget& widget) {
    i32 type = -1;
    RenderingSystemWidget::ParseRenderType(widget.m_RenderType, type);
    return type;
}

AGCompositeRenderable* BeginComposite(Widget& widget) {
    if (CompositeOf(widget))
        AGReport("!!!!");
    auto* composite = new AGCompositeRenderable();
    widget.VolatileDatas.Set(Keys::kDATA_COMPOSITERENDERABLE, composite);
    return composite;
}

void FinishComposite(Widget& widget, AGCompositeRenderable& composite) {
    composite.SetPosition(AGVec3{widget.m_X, widget.m_Y, 0.0f});
    composite.SetOpacity(widget.m_Opacity);
    composite.SetVisible(widget.Visible);
}

template <typename List>
List* NewList(Widget& widget, u32 key, size_t count) {
    auto* list = new List();
    list->assign(count, nullptr);
    widget.VolatileDatas.Set(key, list);
    return list;
}

void MakeSprite(SpriteList& sprites, u32 index, const TString<char>& image, const ImageBox& box,
                const Widget& widget) {
    RenderingSystemWidget::CreateWidgetSprite(sprites[index], image, box.m_Size,
                                              AGVec3{box.m_Position.x, box.m_Position.y, 0.0f},
                                              widget.m_RenderType, widget.m_DrawOrder);
}

AGFont* LoadFont(const TString<char>& fontName) {
    AGBaseProvider* provider = Provider(TypeKey::Font);
    if (!provider)
        return nullptr;
    const TString<char> file = RenderingSystemWidget::GetFontFileName(fontName);
    return GetOrLoadResourceAs<AGFont>(provider, Crc32Hash(file.c_str()));
}

TString<char> ShownText(const TextStyle& style) {
    return Bridge::GetLocalizedTextOr(style.m_StringId, style.m_Text);
}

// The effect text (text 1) first, so that the main text (text 0) draws over it.
void BuildTexts(Widget& widget, const TextStyle& style, AGCompositeRenderable& composite, bool effect,
                const AGVec2& mainOffset) {
    const size_t count = effect ? 2 : 1;
    TextList* texts = NewList<TextList>(widget, Keys::kDATA_TEXTS, count);
    FontList* fonts = NewList<FontList>(widget, Keys::kDATA_FONTS, count);
    const TString<char> text = ShownText(style);
    const i32 type = RenderTypeOf(widget);
    auto make = [&](u32 index, const TString<char>& font, const TString<char>& color, const AGVec2& at) {
        (*fonts)[index] = LoadFont(font);
        RenderingSystemWidget::CreateWidgetText((*texts)[index], (*fonts)[index], widget.m_Width, widget.m_Height,
                                                style.m_VerticalAlignment, style.m_HorizontalAlignment, text,
                                                style.m_Size, style.m_SpaceWidth, style.m_OffsetBetweenCharacter,
                                                color, type);
        if (AGText* made = (*texts)[index]) {
            made->SetPosition(at);
            composite.AddRenderable(made);
        }
    };
    if (effect)
        make(1, style.m_Effect, style.m_EffectColor, style.m_EffectOffset);
    make(0, style.m_FontName, style.m_Color, mainOffset);
}

}  // namespace

TString<char> RenderingSystemWidget::GetSpriteFileName(const TString<char>& image, bool firstDot) {
    const char* text = image.c_str();
    u32 end = image.Length();
    if (firstDot) {
        for (u32 i = 1; i < image.Length(); ++i)
            if (text[i] == '.') {
                end = i;
                break;
            }
    } else {
        for (u32 i = image.Length(); i-- > 1;)
            if (text[i] == '.') {
                end = i;
                break;
            }
    }
    TString<char> name(text, end);
    name += ".spt";
    name.ToLower();
    return name;
}

void RenderingSystemWidget::CreateWidgetSprite(AGSprite*& slot, const TString<char>& image, const AGVec2& size,
                                               const AGVec3& position, const TString<char>& renderType,
                                               u32 depth) {
    const TString<char> file = RenderingSystemWidget::GetSpriteFileName(image, false);
    GiveBack(TypeKey::Sprite, slot);
    slot = NewSprite(file);
    if (!slot)
        return;
    slot->SetSize(Pixels(size.x), Pixels(size.y));
    slot->UpdateVertices();
    slot->SetPosition(AGVec2{position.x, position.y});
    slot->SetFlags(kLookFlags);
    slot->m_sortKey = f32(depth);
    i32 type = -1;
    if (ParseRenderType(renderType, type))
        ApplyRenderType(slot, type);
}

void RenderingSystemWidget::CreateWidgetText(AGText*& slot, AGFont* font, f32 boxWidth, f32 boxHeight, u32 vAlign,
                                             u32 hAlign, const TString<char>& text, u32 size, u32 spaceWidth,
                                             i32 charOffset, const TString<char>& color, i32 renderType) {
    GiveBack(TypeKey::Text, slot);
    slot = Bridge::RenderingSystem::CreateResourceAs<AGText>(TypeKey::Text);
    if (!slot)
        return;
    slot->SetFont(font);
    slot->SetBox(0.0f, 0.0f, boxWidth, boxHeight);
    const u32 fontSize = font ? font->GetHeaderValue(0) : 0;
    const f32 scale = size > 0 && fontSize > 0 ? f32(size) / f32(fontSize) : 1.0f;
    slot->SetScale(AGVec2{scale, scale});
    slot->SetAlignment(hAlign, vAlign);
    slot->SetSpaceWidth(spaceWidth);
    slot->SetLetterSpacing(charOffset);
    slot->Layout(text);
    SetRenderableColor(color.c_str(), slot);
    slot->SetFlags(kLookFlags);
    ApplyRenderType(slot, renderType);
}

void RenderingSystemWidget::BuildWidgetTree(Panel& panel) {
    if (AGGraphicLayer* old = LayerOf(panel)) {
        AGReport("!!!!");
        DeleteLayer(old);
    }
    panel.VolatileDatas.Set(Keys::kDATA_LAYER,
                            NewLayer(Pixels(panel.m_Width), Pixels(panel.m_Height), AGVec3{panel.m_X, panel.m_Y, 0.0f}));

    using Builder = void (*)(Widget&);
    static const std::pair<u32, Builder> kBuilders[] = {
        {TypeIds::Button, BuildButton},           {TypeIds::Image, BuildImage},
        {TypeIds::CheckBox, BuildCheckBox},       {TypeIds::SliderButton, BuildSliderButton},
        {TypeIds::SliderTrackBar, BuildSliderTrackBar}, {TypeIds::Label, BuildLabel},
        {TypeIds::ScrollText, BuildScrollText},   {TypeIds::Emitter3D, BuildEmitter3D},
        {TypeIds::ResizableWindow, BuildResizableWindow}, {TypeIds::Video, BuildVideo},
        {TypeIds::SoftKeyboard, BuildSoftKeyboard}, {TypeIds::ViewPort3D, BuildViewPort3D},
    };
    const std::vector<Widget*> children = panel.m_Children;
    for (Widget* child : children) {
        bool built = false;
        for (const auto& [type, build] : kBuilders)
            if (child->IsA(type)) {
                build(*child);
                built = true;
                break;
            }
        if (built || !child->IsA(TypeIds::Panel))
            continue;
        auto& inner = *static_cast<Panel*>(child);
        if (inner.m_Resizable && inner.m_Children.size() == 1 && inner.m_Children[0]->IsA(TypeIds::Panel)) {
            auto& content = *static_cast<Panel*>(inner.m_Children[0]);
            const f32 w0 = content.m_Width;
            const f32 h0 = content.m_Height;
            content.SetWidth(inner.m_Width);
            content.SetHeight(inner.m_Height);
            // A content panel without a size is not stretched.
            ScaleChildren(content, AGVec2{w0 != 0.0f ? inner.m_Width / w0 : 1.0f,
                                          h0 != 0.0f ? inner.m_Height / h0 : 1.0f});
        }
        BuildWidgetTree(inner);
    }
}

void RenderingSystemWidget::BuildImage(Widget& widget) {
    auto& image = static_cast<Image&>(widget);
    if (image.m_ImageName.Length() == 0) {
        AGReport("no sprite is explicitely specified in image definition! Check your .xaml file.");
        return;
    }
    AGSprite* sprite = NewSprite(RenderingSystemWidget::GetSpriteFileName(image.m_ImageName, true));
    if (!sprite) {
        AGReport("This sprite doesn't exist!");
        return;
    }
    sprite->SetPosition(AGVec2{0.0f, 0.0f});
    sprite->SetFlags(kLookFlags);
    ApplyRenderType(sprite, RenderTypeOf(widget));
    sprite->SetSize(Pixels(widget.m_Width), Pixels(widget.m_Height));
    sprite->UpdateVertices();
    AGCompositeRenderable* composite = BeginComposite(widget);
    composite->AddRenderable(sprite);
    FinishComposite(widget, *composite);
}

void RenderingSystemWidget::BuildLabel(Widget& widget) {
    auto& label = static_cast<Label&>(widget);
    AGCompositeRenderable* composite = BeginComposite(widget);
    BuildTexts(widget, label.m_TextStyle, *composite, label.m_TextStyle.m_Effect.Length() > 1, AGVec2{0.0f, 0.0f});
    FinishComposite(widget, *composite);
}

void RenderingSystemWidget::BuildButton(Widget& widget) {
    auto& button = static_cast<Button&>(widget);
    AGCompositeRenderable* composite = BeginComposite(widget);
    SpriteList* sprites = NewList<SpriteList>(widget, Keys::kDATA_SPRITES, 4);
    const ImageBox box{AGVec2{widget.m_Width, widget.m_Height}, AGVec2{0.0f, 0.0f}};
    for (u32 i = 0; i < 4; ++i)
        MakeSprite(*sprites, i, button.m_Images[i], box, widget);
    composite->AddRenderable((*sprites)[0]);
    BuildTexts(widget, button.m_TextStyle, *composite, button.m_TextStyle.m_Effect.Length() > 0,
               AGVec2{0.0f, 0.0f});
    FinishComposite(widget, *composite);
}

void RenderingSystemWidget::BuildCheckBox(Widget& widget) {
    auto& box = static_cast<CheckBox&>(widget);
    AGCompositeRenderable* composite = BeginComposite(widget);
    SpriteList* sprites = NewList<SpriteList>(widget, Keys::kDATA_SPRITES, 6);
    for (u32 i = 0; i < 6; ++i)
        MakeSprite(*sprites, i, box.m_Images[i], box.m_Check, widget);
    composite->AddRenderable((*sprites)[0]);
    composite->AddRenderable((*sprites)[3]);
    // A new check box shows unchecked.
    SetShown((*sprites)[3], false, false);
    BuildTexts(widget, box.m_TextStyle, *composite, box.m_TextStyle.m_Effect.Length() > 0,
               AGVec2{f32(box.m_TextOffset), 0.0f});
    composite->SetPosition(AGVec3{widget.m_X, widget.m_Y, 0.0f});
    composite->SetOpacity(widget.m_Opacity);
    if (!widget.Visible)
        composite->SetVisible(false);
}

void RenderingSystemWidget::BuildSliderButton(Widget& widget) {
    auto& slider = static_cast<SliderButton&>(widget);
    AGCompositeRenderable* composite = BeginComposite(widget);
    SpriteList* sprites = NewList<SpriteList>(widget, Keys::kDATA_SPRITES, SliderButton::kImageCount);
    for (u32 i = 0; i < SliderButton::kImageCount; ++i)
        MakeSprite(*sprites, i, slider.m_Images[i], slider.BoxOf(i), widget);
    for (u32 i : {0u, 1u, 8u, 10u})
        composite->AddRenderable((*sprites)[i]);
    FinishComposite(widget, *composite);
}

void RenderingSystemWidget::BuildSliderTrackBar(Widget& widget) {
    auto& bar = static_cast<SliderTrackBar&>(widget);
    AGCompositeRenderable* composite = BeginComposite(widget);
    SpriteList* sprites = NewList<SpriteList>(widget, Keys::kDATA_SPRITES, SliderTrackBar::kImageCount);
    for (u32 i = 0; i < SliderTrackBar::kImageCount; ++i)
        MakeSprite(*sprites, i, bar.m_Images[i], i < 2 ? bar.m_Track : bar.m_Thumb, widget);
    composite->AddRenderable((*sprites)[0]);
    composite->AddRenderable((*sprites)[2]);
    FinishComposite(widget, *composite);
}

void RenderingSystemWidget::BuildResizableWindow(Widget& widget) {
    auto& window = static_cast<ResizableWindow&>(widget);
    AGCompositeRenderable* composite = BeginComposite(widget);
    SpriteList* sprites = NewList<SpriteList>(widget, Keys::kDATA_SPRITES, 9);
    for (u32 i = 0; i < 9; ++i) {
        MakeSprite(*sprites, i, window.m_Parts[i], ImageBox{}, widget);
        composite->AddRenderable((*sprites)[i]);
    }
    LayoutResizableWindow(window, widget.m_Width, widget.m_Height);
    FinishComposite(widget, *composite);
}

void RenderingSystemWidget::LayoutResizableWindow(ResizableWindow& window, f32 width, f32 height) {
    const SpriteList* sprites = window.VolatileDatas.GetSprites();
    const f32 cw = std::trunc(window.m_CenterSize.x * width);
    const f32 ch = std::trunc(window.m_CenterSize.y * height);
    const f32 bw = std::trunc(window.m_BorderSize.x * width);
    const f32 bh = std::trunc(window.m_BorderSize.y * height);
    // Size and place of each piece: centre, four corners, four edges.
    const f32 pieces[9][4] = {
        {cw, ch, bw, bh},           {bw, bh, 0.0f, 0.0f},    {bw, bh, 0.0f, bh + ch},
        {bw, bh, bw + cw, bh + ch}, {bw, bh, bw + cw, 0.0f}, {cw, bh, bw, 0.0f},
        {bw, ch, 0.0f, bh},         {cw, bh, bw, bh + ch},   {bw, ch, bw + cw, bh},
    };
    const i32 type = RenderTypeOf(window);
    for (u32 i = 0; i < 9; ++i) {
        AGSprite* sprite = At(sprites, i);
        if (!sprite)
            continue;
        sprite->SetSize(Pixels(pieces[i][0]), Pixels(pieces[i][1]));
        sprite->UpdateVertices();
        sprite->SetPosition(AGVec2{pieces[i][2], pieces[i][3]});
        ApplyRenderType(sprite, type);
    }
}

void RenderingSystemWidget::BuildSoftKeyboard(Widget& widget) {
    auto& keyboard = static_cast<SoftKeyboard&>(widget);
    const TextStyle& style = keyboard.m_TextStyle;
    AGCompositeRenderable* composite = BeginComposite(widget);
    SpriteList* sprites = NewList<SpriteList>(widget, Keys::kDATA_SPRITES, 0);
    TextList* texts = NewList<TextList>(widget, Keys::kDATA_TEXTS, 0);
    FontList* fonts = NewList<FontList>(widget, Keys::kDATA_FONTS, 0);
    AGFont* font = LoadFont(style.m_FontName);
    fonts->push_back(font);
    const i32 type = RenderTypeOf(widget);
    const f32 sx = WindowXScale();
    const f32 sy = WindowYScale();

    // Three look sprites at the box, the normal one drawn; then the key's record.
    auto looks = [&](const TString<char>* images, const ImageBox& box) {
        for (u32 look = 0; look < 3; ++look) {
            sprites->push_back(nullptr);
            MakeSprite(*sprites, u32(sprites->size() - 1), images[look], box, widget);
        }
        composite->AddRenderable((*sprites)[sprites->size() - 3]);
    };
    auto label = [&](const TString<char>& text, const ImageBox& box, u32 size, u32 vAlign, u32 hAlign) {
        texts->push_back(nullptr);
        AGText*& slot = texts->back();
        CreateWidgetText(slot, font, box.m_Size.x, box.m_Size.y, vAlign, hAlign, text, size, 6, 0, style.m_Color,
                         type);
        if (slot) {
            slot->SetPosition(box.m_Position);
            composite->AddRenderable(slot);
        }
    };
    auto record = [&](const ImageBox& box, u32 value) {
        SoftKey key;
        key.x = box.m_Position.x * sx;
        key.y = box.m_Position.y * sy;
        key.maxX = box.m_Size.x * sx;
        key.maxY = box.m_Size.y * sy;
        key.value = value;
        return key;
    };

    keyboard.m_Letters.clear();
    keyboard.m_Specials.clear();
    const size_t rows = std::min(keyboard.m_RowPositions.size(), keyboard.m_RowKeys.size());
    u32 index = 0;
    for (size_t r = 0; r < rows; ++r) {
        f32 x = keyboard.m_RowPositions[r].x;
        const f32 y = keyboard.m_RowPositions[r].y;
        for (u32 k = 0; k < keyboard.m_RowKeys[r]; ++k, ++index) {
            const ImageBox box{keyboard.m_KeySize, AGVec2{x, y}};
            looks(keyboard.m_KeyImages, box);
            // Keys past the end of the letters have no label.
            const TString<char>& chars = keyboard.m_QwertyChars;
            const TString<char> letter = index < chars.Length() ? TString<char>(chars.c_str() + index, 1)
                                                                : TString<char>();
            label(letter, box, u32(std::max(0, keyboard.m_TextKeySize)), 1, 1);
            keyboard.m_Letters.push_back(record(box, 0));
            x = std::trunc(x + keyboard.m_KeySize.x + keyboard.m_KeySpacing);
        }
    }
    looks(keyboard.m_SpecialImages, keyboard.m_SpecialQwerty);
    label(keyboard.m_TextSpecialAbcde, keyboard.m_SpecialQwerty, keyboard.m_TextSpecialSizeQwerty, 1, 1);
    keyboard.m_Specials.push_back(record(keyboard.m_SpecialQwerty, 0));
    looks(keyboard.m_SpecialImages, keyboard.m_Special12345);
    label(keyboard.m_TextSpecial12345, keyboard.m_Special12345, keyboard.m_TextSpecialSize12345, 1, 1);
    keyboard.m_Specials.push_back(record(keyboard.m_Special12345, 1));
    looks(keyboard.m_SpaceImages, keyboard.m_Space);
    label(Bridge::GetLocalizedTextOr(keyboard.m_SpaceStringId, keyboard.m_SpaceText), keyboard.m_Space,
          Pixels(keyboard.m_TextSpaceSize), 1, 1);
    keyboard.m_Specials.push_back(record(keyboard.m_Space, 2));
    looks(keyboard.m_SpecialImages, keyboard.m_BackSpace);
    sprites->push_back(nullptr);
    MakeSprite(*sprites, u32(sprites->size() - 1), keyboard.m_BackSpaceIcon, keyboard.m_BackSpace, widget);
    composite->AddRenderable(sprites->back());
    keyboard.m_Specials.push_back(record(keyboard.m_BackSpace, 3));
    sprites->push_back(nullptr);
    MakeSprite(*sprites, u32(sprites->size() - 1), keyboard.m_EntryImage, keyboard.m_Entry, widget);
    composite->AddRenderable(sprites->back());
    label(keyboard.m_EntryText, keyboard.m_Entry, Pixels(keyboard.m_TextEntrySize), style.m_VerticalAlignment,
          style.m_HorizontalAlignment);
    FinishComposite(widget, *composite);
}

}  // namespace GameServices::Widget
