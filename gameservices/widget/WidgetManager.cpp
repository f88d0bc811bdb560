#include "gameservices/widget/WidgetManager.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "engine/core/AGArray.h"
#include "engine/core/AGLog.h"
#include "engine/core/NumberText.h"
#include "engine/core/SplitString.h"
#include "engine/core/XmlReader.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetBehavior.h"
#include "gameservices/widget/WidgetClasses.h"

namespace GameServices::Widget {

namespace {

// The comma-separated pieces; an empty text has none.
void Split(const TString<char>& text, AGArray<TString<char>>& pieces, const char* what) {
    SplitString(text, pieces, ",", 0);
    if (pieces.Count() > 4)
        AGReport("failed to extract the %s", what);
}

f32 Number(const AGArray<TString<char>>& pieces, u32 index) {
    return index < pieces.Count() ? ParseFloat(pieces[index].c_str()) : 0.0f;
}

i32 Alignment(const TString<char>& word, const char* first, const char* third) {
    if (word == first)
        return 0;
    if (word == "Center")
        return 1;
    if (word == third)
        return 2;
    if (word == "Stretch")
        return 3;
    return 1;
}

// Panels nested deeper than this in one build (nested layouts included) are not built.
constexpr u32 kMaxBuildDepth = kMaxWidgetDepth + 32;

using Asset = TString<char>;

Asset AssetName(const LayoutValues& values, const char* name) {
    return WidgetManager::GetAssetFileName(values.Text(name));
}

AGVec2 Pair(const LayoutValues& values, const char* name) {
    return WidgetManager::ParsePosition(values.Text(name));
}

// A pair of fractions of a widget's size; one outside 0..1 (a size in pixels, say) is reported
// and clamped, so that no piece is drawn larger than the widget.
AGVec2 Fractions(const LayoutValues& values, const char* name, const TString<char>& widget) {
    const AGVec2 pair = Pair(values, name);
    const auto unit = [](f32 value) { return value >= 0.0f ? std::min(value, 1.0f) : 0.0f; };
    const AGVec2 clamped{unit(pair.x), unit(pair.y)};
    if (!(clamped.x == pair.x && clamped.y == pair.y))
        AGReport("%s: %s \"%s\" is no pair of fractions from 0 to 1; taken as %g,%g", widget.c_str(), name,
                 values.Text(name).c_str(), double(clamped.x), double(clamped.y));
    return clamped;
}

// A text size given as a float, truncated; negative or absurd sizes become 0 and 4096.
u32 TextSize(const LayoutValues& values, const char* name) {
    const f32 size = values.Float(name);
    if (!(size > 0.0f))
        return 0;
    return size > 4096.0f ? 4096u : static_cast<u32>(size);
}

f32 Number(const LayoutValues& values, const char* name) {
    return ParseFloat(values.Text(name).c_str());
}

// The pictures named by the attributes, in order.
template <size_t N>
void ReadImages(const LayoutValues& values, const char* const (&names)[N], TString<char> (&images)[N]) {
    for (size_t i = 0; i < N; ++i)
        images[i] = AssetName(values, names[i]);
}

// The track and thumb boxes and the value range of both sliders.
void ReadSlider(const LayoutValues& values, SliderWidget& slider) {
    slider.m_Track = ImageBox{Pair(values, "ImageTrackSize"), Pair(values, "ImageTrackPosition")};
    slider.m_Thumb = ImageBox{Pair(values, "ImageThumbSize"), Pair(values, "ImageThumbPosition")};
    slider.m_Minimum = Number(values, "SliderMinimum");
    slider.m_Maximum = Number(values, "SliderMaximum");
    slider.m_Value = Number(values, "SliderValue");
    slider.m_Step = Number(values, "SliderGranularity");
}

// The text block of buttons, labels and check boxes; a scroll text's has no effect.
void ReadTextStyle(const LayoutValues& values, TextStyle& style, bool effect = true) {
    style.m_Text = values.Text("Text");
    style.m_VerticalAlignment = WidgetManager::ParseVerticalAlignment(values.Text("TextVerticalAlignment"));
    style.m_HorizontalAlignment =
        WidgetManager::ParseHorizontalAlignment(values.Text("TextHorizontalAlignment"));
    style.m_Color = values.Text("TextColor");
    style.m_Size = values.UInt("TextSize");
    style.m_SpaceWidth = values.UInt("TextSpaceWidth");
    style.m_OffsetBetweenCharacter = values.Int("TextOffsetBetweenCharacter");
    style.m_FontName = values.Text("TextFontName");
    if (!effect)
        return;
    style.m_Effect = AssetName(values, "TextEffect");
    style.m_EffectColor = values.Text("TextEffectColor");
    style.m_EffectOffset = Pair(values, "TextEffectOffset");
}

void ScreenSize(f32& width, f32& height) {
    u32 w = 0;
    u32 h = 0;
    PCCam::GetScreenSize(w, h);
    width = static_cast<f32>(w);
    height = static_cast<f32>(h);
}

}  // namespace

WidgetManager& WidgetManager::Instance() {
    static WidgetManager s_manager;
    return s_manager;
}

bool WidgetManager::ReadLayout(const TString<char>& layoutName, sWindow& window) {
    const TString<char> path =
        Bridge::FileSystem::GetFilePath(Bridge::FILE_SCREEN_XML, layoutName);
    Utilities::XmlReader reader;
    if (reader.ReadFile(path.c_str(), window, "UserControl"))
        return true;
    AGReport("Can not read the layout file: %s", layoutName.c_str());
    return false;
}

Panel* WidgetManager::BuildPanel(Panel* parent, const TString<char>& layoutName,
                                 bool resetCounter) {
    if (layoutName.IsEmpty())
        AGReport("Check the name you pass for your screen, when you call the "
                 "GameServices::Widget::BaseScreen constructor. The name of this window is "
                 "incorect.");
    TString<char> key = layoutName;
    key.ToLower();
    bool refused = false;
    for (const TString<char>& building : m_BuildStack)
        refused = refused || building == key;
    if (refused)
        AGReport("Layout %s is already being built: it is not nested again", layoutName.c_str());
    else if (m_Depth >= kMaxBuildDepth)
        AGReport("Layouts nested deeper than %u panels: %s is not built", kMaxBuildDepth,
                 layoutName.c_str());
    sWindow window;
    if (!refused && m_Depth < kMaxBuildDepth)
        ReadLayout(layoutName, window);
    if (resetCounter)
        m_Counter = 0;

    auto* panel = new Panel();
    panel->SetPositionXY(0.0f, 0.0f);
    const f32 layoutW = static_cast<f32>(window.m_Width);
    const f32 layoutH = static_cast<f32>(window.m_Height);
    f32 screenW = 0.0f;
    f32 screenH = 0.0f;
    ScreenSize(screenW, screenH);
    // A layout without a design size is not scaled.
    const f32 ratioX = layoutW > 0.0f ? screenW / layoutW : 1.0f;
    const f32 ratioY = layoutH > 0.0f ? screenH / layoutH : 1.0f;
    panel->m_RatioX = parent ? parent->m_RatioX : ratioX;
    panel->m_RatioY = parent ? parent->m_RatioY : ratioY;
    panel->SetWidth(layoutW);
    panel->SetHeight(layoutH);
    panel->Name = window.m_Name;
    panel->SetVisible(true);
    panel->m_DrawOrder = ++m_Counter;

    m_BuildStack.push_back(key);
    ++m_Depth;
    CreateChildren(panel, window.m_Widgets);
    --m_Depth;
    m_BuildStack.pop_back();

    if (!parent) {
        const f32 x = layoutW > 0.0f ? -(layoutW - screenW) * 0.5f : 0.0f;
        const f32 y = layoutH > 0.0f ? -(layoutH - screenH) * 0.5f : 0.0f;
        panel->SetPositionXY(x, y);
        panel->SetScale(AGVec2{ratioX, ratioY});
    }
    return panel;
}

void WidgetManager::CreateChildren(Panel* panel, Utilities::SerializableVector<sWidget>& records) {
    for (sWidget& record : records)
        CreateWidget(panel, record);
}

void WidgetManager::CreateWidget(Panel* parent, sWidget& record) {
    switch (record.m_Type) {
    case kLayoutButton: CreateButton(parent, record); break;
    case kLayoutCheckBox: CreateCheckBox(parent, record); break;
    case kLayoutSliderButton: CreateSliderButton(parent, record); break;
    case kLayoutSliderTrackBar: CreateSliderTrackBar(parent, record); break;
    case kLayoutImage: CreateImage(parent, record); break;
    case kLayoutLabel: CreateLabel(parent, record); break;
    case kLayoutScrollText: CreateScrollText(parent, record); break;
    case kLayoutGrid: CreateGrid(parent, record); break;
    case kLayoutSoftKeyboard: CreateSoftKeyboard(parent, record); break;
    case kLayoutEmitter3D: CreateEmitter3D(parent, record); break;
    case kLayoutResizableWindow: CreateResizableWindow(parent, record); break;
    case kLayoutVideo: CreateVideo(parent, record); break;
    case kLayoutViewPort3D: CreateViewPort3D(parent, record); break;
    case kLayoutCompositor: CreateCompositor(parent, record); break;
    default: break;
    }
}

void WidgetManager::Attach(Widget& widget, Panel* parent) {
    if (parent)
        parent->AddChild(&widget);
}

void WidgetManager::BeginLeaf(Widget& widget, Panel* parent, const sWidget& record,
                              char sizeDigit) {
    widget.Name = record.m_Name;
    widget.SetVisible(record.m_Visibility == "Visible");
    widget.m_Enabled = record.m_Enabled ? 1 : 0;
    if (WidgetBehavior* behavior = widget.GetBehavior())
        behavior->Reset();
    if (parent) {
        widget.m_RatioX = parent->m_RatioX;
        widget.m_RatioY = parent->m_RatioY;
    }
    widget.SetPosition(ParsePosition(record.m_Margin));
    widget.SetWidth(static_cast<f32>(record.m_Width));
    widget.SetHeight(static_cast<f32>(record.m_Height));
    if (sizeDigit == 0)
        return;
    if (record.m_Width == 0)
        AGReport("%cresize your widget width or set a value for the width in the xaml file",
                 sizeDigit);
    if (record.m_Height == 0)
        AGReport("%cresize your widget height or set a value for the height in the xaml file",
                 sizeDigit);
}

void WidgetManager::EndLeaf(Widget& widget, Panel* parent, const sWidget& record) {
    widget.m_Background = record.m_Background;
    widget.SetOpacity(record.m_Opacity);
    widget.m_DrawOrder = ++m_Counter;
    widget.m_RenderType = record.m_RenderType;
    RenderingSystemWidget::UpdateText(widget);
    Attach(widget, parent);
}

void WidgetManager::CreateButton(Panel* parent, sWidget& record) {
    auto* button = new Button();
    BeginLeaf(*button, parent, record, '1');
    button->m_ButtonBehavior.m_State = button->m_Enabled ? 0 : 3;
    RenderingSystemWidget::UpdateBehaviorState(*button);
    const LayoutValues& v = record.m_Values;
    // In the order of Button::ImageState.
    const char* const images[4] = {"ImageDefault", "ImagePressed", "ImageHover", "ImageDisabled"};
    ReadImages(v, images, button->m_Images);
    button->m_TextStyle.m_StringId = record.m_StringId;
    ReadTextStyle(v, button->m_TextStyle);
    EndLeaf(*button, parent, record);
}

void WidgetManager::CreateCheckBox(Panel* parent, sWidget& record) {
    auto* box = new CheckBox();
    BeginLeaf(*box, parent, record, '2');
    const LayoutValues& v = record.m_Values;
    const char* const images[6] = {"ImageDefault",      "ImageHover",      "ImagePressed",
                             "ImageCheckDefault", "ImageCheckHover", "ImageCheckPressed"};
    ReadImages(v, images, box->m_Images);
    box->m_Check = ImageBox{Pair(v, "ImageCheckSize"), Pair(v, "ImageCheckPosition")};
    box->m_TextOffset = v.UInt("TextOffset");
    box->m_TextStyle.m_StringId = record.m_StringId;
    ReadTextStyle(v, box->m_TextStyle);
    box->m_Checked = 0;
    box->m_CheckBehavior.m_State = 0;
    RenderingSystemWidget::UpdateBehaviorState(*box);
    EndLeaf(*box, parent, record);
}

void WidgetManager::CreateSliderButton(Panel* parent, sWidget& record) {
    auto* slider = new SliderButton();
    BeginLeaf(*slider, parent, record, '3');
    RenderingSystemWidget::UpdateBehaviorState(*slider);
    const LayoutValues& v = record.m_Values;
    const char* const images[SliderButton::kImageCount] = {
        "ImageButtonLeftDefault",  "ImageButtonRightDefault", "ImageButtonLeftHover",
        "ImageButtonRightHover",   "ImageButtonLeftPressed",  "ImageButtonRightPressed",
        "ImageButtonLeftDisabled", "ImageButtonRightDisabled", "ImageTrackDefault",
        "ImageTrackDisabled",      "ImageThumbDefault",       "ImageThumbDisabled"};
    ReadImages(v, images, slider->m_Images);
    slider->m_Left = ImageBox{Pair(v, "ImageButtonLeftSize"), Pair(v, "ImageButtonLeftPosition")};
    slider->m_Right = ImageBox{Pair(v, "ImageButtonRightSize"), Pair(v, "ImageButtonRightPosition")};
    ReadSlider(v, *slider);
    EndLeaf(*slider, parent, record);
}

void WidgetManager::CreateSliderTrackBar(Panel* parent, sWidget& record) {
    auto* slider = new SliderTrackBar();
    BeginLeaf(*slider, parent, record, '4');
    slider->m_TrackBehavior.m_State = slider->m_Enabled ? 2 : 4;
    RenderingSystemWidget::UpdateBehaviorState(*slider);
    const LayoutValues& v = record.m_Values;
    const char* const images[SliderTrackBar::kImageCount] = {"ImageTrackDefault", "ImageTrackDisabled",
                                                        "ImageThumbDefault", "ImageThumbHover",
                                                        "ImageThumbDisabled"};
    ReadImages(v, images, slider->m_Images);
    ReadSlider(v, *slider);
    EndLeaf(*slider, parent, record);
}

void WidgetManager::CreateImage(Panel* parent, sWidget& record) {
    auto* image = new Image();
    BeginLeaf(*image, parent, record, 0);
    const TString<char> name = AssetName(record.m_Values, "ImageDefault");
    if (!name.IsEmpty())
        image->SetImage(name);
    EndLeaf(*image, parent, record);
}

void WidgetManager::CreateLabel(Panel* parent, sWidget& record) {
    auto* label = new Label();
    BeginLeaf(*label, parent, record, 0);
    label->m_TextStyle.m_StringId = record.m_StringId;
    ReadTextStyle(record.m_Values, label->m_TextStyle);
    EndLeaf(*label, parent, record);
}

void WidgetManager::CreateScrollText(Panel* parent, sWidget& record) {
    auto* text = new ScrollText();
    BeginLeaf(*text, parent, record, 0);
    const LayoutValues& v = record.m_Values;
    text->m_StringId = record.m_StringId;
    ReadTextStyle(v, text->m_NormalStyle, false);
    text->m_SpecialStyle.m_Color = v.Text("SpecialTextColor");
    text->m_SpecialStyle.m_Size = v.UInt("SpecialTextSize");
    text->m_SpecialStyle.m_SpaceWidth = v.UInt("SpecialTextSpaceWidth");
    text->m_SpecialStyle.m_FontName = v.Text("SpecialTextFontName");
    text->m_LineHeight = static_cast<f32>(v.UInt("HeightSpace"));
    text->m_Speed = v.Float("Speed");
    text->SetText(v.Text("Text"));
    EndLeaf(*text, parent, record);
}

void WidgetManager::CreateSoftKeyboard(Panel* parent, sWidget& record) {
    auto* keys = new SoftKeyboard();
    BeginLeaf(*keys, parent, record, '8');
    const LayoutValues& v = record.m_Values;
    keys->m_KeyImages[0] = AssetName(v, "ImageKeyDefault");
    keys->m_KeyImages[1] = AssetName(v, "ImageKeyHover");
    keys->m_KeyImages[2] = AssetName(v, "ImageKeyPressed");
    keys->m_KeySize = Pair(v, "ImageKeySize");
    keys->m_KeySpacing = v.Float("SpaceBetweenKey");
    for (const char* row : {"Row1Position", "Row2Position", "Row3Position"})
        keys->m_RowPositions.push_back(Pair(v, row));
    for (const char* row : {"NumberKeyRow1", "NumberKeyRow2", "NumberKeyRow3"})
        keys->m_RowKeys.push_back(v.UInt(row));
    keys->m_AbcdeChars = v.Text("TextCharABCDE");
    keys->m_QwertyChars = v.Text("TextCharQWERTY");
    keys->m_TextKeySize = static_cast<i32>(v.Float("TextKeySize"));
    keys->m_SpecialImages[0] = AssetName(v, "ImageSpecialDefault");
    keys->m_SpecialImages[1] = AssetName(v, "ImageSpecialHover");
    keys->m_SpecialImages[2] = AssetName(v, "ImageSpecialPressed");
    keys->m_TextSpecialQwerty = v.Text("TextSpecialQWERTY");
    keys->m_TextSpecialAbcde = v.Text("TextSpecialABCDE");
    keys->m_TextSpecial12345 = v.Text("TextSpecial12345");
    keys->m_TextSpecialSizeQwerty = TextSize(v, "TextSpecialSizeQWERTY");
    keys->m_TextSpecialSize12345 = TextSize(v, "TextSpecialSize12345");
    keys->m_SpecialQwerty =
        ImageBox{Pair(v, "ImageSpecialSizeQWERTY"), Pair(v, "ImageSpecialPositionQWERTY")};
    keys->m_Special12345 =
        ImageBox{Pair(v, "ImageSpecialSize12345"), Pair(v, "ImageSpecialPosition12345")};
    keys->m_BackSpaceIcon = AssetName(v, "ImageTextBackSpace");
    keys->m_BackSpace = ImageBox{Pair(v, "ImageBackSpaceSize"), Pair(v, "ImageBackSpacePosition")};
    keys->m_SpaceImages[0] = AssetName(v, "ImageSpaceDefault");
    keys->m_SpaceImages[1] = AssetName(v, "ImageSpaceHover");
    keys->m_SpaceImages[2] = AssetName(v, "ImageSpacePressed");
    keys->m_SpaceText = v.Text("TextSpaceBar");
    keys->m_SpaceStringId = v.Text("StringIdSpaceBar");
    keys->m_TextSpaceSize = v.Float("TextSpaceSize");
    keys->m_Space = ImageBox{Pair(v, "ImageSpaceSize"), Pair(v, "ImageSpacePosition")};
    keys->m_EntryImage = AssetName(v, "ImageEntryDefault");
    keys->m_Entry = ImageBox{Pair(v, "ImageEntrySize"), Pair(v, "ImageEntryPosition")};
    keys->m_MaxEntryTextChar = v.UInt("MaxEntryTextChar");
    keys->m_TextStyle.m_VerticalAlignment = ParseVerticalAlignment(v.Text("TextVerticalAlignment"));
    keys->m_TextStyle.m_HorizontalAlignment = ParseHorizontalAlignment(v.Text("TextHorizontalAlignment"));
    keys->m_EntryText = v.Text("Text");
    keys->m_TextEntrySize = v.Float("TextEntrySize");
    keys->m_TextStyle.m_Color = v.Text("TextColor");
    keys->m_TextStyle.m_FontName = v.Text("TextFontName");
    EndLeaf(*keys, parent, record);
}

void WidgetManager::CreateEmitter3D(Panel* parent, sWidget& record) {
    auto* emitter = new Emitter3D();
    BeginLeaf(*emitter, parent, record, '5');
    emitter->m_EmitterSource = record.m_Values.Text("EmitterSource");
    EndLeaf(*emitter, parent, record);
}

void WidgetManager::CreateResizableWindow(Panel* parent, sWidget& record) {
    auto* window = new ResizableWindow();
    BeginLeaf(*window, parent, record, '6');
    // In the order of ResizableWindow::m_Parts, which the renderer's sprite indices follow.
    static const char* const kParts[9] = {
        "ImageCenterDefault", "ImageTopLeftDefault", "ImageBottomLeftDefault",
        "ImageBottomRightDefault", "ImageTopRightDefault", "ImageTopDefault",
        "ImageLeftDefault", "ImageBottomDefault", "ImageRightDefault"};
    for (u32 i = 0; i < 9; ++i)
        window->m_Parts[i] = AssetName(record.m_Values, kParts[i]);
    window->m_CenterSize = Fractions(record.m_Values, "ImageCenterSize", record.m_Name);
    window->m_BorderSize = Fractions(record.m_Values, "ImageBorderSize", record.m_Name);
    EndLeaf(*window, parent, record);
}

void WidgetManager::CreateVideo(Panel* parent, sWidget& record) {
    auto* video = new Video();
    BeginLeaf(*video, parent, record, '7');
    video->m_VideoName = record.m_Values.Text("VideoAssetName");
    video->m_DefaultImage = AssetName(record.m_Values, "ImageDefault");
    EndLeaf(*video, parent, record);
}

void WidgetManager::PlacePanel(Panel& panel, Panel* parent, const sWidget& record) {
    const Margin margin = ParseMargin(record.m_Margin);
    panel.m_MarginLeft = margin.m_Left;
    panel.m_MarginTop = margin.m_Top;
    panel.m_MarginRight = margin.m_Right;
    panel.m_MarginBottom = margin.m_Bottom;
    panel.Name = record.m_Name;
    if (parent) {
        panel.m_RatioX = parent->m_RatioX;
        panel.m_RatioY = parent->m_RatioY;
    }
    panel.SetPositionXY(margin.m_Left, margin.m_Top);
    panel.SetWidth(static_cast<f32>(record.m_Width));
    panel.SetHeight(static_cast<f32>(record.m_Height));
}

void WidgetManager::CreateGrid(Panel* parent, sWidget& record) {
    auto* panel = new Panel();
    PlacePanel(*panel, parent, record);
    panel->m_Background = record.m_Background;
    panel->SetOpacity(record.m_Opacity);
    panel->SetVisible(record.m_Visibility == "Visible");
    panel->m_DrawOrder = ++m_Counter;
    Attach(*panel, parent);
    if (m_Depth >= kMaxBuildDepth) {
        AGReport("Layouts nested deeper than %u panels: the content of %s is not built",
                 kMaxBuildDepth, record.m_Name.c_str());
        return;
    }
    ++m_Depth;
    CreateChildren(panel, record.m_Children);
    --m_Depth;
}

void WidgetManager::CreateViewPort3D(Panel* parent, sWidget& record) {
    auto* viewport = new ViewPort3D();
    PlacePanel(*viewport, parent, record);
    viewport->SetVisible(record.m_Visibility == "Visible");
    viewport->m_ComponentLevel = record.m_Values.Text("ComponentLevelName");
    viewport->m_DrawOrder = ++m_Counter;
    Attach(*viewport, parent);
}

void WidgetManager::CreateCompositor(Panel* parent, sWidget& record) {
    const Margin margin = ParseMargin(record.m_Margin);
    const TString<char> source = GetAssetFileName(record.m_Values.Text("Source"));
    Panel* panel = BuildPanel(parent, source, false);
    panel->m_MarginLeft = margin.m_Left;
    panel->m_MarginTop = margin.m_Top;
    panel->m_MarginRight = margin.m_Right;
    panel->m_MarginBottom = margin.m_Bottom;
    panel->SetPositionXY(margin.m_Left, margin.m_Top);
    panel->SetWidth(static_cast<f32>(record.m_Width));
    panel->SetHeight(static_cast<f32>(record.m_Height));
    panel->Name = record.m_Name;
    panel->m_Resizable = record.m_Resizable ? 1 : 0;
    panel->SetVisible(record.m_Visibility == "Visible");
    Attach(*panel, parent);
}

i32 WidgetManager::ParseVerticalAlignment(const TString<char>& word) {
    return Alignment(word, "Top", "Bottom");
}

i32 WidgetManager::ParseHorizontalAlignment(const TString<char>& word) {
    return Alignment(word, "Left", "Right");
}

AGVec2 WidgetManager::ParsePosition(const TString<char>& text) {
    AGArray<TString<char>> pieces;
    Split(text, pieces, "position");
    return AGVec2{Number(pieces, 0), Number(pieces, 1)};
}

Margin WidgetManager::ParseMargin(const TString<char>& text) {
    AGArray<TString<char>> pieces;
    Split(text, pieces, "margin");
    return Margin{Number(pieces, 0), Number(pieces, 1), Number(pieces, 2), Number(pieces, 3)};
}

TString<char> WidgetManager::GetAssetFileName(const TString<char>& path) {
    const char* text = path.c_str();
    for (char separator : {'/', '\\'}) {
        for (u32 i = path.Length(); i-- > 1;) {
            if (text[i] != separator)
                continue;
            TString<char> name(text + i + 1, path.Length() - i - 1);
            name.ToLower();
            return name;
        }
    }
    return path;
}

}  // namespace GameServices::Widget
