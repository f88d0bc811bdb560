#pragma once
// The widget builder's value parsers: layout records keep alignments, positions, margins and
// image paths as text.
#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"

namespace GameServices::Widget {

struct Margin {
    f32 m_Left = 0.0f;
    f32 m_Top = 0.0f;
    f32 m_Right = 0.0f;
    f32 m_Bottom = 0.0f;
};

class WidgetManager {
public:
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
};

}  // namespace GameServices::Widget
