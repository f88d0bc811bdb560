#include "game/presentation/screens/ScreenTutorial.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "engine/core/AGApplication.h"
#include "engine/core/PCApplicationImpl.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/screens/ScreenWidgets.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/widget/WidgetClasses.h"

namespace QZ2011 {

using GameServices::Widget::Widget;

namespace {

constexpr f32 kFramesPerSecond = 30.0f;
// The rule page each of the steps 4 to 8 shows; -1 for none. Step 2 shows none either.
constexpr u8 kFirstPageStep = ScreenTutorial::kFadeOutStep + 1;
constexpr int kStepPages[ScreenTutorial::kLastStep - kFirstPageStep] = {0, 1, -1, 2, 3};

AudioManagerQZ* Narrator() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    return context ? context->GetAudioManager() : nullptr;
}

void SetPause(bool paused) {
    if (GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current())
        game->SetPause(paused);
}

}  // namespace

ScreenTutorial::~ScreenTutorial() { ReleaseWindowCallbacks(); }

PCApplicationImpl* ScreenTutorial::Application() const {
    return m_Application ? m_Application : dynamic_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl());
}

void ScreenTutorial::OnWindowActivated(void*) { SetPause(false); }
void ScreenTutorial::OnWindowDeactivated(void*) { SetPause(true); }

void ScreenTutorial::onLoad() {
    Screen::onLoad();
    char name[64];
    m_Logo = BindWidget(*this, kWidgets[0]);
    ShowWidget(m_Logo, false);
    for (int i = 0; i < 4; ++i) {
        ShowWidget(m_DecadePanels[i] = BindWidget(*this, kWidgets[1 + 2 * i]), false);
        ShowWidget(m_DecadeReflections[i] = BindWidget(*this, kWidgets[2 + 2 * i]), false);
    }
    for (int i = 0; i < 4; ++i) {
        ShowWidget(m_Pages[i] = BindWidget(*this, kWidgets[9 + 2 * i]), false);
        ShowWidget(m_PageReflections[i] = BindWidget(*this, kWidgets[10 + 2 * i]), false);
    }
    // Only a chosen decade has a picture (numbered from 1 for the 70s).
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (context && context->m_Decade < QZ2011GameContext::kNoDecade) {
        if (auto* image = dynamic_cast<GameServices::Widget::Image*>(m_PageReflections[1])) {
            snprintf(name, sizeof(name), kSurveyReflectionImage, int(context->m_Decade) + 1);
            image->SetImage(name);
        }
    }
    if (PCApplicationImpl* application = Application()) {
        application->SetActivatedCallback(this, &ScreenTutorial::OnWindowActivated);
        application->SetDeactivatedCallback(this, &ScreenTutorial::OnWindowDeactivated);
        m_CallbacksInstalled = true;
    }
    if (m_State != kIntroductionStep) {
        m_State = kIntroductionStep;
        EnterStep();
    }
}

void ScreenTutorial::onUnload() {
    ReleaseWindowCallbacks();
    Screen::onUnload();
}

void ScreenTutorial::Reset() {
    m_Logo = nullptr;
    for (Widget* (*group)[4] : {&m_DecadePanels, &m_DecadeReflections, &m_Pages, &m_PageReflections})
        std::fill(std::begin(*group), std::end(*group), nullptr);
    Screen::Reset();
}

void ScreenTutorial::ReleaseWindowCallbacks() {
    PCApplicationImpl* application = m_CallbacksInstalled ? Application() : nullptr;
    m_CallbacksInstalled = false;
    if (!application)
        return;
    application->ReleaseWindowCallbacks(this);
}

void ScreenTutorial::Process(u32) {
    switch (m_State) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
        if (NarrationEnded())
            NextStep();
        break;
    case kFadeOutStep:
        if (HideFadedElements())
            NextStep();
        break;
    default:
        break;
    }
}

void ScreenTutorial::NextStep() {
    ++m_State;
    EnterStep();
}

void ScreenTutorial::EnterStep() {
    switch (m_State) {
    case kIntroductionStep:
        StartIntroduction();
        break;
    case kFadeOutStep:
        StartFadeOut();
        break;
    case kLastStep:
        FireSkip();
        break;
    default:
        if (m_State < kLastStep)
            ShowStepPage();
        break;
    }
}

void ScreenTutorial::StartIntroduction() {
    // The rule pages were hidden by the load, the introduction's only way in.
    PlayAndShow(m_Logo, kLogoFadeIn);
    char name[64];
    for (int i = 1; i <= 4; ++i) {
        snprintf(name, sizeof(name), kPanelFadeIn, i);
        PlayAndShow(m_DecadePanels[i - 1], name);
        snprintf(name, sizeof(name), kReflectionFadeIn, i);
        PlayAndShow(m_DecadeReflections[i - 1], name);
    }
    m_FlowStep = 0;
    PlayNarration(m_FlowStep);
}

void ScreenTutorial::ShowStepPage() {
    const int page = m_State >= kFirstPageStep ? kStepPages[m_State - kFirstPageStep] : -1;
    if (page >= 0) {
        PlayAndShow(m_Pages[page], kPageAnimation);
        PlayAndShow(m_PageReflections[page], kPageReflectionAnimation);
    }
    PlayNarration(++m_FlowStep);
}

void ScreenTutorial::StartFadeOut() {
    PlayAndShow(m_Logo, kFadeOutAnimation);
    for (int i = 0; i < 4; ++i) {
        PlayAndShow(m_DecadePanels[i], kFadeOutAnimation);
        PlayAndShow(m_DecadeReflections[i], kFadeOutAnimation);
    }
}

bool ScreenTutorial::HideFadedElements() {
    if (IsAnimationIdle(m_Logo))
        ShowWidget(m_Logo, false);
    for (int i = 0; i < 4; ++i)
        for (Widget* element : {m_DecadePanels[i], m_DecadeReflections[i]}) {
            if (!IsAnimationIdle(element))
                return false;
            ShowWidget(element, false);
        }
    return !m_Logo || !m_Logo->Visible;
}

bool ScreenTutorial::NarrationEnded() const {
    AudioManagerQZ* narrator = Narrator();
    if (!narrator || narrator->GetTutorialCue().IsEmpty())
        return true;
    return !GameServices::Bridge::AudioProcessingSystem::IsPlaying(narrator->GetSet(), narrator->GetTutorialCue());
}

void ScreenTutorial::PlayAndShow(Widget* widget, const char* animation) {
    if (!widget)
        return;
    PlayAnimationOnce(widget, animation, kFramesPerSecond);
    widget->SetVisible(true);
}

void ScreenTutorial::PlayNarration(u32 step) {
    if (AudioManagerQZ* narrator = Narrator())
        narrator->PlayTutorialFlow(step);
}

}  // namespace QZ2011
