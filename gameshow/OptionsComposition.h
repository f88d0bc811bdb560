#pragma once
// The options page: full screen and multisampling check boxes that follow the application's
// modes, three volume sliders (sound effects, music, voices) that set their volume category
// at once, and "DoneButton", which stores the volumes in the profiles' settings and writes
// the save. Also the way to the credits and to the wardrobe.
#include "engine/core/FDelegate.h"
#include "gameshow/CompositionBase.h"

class PCApplicationImpl;

namespace GameServices::Widget {
class SliderWidget;
}

namespace GameShow {

class OptionsComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionOptions";
    // The widgets under the page's root panel: two buttons, two check boxes, three sliders, and
    // the note shown when full screen was refused (optional: a layout without it is not told).
    static constexpr const char* kWidgets[] = {"CreditsButton", "DoneButton",  "FullScreenCheckBox", "MultiSamplingCheckBox",
                                               "sliderSfx",     "sliderMusic", "sliderVoice",        "FullScreenNote"};
    static constexpr const char* kCreditsPage = "compositionCredits";
    // The engine's volume categories the menu sounds are routed to.
    static constexpr u32 kMusicCategory = 0;
    static constexpr u32 kVoiceCategory = 1;
    static constexpr u32 kSoundEffectsCategory = 2;
    // Stored volumes are percentages.
    static constexpr u32 kMaxVolume = 100;

    OptionsComposition() = default;
    ~OptionsComposition() override;

    // Buttons, check boxes and sliders (each missing one reported), the stored volumes
    // loaded and applied, the shared wardrobe button listened to; then hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    void Uninitialize() override;
    // Showing: the profile bar, the check boxes ticked as the application's modes are, the
    // full-screen note hidden.
    void OnActivate(bool show) override;

    // Each slider at its stored percentage of its maximum, then ApplyVolumes.
    void LoadVolumes();
    // Each category at its stored percentage. Stored values above 100 count as 100.
    void ApplyVolumes();

    // Button handlers (guard and click sound first).
    void OnCreditsClick();
    void OnWardrobeClick();
    // Stores the sliders as truncated percentages (a missing slider keeps its volume), writes
    // the save, goes to the main menu.
    void OnDoneClick();
    // Check boxes: the application switches the mode (and refuses full screen while the
    // display cannot switch, or where no display mode fits); each box then shows the mode the
    // application is in. A refused full screen shows the note and is logged.
    void OnFullScreenClick();
    void OnMultisamplingClick();
    // Sliders: the category's volume at once; nothing is stored.
    void OnSfxVolumeChanged();
    void OnMusicVolumeChanged();
    void OnVoiceVolumeChanged();

    // A stored percentage, at most 100.
    static u32 ClampVolume(u32 stored);
    // The slider's value over its maximum within 0..1; 0 for a missing slider or a maximum
    // of 0 or less.
    static f32 SliderFraction(const GameServices::Widget::SliderWidget* slider);

    // The application whose modes the check boxes show; null means the running one. For
    // tests.
    void SetApplication(PCApplicationImpl* application) { m_Application = application; }

private:
    PCApplicationImpl* Application() const;
    static void SetCategoryVolume(f32 volume, u32 category);

    FDelegate<OptionsComposition> m_CreditsDelegate{this, &OptionsComposition::OnCreditsClick};
    FDelegate<OptionsComposition> m_WardrobeDelegate{this, &OptionsComposition::OnWardrobeClick};
    FDelegate<OptionsComposition> m_DoneDelegate{this, &OptionsComposition::OnDoneClick};
    FDelegate<OptionsComposition> m_FullScreenDelegate{this, &OptionsComposition::OnFullScreenClick};
    FDelegate<OptionsComposition> m_MultisamplingDelegate{this, &OptionsComposition::OnMultisamplingClick};
    FDelegate<OptionsComposition> m_SfxDelegate{this, &OptionsComposition::OnSfxVolumeChanged};
    FDelegate<OptionsComposition> m_MusicDelegate{this, &OptionsComposition::OnMusicVolumeChanged};
    FDelegate<OptionsComposition> m_VoiceDelegate{this, &OptionsComposition::OnVoiceVolumeChanged};
    GameServices::Widget::Widget* m_CreditsButton = nullptr;
    GameServices::Widget::Widget* m_DoneButton = nullptr;
    GameServices::Widget::Widget* m_FullScreenBox = nullptr;
    GameServices::Widget::Widget* m_MultisamplingBox = nullptr;
    GameServices::Widget::Widget* m_FullScreenNote = nullptr;
    GameServices::Widget::SliderWidget* m_SfxSlider = nullptr;
    GameServices::Widget::SliderWidget* m_MusicSlider = nullptr;
    GameServices::Widget::SliderWidget* m_VoiceSlider = nullptr;
    // The shared wardrobe button this page listens to.
    GameServices::Widget::Widget* m_ListenedWardrobeButton = nullptr;
    PCApplicationImpl* m_Application = nullptr;
};

}  // namespace GameShow
