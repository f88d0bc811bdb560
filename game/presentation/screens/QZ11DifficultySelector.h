#pragma once
// The difficulty page ("compositionDifficultySelector"): the chosen decade's three opponent
// families; a difficulty hands the current profile to player one and asks for the decade's
// tutorial level, which leads into the match. Also the way back and to the wardrobe.
#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameshow/CompositionBase.h"

namespace QZ2011 {

class QZ11DifficultySelector : public GameShow::CompositionBase {
public:
    static constexpr const char* kName = "compositionDifficultySelector";
    static constexpr const char* kDecadePage = "compositionDecadeSelector";
    static constexpr const char* kLevelPrefix = "QZ11_Tutorial_";
    // The widgets under the page's root panel: the three difficulty buttons, back and the three
    // family pictures.
    static constexpr const char* kWidgets[] = {"EasyButton", "NormalButton", "HardButton", "BackButton",
                                               "ImgEasy",    "ImgNormal",    "ImgHard"};

    QZ11DifficultySelector() = default;

    // The buttons and images under the page (a missing one is reported and skipped), the
    // shared wardrobe button; then the slide and the page hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    void Uninitialize() override;
    // Showing sets the decade's images and brings the profile bar back; then the base body.
    void OnActivate(bool show) override;

    // The difficulty buttons take every click (a repeated level request is dropped by the
    // level controller) and play no sound.
    void onEasyClicked() { ChooseDifficulty(0); }
    void onNormalClicked() { ChooseDifficulty(1); }
    void onHardClicked() { ChooseDifficulty(2); }
    // These ignore a click while the page takes no input, then play the button sound.
    void onBackClicked();
    void onWardrobeClicked();

    static constexpr u32 kDecadeCount = 4;
    static constexpr u32 kDifficultyCount = 3;
    // "Family_Big_{Easy,Normal,Hard}NN.png" of a difficulty and decade (0 for the 70s); empty
    // outside them.
    static TString<char> FamilyImage(u32 difficulty, u32 decade);
    // The chosen decade's family images; without a decade the images stay and the fault is
    // reported.
    void SetFamilyImages();
    // Player one plays the current profile and the decade's tutorial level is asked for.
    // Without a current profile nothing starts: the refusal is reported.
    void StartMatch();
    // "RUNNING DECADE NN WITH DIFFICULTY LEVEL WORD"; an unknown decade or difficulty leaves
    // its part out.
    TString<char> BuildStartMessage() const;

private:
    void ChooseDifficulty(u32 difficulty);

    enum Widgets : u32 { kEasy, kNormal, kHard, kBack, kImgEasy, kImgNormal, kImgHard, kWidgetCount };
    static constexpr u32 kButtonCount = 4;
    FDelegate<QZ11DifficultySelector> m_Delegates[kButtonCount] = {
        {this, &QZ11DifficultySelector::onEasyClicked},
        {this, &QZ11DifficultySelector::onNormalClicked},
        {this, &QZ11DifficultySelector::onHardClicked},
        {this, &QZ11DifficultySelector::onBackClicked}};
    FDelegate<QZ11DifficultySelector> m_WardrobeDelegate{this, &QZ11DifficultySelector::onWardrobeClicked};
    GameServices::Widget::Widget* m_Widgets[kWidgetCount] = {};
    GameServices::Widget::Widget* m_WardrobeButton = nullptr;
};

}  // namespace QZ2011
