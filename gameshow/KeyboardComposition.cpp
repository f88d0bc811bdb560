#include "gameshow/KeyboardComposition.h"

#include "engine/core/AGLog.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameshow/BasicLookComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PageButtons.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::Widget::Panel;
using GameServices::Widget::SoftKeyboard;
using GameServices::Widget::Widget;
namespace TypeIds = GameServices::Widget::TypeIds;

const TString<char> KeyboardComposition::kPlaceholder = " ";

KeyboardComposition::~KeyboardComposition() {
    Uninitialize();
}

void KeyboardComposition::SetMaxNameLength(u32 length) {
    m_MaxNameLength = length;
    if (m_Keyboard)
        m_Keyboard->m_MaxEntryTextChar = length;
}

void KeyboardComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    Panel* root = m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
    Widget* keyboard = root ? Widget::FindChild(kWidgets[0], root) : nullptr;
    if (keyboard && keyboard->IsA(TypeIds::SoftKeyboard)) {
        m_Keyboard = static_cast<SoftKeyboard*>(keyboard);
        m_Keyboard->m_MaxEntryTextChar = m_MaxNameLength;
        m_Keyboard->m_KeyboardBehavior.m_TextChangedEvent.AddDelegate(&m_TextDelegate);
    } else {
        AGReport("can not find softkeyboard");
    }
    m_BackButton = root ? Widget::FindChild(kWidgets[1], root) : nullptr;
    if (m_BackButton)
        m_BackButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    else
        AGReport("can not find BackButton");
    m_DoneButton = root ? Widget::FindChild(kWidgets[2], root) : nullptr;
    if (m_DoneButton)
        m_DoneButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_DoneDelegate);
    else
        AGReport("can not find DoneButton");
    OnScreenEnter();
}

void KeyboardComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    if (m_Keyboard)
        m_Keyboard->m_KeyboardBehavior.m_TextChangedEvent.RemoveDelegate(&m_TextDelegate);
    if (m_BackButton)
        m_BackButton->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    if (m_DoneButton)
        m_DoneButton->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_DoneDelegate);
    m_Keyboard = nullptr;
    m_BackButton = nullptr;
    m_DoneButton = nullptr;
}

void KeyboardComposition::OnActivate(bool show) {
    CompositionBase::OnActivate(show);
    if (!show)
        return;
    ParkSharedWidgets(GetManager());
    if (m_Keyboard) {
        m_Keyboard->SetText(kPlaceholder);
        m_Keyboard->m_ReplaceOnType = 1;
    }
    SetButtonUsable(m_DoneButton, false);
}

TString<char> KeyboardComposition::TrimTrailingSpaces(const TString<char>& text) {
    u32 length = text.Length();
    while (length > 0 && text.c_str()[length - 1] == ' ')
        --length;
    return TString<char>(text.c_str(), length);
}

void KeyboardComposition::OnBackClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, BasicLookComposition::kName);
}

void KeyboardComposition::OnTextChanged() {
    if (!m_Keyboard)
        return;
    const TString<char> text = m_Keyboard->GetEnteredText();
    if (!text.IsEmpty() && text.c_str()[0] == ' ')
        m_Keyboard->SetText(TString<char>());
    SetButtonUsable(m_DoneButton, !m_Keyboard->GetEnteredText().IsEmpty());
}

void KeyboardComposition::OnDoneClick() {
    if (!AcceptsInput() || !m_Keyboard)
        return;
    PlayButtonSound();
    const TString<char> name = TrimTrailingSpaces(m_Keyboard->GetEnteredText());
    // "DoneButton" is disabled while there is no text; a name of spaces alone never names
    // a profile.
    if (name.IsEmpty())
        return;
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    for (PlayerProfile* loaded : profiles.GetLoadedProfiles()) {
        if (loaded && loaded->SavedGameName == name) {
            GetManager().PopupVisibilityChanged.Fire(true);
            GameServices::Widget::ScreenManager::Instance().ShowPopup(kNameTakenPopup);
            return;
        }
    }
    const GameServices::KorvoGame::Appearance* look = profiles.GetAvatarAppearance();
    if (!look) {
        AGReport("can not find %s: no look for the new profile", profiles.GetAvatarName().c_str());
        return;
    }
    // Every slot used: nothing is created or selected and the page stays.
    PlayerProfile* profile = profiles.CreateProfile(*look, name);
    if (!profile) {
        AGReport("No free profile slot for %s", name.c_str());
        return;
    }
    profile->SavedGameName = name;
    GetManager().SetPlayerInfo(profile->SavedGameName, profile->Score, true);
    profiles.AddLoadedProfile(profile);
    profiles.SelectProfile(profile->Id);
    GetManager().SetNextComposition(this, CompositionManager::kMainMenu);
}

}  // namespace GameShow
