#pragma once
// The widget builder: turns a layout file into a tree of widgets, centred and scaled on the
// screen for a root panel, numbered in creation order. Also the parsers of the values that
// layout records keep as text (alignments, positions, margins, image paths).
#include <vector>

#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"
#include "gameservices/widget/LayoutRecords.h"

namespace GameServices::Widget {

struct Margin {
    f32 m_Left = 0.0f;
    f32 m_Top = 0.0f;
    f32 m_Right = 0.0f;
    f32 m_Bottom = 0.0f;
};

class Panel;
class Widget;

class WidgetManager {
public:
    // Made on first use, kept for the whole run.
    static WidgetManager& Instance();
    virtual ~WidgetManager() = default;

    // The panel of a layout file; never null. A root panel (no parent) is centred on the
    // screen and scaled by screen size / design size; a panel with a parent takes its ratios.
    // resetCounter restarts the draw order, so the root panel gets 1.
    Panel* BuildPanel(Panel* parent, const TString<char>& layoutName, bool resetCounter);
    // False, reported, when the file cannot be read.
    bool ReadLayout(const TString<char>& layoutName, sWindow& window);
    void CreateChildren(Panel* panel, Utilities::SerializableVector<sWidget>& records);
    void CreateWidget(Panel* parent, sWidget& record);
    void CreateButton(Panel* parent, sWidget& record);
    void CreateCheckBox(Panel* parent, sWidget& record);
    void CreateSliderButton(Panel* parent, sWidget& record);
    void CreateSliderTrackBar(Panel* parent, sWidget& record);
    void CreateImage(Panel* parent, sWidget& record);
    void CreateLabel(Panel* parent, sWidget& record);
    void CreateScrollText(Panel* parent, sWidget& record);
    void CreateGrid(Panel* parent, sWidget& record);
    void CreateSoftKeyboard(Panel* parent, sWidget& record);
    void CreateEmitter3D(Panel* parent, sWidget& record);
    void CreateResizableWindow(Panel* parent, sWidget& record);
    void CreateVideo(Panel* parent, sWidget& record);
    void CreateViewPort3D(Panel* parent, sWidget& record);
    void CreateCompositor(Panel* parent, sWidget& record);

    u32 GetCounter() const { return m_Counter; }

    // "Top" 0, "Center" 1, "Bottom" 2, "Stretch" 3, compared exactly; anything else 1.
    static i32 ParseVerticalAlignment(const TString<char>& word);
    // "Left" 0, "Center" 1, "Right" 2, "Stretch" 3, compared exactly; anything else 1.
    static i32 ParseHorizontalAlignment(const TString<char>& word);
    // "x,y[,...]": the first two comma-separated numbers; missing ones are 0. More than four
    // pieces are reported and the first two still used.
    static AGVec2 ParsePosition(const TString<char>& text);
    // "left,top,right,bottom"; missing numbers are 0. More than four pieces are reported and
    // the first four still used.
    static Margin ParseMargin(const TString<char>& text);
    // The file name after the last '/' (else the last '\'), lower-cased; a separator in the
    // first position does not count, and a path without one comes back unchanged.
    static TString<char> GetAssetFileName(const TString<char>& path);

private:
    // Leaf steps 1-7 (name, visibility, enabled, ratios, position, size) and the size check
    // with the kind's message digit (0: none).
    void BeginLeaf(Widget& widget, Panel* parent, const sWidget& record, char sizeDigit);
    // Leaf steps 9-13: background, opacity, draw order, render type, attach.
    void EndLeaf(Widget& widget, Panel* parent, const sWidget& record);
    // Margin, name, ratios, position and size of a Grid or ViewPort3D panel.
    void PlacePanel(Panel& panel, Panel* parent, const sWidget& record);
    void Attach(Widget& widget, Panel* parent);

    u32 m_Counter = 1;
    // Panel nesting of the build under way, across nested layouts.
    u32 m_Depth = 0;
    // The layouts being built, outermost first (lower-cased).
    std::vector<TString<char>> m_BuildStack;
};

}  // namespace GameServices::Widget
