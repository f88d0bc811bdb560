#pragma once
// The credits page: the "CreditsScroll" text rolls the credits once from the top each time
// the page is shown; at its end, or on "BackButton", the options page comes back.
#include "engine/core/FDelegate.h"
#include "gameshow/CompositionBase.h"

namespace GameServices::Widget {
class ScrollText;
}

namespace GameShow {

class CreditsComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionCredits";
    // The widgets under the page's root panel.
    static constexpr const char* kWidgets[] = {"BackButton", "CreditsScroll"};
    static constexpr const char* kOptionsPage = "compositionOptions";

    CreditsComposition() = default;
    ~CreditsComposition() override;

    // The back button and the scroll text (each missing one reported), the shared wardrobe
    // button listened to; then hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    void Uninitialize() override;
    // Advances the scroll text, which tells its end.
    void Update(u32 elapsedMs) override;
    // Showing a hidden page restarts the credits from the top and listens for their end once.
    void OnActivate(bool show) override;
    // The page stays as it is when the menu screen is entered.
    void OnScreenEnter() override;

    // Stops listening for the end, then switches to the page.
    void LeaveTo(const TString<char>& name);

    // Guard and click sound first.
    void OnCreditsBackClick();
    void OnWardrobeClick();
    // No guard, no sound.
    void OnScrollEnded();

    GameServices::Widget::ScrollText* GetScrollText() const { return m_Scroll; }

private:
    FDelegate<CreditsComposition> m_WardrobeDelegate{this, &CreditsComposition::OnWardrobeClick};
    FDelegate<CreditsComposition> m_BackDelegate{this, &CreditsComposition::OnCreditsBackClick};
    FDelegate<CreditsComposition> m_ScrollEndedDelegate{this, &CreditsComposition::OnScrollEnded};
    GameServices::Widget::Widget* m_BackButton = nullptr;
    GameServices::Widget::ScrollText* m_Scroll = nullptr;
    GameServices::Widget::Widget* m_ListenedWardrobeButton = nullptr;
    bool m_ListensToEnd = false;
};

}  // namespace GameShow
