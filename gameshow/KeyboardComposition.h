#pragma once
// The name page of a new player: the soft keyboard "softkeyboard" takes a name of at most
// eight characters; "DoneButton" creates the profile with the menu avatar's look and that
// name, selects it and goes to the main menu; "BackButton" returns to the look page.
#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameshow/CompositionBase.h"

namespace GameServices::Widget {
class SoftKeyboard;
}

namespace GameShow {

class KeyboardComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionKeyboard";
    static constexpr const char* kNameTakenPopup = "PlayerNameNotAvailable";
    // The widgets under the page's root panel: the soft keyboard, back and done.
    static constexpr const char* kWidgets[] = {"softkeyboard", "BackButton", "DoneButton"};
    static constexpr u32 kMaxNameLength = 8;
    // The keyboard's text when the page shows; the first key replaces it.
    static const TString<char> kPlaceholder;

    KeyboardComposition() = default;
    ~KeyboardComposition() override;

    // Finds the root panel, "softkeyboard" (limited to eight characters), "BackButton" and
    // "DoneButton" (each missing one reported) and listens to them; then hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // Stops listening and forgets the widgets.
    void Uninitialize() override;
    // Showing: the shared wardrobe button and tag panel parked, the placeholder text with
    // replace-on-next-key, "DoneButton" disabled.
    void OnActivate(bool show) override;

    // The longest name the page takes, also set on its soft keyboard once it has one.
    void SetMaxNameLength(u32 length);
    u32 GetMaxNameLength() const { return m_MaxNameLength; }

    // The name the entered text gives: every trailing space removed.
    static TString<char> TrimTrailingSpaces(const TString<char>& text);

private:
    void OnBackClick();
    // A name equal to a loaded profile's (exactly) shows "PlayerNameNotAvailable" and the
    // page stays; a name without a free slot is reported and the page stays; otherwise the
    // new profile is selected (which writes the save) and the main menu follows.
    void OnDoneClick();
    // A leading space empties the text; "DoneButton" is usable exactly while there is text.
    void OnTextChanged();

    FDelegate<KeyboardComposition> m_BackDelegate{this, &KeyboardComposition::OnBackClick};
    FDelegate<KeyboardComposition> m_DoneDelegate{this, &KeyboardComposition::OnDoneClick};
    FDelegate<KeyboardComposition> m_TextDelegate{this, &KeyboardComposition::OnTextChanged};
    GameServices::Widget::SoftKeyboard* m_Keyboard = nullptr;
    GameServices::Widget::Widget* m_BackButton = nullptr;
    GameServices::Widget::Widget* m_DoneButton = nullptr;
    u32 m_MaxNameLength = kMaxNameLength;
};

}  // namespace GameShow
