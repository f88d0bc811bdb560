#include "tools/content/CheckLayout.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGText.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "gameservices/widget/PopupRecords.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetManager.h"
#include "gameservices/widget/WidgetRenderData.h"
#include "tools/content/Checker.h"
#include "tools/content/LayoutDoc.h"

namespace content {

namespace W = GameServices::Widget;
using Widget = W::sWidget;

// One text as a widget lays it out: what it shows, with which font, at which size, in which box.
struct LayoutCheck::Text {
    std::string shown;
    std::string what;  // how messages name it; the quoted text when empty
    std::string font;
    u32 size = 0;  // 0: the font's own size
    u32 spaceWidth = 6;
    i32 spacing = 0;
    u32 hAlign = AGText::kAlignCentre;
    u32 vAlign = AGText::kAlignCentre;
    f32 width = 0.0f;
    f32 height = 0.0f;
};

namespace {

std::string Name(const Widget& widget) { return widget.m_Name.c_str(); }

// The text block of a button, label or check box as the widget builder reads it; a check
// box's text starts its offset right of the widget's edge and must end inside it.
LayoutCheck::Text StyleText(const Widget& widget, const std::string& shown) {
    const W::LayoutValues& v = widget.m_Values;
    LayoutCheck::Text text;
    text.shown = shown;
    text.font = v.Text("TextFontName").c_str();
    text.size = v.UInt("TextSize");
    text.spaceWidth = v.UInt("TextSpaceWidth");
    text.spacing = v.Int("TextOffsetBetweenCharacter");
    text.hAlign = u32(W::WidgetManager::ParseHorizontalAlignment(v.Text("TextHorizontalAlignment")));
    text.vAlign = u32(W::WidgetManager::ParseVerticalAlignment(v.Text("TextVerticalAlignment")));
    text.width = f32(widget.m_Width);
    if (widget.m_Type == W::kLayoutCheckBox)
        text.width -= f32(v.UInt("TextOffset"));
    text.height = f32(widget.m_Height);
    return text;
}

// The name itself, or the name and a number.
bool Numbered(const std::string& name, const std::string& prefix) {
    return name.starts_with(prefix) && std::all_of(name.begin() + long(prefix.size()), name.end(), [](char c) {
               return c >= '0' && c <= '9';
           });
}

bool HasGlyph(const AGFont& font, u32 code) {
    const AGGlyph* glyph = nullptr;
    if (code < 256)
        glyph = font.GetRecord(code);
    else
        for (u32 i = 256; i < font.GlyphCount() && !glyph; ++i)
            if (font.GetRecord(i)->code == code)
                glyph = font.GetRecord(i);
    return glyph && (glyph->width > 0 || glyph->height > 0);
}

// Lays the text out as the widget builder does: the box, the size as a scale of the font's
// own size, the alignments, spacing. The scale.
f32 LayOut(AGFont& font, const LayoutCheck::Text& text, AGText& laid) {
    const u32 own = font.GetHeaderValue(0);
    const f32 scale = text.size > 0 && own > 0 ? f32(text.size) / f32(own) : 1.0f;
    laid.SetFont(&font);
    laid.SetBox(0.0f, 0.0f, text.width, text.height);
    laid.SetScale(AGVec2{scale, scale});
    laid.SetAlignment(text.hAlign, text.vAlign);
    laid.SetSpaceWidth(text.spaceWidth);
    laid.SetLetterSpacing(text.spacing);
    laid.Layout(AGString(text.shown.c_str()));
    return scale;
}

std::string Hex(u32 code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", code);
    return text;
}

std::string SizeText(f32 width, f32 height) {
    return std::to_string(int(width)) + " x " + std::to_string(int(height));
}

struct Rect {
    f32 x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    bool Meets(const Rect& other) const {
        return x < other.x + other.w && other.x < x + w && y < other.y + other.h && other.y < y + h;
    }
    std::string Text() const {
        return "(" + std::to_string(int(x)) + ", " + std::to_string(int(y)) + ", " + SizeText(w, h) + ")";
    }
};

// Pictures: what lies under them shows through nowhere, and they answer no input.
bool IsPicture(const Widget& widget) {
    return widget.m_Type == W::kLayoutImage || widget.m_Type == W::kLayoutResizableWindow ||
           widget.m_Type == W::kLayoutEmitter3D || widget.m_Type == W::kLayoutCompositor;
}

}  // namespace

LayoutCheck::LayoutCheck(Checker& checker, const LoadedStrings& strings) : m_checker(checker), m_strings(strings) {}

LayoutCheck::~LayoutCheck() = default;

// The packaged font of a widget font name, as the widgets load it; null (told by the art
// checks) when no package holds it.
AGFont* LayoutCheck::Font(const std::string& key) {
    auto [at, fresh] = m_fonts.try_emplace(key);
    if (!fresh)
        return at->second.get();
    const std::string file = W::RenderingSystemWidget::GetFontFileName(key.c_str()).c_str();
    const PackageEntry* entry = m_checker.Find(file);
    if (!entry)
        return nullptr;
    std::string bytes = m_checker.Read(*entry);
    AGMemBuffer buffer(bytes.data(), u32(bytes.size()));
    auto font = std::make_unique<AGFont>();
    font->Load(&buffer, 0, false, true);
    if (font->GlyphCount() > 0)
        at->second = std::move(font);
    return at->second.get();
}

void LayoutCheck::Check(const LayoutDoc& doc, const std::vector<LayoutPage>& pages,
                        const std::vector<RuntimeText>& runtime) {
    if (!doc.Read())
        return;
    CheckTexts(doc, runtime);
    CheckOverlaps(doc, pages);
    CheckDesign(doc);
}

void LayoutCheck::CheckTexts(const LayoutDoc& doc, const std::vector<RuntimeText>& runtime) {
    const std::string label = doc.Entry()->Label();
    for (const Widget* widget : doc.InOrder()) {
        const std::string name = Name(*widget);
        const SourceRef from = doc.From(*widget);
        const W::LayoutValues& v = widget->m_Values;
        switch (widget->m_Type) {
        case W::kLayoutButton:
        case W::kLayoutLabel:
        case W::kLayoutCheckBox: {
            const std::string shown = m_strings.Shown(widget->m_StringId.c_str(), v.Text("Text").c_str());
            if (!shown.empty())
                CheckText(from, label, name, StyleText(*widget, shown), false);
            for (const RuntimeText& text : runtime) {
                const LayoutDoc::Widget* page = text.page.empty() ? nullptr : doc.Find(text.page);
                if (!Numbered(name, text.prefix) || (page && !doc.Below(widget, page)))
                    continue;
                if (!text.characters.empty()) {
                    Text chars = StyleText(*widget, text.characters);
                    chars.what = text.what + " (\"" + text.characters + "\")";
                    CheckText(from, label, name, chars, true);
                }
                for (const std::string& sample : text.texts) {
                    Text one = StyleText(*widget, sample);
                    if (!text.font.empty())
                        one.font = text.font;
                    one.what = text.what + " \"" + sample + "\"";
                    CheckText(from, label, name, one, false);
                }
            }
            break;
        }
        case W::kLayoutScrollText: {
            // Its lines, split at commas; a line with '_' is shown from after it in the special font.
            const std::string id = widget->m_StringId.c_str();
            const std::string all = id.empty() ? v.Text("Text").c_str() : m_strings.Shown(id, "");
            const std::string special = v.Text("SpecialTextFontName").c_str();
            for (const std::string& line : SplitFields(all, ',')) {
                Text text = StyleText(*widget, line);
                if (const size_t mark = line.find('_'); mark != std::string::npos && !special.empty()) {
                    text.font = special;
                    text.shown = line.substr(mark + 1);
                }
                CheckText(from, label, name, text, true);
            }
            break;
        }
        case W::kLayoutSoftKeyboard: {
            // The key labels, the toggle and space keys, and a full entry: the letters in key order.
            const std::string keys =
                std::string(v.Text("TextCharQWERTY").c_str()) + v.Text("TextCharABCDE").c_str() + "0123456789";
            const auto keyText = [&](const std::string& shown, const char* size, f32 pixels, const char* box) {
                Text text;
                text.shown = shown;
                text.font = v.Text("TextFontName").c_str();
                text.size = size ? u32(std::max(0.0f, v.Float(size))) : W::Render::Pixels(pixels);
                const AGVec2 at = W::WidgetManager::ParsePosition(v.Text(box));
                text.width = at.x;
                text.height = at.y;
                return text;
            };
            for (char key : keys)
                CheckText(from, label, name, keyText(std::string(1, key), "TextKeySize", 0, "ImageKeySize"), false);
            for (const char* special : {"TextSpecialQWERTY", "TextSpecialABCDE"})
                CheckText(from, label, name,
                          keyText(v.Text(special).c_str(), "TextSpecialSizeQWERTY", 0, "ImageSpecialSizeQWERTY"),
                          false);
            CheckText(from, label, name,
                      keyText(v.Text("TextSpecial12345").c_str(), "TextSpecialSize12345", 0, "ImageSpecialSize12345"),
                      false);
            const std::string space =
                m_strings.Shown(v.Text("StringIdSpaceBar").c_str(), v.Text("TextSpaceBar").c_str());
            CheckText(from, label, name, keyText(space, nullptr, v.Float("TextSpaceSize"), "ImageSpaceSize"), false);
            const u32 length = v.UInt("MaxEntryTextChar");
            if (length == 0 || keys.empty())
                break;
            std::string full;
            while (full.size() < length)
                full += keys;
            full.resize(length);
            Text entry = keyText(full, nullptr, v.Float("TextEntrySize"), "ImageEntrySize");
            entry.what = "a full entry \"" + full + "\"";
            entry.hAlign = u32(W::WidgetManager::ParseHorizontalAlignment(v.Text("TextHorizontalAlignment")));
            entry.vAlign = u32(W::WidgetManager::ParseVerticalAlignment(v.Text("TextVerticalAlignment")));
            CheckText(from, label, name, entry, false);
            break;
        }
        default:
            break;
        }
    }
}

void LayoutCheck::CheckPopup(const LayoutDoc& doc, const W::sPopupInfo& info, const SourceRef& from,
                             const std::string& label) {
    if (!doc.Read())
        return;
    const std::string popup = "popup \"" + std::string(info.m_Name.c_str()) + "\": ";
    const auto check = [&](const char* widgetName, const TString<char>& id, const TString<char>& literal) {
        const Widget* widget = doc.Find(widgetName);
        const std::string shown = m_strings.Shown(id.c_str(), literal.c_str());
        if (widget && !shown.empty())
            CheckText(from, label, popup + "\"" + widgetName + "\"", StyleText(*widget, shown), false);
    };
    check("Title", info.m_Title.m_StringId, info.m_Title.m_Value);
    check("MainText", info.m_Text.m_StringId, info.m_Text.m_Value);
    for (const W::sPopupOptions& option : info.m_Options)
        check(option.m_Name.c_str(), option.m_StringId, option.m_Text);
    for (const W::sPopupMessages& message : info.m_Messages)
        check(message.m_Name.c_str(), message.m_StringId, message.m_Text);
}

// Lays the text out as the widget does (AGText, the packaged font, the size's scale) and
// tells characters the font lacks, then a text cut by its box: characters past the box's
// height, a word wider than the box (broken between characters) or a glyph out of the box.
void LayoutCheck::CheckText(const SourceRef& from, const std::string& label,
                            const std::string& widget, const Text& text, bool scrolls) {
    ++m_texts;
    AGFont* font = Font(text.font);
    if (!font)
        return;
    const std::string shows = (widget.starts_with("popup ") ? widget : "\"" + widget + "\"") + " shows " +
                              (text.what.empty() ? "\"" + text.shown + "\"" : text.what);
    std::set<u32> missing;
    for (u32 pos = 0; pos < text.shown.size();) {
        const u32 code = AGText::DecodeCharacter(text.shown.c_str(), u32(text.shown.size()), pos, false);
        if (code != ' ' && code != '\t' && code != '\n' && code != '\r' && !HasGlyph(*font, code))
            missing.insert(code);
    }
    if (!missing.empty()) {
        std::string codes;
        for (u32 code : missing)
            codes += (codes.empty() ? "" : ", ") + Hex(code);
        m_checker.Error(from, label, shows + "; its font \"" + text.font + "\" has no glyph for " + codes);
    }
    if (scrolls)
        return;
    AGText laid;
    const f32 scale = LayOut(*font, text, laid);
    const u32 own = font->GetHeaderValue(0);
    const std::string in = " in \"" + text.font + "\" at " + std::to_string(text.size ? text.size : own) + " px";
    const std::string box = SizeText(text.width, text.height) + " box";
    if (laid.PlacedGlyphCount() < laid.GlyphCount()) {
        m_checker.Error(from, label,
                        shows + in + ": only " + std::to_string(laid.PlacedGlyphCount()) + " of its " +
                            std::to_string(laid.GlyphCount()) + " characters fit the " + box);
        return;
    }
    // A word the layout breaks between characters.
    for (const std::string& word : SplitFields(text.shown, ' ')) {
        f32 width = 0.0f;
        for (size_t i = 0; i < word.size(); ++i)
            width += f32(font->GetGlyph(u8(word[i])).width) * scale + (i ? f32(text.spacing) * scale : 0.0f);
        if (word.size() > 1 && width >= text.width) {
            m_checker.Error(from, label, shows + in + ": the word \"" + word + "\" is wider than the " + box);
            return;
        }
    }
    if (const AGVertexBuffer* quads = laid.GetVertexBuffer())
        for (u32 v = 0; v < 4 * laid.PlacedGlyphCount() && v < quads->PositionCount(); ++v) {
            const AGVec3& at = quads->m_positions[v];
            if (at.x < 0.0f || at.x > text.width || at.y < 0.0f || at.y > text.height) {
                m_checker.Error(from, label, shows + in + ": it runs out of the " + box);
                return;
            }
        }
}

std::vector<std::array<f32, 4>> LayoutCheck::Drawn(const Widget& widget) {
    const W::LayoutValues& v = widget.m_Values;
    const std::vector<std::array<f32, 4>> box = {{0.0f, 0.0f, f32(widget.m_Width), f32(widget.m_Height)}};
    if (widget.m_Type == W::kLayoutSoftKeyboard) {
        const auto pair = [&](const char* name) { return W::WidgetManager::ParsePosition(v.Text(name)); };
        const AGVec2 key = pair("ImageKeySize");
        const f32 step = key.x + v.Float("SpaceBetweenKey");
        std::vector<std::array<f32, 4>> boxes;
        for (int row = 1; row <= 3; ++row) {
            const u32 keys = v.UInt(("NumberKeyRow" + std::to_string(row)).c_str());
            const AGVec2 at = pair(("Row" + std::to_string(row) + "Position").c_str());
            if (keys > 0)
                boxes.push_back({at.x, at.y, step * f32(keys - 1) + key.x, key.y});
        }
        static const char* const kBoxes[][2] = {
            {"ImageSpecialPositionQWERTY", "ImageSpecialSizeQWERTY"},
            {"ImageSpecialPosition12345", "ImageSpecialSize12345"},
            {"ImageBackSpacePosition", "ImageBackSpaceSize"},
            {"ImageSpacePosition", "ImageSpaceSize"},
            {"ImageEntryPosition", "ImageEntrySize"}};
        for (const auto& names : kBoxes) {
            const AGVec2 at = pair(names[0]), size = pair(names[1]);
            boxes.push_back({at.x, at.y, size.x, size.y});
        }
        return boxes;
    }
    if (widget.m_Type != W::kLayoutLabel)
        return box;
    const Text text = StyleText(widget, m_strings.Shown(widget.m_StringId.c_str(), v.Text("Text").c_str()));
    AGFont* font = text.shown.empty() ? nullptr : Font(text.font);
    if (!font)
        return box;  // a text the code sets may fill the box
    AGText laid;
    LayOut(*font, text, laid);
    const AGVertexBuffer* quads = laid.GetVertexBuffer();
    if (!quads || laid.PlacedGlyphCount() == 0)
        return box;
    f32 left = 1.0e9f, top = 1.0e9f, right = -1.0e9f, bottom = -1.0e9f;
    for (u32 i = 0; i < 4 * laid.PlacedGlyphCount() && i < quads->PositionCount(); ++i) {
        const AGVec3& at = quads->m_positions[i];
        left = std::min(left, at.x);
        top = std::min(top, at.y);
        right = std::max(right, at.x);
        bottom = std::max(bottom, at.y);
    }
    return {{left, top, right - left, bottom - top}};
}

// Pairs of visible widgets of one page, in draw order, whose drawn parts meet. Panels draw
// nothing of their own: their widgets are compared. Allowed: a widget and a panel holding it;
// two pictures; a picture and a widget drawn after it in the picture's own panel; a widget
// that declares itself (or a panel holding it) drawn over the other (or a panel holding it),
// or over everything before it ("over=*").
void LayoutCheck::CheckOverlaps(const LayoutDoc& doc, const std::vector<LayoutPage>& pages) {
    const std::string label = doc.Entry()->Label();
    std::map<const Widget*, Rect> boxes, drawn;  // drawn: the bounds of what the widget draws
    std::map<const Widget*, std::vector<Rect>> parts;
    std::map<const Widget*, bool> visible;
    std::map<const Widget*, size_t> order;
    std::vector<std::pair<const Widget*, std::vector<const Widget*>>> roots;
    for (const LayoutPage& page : pages)
        if (const Widget* root = doc.Find(page.root)) {
            roots.push_back({root, {}});
            for (const std::string& name : page.parked)
                if (const Widget* parked = doc.Find(name))
                    roots.back().second.push_back(parked);
        }
    const auto pageOf = [&](const Widget* widget) -> const Widget* {
        for (const auto& [root, parked] : roots)
            if (doc.Below(widget, root))
                return root;
        return nullptr;
    };
    // A widget outside the pages that the page moves out of sight.
    const auto parkedOn = [&](const Widget* widget, const Widget* page) {
        for (const auto& [root, parked] : roots)
            if (root == page)
                for (const Widget* away : parked)
                    if (doc.Below(widget, away))
                        return true;
        return false;
    };
    std::vector<const Widget*> shown;
    for (const Widget* widget : doc.InOrder()) {
        const Widget* parent = doc.Parent(*widget);
        const AGVec2 at = W::WidgetManager::ParsePosition(widget->m_Margin);
        const Rect base = parent ? boxes[parent] : Rect{};
        boxes[widget] = Rect{base.x + at.x, base.y + at.y, f32(widget->m_Width), f32(widget->m_Height)};
        Rect& ink = drawn[widget];
        f32 right = 0.0f, bottom = 0.0f;
        ink.x = ink.y = 1.0e9f;
        for (const auto& [x, y, w, h] : Drawn(*widget)) {
            if (w <= 0.0f || h <= 0.0f)
                continue;
            parts[widget].push_back(Rect{boxes[widget].x + x, boxes[widget].y + y, w, h});
            ink.x = std::min(ink.x, parts[widget].back().x);
            ink.y = std::min(ink.y, parts[widget].back().y);
            right = std::max(right, parts[widget].back().x + w);
            bottom = std::max(bottom, parts[widget].back().y + h);
        }
        ink.w = std::max(0.0f, right - ink.x);
        ink.h = std::max(0.0f, bottom - ink.y);
        visible[widget] = widget->m_Visibility == "Visible" && (!parent || visible[parent]);
        order.emplace(widget, order.size());
        if (visible[widget] && widget->m_Type != W::kLayoutGrid && ink.w > 0.0f && ink.h > 0.0f)
            shown.push_back(widget);
    }
    // Declarations name widgets of the layout drawn before the declaring one.
    const auto declared = [&](const Widget* over, const Widget* under) {
        for (const Widget* at = over; at; at = doc.Parent(*at))
            for (const std::string& name : doc.Over(*at))
                if (const Widget* target = doc.Find(name); name == "*" || (target && doc.Below(under, target)))
                    return true;
        return false;
    };
    for (const Widget* widget : doc.InOrder())
        for (const std::string& name : doc.Over(*widget)) {
            const Widget* target = name == "*" ? widget : doc.Find(name);
            if (!target)
                m_checker.Error(doc.From(*widget), label,
                                "\"" + Name(*widget) + "\" is declared drawn over \"" + name +
                                    "\", which the layout does not hold");
            else if (order[target] > order[widget])
                m_checker.Error(doc.From(*widget), label,
                                "\"" + Name(*widget) + "\" is declared drawn over \"" + name +
                                    "\", which is drawn after it");
        }
    const auto meet = [&](const Widget* a, const Widget* b) {
        for (const Rect& one : parts[a])
            for (const Rect& other : parts[b])
                if (one.Meets(other))
                    return true;
        return false;
    };
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const Widget* under = shown[i];
            const Widget* over = shown[j];
            const Widget* pageUnder = pageOf(under);
            const Widget* pageOver = pageOf(over);
            if ((pageUnder && pageOver && pageUnder != pageOver) ||
                (!pageUnder && pageOver && parkedOn(under, pageOver)) ||
                (pageUnder && !pageOver && parkedOn(over, pageUnder)) || !meet(under, over))
                continue;
            // A picture lies under the widgets of its own panel drawn after it.
            if (IsPicture(*under) && (IsPicture(*over) || doc.Below(over, doc.Parent(*under))))
                continue;
            if (declared(over, under))
                continue;
            const Widget* page = pageUnder ? pageUnder : pageOver;
            m_checker.Error(doc.From(*over), label,
                            "\"" + Name(*over) + "\" " + drawn[over].Text() + " overlaps \"" + Name(*under) + "\" " +
                                drawn[under].Text() + (page ? " on page \"" + Name(*page) + "\"" : "") +
                                "; move one, or declare \"over=" + Name(*under) +
                                "\" if it is drawn over it on purpose");
        }
}

void LayoutCheck::CheckDesign(const LayoutDoc& doc) {
    const f32 width = f32(doc.Window().m_Width), height = f32(doc.Window().m_Height);
    if (width <= 0.0f || height <= 0.0f)
        return;
    std::map<const Widget*, AGVec2> at;
    for (const Widget* widget : doc.InOrder()) {
        const Widget* parent = doc.Parent(*widget);
        const AGVec2 own = W::WidgetManager::ParsePosition(widget->m_Margin);
        const AGVec2 base = parent ? at[parent] : AGVec2{0.0f, 0.0f};
        const Rect rect{base.x + own.x, base.y + own.y, f32(widget->m_Width), f32(widget->m_Height)};
        at[widget] = AGVec2{rect.x, rect.y};
        if (rect.x < 0.0f || rect.y < 0.0f || rect.x + rect.w > width || rect.y + rect.h > height)
            m_checker.Error(doc.From(*widget), doc.Entry()->Label(),
                            "\"" + Name(*widget) + "\" " + rect.Text() + " lies outside the " + SizeText(width, height) +
                                " design");
    }
}

}  // namespace content
