#include "gameshow/NumberOfPlayerComposition.h"

#include "engine/core/AGLog.h"
#include "gameservices/entities/Character.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::KorvoGame::DeviceManager;
using GameServices::KorvoGame::TeamActionManager;
using GameServices::Widget::Panel;
using GameServices::Widget::Widget;
using GameServices::Widget::kEventClick;

NumberOfPlayerComposition::~NumberOfPlayerComposition() {
    NumberOfPlayerComposition::Uninitialize();
}

GameServices::Widget::ScreenManager& NumberOfPlayerComposition::Screens() const {
    return m_Screens ? *m_Screens : GameServices::Widget::ScreenManager::Instance();
}

void NumberOfPlayerComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    Panel* root = m_RootPanel && m_RootPanel->IsA(GameServices::Widget::TypeIds::Panel)
                      ? static_cast<Panel*>(m_RootPanel)
                      : nullptr;
    const struct {
        const char* name;
        const char* reportName;
        Widget** widget;
        IDelegate* delegate;
    } buttons[] = {
        {kWidgets[0], kWidgets[0], &m_TwoButton, &m_TwoDelegate},
        {kWidgets[1], kWidgets[1], &m_ThreeButton, &m_ThreeDelegate},
        {kWidgets[2], kWidgets[2], &m_FourButton, &m_FourDelegate},
        {CompositionManager::kSharedWidgets[2], "Wardrobe Button", &m_WardrobeButton, &m_WardrobeDelegate},
        {kWidgets[3], "Back Button", &m_BackButton, &m_BackDelegate},
    };
    for (const auto& button : buttons) {
        *button.widget = root ? Widget::FindChild(button.name, root) : nullptr;
        if (*button.widget)
            (*button.widget)->AddEventDelegate(kEventClick, button.delegate);
        else
            AGReport("can not find %s", button.reportName);
    }
    Screens().SetPopupButtonCallback(kWaitPopup, kWaitBackButton, &m_WaitingBackDelegate);
    m_PopupBound = Screens().FindPopup(kWaitPopup) != nullptr;
    OnScreenEnter();
}

void NumberOfPlayerComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    const std::pair<Widget**, IDelegate*> buttons[] = {{&m_TwoButton, &m_TwoDelegate},
                                                        {&m_ThreeButton, &m_ThreeDelegate},
                                                        {&m_FourButton, &m_FourDelegate},
                                                        {&m_WardrobeButton, &m_WardrobeDelegate},
                                                        {&m_BackButton, &m_BackDelegate}};
    for (const auto& [widget, delegate] : buttons) {
        if (*widget)
            (*widget)->RemoveEventDelegate(kEventClick, delegate);
        *widget = nullptr;
    }
    if (m_PopupBound)
        Screens().ClearPopupButtonCallback(kWaitPopup, kWaitBackButton);
    m_PopupBound = false;
    SetWaiting(false);
}

void NumberOfPlayerComposition::OnActivate(bool show) {
    OnActivateWithProfileBar(show);
}

void NumberOfPlayerComposition::OnTwoPlayersClick() {
    ChooseCount(2);
}

void NumberOfPlayerComposition::OnThreePlayersClick() {
    ChooseCount(3);
}

void NumberOfPlayerComposition::OnFourPlayersClick() {
    ChooseCount(4);
}

void NumberOfPlayerComposition::ChooseCount(i32 count) {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    m_FirstRequiredDevice = 1;
    m_PlayerCount = count;
    if (DeviceManager* devices = DeviceManager::Get())
        devices->SetDeviceRange(1, u32(count));
    TryStart();
}

void NumberOfPlayerComposition::TryStart() {
    DeviceManager* devices = DeviceManager::Get();
    if (!devices) {
        AGReport("There is no device manager to count the players' devices");
        return;
    }
    for (i32 device = m_FirstRequiredDevice; device < m_PlayerCount; ++device) {
        if (!devices->IsConnected(device)) {
            SetWaiting(true);
            Screens().ShowPopup(kWaitPopup);
            return;
        }
    }
    SetWaiting(false);
    devices->SetDeviceRange(u32(m_PlayerCount), u32(m_PlayerCount));
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    profiles->SetPlayerCount(u32(m_PlayerCount));
    if (GameServices::Entities::Character* avatar = profiles->FindAvatarCharacter(profiles->GetAvatarName())) {
        avatar->SetVisible(false);
        avatar->Synchronize = false;
    }
    GetManager().SetNextComposition(this, kNextPage);
}

void NumberOfPlayerComposition::SetWaiting(bool waiting) {
    if (waiting == m_Waiting)
        return;
    m_Waiting = waiting;
    if (waiting) {
        TeamActionManager::GetFreeDeviceConnectedEvent().AddDelegate(&m_DeviceDelegate);
        TeamActionManager::GetMemberDeviceLostEvent().AddDelegate(&m_MemberDelegate);
    } else {
        TeamActionManager::GetFreeDeviceConnectedEvent().RemoveDelegate(&m_DeviceDelegate);
        TeamActionManager::GetMemberDeviceLostEvent().RemoveDelegate(&m_MemberDelegate);
    }
}

void NumberOfPlayerComposition::OnDeviceChanged(GameServices::Bridge::DeviceInfos& /*infos*/) {
    if (!m_Waiting)
        return;
    Screens().HidePopup(kWaitPopup);
    TryStart();
}

void NumberOfPlayerComposition::OnMemberRemoved(GameServices::Entities::BaseTeamMember* /*member*/) {
    if (!m_Waiting)
        return;
    Screens().HidePopup(kWaitPopup);
    TryStart();
}

void NumberOfPlayerComposition::OnWaitingBack() {
    // Only the wait this page started: the popup may have been shown by someone else.
    if (!m_Waiting)
        return;
    SetWaiting(false);
    if (DeviceManager* devices = DeviceManager::Get())
        devices->SetDeviceRange(u32(m_FirstRequiredDevice), u32(m_FirstRequiredDevice));
}

void NumberOfPlayerComposition::OnWardrobeClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().m_ReturnComposition = kName;
    GetManager().SetNextComposition(this, CompositionManager::kWardrobe);
}

}  // namespace GameShow
