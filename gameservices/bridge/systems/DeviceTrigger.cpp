#include "gameservices/bridge/systems/DeviceTrigger.h"

#include <string_view>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"

namespace GameServices::Bridge {

namespace {

struct KeyName {
    const char* m_Name;
    i32 m_Code;
};

// clang-format off
constexpr KeyName kKeyNames[KeyNameTable::kBuiltInNames] = {
    {"keyaccept", 83}, {"keycancel", 18}, {"keyescape", 18},
    {"keyleft", 41}, {"keyright", 43}, {"keyup", 40}, {"keydown", 42},
    {"keypageup", 38}, {"keypagedown", 39},
    {"keybackspace", 73}, {"keyspacebar", 80}, {"keydelete", 36}, {"keyinsert", 34},
    {"keyshift", 76}, {"keyctrl", 77}, {"keyalt", 79},
    {"keyf1", 19}, {"keyf2", 20}, {"keyf3", 21}, {"keyf4", 22}, {"keyf5", 23}, {"keyf6", 24},
    {"keyf7", 25}, {"keyf8", 26}, {"keyf9", 27}, {"keyf10", 28}, {"keyf11", 29}, {"keyf12", 30},
    {"key1", 61}, {"key2", 62}, {"key3", 63}, {"key4", 64}, {"key5", 65}, {"key6", 66},
    {"key7", 67}, {"key8", 68}, {"key9", 69}, {"key0", 70},
    {"q", 84}, {"w", 85}, {"e", 86}, {"r", 87}, {"t", 88}, {"y", 89}, {"u", 90}, {"i", 91},
    {"o", 92}, {"p", 93}, {"a", 94}, {"s", 95}, {"d", 96}, {"f", 97}, {"g", 98}, {"h", 99},
    {"j", 100}, {"k", 101}, {"l", 102}, {"z", 103}, {"x", 104}, {"c", 105}, {"v", 106},
    {"b", 107}, {"n", 108}, {"m", 109},
    {"wiiup", 7}, {"wiidown", 8}, {"wiileft", 9}, {"wiiright", 10}, {"wiia", 11}, {"wiib", 12},
    {"wiione", 13}, {"wiitwo", 14}, {"wiiplus", 15}, {"wiiminus", 16}, {"wiihome", 17},
    {"xboxup", 118}, {"xboxdown", 119}, {"xboxleft", 120}, {"xboxright", 121},
    {"xboxleftup", 135}, {"xboxleftdown", 136}, {"xboxleftleft", 133}, {"xboxleftright", 134},
    {"xboxrightup", 139}, {"xboxrightdown", 140}, {"xboxrightleft", 137}, {"xboxrightright", 138},
    {"xboxltrigger", 141}, {"xboxrtrigger", 142},
    {"xboxstart", 122}, {"xboxback", 123}, {"xboxlthumb", 124}, {"xboxrthumb", 125},
    {"xboxlshoulder", 126}, {"xboxrshoulder", 127}, {"xboxbig", 128},
    {"xboxa", 129}, {"xboxb", 130}, {"xboxx", 131}, {"xboxy", 132},
    {"cbmouseprimary", 2}, {"cbmousesecondary", 4},
    {"mouseleft", 2}, {"mousewheel", 3}, {"mouseright", 4},
    {"default0", 0}, {"default1", 1},
};
// clang-format on

constexpr const char* kAxes[] = {"axis-up",    "axis-down", "axis-left", "axis-right",
                                 "axis-foward", "axis-back", "axis-all"};

TString<char> Lower(const TString<char>& text) {
    TString<char> lower(text);
    lower.ToLower();
    return lower;
}

}  // namespace

u32 ParseStateFilter(const TString<char>& word) {
    const TString<char> lower = Lower(word);
    if (lower == "press")
        return kStatePress;
    if (lower == "release")
        return kStateRelease;
    if (!lower.IsEmpty() && lower != "none")
        AGReport("invalid state filter%s", word.c_str());
    return kStateNone;
}

u32 ParseAxis(const TString<char>& word) {
    const TString<char> lower = Lower(word);
    for (u32 i = 0; i < std::size(kAxes); ++i)
        if (lower == kAxes[i])
            return kAxisUp + i;
    return kAxisNone;
}

void KeyNameTable::Build() {
    if (!m_Codes.empty())
        return;
    for (const KeyName& key : kKeyNames)
        m_Codes[Crc32Hash(key.m_Name)] = key.m_Code;
}

i32 KeyNameTable::CodeOf(const TString<char>& name) {
    Build();
    const TString<char> lower = Lower(name);
    return m_Codes.try_emplace(Crc32Hash(lower.c_str()), 0).first->second;
}

bool KeyNameTable::IsBuiltIn(const TString<char>& name) {
    const TString<char> lower = Lower(name);
    for (const KeyName& key : kKeyNames)
        if (lower == key.m_Name)
            return true;
    return false;
}

char KeyNameTable::CharacterOf(i32 code) {
    for (const KeyName& key : kKeyNames) {
        if (key.m_Code != code)
            continue;
        const std::string_view name = key.m_Name;
        if (name == "keyspacebar")
            return ' ';
        if (name.size() == 1)
            return name[0];
        if (name.size() == 4 && name.starts_with("key") && name[3] >= '0' && name[3] <= '9')
            return name[3];
    }
    return 0;
}

void DeviceTriggerKey::ClearKeys() {
    for (AGVirtualKey* key : m_Keys)
        delete key;
    m_Keys.clear();
    m_Latch.clear();
}

void DeviceTriggerMove::ClearCursors() {
    for (AGVirtualCursor* cursor : m_Cursors)
        delete cursor;
    m_Cursors.clear();
}

}  // namespace GameServices::Bridge
