#include "tools/content/SystemText.h"

#include <fstream>

namespace content {

namespace {

std::string TrimLine(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    return b == std::string::npos ? "" : s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

// The 800 x 600 design the popups are laid out in, and the parts of their panel.
constexpr int kDesignWidth = 800;
constexpr int kDesignHeight = 600;
constexpr int kPanelWidth = 580;
constexpr int kPad = 20;
constexpr int kTitleHeight = 50;
constexpr int kTextHeight = 70;
constexpr int kMessageHeight = 34;
constexpr int kButtonWidth = 260;
constexpr int kButtonHeight = 50;

std::string Widget(const char* kind, const std::string& name, int x, int y, int w, int h, const std::string& look) {
    return "    <GsWidgetLibrary:" + std::string(kind) + " Name=\"" + XmlText(name) + "\" Margin=\"" +
           std::to_string(x) + "," + std::to_string(y) + ",0,0\" Width=\"" + std::to_string(w) + "\" Height=\"" +
           std::to_string(h) + "\" " + look + "/>\n";
}

constexpr const char* kTitleLook =
    "TextFontName=\"tvx_bold_32.fon\" TextColor=\"#FFFFD040\" TextHorizontalAlignment=\"Center\" "
    "TextVerticalAlignment=\"Center\"";
constexpr const char* kTextLook =
    "TextFontName=\"tvx_sans_18.fon\" TextColor=\"#FFFFFFFF\" TextHorizontalAlignment=\"Center\" "
    "TextVerticalAlignment=\"Center\"";
constexpr const char* kButtonLook =
    "ImageDefault=\"button_default.png\" ImageHover=\"button_hover.png\" ImagePressed=\"button_pressed.png\" "
    "ImageDisabled=\"button_disabled.png\" TextFontName=\"tvx_sans_24.fon\" TextColor=\"#FF10204A\" "
    "TextHorizontalAlignment=\"Center\" TextVerticalAlignment=\"Center\"";

bool Holds(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
        if (n == name)
            return true;
    return false;
}

}  // namespace

StringTable ReadStringTable(const std::string& dataRoot, const std::string& relativePath, Output* report) {
    StringTable table;
    std::ifstream in(dataRoot + "/" + relativePath, std::ios::binary);
    table.ok = bool(in);
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        authoring::LocalizationEntries entries;
        std::string error;
        if (!authoring::ParseLocalizationSource(raw, entries, error)) {
            if (report)
                report->Error({relativePath, number}, "expected \"KEY = text\"");
            continue;
        }
        if (entries.empty())
            continue;
        const std::string key = entries[0].first;
        const std::string text = TrimLine(entries[0].second);
        if (!table.text.emplace(key, text).second) {
            if (report)
                report->Error({relativePath, number}, "string id \"" + key + "\" is defined twice");
            continue;
        }
        table.entries.emplace_back(key, text);
    }
    return table;
}

uint32_t ParseCount(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return uint32_t(std::stoul(text));
}

std::string PopupLayoutXaml(const PopupLayout& layout) {
    const int messages = int(layout.messages.size());
    const int buttons = int(layout.buttons.size());
    const int height = kPad + kTitleHeight + kTextHeight + messages * kMessageHeight +
                       (buttons ? kPad + kButtonHeight : 0) + kPad;
    const int left = (kDesignWidth - kPanelWidth) / 2;
    const int top = (kDesignHeight - height) / 2;
    const int inner = kPanelWidth - 2 * kPad;
    std::string body = Widget("Image", "PopupBack", left, top, kPanelWidth, height, "ImageDefault=\"panel_popup.png\"");
    int y = top + kPad;
    body += Widget("Label", "Title", left + kPad, y, inner, kTitleHeight, kTitleLook);
    y += kTitleHeight;
    body += Widget("Label", "MainText", left + kPad, y, inner, kTextHeight, kTextLook);
    y += kTextHeight;
    for (const std::string& message : layout.messages) {
        body += Widget("Label", message, left + kPad, y, inner, kMessageHeight, kTextLook);
        y += kMessageHeight;
    }
    y += kPad;
    const int row = buttons * kButtonWidth + (buttons - 1) * kPad;
    int x = (kDesignWidth - row) / 2;
    for (const std::string& button : layout.buttons) {
        body += Widget("Button", button, x, y, kButtonWidth, kButtonHeight, kButtonLook);
        x += kButtonWidth + kPad;
    }
    std::string name = layout.file.substr(0, layout.file.find('.'));
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<UserControl xmlns:x=\"urn:tallyvox:layout-x\" xmlns:GsWidgetLibrary=\"urn:tallyvox:widgets\"\n"
           "             x:Name=\"" + XmlText(name) + "\" Width=\"800\" Height=\"600\">\n"
           "  <Grid Name=\"PopupGrid\" Width=\"800\" Height=\"600\" Margin=\"0,0,0,0\">\n" +
           body + "  </Grid>\n</UserControl>\n";
}

std::string PopupsXml(const std::vector<const PopupRecord*>& popups, const std::map<std::string, PopupLayout>& layouts,
                      const StringTable& strings, Output& out) {
    // The English text of an id, written as the literal the game falls back on.
    auto text = [&](const std::string& id, const SourceRef& at) -> std::string {
        const auto found = strings.text.find(id);
        if (found != strings.text.end())
            return found->second;
        out.Error(at, "string id \"" + id + "\" has no text in the string table");
        return "";
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Root>\n  <Popups>\n";
    for (const PopupRecord* popup : popups) {
        if (popup->priority == 0)
            out.Error(popup->from, "popup \"" + popup->name + "\" has priority 0 and would never show");
        const auto layout = layouts.find(popup->layout);
        if (layout == layouts.end())
            out.Error(popup->from, "popup \"" + popup->name + "\" uses layout \"" + popup->layout +
                                       "\", which popups.txt does not describe");
        xml += "    <Popup>\n      <Layout>" + XmlText(popup->layout) + "</Layout>\n      <Name>" +
               XmlText(popup->name) + "</Name>\n      <Title StringId=\"" + XmlText(popup->titleId) + "\" Value=\"" +
               XmlText(text(popup->titleId, popup->from)) + "\"/>\n";
        if (!popup->textId.empty())
            xml += "      <Text StringId=\"" + XmlText(popup->textId) + "\" Value=\"" +
                   XmlText(text(popup->textId, popup->from)) + "\"/>\n";
        xml += "      <Priority>" + std::to_string(popup->priority) + "</Priority>\n";
        if (!popup->options.empty()) {
            xml += "      <Options>\n";
            for (const PopupEntry& option : popup->options) {
                if (layout != layouts.end() && !Holds(layout->second.buttons, option.name))
                    out.Error(option.from, "popup \"" + popup->name + "\" has option \"" + option.name +
                                               "\", which is no button of " + popup->layout);
                xml += "        <Option Name=\"" + XmlText(option.name) + "\" Text=\"" +
                       XmlText(text(option.stringId, option.from)) + "\" StringId=\"" + XmlText(option.stringId) +
                       "\" AutoClose=\"" + (option.autoClose ? "true" : "false") + "\"/>\n";
            }
            xml += "      </Options>\n";
        }
        if (!popup->messages.empty()) {
            xml += "      <Messages>\n";
            for (const PopupEntry& message : popup->messages) {
                if (layout != layouts.end() && !Holds(layout->second.messages, message.name))
                    out.Error(message.from, "popup \"" + popup->name + "\" has message \"" + message.name +
                                                "\", which is no label of " + popup->layout);
                xml += "        <Message Name=\"" + XmlText(message.name) + "\" Text=\"" +
                       XmlText(text(message.stringId, message.from)) + "\" StringId=\"" +
                       XmlText(message.stringId) + "\"/>\n";
            }
            xml += "      </Messages>\n";
        }
        xml += "    </Popup>\n";
    }
    return xml + "  </Popups>\n</Root>\n";
}

}  // namespace content
