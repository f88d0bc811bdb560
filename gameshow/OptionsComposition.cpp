#include "gameshow/OptionsComposition.h"

#include <algorithm>
#include <cmath>

#include "engine/core/AGApplication.h"
#include "engine/core/AGAudioManager.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGProgram.h"
#include "engine/core/PCApplicationImpl.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PageButtons.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::Widget::Panel;
using GameServices::Widget::RenderingSystemWidget;
using GameServices::Widget::SliderWidget;
using GameServices::Widget::Widget;
namespace TypeIds = GameServices::Widget::TypeIds;

namespace {

Widget* FindReported(Panel* root, const char* name, const char* reportName) {
    Widget* widget = root ? Widget::FindChild(name, root) : nullptr;
    if (!widget)
        AGReport("can not find %s", reportName);
    return widget;
}

SliderWidget* FindSlider(Panel* root, const char* name) {
    Widget* widget = root ? Widget::FindChild(name, root) : nullptr;
    if (widget && (widget->IsA(TypeIds::SliderTrackBar) || widget->IsA(TypeIds::SliderButton)))
        return static_cast<SliderWidget*>(widget);
    AGReport("can not find %s", name);
    return nullptr;
}

// The slider at `percent` of its maximum (0 without a positive maximum).
void ShowPercentage(SliderWidget* slider, u32 percent) {
    if (!slider)
        return;
    slider->m_Value = slider->m_Maximum > 0.0f ? f32(percent) * slider->m_Maximum * 0.01f : 0.0f;
    RenderingSystemWidget::UpdateBehaviorState(*slider);
}

// Rounded to the nearest percent, so that a slider shown at a stored volume and left alone
// stores that volume again. Without the slider the stored volume stays.
void StorePercentage(const SliderWidget* slider, u32& field) {
    if (slider)
        field = u32(std::lround(OptionsComposition::SliderFraction(slider) * f32(OptionsComposition::kMaxVolume)));
}

}  // namespace

OptionsComposition::~OptionsComposition() {
    OptionsComposition::Uninitialize();
}

void OptionsComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    Panel* root = m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
    m_CreditsButton = FindReported(root, kWidgets[0], "CreditsButton");
    m_DoneButton = FindReported(root, kWidgets[1], "DoneButton");
    m_FullScreenBox = FindReported(root, kWidgets[2], "FullScreen CheckBox");
    m_MultisamplingBox = FindReported(root, kWidgets[3], "MultiSampling CheckBox");
    m_FullScreenNote = root ? Widget::FindChild(kWidgets[7], root) : nullptr;
    using GameServices::Widget::kEventClick;
    using GameServices::Widget::kEventValueChanged;
    Listen(m_CreditsButton, &m_CreditsDelegate);
    Listen(m_DoneButton, &m_DoneDelegate);
    Listen(m_FullScreenBox, &m_FullScreenDelegate);
    Listen(m_MultisamplingBox, &m_MultisamplingDelegate);
    m_SfxSlider = FindSlider(root, kWidgets[4]);
    m_MusicSlider = FindSlider(root, kWidgets[5]);
    m_VoiceSlider = FindSlider(root, kWidgets[6]);
    Listen(m_SfxSlider, &m_SfxDelegate, kEventValueChanged);
    Listen(m_MusicSlider, &m_MusicDelegate, kEventValueChanged);
    Listen(m_VoiceSlider, &m_VoiceDelegate, kEventValueChanged);
    LoadVolumes();
    m_ListenedWardrobeButton = GetManager().m_WardrobeButton;
    Listen(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    OnScreenEnter();
}

void OptionsComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    using GameServices::Widget::kEventClick;
    using GameServices::Widget::kEventValueChanged;
    StopListening(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    StopListening(m_CreditsButton, &m_CreditsDelegate);
    StopListening(m_DoneButton, &m_DoneDelegate);
    StopListening(m_FullScreenBox, &m_FullScreenDelegate);
    StopListening(m_MultisamplingBox, &m_MultisamplingDelegate);
    StopListening(m_SfxSlider, &m_SfxDelegate, kEventValueChanged);
    StopListening(m_MusicSlider, &m_MusicDelegate, kEventValueChanged);
    StopListening(m_VoiceSlider, &m_VoiceDelegate, kEventValueChanged);
    m_ListenedWardrobeButton = m_CreditsButton = m_DoneButton = m_FullScreenBox = m_MultisamplingBox = nullptr;
    m_FullScreenNote = nullptr;
    m_SfxSlider = m_MusicSlider = m_VoiceSlider = nullptr;
}

