#pragma once
// The records a layout file is read into: the window ("UserControl") and one record per widget
// element, with the attributes of the element's own kind. The widget builder turns them into
// widgets and drops them.
#include <map>
#include <set>
#include <string>

#include "engine/core/SerializableVector.h"

namespace GameServices::Widget {

// Widget kinds, from the element name.
enum LayoutType : i32 {
    kLayoutNone = -1,
    kLayoutButton = 0,
    kLayoutCheckBox = 1,
    kLayoutSliderButton = 2,
    kLayoutSliderTrackBar = 3,
    kLayoutImage = 4,
    kLayoutLabel = 5,
    kLayoutScrollText = 6,
    kLayoutGrid = 7,
    kLayoutSoftKeyboard = 8,
    kLayoutEmitter3D = 9,
    kLayoutResizableWindow = 10,
    kLayoutVideo = 11,
    kLayoutViewPort3D = 12,
    kLayoutCompositor = 13,
};

// Elements nested deeper than this under the window are reported and not read.
inline constexpr u32 kMaxWidgetDepth = 64;
// The keys a soft keyboard row may have; more are reported and cut to this.
inline constexpr u32 kMaxKeysPerRow = 128;

// The kind's own attributes, by attribute name. Every attribute of the kind is present after
// a read, with its default when the element lacks it.
struct LayoutValues {
    const TString<char>& Text(const char* name) const;
    u32 UInt(const char* name) const;
    i32 Int(const char* name) const;
    f32 Float(const char* name) const;

    std::map<std::string, TString<char>> m_Texts;
    std::map<std::string, u32> m_UInts;
    std::map<std::string, i32> m_Ints;
    std::map<std::string, f32> m_Floats;
    // Every name asked for through the four readers above: lets a check find an attribute
    // that is read from the file and never used, or a name asked for that no block has.
    mutable std::set<std::string> m_Asked;
};

struct sWidget : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> m_Name;
    i32 m_Width = 0;
    i32 m_Height = 0;
    TString<char> m_Margin;
    TString<char> m_Background{"#FFFFFFFF"};
    f32 m_Opacity = 1.0f;
    bool m_Enabled = true;
    TString<char> m_Visibility{"Visible"};
    TString<char> m_RenderType;
    TString<char> m_StringId;
    bool m_Resizable = false;
    i32 m_Type = kLayoutNone;
    LayoutValues m_Values;
    // Grid elements only.
    Utilities::SerializableVector<sWidget> m_Children;
};

struct sWindow : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> m_Name;
    i32 m_Width = 0;
    i32 m_Height = 0;
    // The first "Grid" of the window and every element after it.
    Utilities::SerializableVector<sWidget> m_Widgets;
};

// The kind of an element name, compared exactly with its prefix; kLayoutNone when unknown.
i32 LayoutTypeOf(const TString<char>& elementName);

}  // namespace GameServices::Widget
