#pragma once
// The on-screen keyboard: letter keys and special keys (two layout keys, space, backspace)
// clicked with the players' pointers, and characters typed on the computer keyboard (the
// "SoftKey" team action), collected in the entry text.
#include <vector>

#include "gameservices/widget/WidgetClasses.h"

namespace GameServices::Widget {

// One key, in layout pixels relative to the keyboard's top left.
struct SoftKey {
    SoftKey() = default;
    // Copies the place, the box, the text placement and the value; the rest starts over.
    SoftKey(const SoftKey& other);
    SoftKey& operator=(const SoftKey& other);

    f32 x = 0.0f;
    f32 y = 0.0f;
    f32 minX = 0.0f;
    f32 minY = 0.0f;
    f32 maxX = 0.0f;
    f32 maxY = 0.0f;
    f32 text[4] = {};
    f32 rotation = 0.0f;
    f32 scale = 1.0f;
    f32 spare = 0.0f;
    u32 value = 0;
};

class SoftKeyboard;

class WidgetSoftKeyboardBehavior : public WidgetBehavior {
public:
    enum KeyLook : u32 { kKeyNormal = 0, kKeyHovered = 1, kKeyPressed = 2 };

    explicit WidgetSoftKeyboardBehavior(SoftKeyboard* keyboard);
    ~WidgetSoftKeyboardBehavior() override;

    // Hovers the key under the pointer: special keys first, then letters.
    void HandleMove(f32 x, f32 y, Entities::BaseTeamMember* member, bool pointerActive) override;
    // Types the hovered key on release.
    void onPress(bool down) override;
    void onLeave() override;
    // A typed character: 8 is backspace; printable codes are typed as one byte.
    void onSoftKeyAction(KorvoGame::TeamActionData* data);

    FHandler m_KeyHoverEvent;
    FHandler m_TextChangedEvent;
    u32 m_KeyLook = kKeyNormal;
    f32 m_PointerX = 0.0f;
    f32 m_PointerY = 0.0f;
    u8 m_HoveredIsSpecial = 0;
    u8 m_Refresh = 1;
    u8 m_Pressed = 0;
    i32 m_LastHoveredSpecial = -1;
    i32 m_LastHoveredLetter = -1;

private:
    void ClearKeyHover();
    void RefreshKey(bool special, i32 index, u32 look);
    void Backspace();
    void TextDone();

    SoftKeyboard* m_Keyboard;
    KorvoGame::TeamActionManager* m_SoftKeyTeams = nullptr;
    KorvoGame::TeamActionManagerDelegate<WidgetSoftKeyboardBehavior> m_SoftKeyDelegate{
        this, &WidgetSoftKeyboardBehavior::onSoftKeyAction};
};

class SoftKeyboard : public BehaviorWidget {
public:
    static constexpr u32 kSpaceKey = 2;
    static constexpr u32 kBackspaceKey = 3;
    // Indices into the key-group flags.
    static constexpr u32 kSpaceGroup = 2;
    static constexpr u32 kBackspaceGroup = 3;
    static constexpr u32 kLetterGroup = 4;

    explicit SoftKeyboard(const TString<char>& name = TString<char>());
    ~SoftKeyboard() override;
    bool IsA(const u32& typeId) const override;

    // Replaces the entry text and shows it.
    void SetText(const TString<char>& text);
    TString<char> GetEnteredText() const { return m_EntryText; }
    // Key k's box in window pixels, from the keyboard's hit rectangle.
    HitRectangle KeyBox(const SoftKey& key) const;

    TString<char> m_KeyImage;
    TString<char> m_KeyHoverImage;
    TString<char> m_KeyPressedImage;
    AGVec2 m_KeySize{0.0f, 0.0f};
    f32 m_KeySpacing = 0.0f;
    TString<char> m_AbcdeChars;
    TString<char> m_QwertyChars;
    i32 m_TextKeySize = 0;
    u8 m_Qwerty = 1;
    u8 m_Abcde = 0;
    u8 m_Digits = 0;
    u8 m_KeyGroups[5] = {1, 1, 1, 1, 1};
    // The special keys' looks and places, as the layout gives them; the keyboard's
    // renderables are built from them.
    TString<char> m_SpecialImage;
    TString<char> m_SpecialHoverImage;
    TString<char> m_SpecialPressedImage;
    TString<char> m_SpecialTextQwerty;
    TString<char> m_SpecialTextAbcde;
    TString<char> m_SpecialText12345;
    i32 m_SpecialTextSizeQwerty = 0;
    i32 m_SpecialTextSize12345 = 0;
    AGVec2 m_SpecialSizeQwerty{0.0f, 0.0f};
    AGVec2 m_SpecialPositionQwerty{0.0f, 0.0f};
    AGVec2 m_SpecialSize12345{0.0f, 0.0f};
    AGVec2 m_SpecialPosition12345{0.0f, 0.0f};
    TString<char> m_BackspaceImage;
    AGVec2 m_BackspaceSize{0.0f, 0.0f};
    AGVec2 m_BackspacePosition{0.0f, 0.0f};
    TString<char> m_SpaceImage;
    TString<char> m_SpaceHoverImage;
    TString<char> m_SpacePressedImage;
    TString<char> m_SpaceText;
    TString<char> m_SpaceStringId;
    i32 m_SpaceTextSize = 0;
    AGVec2 m_SpaceSize{0.0f, 0.0f};
    AGVec2 m_SpacePosition{0.0f, 0.0f};
    f32 m_EntryTextSize = 0.0f;
    i32 m_TextVerticalAlignment = 1;
    i32 m_TextHorizontalAlignment = 1;
    u32 m_TextColor = 0xFFFFFFFFu;
    TString<char> m_Font;
    TString<char> m_EntryImage;
    AGVec2 m_EntrySize{0.0f, 0.0f};
    AGVec2 m_EntryPosition{0.0f, 0.0f};
    TString<char> m_EntryText;
    u32 m_MaxEntryTextChar = 0;
    std::vector<SoftKey> m_Letters;
    i32 m_HoveredLetter = -1;
    i32 m_PreviousLetter = -1;
    std::vector<SoftKey> m_Specials;
    i32 m_HoveredSpecial = -1;
    i32 m_PreviousSpecial = -1;
    std::vector<AGVec2> m_RowPositions;
    std::vector<u32> m_RowKeys;
    WidgetSoftKeyboardBehavior m_KeyboardBehavior{this};
    u8 m_ReplaceOnType = 0;
};

}  // namespace GameServices::Widget
