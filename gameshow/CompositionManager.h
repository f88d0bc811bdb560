#pragma once
// The menu pages by name and the switch between them: one page leaves with its hide
// transition, then the next one enters with its show transition. Also the widgets several
// pages share (player name and score, wardrobe button, tag panel) and the modal popups of
// the menus and of the match (the in-game menu with its return prompt), whose buttons become
// events that pages and the game listen to.
#include <map>
#include <vector>

#include "engine/core/AGVec3.h"
#include "engine/core/FDelegate.h"
#include "engine/core/FHandler.h"
#include "engine/core/TString.h"
#include "gameservices/game/IModule.h"

namespace GameServices::Entities {
class BaseTeamMember;
}

namespace GameServices::KorvoGame {
class TeamRegistry;
}

namespace GameServices::Widget {
class Popup;
class Screen;
class ScreenManager;
class Widget;
}  // namespace GameServices::Widget

namespace GameShow {

class CompositionBase;

class CompositionManager : public GameServices::KorvoGame::IModule {
public:
    // Popup states of the in-game menu; any other value (before LoadPopups) keeps the toggle
    // inert.
    static constexpr i32 kPopupMenu = 0;
    static constexpr i32 kPopupReturnPrompt = 1;
    static constexpr i32 kPopupNone = 2;
    static constexpr i32 kPopupNotReady = -1;

    static constexpr const char* kPopupsFile = "GameShowPopUps.xml";
    static constexpr const char* kMainMenu = "compositionMainMenu";
    static constexpr const char* kWardrobe = "compositionWardrobe";
    // The widgets shared by the pages, found under the menu screen's root panel.
    static constexpr const char* kSharedWidgets[] = {"playerName", "playerScore", "WardrobeButton", "TagPanel"};
    static constexpr const char* kInGameMenu = "InGameMenu";
    static constexpr const char* kInGameReturnPrompt = "InGameReturnPrompt";
    // The popups of the popups file and the option buttons the manager answers, in binding order.
    struct PopupButton {
        const char* popup;
        const char* button;
    };
    static constexpr PopupButton kPopupButtons[] = {
        {kInGameMenu, "ResumeGame"},          {kInGameMenu, "ReturnMainMenu"},   {kInGameReturnPrompt, "Confirm"},
        {kInGameReturnPrompt, "Cancel"},      {"VerifyProfileDelete", "Confirm"}, {"VerifyProfileDelete", "Cancel"},
        {"PlayerNameNotAvailable", "Confirm"}, {"VerifyQuit", "Confirm"},          {"VerifyQuit", "Cancel"},
    };

    // Byte-wise name order, a prefix first.
    using PageMap = std::map<TString<char>, CompositionBase*>;

    // The game's manager: made on first use, kept for the run.
    static CompositionManager& Instance();

    // Popups go through `screens` (the game's screen manager when null).
    explicit CompositionManager(GameServices::Widget::ScreenManager* screens = nullptr);
    ~CompositionManager() override;
    CompositionManager(const CompositionManager&) = delete;
    CompositionManager& operator=(const CompositionManager&) = delete;

    // The page switch step, then every visible page's Update.
    void Update(u32 elapsedMs) override;
    // Lets the entering and the leaving page's slides go and forgets both.
    void Reset() override;
    bool IsPausable() const override { return true; }

    // Names the page and stores it (borrowed) under the name; a null page is reported and
    // not stored.
    void RegisterComposition(const TString<char>& name, CompositionBase* page);
    // Forgets the page of that name when it is this page (its owner is going).
    void UnregisterComposition(const TString<char>& name, const CompositionBase* page);
    // Null for a name no page is registered under; never adds an entry.
    CompositionBase* FindComposition(const TString<char>& name) const;
    CompositionBase* operator[](const TString<char>& name) const { return FindComposition(name); }
    const PageMap& GetCompositions() const { return m_Pages; }

    // The menu screen loaded: finds the shared widgets under its root panel, keeps the tag
    // panel's and the wardrobe button's layout positions, then InitializeCompositions.
    void Initialize(GameServices::Widget::Screen* menuScreen);
    // Each page in map order, with the screen's root panel and its map key.
    void InitializeCompositions();
    void UninitializeCompositions();
    void NotifyScreenEnter();

    // The page-switch request of every page handler: ignored while `from` is already
    // leaving, else `from` starts its hide transition and `name` enters after it.
    void SetNextComposition(CompositionBase* from, const TString<char>& name);
    CompositionBase* GetEnteringComposition() const { return m_Entering; }
    CompositionBase* GetLeavingComposition() const { return m_Leaving; }
    const TString<char>& GetNextCompositionName() const { return m_NextComposition; }

