#pragma once
// "ScreenTutorial", the rules tutorial before a match: a narrated slide show of ten steps.
// Step 1 introduces the four decades (a logo, four panels and their reflections), step 2 goes
// on narrating, step 3 fades the introduction out, steps 4 to 8 pile up the rule pages
// "FaceOff", "SurveyGame", "300Pts" and "FastMoney" (step 6 shows none), and step 9 fires the
// skip event, which the tutorial mode answers with the match level. A narrated step lasts
// while its narration plays. While the screen is loaded, losing the window focus pauses the
// game and regaining it resumes it.
#include "engine/core/FHandler.h"
#include "gameservices/widget/Screen.h"

class PCApplicationImpl;

namespace QZ2011 {

class ScreenTutorial : public GameServices::Widget::BaseScreen<ScreenTutorial> {
public:
    static constexpr const char* kName = "ScreenTutorial";
    static constexpr u8 kIntroductionStep = 1;
    static constexpr u8 kFadeOutStep = 3;
    static constexpr u8 kLastStep = 9;
    static constexpr const char* kDecades[4] = {"70", "80", "90", "00"};
    static constexpr const char* kPageWords[4] = {"FaceOff", "SurveyGame", "300Pts", "FastMoney"};
    // The widgets the screen binds: the logo, then per decade its panel and reflection, then
    // per rule page (kPageWords) the page and its reflection.
    static constexpr const char* kWidgets[17] = {
        "TutorialLogo",
        "TutorialDecade70", "TutorialDecade70Reflection", "TutorialDecade80", "TutorialDecade80Reflection",
        "TutorialDecade90", "TutorialDecade90Reflection", "TutorialDecade00", "TutorialDecade00Reflection",
        "TutorialFaceOff", "TutorialFaceOffReflection", "TutorialSurveyGame", "TutorialSurveyGameReflection",
        "Tutorial300Pts", "Tutorial300PtsReflection", "TutorialFastMoney", "TutorialFastMoneyReflection"};
    static constexpr const char* kFadeOutAnimation = "prsc_tutorial_fade_out_elements_prsc.anm";
    static constexpr const char* kLogoFadeIn = "prsc_decade_logo_fadein_prsc.anm";
    // Decade panels and their reflections, numbered 1 to 4.
    static constexpr const char* kPanelFadeIn = "prsc_decade_panel_0%d_prsc.anm";
    static constexpr const char* kReflectionFadeIn = "prsc_decade_reflect_0%d_prsc.anm";
    static constexpr const char* kPageAnimation = "prsc_tutorial_prsc.anm";
    static constexpr const char* kPageReflectionAnimation = "prsc_reflect_prsc.anm";
    // The survey page's reflection, numbered by decade from 1 for the 70s.
    static constexpr const char* kSurveyReflectionImage = "Tutorial_2%d_Reflection.png";

    ScreenTutorial() : BaseScreen<ScreenTutorial>(kName) { m_LayoutFile = kName; }
    ~ScreenTutorial() override;

    // Binds and hides every element, gives the survey page's reflection the chosen decade's
    // picture, takes the window callbacks and starts the introduction unless it runs already.
    void onLoad() override;
    void Process(u32 elapsedMs) override;
    // Gives the window callbacks back while they are still this screen's, then unloads.
    // The step stays.
    void onUnload() override;
    // The bindings go with the panels.
    void Reset() override;

    // The entry of the last step: fires the skip event.
    void FireSkip() { m_SkipEvent.Fire(); }
    // The application whose window callbacks the screen takes; the program's by default.
    void SetApplication(PCApplicationImpl* application) { m_Application = application; }
    // The window callbacks: the game resumes or pauses.
    static void OnWindowActivated(void* screen);
    static void OnWindowDeactivated(void* screen);

    // The step, 0 before the first load, then 1 to 9.
    u8 m_State = 0;
    // The narration last started.
    u32 m_FlowStep = 0;
    FHandler m_SkipEvent;

private:
    // m_State moves on and the new step's entry runs.
    void NextStep();
    void EnterStep();
    void StartIntroduction();
    void ShowStepPage();
    void StartFadeOut();
    // The fade-out has ended: every introduction element that finished is hidden; true when
    // all of them are.
    bool HideFadedElements();
    // The narration of the step has ended (at once without one).
    bool NarrationEnded() const;
    void PlayAndShow(GameServices::Widget::Widget* widget, const char* animation);
    void PlayNarration(u32 step);
    void ReleaseWindowCallbacks();
    PCApplicationImpl* Application() const;

    PCApplicationImpl* m_Application = nullptr;
    bool m_CallbacksInstalled = false;
    GameServices::Widget::Widget* m_Logo = nullptr;
    GameServices::Widget::Widget* m_DecadePanels[4] = {};
    GameServices::Widget::Widget* m_DecadeReflections[4] = {};
    GameServices::Widget::Widget* m_Pages[4] = {};
    GameServices::Widget::Widget* m_PageReflections[4] = {};
};

}  // namespace QZ2011
