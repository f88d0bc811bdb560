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
    // The layout key of the press in progress has acted.
    u8 m_PressHandled = 0;
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

    // Looks of a letter key: normal, hovered, pressed.
    TString<char> m_KeyImages[3];
    AGVec2 m_KeySize{0.0f, 0.0f};
    // "SpaceBetweenKey".
    f32 m_KeySpacing = 0.0f;
    TString<char> m_AbcdeChars;
    TString<char> m_QwertyChars;
    i32 m_TextKeySize = 0;
    // The letter order (exactly one of the two is set) and the digit layout.
    u8 m_Qwerty = 1;
    u8 m_Abcde = 0;
    u8 m_Digits = 0;
    u8 m_KeyGroups[5] = {1, 1, 1, 1, 1};
    // Looks of the two layout keys and the backspace key.
    TString<char> m_SpecialImages[3];
    // The letter-order key and the digit key.
    ImageBox m_SpecialQwerty;
    ImageBox m_Special12345;
    TString<char> m_TextSpecialAbcde;
    TString<char> m_TextSpecialQwerty;
    TString<char> m_TextSpecial12345;
    u32 m_TextSpecialSizeQwerty = 0;
    u32 m_TextSpecialSize12345 = 0;
    TString<char> m_SpaceImages[3];
    ImageBox m_Space;
    TString<char> m_SpaceStringId;
    TString<char> m_SpaceText;
    f32 m_TextSpaceSize = 0.0f;
    ImageBox m_BackSpace;
    TString<char> m_BackSpaceIcon;
    TString<char> m_EntryImage;
    ImageBox m_Entry;
    f32 m_TextEntrySize = 0.0f;
    // Font, colour and the entry text's alignment.
    TextStyle m_TextStyle;
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