    // Reads the game-show popups and binds their nine buttons; the popup state becomes none.
    void LoadPopups();
    // The in-game menu key: opens the in-game menu, or closes it or its return prompt.
    void ToggleInGameMenu();
    // The lock flag of every connected member of the players' team, in member order.
    void SaveCursorLocks();
    // The first member unlocked, every other connected member locked.
    void LockSecondaryCursors();
    // The k-th connected member gets the k-th saved flag; members past the saved flags keep
    // their own.
    void RestoreCursorLocks();
    // The players' team comes from the running game unless set here.
    void SetTeamRegistry(GameServices::KorvoGame::TeamRegistry* registry) { m_Registry = registry; }

    // The shared name label and the score: "$" and the digits grouped by "," as money, else
    // the signed decimal. A missing label is skipped.
    void SetPlayerInfo(const TString<char>& name, u32 score, bool asMoney);
    static TString<char> FormatScore(u32 score, bool asMoney);

    // Popup state (kPopup...), read and written by the in-game screen.
    i32 m_PopupState = kPopupNotReady;
    // The in-game menu popup opened by the toggle; borrowed.
    GameServices::Widget::Popup* m_ShownPopup = nullptr;
    // -1 until the toggle first passes its guard, then 0.
    i32 m_ToggleGate = -1;
    std::vector<u8> m_SavedCursorLocks;

    // True when a modal popup of the menus opens, false when the in-game menu closes.
    FHandlerParam<bool> PopupVisibilityChanged;
    FHandler ReturnToMainMenuConfirmed;
    FHandler ProfileDeleteConfirmed;
    FHandler QuitConfirmed;
    FHandler QuitCancelled;

    // The page that opened the wardrobe; the wardrobe page goes back to it.
    TString<char> m_ReturnComposition;

    // The shared widgets of the menu screen; null when missing. Borrowed.
    GameServices::Widget::Widget* m_PlayerNameLabel = nullptr;
    GameServices::Widget::Widget* m_PlayerScoreLabel = nullptr;
    GameServices::Widget::Widget* m_WardrobeButton = nullptr;
    GameServices::Widget::Widget* m_TagPanel = nullptr;
    AGVec2 m_TagPanelPosition{0.0f, 0.0f};
    AGVec2 m_WardrobeButtonPosition{0.0f, 0.0f};

private:
    GameServices::Widget::ScreenManager& Screens() const;
    // The players' team members, or none.
    std::vector<GameServices::Entities::BaseTeamMember*> TeamMembers() const;
    // Shows the popup; its name is reported by the screen manager when not registered.
    GameServices::Widget::Popup* ShowPopup(const char* name);
    void HidePopup(const char* name);

    void OnResumeGame();
    void OnReturnToMainMenu();
    void OnReturnConfirmed();
    void OnReturnCancelled();
    void OnProfileDeleteConfirmed();
    void OnPopupDismissed();
    void OnQuitConfirmed();
    void OnQuitCancelled();

    GameServices::Widget::ScreenManager* m_Screens;
    GameServices::KorvoGame::TeamRegistry* m_Registry = nullptr;
    GameServices::Widget::Screen* m_Screen = nullptr;
    CompositionBase* m_Entering = nullptr;
    CompositionBase* m_Leaving = nullptr;
    PageMap m_Pages;
    TString<char> m_NextComposition;

    FDelegate<CompositionManager> m_ResumeGame{this, &CompositionManager::OnResumeGame};
    FDelegate<CompositionManager> m_ReturnToMainMenu{this, &CompositionManager::OnReturnToMainMenu};
    FDelegate<CompositionManager> m_ReturnConfirmed{this, &CompositionManager::OnReturnConfirmed};
    FDelegate<CompositionManager> m_ReturnCancelled{this, &CompositionManager::OnReturnCancelled};
    FDelegate<CompositionManager> m_ProfileDeleteConfirmed{this, &CompositionManager::OnProfileDeleteConfirmed};
    FDelegate<CompositionManager> m_ProfileDeleteCancelled{this, &CompositionManager::OnPopupDismissed};
    FDelegate<CompositionManager> m_NameNotAvailableConfirmed{this, &CompositionManager::OnPopupDismissed};
    FDelegate<CompositionManager> m_QuitConfirmed{this, &CompositionManager::OnQuitConfirmed};
    FDelegate<CompositionManager> m_QuitCancelled{this, &CompositionManager::OnQuitCancelled};
};

}  // namespace GameShow
