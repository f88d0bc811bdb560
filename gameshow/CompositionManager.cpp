#include "gameshow/CompositionManager.h"

#include <iterator>

#include "engine/core/AGLog.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionBase.h"

namespace GameShow {

using GameServices::Entities::BaseTeamMember;
using GameServices::Widget::Label;
using GameServices::Widget::Panel;
using GameServices::Widget::Popup;
using GameServices::Widget::ScreenManager;
using GameServices::Widget::Widget;
namespace TypeIds = GameServices::Widget::TypeIds;

namespace {

void ShowText(Widget* widget, const TString<char>& text) {
    if (widget->IsA(TypeIds::Label))
        static_cast<Label*>(widget)->SetText(text);
    else
        AGReport("SetPlayerInfo: %s is not a label", widget->Name.c_str());
}

}  // namespace

CompositionManager& CompositionManager::Instance() {
    static CompositionManager instance;
    return instance;
}

CompositionManager::CompositionManager(ScreenManager* screens) : m_Screens(screens) {}

CompositionManager::~CompositionManager() = default;

ScreenManager& CompositionManager::Screens() const {
    return m_Screens ? *m_Screens : ScreenManager::Instance();
}

void CompositionManager::RegisterComposition(const TString<char>& name, CompositionBase* page) {
    if (!page) {
        AGReport("CompositionManager: no page to register as %s", name.c_str());
        return;
    }
    page->SetName(name);
    page->SetManager(this);
    m_Pages[name] = page;
}

void CompositionManager::UnregisterComposition(const TString<char>& name, const CompositionBase* page) {
    const auto found = m_Pages.find(name);
    if (found == m_Pages.end() || found->second != page)
        return;
    if (m_Entering == page)
        m_Entering = nullptr;
    if (m_Leaving == page)
        m_Leaving = nullptr;
    m_Pages.erase(found);
}

CompositionBase* CompositionManager::FindComposition(const TString<char>& name) const {
    const auto found = m_Pages.find(name);
    return found == m_Pages.end() ? nullptr : found->second;
}

void CompositionManager::Update(u32 elapsedMs) {
    if (m_Entering) {
        if (!m_Entering->IsTransitionRunning()) {
            // Without its slide (no panel animation could be loaded) the page is shown as it
            // ends, so that it is not left hidden.
            Widget* root = m_Entering->GetRootPanel();
            if (root && !root->Visible)
                m_Entering->OnActivate(true);
            m_Entering->ReleaseAnimation();
            m_Entering = nullptr;
        } else if (!m_Entering->GetRootPanel()->Visible) {
            m_Entering->OnActivate(true);
        }
    } else if (m_Leaving && !m_Leaving->IsTransitionRunning()) {
        m_Leaving->OnActivate(false);
        m_Leaving->ReleaseAnimation();
        m_Leaving = nullptr;
        m_Entering = FindComposition(m_NextComposition);
        if (m_Entering)
            m_Entering->PlayShowAnimation();
        else
            AGReport("CompositionManager: no page named %s", m_NextComposition.c_str());
    }
    for (const auto& [name, page] : m_Pages) {
        Widget* root = page->GetRootPanel();
        if (root && root->Visible)
            page->Update(elapsedMs);
    }
}

void CompositionManager::Reset() {
    for (CompositionBase** page : {&m_Entering, &m_Leaving}) {
        if (*page)
            (*page)->ReleaseAnimation();
        *page = nullptr;
    }
}

void CompositionManager::Initialize(GameServices::Widget::Screen* menuScreen) {
    m_Screen = menuScreen;
    Panel* root = menuScreen ? menuScreen->m_RootPanel : nullptr;
    m_PlayerNameLabel = root ? Widget::FindChild(kSharedWidgets[0], root) : nullptr;
    m_PlayerScoreLabel = root ? Widget::FindChild(kSharedWidgets[1], root) : nullptr;
    m_WardrobeButton = root ? Widget::FindChild(kSharedWidgets[2], root) : nullptr;
    m_TagPanel = root ? Widget::FindChild(kSharedWidgets[3], root) : nullptr;
    if (m_TagPanel)
        m_TagPanelPosition = AGVec2{m_TagPanel->m_X, m_TagPanel->m_Y};
    if (m_WardrobeButton)
        m_WardrobeButtonPosition = AGVec2{m_WardrobeButton->m_X, m_WardrobeButton->m_Y};
    InitializeCompositions();
}

void CompositionManager::InitializeCompositions() {
    Panel* root = m_Screen ? m_Screen->m_RootPanel : nullptr;
    for (const auto& [name, page] : m_Pages)
        page->Initialize(root, name);
}

void CompositionManager::UninitializeCompositions() {
    for (const auto& [name, page] : m_Pages)
        page->Uninitialize();
    // The shared widgets go with the menu screen's panels.
    m_PlayerNameLabel = nullptr;
    m_PlayerScoreLabel = nullptr;
    m_WardrobeButton = nullptr;
    m_TagPanel = nullptr;
    m_Screen = nullptr;
}

void CompositionManager::NotifyScreenEnter() {
    for (const auto& [name, page] : m_Pages)
        page->OnScreenEnter();
}

void CompositionManager::SetNextComposition(CompositionBase* from, const TString<char>& name) {
    if (!from) {
        AGReport("CompositionManager: a switch to %s from no page", name.c_str());
        return;
    }
    if (from == m_Leaving)
        return;
    m_Leaving = from;
    from->PlaySlideAnimation();
    m_NextComposition = name;
}

void CompositionManager::LoadPopups() {
    m_PopupState = kPopupNone;
    ScreenManager& screens = Screens();
    screens.ReadPopupsFile(kPopupsFile);
    // The handlers of kPopupButtons, row by row.
    IDelegate* const handlers[std::size(kPopupButtons)] = {
        &m_ResumeGame,           &m_ReturnToMainMenu,       &m_ReturnConfirmed,
        &m_ReturnCancelled,      &m_ProfileDeleteConfirmed, &m_ProfileDeleteCancelled,
        &m_NameNotAvailableConfirmed, &m_QuitConfirmed,     &m_QuitCancelled,
    };
    for (size_t i = 0; i < std::size(kPopupButtons); ++i)
        screens.SetPopupButtonCallback(kPopupButtons[i].popup, kPopupButtons[i].button, handlers[i]);
}

Popup* CompositionManager::ShowPopup(const char* name) {
    return Screens().ShowPopup(TString<char>(name));
}

void CompositionManager::HidePopup(const char* name) {
    Screens().HidePopup(name);
}

void CompositionManager::ToggleInGameMenu() {
    if (m_PopupState != kPopupNone && m_ToggleGate != 0)
        return;
    m_ToggleGate = 0;
    switch (m_PopupState) {
    case kPopupNone:
        PopupVisibilityChanged.Fire(true);
        SaveCursorLocks();
        LockSecondaryCursors();
        m_ShownPopup = ShowPopup(kInGameMenu);
        m_PopupState = kPopupMenu;
        break;
    case kPopupMenu:
        RestoreCursorLocks();
        PopupVisibilityChanged.Fire(false);
        HidePopup(kInGameMenu);
        m_PopupState = kPopupNone;
        break;
    case kPopupReturnPrompt:
        RestoreCursorLocks();
        PopupVisibilityChanged.Fire(false);
        HidePopup(kInGameReturnPrompt);
        m_PopupState = kPopupNone;
        break;
    default:
        break;
    }
}

std::vector<BaseTeamMember*> CompositionManager::TeamMembers() const {
    GameServices::KorvoGame::TeamRegistry* registry = m_Registry;
    if (!registry)
        if (GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current())
            registry = game->GetTeamRegistry();
    GameServices::Entities::Team* team = registry ? registry->GetTeam() : nullptr;
    return team ? team->m_Members : std::vector<BaseTeamMember*>();
}

void CompositionManager::SaveCursorLocks() {
    m_SavedCursorLocks.clear();
    for (BaseTeamMember* member : TeamMembers())
        if (member && member->m_Active)
            m_SavedCursorLocks.push_back(member->m_Locked);
}

void CompositionManager::LockSecondaryCursors() {
    const std::vector<BaseTeamMember*> members = TeamMembers();
    for (size_t i = 0; i < members.size(); ++i) {
        BaseTeamMember* member = members[i];
        if (!member)
            continue;
        if (i == 0)
            member->SetLocked(false);
        else if (member->m_Active)
            member->SetLocked(true);
    }
}

void CompositionManager::RestoreCursorLocks() {
    size_t next = 0;
    for (BaseTeamMember* member : TeamMembers()) {
        if (!member || !member->m_Active)
            continue;
        if (next == m_SavedCursorLocks.size())
            break;
        member->SetLocked(m_SavedCursorLocks[next++] != 0);
    }
}

TString<char> CompositionManager::FormatScore(u32 score, bool asMoney) {
    if (!asMoney)
        return TString<char>::FromInt(static_cast<i32>(score));
    const TString<char> digits = TString<char>::FromUnsigned(score);
    TString<char> text = "$";
    const u32 length = digits.Length();
    for (u32 i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            text += ",";
        const char digit[2] = {digits[i], '\0'};
        text += digit;
    }
    return text;
}

void CompositionManager::SetPlayerInfo(const TString<char>& name, u32 score, bool asMoney) {
    if (m_PlayerNameLabel)
        ShowText(m_PlayerNameLabel, name);
    if (m_PlayerScoreLabel)
        ShowText(m_PlayerScoreLabel, FormatScore(score, asMoney));
}

void CompositionManager::OnResumeGame() {
    AudioManager::Instance().PlayButtonPress();
    RestoreCursorLocks();
    PopupVisibilityChanged.Fire(false);
    m_PopupState = kPopupNone;
}

void CompositionManager::OnReturnToMainMenu() {
    AudioManager::Instance().PlayButtonPress();
    m_PopupState = kPopupReturnPrompt;
    ShowPopup(kInGameReturnPrompt);
}

void CompositionManager::OnReturnConfirmed() {
    AudioManager::Instance().PlayButtonPress();
    m_PopupState = kPopupNone;
    RestoreCursorLocks();
    ReturnToMainMenuConfirmed.Fire();
}

void CompositionManager::OnReturnCancelled() {
    AudioManager::Instance().PlayButtonPress();
    m_PopupState = kPopupMenu;
    ShowPopup(kInGameMenu);
}

void CompositionManager::OnProfileDeleteConfirmed() {
    ProfileDeleteConfirmed.Fire();
}

void CompositionManager::OnPopupDismissed() {
    AudioManager::Instance().PlayButtonPress();
}

void CompositionManager::OnQuitConfirmed() {
    QuitConfirmed.Fire();
}

void CompositionManager::OnQuitCancelled() {
    AudioManager::Instance().PlayButtonPress();
    QuitCancelled.Fire();
}

}  // namespace GameShow
