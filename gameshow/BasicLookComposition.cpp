#include "gameshow/BasicLookComposition.h"

#include <cstdio>

#include "engine/core/AGLog.h"
#include "gameservices/entities/Character.h"
#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/PageButtons.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::Entities::Character;
using GameServices::Widget::Panel;
using GameServices::Widget::Widget;
namespace KG = GameServices::KorvoGame;
namespace TypeIds = GameServices::Widget::TypeIds;

BasicLookComposition::BasicLookComposition() {
    for (u32 k = 0; k < kLookCount; ++k) {
        m_LookDelegates[k].page = this;
        m_LookDelegates[k].look = i32(k);
    }
}

BasicLookComposition::~BasicLookComposition() {
    Uninitialize();
}

void BasicLookComposition::LookDelegate::Invoke() {
    page->OnLookClick(look);
}

void BasicLookComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    Panel* root = m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
    for (u32 k = 0; k < kLookCount; ++k) {
        const char* buttonName = kWidgets[k];
        m_LookButtons[k] = root ? Widget::FindChild(buttonName, root) : nullptr;
        if (m_LookButtons[k])
            m_LookButtons[k]->AddEventDelegate(GameServices::Widget::kEventClick, &m_LookDelegates[k]);
        else
            AGReport("can not find %s", buttonName);
    }
    m_DoneButton = root ? Widget::FindChild(kWidgets[kLookCount], root) : nullptr;
    if (m_DoneButton)
        m_DoneButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_DoneDelegate);
    else
        AGReport("can not find DoneButton");
    m_BackButton = root ? Widget::FindChild(kWidgets[kLookCount + 1], root) : nullptr;
    if (m_BackButton)
        m_BackButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    OnActivate(false);
}

void BasicLookComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    for (u32 k = 0; k < kLookCount; ++k) {
        if (m_LookButtons[k])
            m_LookButtons[k]->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_LookDelegates[k]);
        m_LookButtons[k] = nullptr;
    }
    if (m_DoneButton)
        m_DoneButton->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_DoneDelegate);
    if (m_BackButton)
        m_BackButton->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    m_DoneButton = m_BackButton = nullptr;
}

void BasicLookComposition::OnActivate(bool show) {
    CompositionBase::OnActivate(show);
    if (!show)
        return;
    ParkSharedWidgets(GetManager());
    ClearSelection();
    SetButtonUsable(m_DoneButton, false);
    // A first-time player has no profile to go back to.
    if (m_BackButton)
        m_BackButton->SetVisible(PlayerProfileManager::Instance()->GetCurrentSlot() != -1);
}

void BasicLookComposition::OnScreenEnter() {
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    const Settings* settings = profiles.GetSettings();
    const bool firstTime = (!settings || settings->CurrentSavedGame == -1) && !profiles.IsProfileChosen();
    OnActivate(firstTime);
}

void BasicLookComposition::ClearSelection() {
    m_SelectedLook = -1;
    for (Widget* button : m_LookButtons)
        SetButtonMarked(button, false);
}

void BasicLookComposition::SelectLook(i32 look) {
    if (look < 0 || look >= i32(kLookCount)) {
        AGReport("There is no look button %d", look);
        return;
    }
    if (look != m_SelectedLook) {
        for (Widget* button : m_LookButtons)
            SetButtonMarked(button, false);
        m_SelectedLook = look;
        DressAvatar(look);
    }
    SetButtonMarked(m_LookButtons[size_t(look)], true);
    SetButtonUsable(m_DoneButton, true);
}

void BasicLookComposition::DressAvatar(i32 look) {
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    const KG::Appearance appearance = profiles.GetDefaultLook(u32(look));
    Character* avatar = profiles.FindAvatarCharacter(PlayerProfileManager::kAvatarName);
    if (!avatar) {
        AGReport("can not find %s", PlayerProfileManager::kAvatarName);
        return;
    }
    KG::CharacterManager& characters = *KG::CharacterManager::Instance();
    characters.RemoveAppearance(*avatar);
    // Only the entity's own reset: the behaviour keeps its state, so a try in progress goes on
    // and the window after one still holds.
    avatar->Character::Reset();
    if (characters.SetAppearance(*avatar, appearance)) {
        if (KG::IAvatarRendering* rendering = characters.GetAvatarRendering())
            rendering->InitializeAvatar(*avatar);
    }
    avatar->Activate = true;
    avatar->Initialize();
    avatar->SetVisible(true);
    if (!avatar->IsA(MenuCharacter::kTypeId))
        return;
    BehaviorCharacter& behavior = static_cast<MenuCharacter*>(avatar)->GetBehaviorCharacter();
    if (behavior.RequestTry(kTryToken, kTryAction)) {
        behavior.breakQueued = false;
        avatar->Synchronize = false;
    }
}

void BasicLookComposition::OnLookClick(i32 look) {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    SelectLook(look);
}

void BasicLookComposition::OnDoneClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, kNextPage);
}

void BasicLookComposition::OnBackClick() {
    if (!AcceptsInput() || !m_BackButton || !m_BackButton->Visible)
        return;
    PlayButtonSound();
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    if (m_SelectedLook != -1) {
        if (Character* avatar = profiles.FindAvatarCharacter(PlayerProfileManager::kAvatarName)) {
            KG::CharacterManager::Instance()->RemoveAppearance(*avatar);
            avatar->Reset();
        }
        profiles.ShowProfileOnAvatar(profiles.GetSlot(profiles.GetCurrentSlot()));
        ClearSelection();
    }
    GetManager().SetNextComposition(this, kBackPage);
}

}  // namespace GameShow
