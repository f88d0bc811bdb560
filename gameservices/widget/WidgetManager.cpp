#include "gameservices/widget/WidgetManager.h"

#include "engine/core/AGArray.h"
#include "engine/core/AGLog.h"
#include "engine/core/NumberText.h"
#include "engine/core/SplitString.h"

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

}  // namespace

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
