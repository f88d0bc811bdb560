#include "gameshow/MainMenuComposition.h"

#include "engine/core/AGApplication.h"
#include "engine/core/AGLog.h"
#include "engine/core/PCApplicationImpl.h"
#include "gameservices/entities/Character.h"
#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/OptionsComposition.h"
#include "gameshow/PlayerProfileManager.h"
#include "gameshow/ProfilesComposition.h"

namespace GameShow {

using GameServices::Widget::Panel;
using GameServices::Widget::Widget;
namespace KG = GameServices::KorvoGame;

MainMenuComposition::~MainMenuComposition() {
    // The application must not call a page that is gone.
    if (m_CallbacksInstalled)
        MainMenuComposition::Uninitialize();
}

PCApplicationImpl* MainMenuComposition::Application() const {
    if (m_Application)
        return m_Application;
    return dynamic_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl());
}

KG::ICurrentGame* MainMenuComposition::Game() const { return m_Game ? m_Game : KG::ICurrentGame::Get(); }

GameServices::Widget::ScreenManager& MainMenuComposition::Screens() const {
    return m_Screens ? *m_Screens : GameServices::Widget::ScreenManager::Instance();
}

i32 MainMenuComposition::CurrentSlot() {
    Settings* settings = PlayerProfileManager::Instance()->GetSettings();
    return settings ? settings->CurrentSavedGame : -1;
}

bool MainMenuComposition::CloseTrampoline(void* page) {
    return static_cast<MainMenuComposition*>(page)->OnCloseRequest();
}

void MainMenuComposition::ActivatedTrampoline(void* page) { static_cast<MainMenuComposition*>(page)->OnWindowActivated(); }

void MainMenuComposition::DeactivatedTrampoline(void* page) {
    static_cast<MainMenuComposition*>(page)->OnWindowDeactivated();
}

void MainMenuComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    // Buttons are looked up below the page's own panel.
    auto find = [this](const char* buttonName, bool required) -> Widget* {
        Widget* button = nullptr;
        if (m_RootPanel && m_RootPanel->IsA(GameServices::Widget::TypeIds::Panel))
            button = Widget::FindChild(buttonName, static_cast<Panel*>(m_RootPanel));
        if (!button && required)
            AGReport("can not find %s", buttonName);
        return button;
    };
    m_PlayButton = find(kWidgets[0], true);
    m_ProfileButton = find(kWidgets[1], true);
    m_OptionsButton = find(kWidgets[2], true);
    m_ExitButton = find(kWidgets[3], true);
    Listen(m_PlayButton, &m_PlayDelegate);
    Listen(m_ProfileButton, &m_ProfilesDelegate);
    Listen(m_OptionsButton, &m_OptionsDelegate);
    Listen(m_ExitButton, &m_ExitDelegate);
    if (PCApplicationImpl* application = Application()) {
        application->SetCloseCallback(this, &MainMenuComposition::CloseTrampoline);
        application->SetActivatedCallback(this, &MainMenuComposition::ActivatedTrampoline);
        application->SetDeactivatedCallback(this, &MainMenuComposition::DeactivatedTrampoline);
        m_CallbacksInstalled = true;
    }
    CompositionManager& manager = GetManager();
    manager.QuitConfirmed.AddDelegate(&m_QuitConfirmedDelegate);
    manager.QuitCancelled.AddDelegate(&m_QuitCancelledDelegate);
    m_AwardsButton = find(kWidgets[4], false);
    m_HasAwardsButton = m_AwardsButton != nullptr;
    Listen(m_AwardsButton, &m_AwardsDelegate);
    DressMenuAvatar();
    OnActivate(false);
}

void MainMenuComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    StopListening(m_PlayButton, &m_PlayDelegate);
    StopListening(m_ProfileButton, &m_ProfilesDelegate);
    StopListening(m_OptionsButton, &m_OptionsDelegate);
    StopListening(m_ExitButton, &m_ExitDelegate);
    if (m_HasAwardsButton)
        StopListening(m_AwardsButton, &m_AwardsDelegate);
    m_PlayButton = m_ProfileButton = m_OptionsButton = m_AwardsButton = m_ExitButton = nullptr;
    if (PCApplicationImpl* application = m_CallbacksInstalled ? Application() : nullptr)
        application->ReleaseWindowCallbacks(this);
    m_CallbacksInstalled = false;
    CompositionManager& manager = GetManager();
    manager.QuitConfirmed.RemoveDelegate(&m_QuitConfirmedDelegate);
    manager.QuitCancelled.RemoveDelegate(&m_QuitCancelledDelegate);
    StopListening(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    m_ListenedWardrobeButton = nullptr;
}

