#include "gameservices/widget/LayoutRecords.h"

#include <initializer_list>
#include <span>

#include "engine/core/AGLog.h"

namespace GameServices::Widget {

namespace {

using Utilities::ISerialization;

// How an attribute is read: text, text falling back to "FontFamily", unsigned, unsigned
// bounded to a keyboard row, integer, float.
enum class Kind : u8 { Text, Font, UInt, KeyCount, Int, Float };

struct Attribute {
    const char* name;
    Kind kind;
    f32 fallback = 0.0f;
};

constexpr Attribute kTextBlock[] = {
    {"Text", Kind::Text},
    {"TextVerticalAlignment", Kind::Text},
    {"TextHorizontalAlignment", Kind::Text},
    {"TextColor", Kind::Text},
    {"TextSize", Kind::UInt},
    {"TextSpaceWidth", Kind::UInt, 6.0f},
    {"TextOffsetBetweenCharacter", Kind::Int},
    {"TextFontName", Kind::Font},
    {"TextEffect", Kind::Text},
    {"TextEffectColor", Kind::Text},
    {"TextEffectOffset", Kind::Text},
};

constexpr Attribute kButton[] = {
    {"ImageDefault", Kind::Text},
    {"ImageHover", Kind::Text},
    {"ImageDisabled", Kind::Text},
    {"ImagePressed", Kind::Text},
};

constexpr Attribute kCheckBox[] = {
    {"ImageDefault", Kind::Text},      {"ImageHover", Kind::Text},
    {"ImagePressed", Kind::Text},      {"ImageCheckDefault", Kind::Text},
    {"ImageCheckHover", Kind::Text},   {"ImageCheckPressed", Kind::Text},
    {"ImageCheckPosition", Kind::Text}, {"ImageCheckSize", Kind::Text},
    {"TextOffset", Kind::UInt},
};

constexpr Attribute kSliderNumbers[] = {
    {"SliderMinimum", Kind::Text},
    {"SliderMaximum", Kind::Text},
    {"SliderValue", Kind::Text},
    {"SliderGranularity", Kind::Text},
};

constexpr Attribute kSliderButton[] = {
    {"ImageButtonLeftDefault", Kind::Text},   {"ImageButtonRightDefault", Kind::Text},
    {"ImageButtonLeftHover", Kind::Text},     {"ImageButtonRightHover", Kind::Text},
    {"ImageButtonLeftPressed", Kind::Text},   {"ImageButtonRightPressed", Kind::Text},
    {"ImageTrackDefault", Kind::Text},        {"ImageThumbDefault", Kind::Text},
    {"ImageButtonLeftDisabled", Kind::Text},  {"ImageButtonRightDisabled", Kind::Text},
    {"ImageTrackDisabled", Kind::Text},       {"ImageThumbDisabled", Kind::Text},
    {"ImageTrackPosition", Kind::Text},       {"ImageThumbPosition", Kind::Text},
    {"ImageButtonLeftPosition", Kind::Text},  {"ImageButtonRightPosition", Kind::Text},
    {"ImageTrackSize", Kind::Text},           {"ImageThumbSize", Kind::Text},
    {"ImageButtonLeftSize", Kind::Text},      {"ImageButtonRightSize", Kind::Text},
};

constexpr Attribute kSliderTrackBar[] = {
    {"ImageThumbDefault", Kind::Text},  {"ImageThumbHover", Kind::Text},
    {"ImageThumbDisabled", Kind::Text}, {"ImageTrackDefault", Kind::Text},
    {"ImageTrackDisabled", Kind::Text}, {"ImageTrackPosition", Kind::Text},
    {"ImageThumbPosition", Kind::Text}, {"ImageTrackSize", Kind::Text},
    {"ImageThumbSize", Kind::Text},
};

constexpr Attribute kScrollText[] = {
    {"Text", Kind::Text},
    {"TextVerticalAlignment", Kind::Text},
    {"TextHorizontalAlignment", Kind::Text},
    {"TextColor", Kind::Text},
    {"TextSize", Kind::UInt},
    {"TextSpaceWidth", Kind::UInt, 6.0f},
    {"TextOffsetBetweenCharacter", Kind::Int},
    {"TextFontName", Kind::Font},
    {"SpecialTextColor", Kind::Text},
    {"SpecialTextSize", Kind::UInt},
    {"SpecialTextSpaceWidth", Kind::UInt, 6.0f},
    {"SpecialTextFontName", Kind::Font},
    {"HeightSpace", Kind::UInt},
    {"Speed", Kind::Float, 0.5f},
};

constexpr Attribute kImage[] = {{"ImageDefault", Kind::Text}};

constexpr Attribute kSoftKeyboard[] = {
    {"ImageKeyDefault", Kind::Text},
    {"ImageKeyHover", Kind::Text},
    {"ImageKeyPressed", Kind::Text},
    {"ImageKeySize", Kind::Text},
    {"SpaceBetweenKey", Kind::Float},
    {"Row1Position", Kind::Text},
    {"Row2Position", Kind::Text},
    {"Row3Position", Kind::Text},
    {"NumberKeyRow1", Kind::KeyCount},
    {"NumberKeyRow2", Kind::KeyCount},
    {"NumberKeyRow3", Kind::KeyCount},
    {"TextCharABCDE", Kind::Text},
    {"TextCharQWERTY", Kind::Text},
    {"TextKeySize", Kind::Float},
    {"ImageSpecialDefault", Kind::Text},
    {"ImageSpecialHover", Kind::Text},
    {"ImageSpecialPressed", Kind::Text},
    {"TextSpecialQWERTY", Kind::Text},
    {"TextSpecialABCDE", Kind::Text},
    {"TextSpecial12345", Kind::Text},
    {"TextSpecialSizeQWERTY", Kind::Float},
    {"TextSpecialSize12345", Kind::Float},
    {"ImageSpecialSizeQWERTY", Kind::Text},
    {"ImageSpecialPositionQWERTY", Kind::Text},
    {"ImageSpecialSize12345", Kind::Text},
    {"ImageSpecialPosition12345", Kind::Text},
    {"ImageTextBackSpace", Kind::Text},
    {"ImageBackSpaceSize", Kind::Text},
    {"ImageBackSpacePosition", Kind::Text},
    {"ImageSpaceDefault", Kind::Text},
    {"ImageSpaceHover", Kind::Text},
    {"ImageSpacePressed", Kind::Text},
    {"TextSpaceBar", Kind::Text},
    {"StringIdSpaceBar", Kind::Text},
    {"TextSpaceSize", Kind::Float},
    {"ImageSpaceSize", Kind::Text},
    {"ImageSpacePosition", Kind::Text},
    {"ImageEntryDefault", Kind::Text},
    {"ImageEntrySize", Kind::Text},
    {"ImageEntryPosition", Kind::Text},
    {"MaxEntryTextChar", Kind::UInt},
    {"TextVerticalAlignment", Kind::Text},
    {"TextHorizontalAlignment", Kind::Text},
    {"Text", Kind::Text},
    {"TextEntrySize", Kind::Float},
    {"TextColor", Kind::Text},
    {"TextFontName", Kind::Font},
};

constexpr Attribute kEmitter3D[] = {{"EmitterSource", Kind::Text}};

constexpr Attribute kResizableWindow[] = {
    {"ImageTopDefault", Kind::Text},        {"ImageLeftDefault", Kind::Text},
    {"ImageBottomDefault", Kind::Text},     {"ImageRightDefault", Kind::Text},
    {"ImageCenterDefault", Kind::Text},     {"ImageTopLeftDefault", Kind::Text},
    {"ImageBottomLeftDefault", Kind::Text}, {"ImageBottomRightDefault", Kind::Text},
    {"ImageTopRightDefault", Kind::Text},   {"ImageCenterSize", Kind::Text},
    {"ImageBorderSize", Kind::Text},
};

constexpr Attribute kVideo[] = {{"VideoAssetName", Kind::Text}, {"ImageDefault", Kind::Text}};
constexpr Attribute kViewPort3D[] = {{"ComponentLevelName", Kind::Text}};
constexpr Attribute kCompositor[] = {{"Source", Kind::Text}};

struct ElementKind {
    const char* element;
    i32 type;
    std::initializer_list<std::span<const Attribute>> blocks;
};

// In the order the names are compared.
const ElementKind kElements[] = {
    {"GsWidgetLibrary:Button", kLayoutButton, {kButton, kTextBlock}},
    {"GsWidgetLibrary:CheckBox", kLayoutCheckBox, {kCheckBox, kTextBlock}},
    {"GsWidgetLibrary:SliderButton", kLayoutSliderButton, {kSliderButton, kSliderNumbers}},
    {"GsWidgetLibrary:SliderTrackBar", kLayoutSliderTrackBar, {kSliderTrackBar, kSliderNumbers}},
    {"GsWidgetLibrary:Image", kLayoutImage, {kImage}},
    {"GsWidgetLibrary:Label", kLayoutLabel, {kTextBlock}},
    {"GsWidgetLibrary:ScrollText", kLayoutScrollText, {kScrollText}},
    {"GsWidgetLibrary:SoftKeyboard", kLayoutSoftKeyboard, {kSoftKeyboard}},
    {"GsWidgetLibrary:Emitter3D", kLayoutEmitter3D, {kEmitter3D}},
    {"GsWidgetLibrary:ResizableWindow", kLayoutResizableWindow, {kResizableWindow}},
    {"GsWidgetLibrary:Video", kLayoutVideo, {kVideo}},
    {"GsWidgetLibrary:ViewPort3D", kLayoutViewPort3D, {kViewPort3D}},
    {"GsWidgetLibrary:Compositor", kLayoutCompositor, {kCompositor}},
    {"Grid", kLayoutGrid, {}},
};

void ReadBlock(ISerialization& s, std::span<const Attribute> block, LayoutValues& values) {
    for (const Attribute& a : block) {
        switch (a.kind) {
        case Kind::Text:
            s.SerializeString(a.name, values.m_Texts[a.name], TString<char>());
            break;
        case Kind::Font: {
            TString<char>& font = values.m_Texts[a.name];
            s.SerializeString(a.name, font, TString<char>());
            if (font.IsEmpty())
                s.SerializeString("FontFamily", font, TString<char>());
            break;
        }
        case Kind::UInt:
        case Kind::KeyCount: {
            u32& value = values.m_UInts[a.name];
            s.SerializeUInt(a.name, value, static_cast<u32>(a.fallback));
            if (a.kind == Kind::KeyCount && value > kMaxKeysPerRow) {
                AGReport("%s of %u keys taken as %u", a.name, value, kMaxKeysPerRow);
                value = kMaxKeysPerRow;
            }
            break;
        }
        case Kind::Int:
            s.SerializeInt(a.name, values.m_Ints[a.name], static_cast<i32>(a.fallback));
            break;
        case Kind::Float:
            s.SerializeFloat(a.name, values.m_Floats[a.name], a.fallback);
            break;
        }
    }
}

// Nesting of the widget being read below the window.
u32 g_readDepth = 0;

template <typename Map>
auto Lookup(const Map& map, const char* name, std::set<std::string>& asked) -> typename Map::mapped_type {
    asked.insert(name);
    const auto found = map.find(name);
    return found == map.end() ? typename Map::mapped_type{} : found->second;
}

}  // namespace

const TString<char>& LayoutValues::Text(const char* name) const {
    static const TString<char> kEmpty;
    m_Asked.insert(name);
    const auto found = m_Texts.find(name);
    return found == m_Texts.end() ? kEmpty : found->second;
}

u32 LayoutValues::UInt(const char* name) const { return Lookup(m_UInts, name, m_Asked); }
i32 LayoutValues::Int(const char* name) const { return Lookup(m_Ints, name, m_Asked); }
f32 LayoutValues::Float(const char* name) const { return Lookup(m_Floats, name, m_Asked); }

i32 LayoutTypeOf(const TString<char>& elementName) {
    for (const ElementKind& kind : kElements)
        if (elementName == kind.element)
            return kind.type;
    return kLayoutNone;
}

void sWidget::Serialize(ISerialization& s) {
    TString<char> element;
    s.GetElementName(element);
    s.SetAttributeMode(true);
    s.SerializeString("Name", m_Name, TString<char>());
    if (m_Name.IsEmpty())
        s.SerializeString("x:Name", m_Name, TString<char>());
    s.SerializeInt("Width", m_Width, 0);
    s.SerializeInt("Height", m_Height, 0);
    s.SerializeString("Margin", m_Margin, TString<char>());
    s.SerializeString("Background", m_Background, TString<char>("#FFFFFFFF"));
    s.SerializeFloat("Opacity", m_Opacity, 1.0f);
    s.SerializeString("Visibility", m_Visibility, TString<char>("Visible"));
    s.SerializeBool("IsEnabled", m_Enabled, true);
    s.SerializeString("RenderType", m_RenderType, TString<char>());
    s.SerializeString("StringId", m_StringId, TString<char>());
    s.SerializeBool("Resizable", m_Resizable, false);
    for (const ElementKind& kind : kElements) {
        if (!(element == kind.element))
            continue;
        m_Type = kind.type;
        for (std::span<const Attribute> block : kind.blocks)
            ReadBlock(s, block, m_Values);
        break;
    }
    if (m_Type == kLayoutNone)
        AGReport("Unknown layout element: %s", element.c_str());
    if (m_Type == kLayoutGrid) {
        if (g_readDepth >= kMaxWidgetDepth) {
            AGReport("Layout nested deeper than %u widgets: the content of %s is not read",
                     kMaxWidgetDepth, m_Name.c_str());
        } else {
            ++g_readDepth;
            m_Children.SetItemName(TString<char>());
            s.SerializeItem(m_Children);
            --g_readDepth;
        }
    }
    s.SetAttributeMode(false);
}

void sWindow::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    s.SerializeString("x:Name", m_Name, TString<char>());
    s.SerializeInt("Width", m_Width, 0);
    s.SerializeInt("Height", m_Height, 0);
    s.SetAttributeMode(false);
    m_Widgets.SetItemName(TString<char>());
    g_readDepth = 1;
    s.SerializeObject("Grid", m_Widgets, true);
    g_readDepth = 0;
}

}  // namespace GameServices::Widget
