#pragma once
// A menu page ("composition"): one full-screen root panel of the menu screen, found by the
// page's name, shown and hidden through the composition manager's slide transitions.
#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"

class IDelegate;

namespace GameServices::Widget {
class Panel;
class Widget;
}  // namespace GameServices::Widget

namespace GameShow {

class CompositionManager;

class CompositionBase {
public:
    // The slide of every page transition: played forwards to show, rewound to hide.
    static constexpr const char* kSlideAnimation = "prsc_slide_windows_menu_scene_02_prsc.anm";
    // Where a hidden page's root panel is parked.
    static constexpr f32 kParkedPosition = 100000.0f;
    // Play-mode indexes of PRSCAnimation::Play.
    static constexpr u32 kPlayOnce = 1;
    static constexpr u32 kPlayRewind = 3;

    CompositionBase() = default;
    virtual ~CompositionBase() = default;
    CompositionBase(const CompositionBase&) = delete;
    CompositionBase& operator=(const CompositionBase&) = delete;

    // Pages first call FindRootPanel, then bind their widgets and handlers.
    virtual void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) = 0;
    // Forgets the root panel (pages also unbind their handlers and widgets).
    virtual void Uninitialize();
    // Every frame while the root panel is visible.
    virtual void Update(u32 elapsedMs);
    // Only when the root panel exists and its visibility differs from `show`: sets it, moves
    // the panel to the stored position (showing) or parks it, and clears its Synchronize.
    virtual void OnActivate(bool show);
    // When the menu screen is entered: hidden.
    virtual void OnScreenEnter();

    // Finds the root panel by name below the screen panel and stores its layout position;
    // a missing panel is reported and the page keeps none (the position stays).
    bool FindRootPanel(GameServices::Widget::Panel* screenPanel, const TString<char>& name);
    // The input guard of every button handler: the root panel exists, is visible and no
    // transition runs on it.
    bool AcceptsInput() const;
    // True while the root panel's slide plays; a page without a root panel or animation has
    // none running.
    bool IsTransitionRunning() const;
    // The click sound of every button handler.
    void PlayButtonSound() const;
    // Show transition: the slide once forwards. The page is not visible yet.
    void PlayShowAnimation();
    // Hide transition: the slide rewound from its end.
    void PlaySlideAnimation();
    // Lets the root panel's slide go (nothing without a root panel).
    void ReleaseAnimation();

    // The common back handler: guard, click sound, then a switch to the main menu.
    void OnBackToMainMenu();
    // The OnActivate body of the pages that show the profile bar: the base body, then, when
    // showing, the shared wardrobe button and tag panel back at their layout positions.
    void OnActivateWithProfileBar(bool show);

    GameServices::Widget::Widget* GetRootPanel() const { return m_RootPanel; }
    const AGVec2& GetStoredPosition() const { return m_Position; }
    const TString<char>& GetName() const { return m_Name; }
    // Set by the manager when the page is registered.
    void SetName(const TString<char>& name) { m_Name = name; }
    void SetManager(CompositionManager* manager) { m_Manager = manager; }
    // The manager the page was registered with, else the game's.
    CompositionManager& GetManager() const;

protected:
    // Adds or removes a delegate on one of a widget's events (0: the click); a missing widget
    // is skipped.
    static void Listen(GameServices::Widget::Widget* widget, IDelegate* delegate, u32 event = 0);
    static void StopListening(GameServices::Widget::Widget* widget, IDelegate* delegate, u32 event = 0);

    GameServices::Widget::Widget* m_RootPanel = nullptr;
    AGVec2 m_Position{0.0f, 0.0f};
    TString<char> m_Name;
    CompositionManager* m_Manager = nullptr;
};

}  // namespace GameShow
