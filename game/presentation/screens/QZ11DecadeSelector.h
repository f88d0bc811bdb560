#pragma once
// The decade page ("compositionDecadeSelector"): one of four decades for the match, then the
// difficulty page in a one-player game; the way back to the main menu and to the wardrobe.
#include "engine/core/FDelegate.h"
#include "gameshow/CompositionBase.h"

namespace QZ2011 {

class QZ11DecadeSelector : public GameShow::CompositionBase {
public:
    static constexpr const char* kName = "compositionDecadeSelector";
    static constexpr const char* kNextPage = "compositionDifficultySelector";
    // The widgets under the page's root panel: the four decade buttons and back.
    static constexpr const char* kWidgets[] = {"Button70s", "Button80s", "Button90s", "Button00s", "BackButton"};

    QZ11DecadeSelector() = default;

    // The decade and back buttons under the page (a missing one is reported and skipped),
    // the shared wardrobe button; then the slide and the page hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // Forgets the root panel and takes every listener off again.
    void Uninitialize() override;
    // The base body; showing, the profile bar returns in a one-player game and is parked in
    // a two-player one.
    void OnActivate(bool show) override;

    // Each ignores a click while the page takes no input, then plays the button sound.
    void on70sClicked() { ChooseDecade(0); }
    void on80sClicked() { ChooseDecade(1); }
    void on90sClicked() { ChooseDecade(2); }
    void on00sClicked() { ChooseDecade(3); }
    void onBackClicked();
    void onWardrobeClicked();

private:
    // Stores the decade; only a one-player game moves on to the difficulty page.
    void ChooseDecade(u32 decade);

    static constexpr u32 kButtonCount = 5;
    FDelegate<QZ11DecadeSelector> m_Delegates[kButtonCount] = {
        {this, &QZ11DecadeSelector::on70sClicked}, {this, &QZ11DecadeSelector::on80sClicked},
        {this, &QZ11DecadeSelector::on90sClicked}, {this, &QZ11DecadeSelector::on00sClicked},
        {this, &QZ11DecadeSelector::onBackClicked}};
    FDelegate<QZ11DecadeSelector> m_WardrobeDelegate{this, &QZ11DecadeSelector::onWardrobeClicked};
    GameServices::Widget::Widget* m_Buttons[kButtonCount] = {};
    // The shared wardrobe button this page listens to.
    GameServices::Widget::Widget* m_WardrobeButton = nullptr;
};

}  // namespace QZ2011