void OptionsComposition::OnActivate(bool show) {
    OnActivateWithProfileBar(show);
    if (!show)
        return;
    // Re-read on every showing: Alt+Enter may have switched the mode elsewhere.
    const PCApplicationImpl* application = Application();
    const u32 flags = application ? application->GetFlags() : 0;
    SetButtonMarked(m_FullScreenBox, (flags & kSettingFullscreen) != 0);
    SetButtonMarked(m_MultisamplingBox, (flags & kSettingMultisampling) != 0);
    if (m_FullScreenNote)
        m_FullScreenNote->SetVisible(false);
}

u32 OptionsComposition::ClampVolume(u32 stored) {
    return std::min(stored, kMaxVolume);
}

f32 OptionsComposition::SliderFraction(const SliderWidget* slider) {
    if (!slider || !(slider->m_Maximum > 0.0f))
        return 0.0f;
    return std::clamp(slider->m_Value / slider->m_Maximum, 0.0f, 1.0f);
}

void OptionsComposition::LoadVolumes() {
    const Settings* settings = PlayerProfileManager::Instance()->GetSettings();
    if (!settings) {
        AGReport("No settings to read the volumes from");
        return;
    }
    ShowPercentage(m_SfxSlider, ClampVolume(settings->SoundEffectsVolume));
    ShowPercentage(m_MusicSlider, ClampVolume(settings->MusicVolume));
    ShowPercentage(m_VoiceSlider, ClampVolume(settings->VoiceVolume));
    ApplyVolumes();
}

void OptionsComposition::ApplyVolumes() {
    const Settings* settings = PlayerProfileManager::Instance()->GetSettings();
    if (!settings)
        return;
    SetCategoryVolume(f32(ClampVolume(settings->MusicVolume)) * 0.01f, kMusicCategory);
    SetCategoryVolume(f32(ClampVolume(settings->VoiceVolume)) * 0.01f, kVoiceCategory);
    SetCategoryVolume(f32(ClampVolume(settings->SoundEffectsVolume)) * 0.01f, kSoundEffectsCategory);
}

void OptionsComposition::SetCategoryVolume(f32 volume, u32 category) {
    AGAudioManager* audio = AGAudioManager::Get();
    if (AGAudioManagerImpl* impl = audio ? audio->GetImpl() : nullptr)
        impl->SetCategoryVolume(volume, category);
}

PCApplicationImpl* OptionsComposition::Application() const {
    if (m_Application)
        return m_Application;
    return dynamic_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl());
}

void OptionsComposition::OnCreditsClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, kCreditsPage);
}

void OptionsComposition::OnWardrobeClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().m_ReturnComposition = kName;
    GetManager().SetNextComposition(this, CompositionManager::kWardrobe);
}

void OptionsComposition::OnDoneClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    if (Settings* settings = profiles->GetSettings()) {
        StorePercentage(m_MusicSlider, settings->MusicVolume);
        StorePercentage(m_SfxSlider, settings->SoundEffectsVolume);
        StorePercentage(m_VoiceSlider, settings->VoiceVolume);
        profiles->WriteSavedGame();
    } else {
        AGReport("No settings to store the volumes in");
    }
    GetManager().SetNextComposition(this, CompositionManager::kMainMenu);
}

void OptionsComposition::OnFullScreenClick() {
    PCApplicationImpl* application = Application();
    if (!application)
        return;
    const bool wanted = !(application->GetFlags() & kSettingFullscreen);
    application->ToggleFullscreen();
    const bool fullScreen = (application->GetFlags() & kSettingFullscreen) != 0;
    // The box shows the mode the window is in, whatever the click made of its tick.
    SetButtonMarked(m_FullScreenBox, fullScreen);
    // Refused (the application logs why): the page says so too.
    if (wanted && !fullScreen && m_FullScreenNote)
        m_FullScreenNote->SetVisible(true);
}

void OptionsComposition::OnMultisamplingClick() {
    if (PCApplicationImpl* application = Application())
        application->ToggleMultisampling();
}

void OptionsComposition::OnSfxVolumeChanged() {
    SetCategoryVolume(SliderFraction(m_SfxSlider), kSoundEffectsCategory);
}

void OptionsComposition::OnMusicVolumeChanged() {
    SetCategoryVolume(SliderFraction(m_MusicSlider), kMusicCategory);
}

void OptionsComposition::OnVoiceVolumeChanged() {
    SetCategoryVolume(SliderFraction(m_VoiceSlider), kVoiceCategory);
}

}  // namespace GameShow