void MainMenuComposition::OnActivate(bool show) {
    OnActivateWithProfileBar(show);
    if (!show)
        return;
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    if (GameServices::Entities::Character* avatar = profiles->FindAvatarCharacter(profiles->GetAvatarName())) {
        avatar->SetVisible(true);
        avatar->Synchronize = false;
    }
}

void MainMenuComposition::OnScreenEnter() {
    OnActivate(CurrentSlot() != -1 || PlayerProfileManager::Instance()->IsProfileChosen());
    Widget* wardrobe = GetManager().m_WardrobeButton;
    // Once, however often the screen is entered.
    StopListening(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    Listen(wardrobe, &m_WardrobeDelegate);
    m_ListenedWardrobeButton = wardrobe;
}

void MainMenuComposition::DressMenuAvatar() {
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    const i32 slot = profiles->GetCurrentSlot();
    // Without a used current slot there is no profile to show: the default look.
    if (slot != -1) {
        profiles->ShowProfileOnAvatar(profiles->GetSlot(slot));
        return;
    }
    GameServices::Entities::Character* avatar = profiles->FindAvatarCharacter(PlayerProfileManager::kAvatarName);
    if (!avatar) {
        AGReport("There is no character %s to show the default look on", PlayerProfileManager::kAvatarName);
        return;
    }
    KG::CharacterManager* characters = KG::CharacterManager::Instance();
    if (!avatar->VolatileDatas.GetAppearance()) {
        KG::Appearance look;
        KG::AppearanceManager::Instance()->LoadAvatarDescription(kDefaultLook, look);
        if (characters->SetAppearance(*avatar, look))
            if (KG::IAvatarRendering* rendering = characters->GetAvatarRendering())
                rendering->InitializeAvatar(*avatar);
    }
    avatar->Activate = true;
    avatar->Initialize();
    avatar->SetVisible(true);
    avatar->Synchronize = false;
}

void MainMenuComposition::onPlayClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    profiles->ClearPlayers();
    // Without a current profile no player is mapped: nothing reads slot -1.
    if (const i32 slot = profiles->GetCurrentSlot(); slot != -1)
        profiles->AssignPlayer(0, slot);
    if (m_NextLevel.IsEmpty())
        AGReport("MainMenuComposition::onPlayClick -> The next level is not set !!! Did you forget to call "
                 "SetNextLevel(\"LevelName\") ?");
    KG::ICurrentGame* game = Game();
    KG::GameFlowManager* flow = game ? game->GetGameFlowManager() : nullptr;
    if (!flow)
        return;
    KG::LevelTransitionController* controller = flow->GetController();
    flow->SetNextLevel(m_NextLevel, controller ? controller->GetCurrent() : nullptr, true);
}

void MainMenuComposition::OnOptionsClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, OptionsComposition::kName);
}

void MainMenuComposition::OnProfilesClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, ProfilesComposition::kName);
}

void MainMenuComposition::OnAwardsClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, AwardsComposition::kName);
}

void MainMenuComposition::OnWardrobeClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().m_ReturnComposition = CompositionManager::kMainMenu;
    GetManager().SetNextComposition(this, CompositionManager::kWardrobe);
}

void MainMenuComposition::OnExitClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    ShowQuitPrompt();
}

void MainMenuComposition::ShowQuitPrompt() {
    GetManager().PopupVisibilityChanged.Fire(true);
    Screens().ShowPopup(kQuitPopup);
    m_QuitPromptShown = true;
}

bool MainMenuComposition::OnCloseRequest() {
    if (!m_QuitConfirmed)
        ShowQuitPrompt();
    return m_QuitConfirmed;
}

void MainMenuComposition::OnQuitConfirmed() {
    m_QuitConfirmed = true;
    if (PCApplicationImpl* application = Application())
        application->Quit();
}

void MainMenuComposition::OnQuitCancelled() { m_QuitPromptShown = false; }

void MainMenuComposition::OnWindowDeactivated() {
    if (KG::ICurrentGame* game = Game())
        game->SetPause(true);
}

void MainMenuComposition::OnWindowActivated() {
    const i32 popup = GetManager().m_PopupState;
    const bool inGamePopupUp =
        popup == CompositionManager::kPopupMenu || popup == CompositionManager::kPopupReturnPrompt;
    if (m_QuitPromptShown || inGamePopupUp)
        return;
    if (KG::ICurrentGame* game = Game())
        game->SetPause(false);
}

}  // namespace GameShow
