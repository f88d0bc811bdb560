#pragma once
// The look page of a new player: twelve buttons "effect0".."effect11" dress the menu avatar
// in one of the default looks at once and make it try the look on; "DoneButton" leads to
// the name page once a look is chosen. "BackButton" gives up a new profile: shown while a
// profile exists, it returns to the profiles page with that profile's look on the avatar.
#include <array>

#include "engine/core/FDelegate.h"
#include "gameshow/CompositionBase.h"

namespace GameShow {

class BasicLookComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionBasicLook";
    static constexpr const char* kNextPage = "compositionKeyboard";
    static constexpr const char* kBackPage = "compositionProfiles";
    static constexpr u32 kLookCount = 12;
    // The widgets under the page's root panel: the look buttons, "DoneButton", then "BackButton"
    // (optional: a layout without it is not told, and its page cannot be left but forward).
    static constexpr const char* kWidgets[kLookCount + 2] = {"effect0", "effect1",  "effect2",    "effect3",   "effect4",
                                                             "effect5", "effect6",  "effect7",    "effect8",   "effect9",
                                                             "effect10", "effect11", "DoneButton", "BackButton"};
    // The try request of this page.
    static constexpr u32 kTryToken = 4;
    static constexpr const char* kTryAction = "Try_All";

    BasicLookComposition();
    ~BasicLookComposition() override;

    // Finds the root panel, the look buttons and "DoneButton" (each missing one reported)
    // and listens to their clicks; then hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // Stops listening and forgets the widgets.
    void Uninitialize() override;
    // Showing: the shared wardrobe button and tag panel parked, no look selected,
    // "DoneButton" disabled, "BackButton" shown only while a current profile exists.
    void OnActivate(bool show) override;
    // Shown only for a first-time player: no current profile and none chosen.
    void OnScreenEnter() override;

    // The same look again only re-marks its button. Another look: marked alone, put on the
    // menu avatar (skipped, reported, without one), which then tries it on unless a try is
    // active or already asked for. Either way "DoneButton" becomes usable.
    void SelectLook(i32 look);
    // No look selected; every look button unmarked.
    void ClearSelection();
    // -1 when none.
    i32 GetSelectedLook() const { return m_SelectedLook; }

private:
    // Look button k's click: guard, click sound, SelectLook(k).
    class LookDelegate : public IDelegate {
    public:
        void Invoke() override;
        BasicLookComposition* page = nullptr;
        i32 look = 0;
    };

    void OnLookClick(i32 look);
    void OnDoneClick();
    // Back to the profiles page, the current profile's look on the avatar again.
    void OnBackClick();
    // Dresses the menu avatar in default look k and asks for the try.
    void DressAvatar(i32 look);

    std::array<LookDelegate, kLookCount> m_LookDelegates;
    FDelegate<BasicLookComposition> m_DoneDelegate{this, &BasicLookComposition::OnDoneClick};
    FDelegate<BasicLookComposition> m_BackDelegate{this, &BasicLookComposition::OnBackClick};
    std::array<GameServices::Widget::Widget*, kLookCount> m_LookButtons{};
    i32 m_SelectedLook = -1;
    GameServices::Widget::Widget* m_DoneButton = nullptr;
    GameServices::Widget::Widget* m_BackButton = nullptr;
};

}  // namespace GameShow
