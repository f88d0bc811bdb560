#pragma once
// The first page of the menus: play, profiles, options, awards, wardrobe and exit; the menu
// avatar in the current profile's look (a default look before there is a profile); and,
// while the menus run, the application's window callbacks: a quit prompt before the window
// may close, a pause while the window has lost the focus.
#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameshow/CompositionBase.h"

class PCApplicationImpl;

namespace GameServices::KorvoGame {
class ICurrentGame;
}

namespace GameServices::Widget {
class ScreenManager;
}

namespace GameShow {

class MainMenuComposition : public CompositionBase {
public:
    static constexpr const char* kQuitPopup = "VerifyQuit";
    // The widgets under the page's root panel: play, profiles, options, exit, awards (optional).
    static constexpr const char* kWidgets[] = {"singlePlayerButton", "profileButton", "optionsButton", "exitButton",
                                               "awardsButton"};
    // The look of the menu avatar while there is no profile.
    static constexpr const char* kDefaultLook = "AppearanceMale02.xml";

    MainMenuComposition() = default;
    ~MainMenuComposition() override;

    // Buttons, window callbacks, the quit listeners, the menu avatar; the page starts hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // Unbinds everything Initialize bound; a window callback another owner installed since
    // is left alone.
    void Uninitialize() override;
    // Showing also shows the profile bar and the menu avatar.
    void OnActivate(bool show) override;
    // Shown when there is a current or chosen profile; listens to the shared wardrobe button.
    void OnScreenEnter() override;

    // Button handlers (each ignores a click while the page takes no input).
    void onPlayClick();
    void OnOptionsClick();
    void OnProfilesClick();
    void OnWardrobeClick();
    void OnAwardsClick();
    void OnExitClick();

    // The window's close message: shows the quit prompt until the player confirmed it; the
    // window closes only when this returns true.
    bool OnCloseRequest();
    // Resumes unless the quit prompt or an in-game popup is up.
    void OnWindowActivated();
    void OnWindowDeactivated();
    void OnQuitConfirmed();
    void OnQuitCancelled();

    // The level that play starts.
    void SetNextLevel(const TString<char>& name) { m_NextLevel = name; }
    const TString<char>& GetNextLevel() const { return m_NextLevel; }

    bool HasAwardsButton() const { return m_HasAwardsButton; }
    bool IsQuitConfirmed() const { return m_QuitConfirmed; }
    bool IsQuitPromptShown() const { return m_QuitPromptShown; }

    // The services the page works through; null means the running game's. For tests.
    void SetApplication(PCApplicationImpl* application) { m_Application = application; }
    void SetGame(GameServices::KorvoGame::ICurrentGame* game) { m_Game = game; }
    void SetScreens(GameServices::Widget::ScreenManager* screens) { m_Screens = screens; }

protected:
    // The click delegate of the play button (a game's own page replaces it).
    FDelegate<MainMenuComposition> m_PlayDelegate{this, &MainMenuComposition::onPlayClick};
    GameServices::Widget::Widget* m_PlayButton = nullptr;

    GameServices::Widget::ScreenManager& Screens() const;

private:
    static bool CloseTrampoline(void* page);
    static void ActivatedTrampoline(void* page);
    static void DeactivatedTrampoline(void* page);

    PCApplicationImpl* Application() const;
    GameServices::KorvoGame::ICurrentGame* Game() const;
    void ShowQuitPrompt();
    // The current profile's look on the menu avatar, else the default look.
    void DressMenuAvatar();
    // The settings' current slot, -1 without a document.
    static i32 CurrentSlot();

    FDelegate<MainMenuComposition> m_OptionsDelegate{this, &MainMenuComposition::OnOptionsClick};
    FDelegate<MainMenuComposition> m_ProfilesDelegate{this, &MainMenuComposition::OnProfilesClick};
    FDelegate<MainMenuComposition> m_WardrobeDelegate{this, &MainMenuComposition::OnWardrobeClick};
    FDelegate<MainMenuComposition> m_AwardsDelegate{this, &MainMenuComposition::OnAwardsClick};
    FDelegate<MainMenuComposition> m_ExitDelegate{this, &MainMenuComposition::OnExitClick};
    FDelegate<MainMenuComposition> m_QuitConfirmedDelegate{this, &MainMenuComposition::OnQuitConfirmed};
    FDelegate<MainMenuComposition> m_QuitCancelledDelegate{this, &MainMenuComposition::OnQuitCancelled};
    GameServices::Widget::Widget* m_ProfileButton = nullptr;
    GameServices::Widget::Widget* m_OptionsButton = nullptr;
    GameServices::Widget::Widget* m_AwardsButton = nullptr;
    GameServices::Widget::Widget* m_ExitButton = nullptr;
    // The shared wardrobe button this page listens to; it goes with the menu screen.
    GameServices::Widget::Widget* m_ListenedWardrobeButton = nullptr;
    TString<char> m_NextLevel;
    bool m_HasAwardsButton = false;
    bool m_QuitConfirmed = false;
    bool m_QuitPromptShown = false;
    bool m_CallbacksInstalled = false;

    PCApplicationImpl* m_Application = nullptr;
    GameServices::KorvoGame::ICurrentGame* m_Game = nullptr;
    GameServices::Widget::ScreenManager* m_Screens = nullptr;
};

}  // namespace GameShow
