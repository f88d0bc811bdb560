#include "game/presentation/screens/QZ11MainMenuComposition.h"

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::Entities::BaseTeamMember;
using GameServices::KorvoGame::DeviceManager;
using GameServices::KorvoGame::TeamActionManager;

QZ11MainMenuComposition::~QZ11MainMenuComposition() {
    // The device events and the popup outlive the page.
    if (m_Subscribed)
        QZ11MainMenuComposition::Uninitialize();
}

void QZ11MainMenuComposition::Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) {
    MainMenuComposition::Initialize(screenPanel, name);
    m_SinglePlayerButton = m_PlayButton;
    StopListening(m_SinglePlayerButton, &m_PlayDelegate);
    Listen(m_SinglePlayerButton, &m_SinglePlayerDelegate);
    TeamActionManager::GetFreeDeviceConnectedEvent().AddDelegate(&m_DeviceConnectedDelegate);
    TeamActionManager::GetMemberDeviceLostEvent().AddDelegate(&m_MemberLostDelegate);
    Screens().SetPopupButtonCallback(kWaitPopup, kWaitBackButton, &m_WaitingBackDelegate);
    m_Subscribed = true;
}

void QZ11MainMenuComposition::Uninitialize() {
    MainMenuComposition::Uninitialize();
    StopListening(m_SinglePlayerButton, &m_SinglePlayerDelegate);
    m_SinglePlayerButton = nullptr;
    if (!m_Subscribed)
        return;
    m_Subscribed = false;
    TeamActionManager::GetMemberDeviceLostEvent().RemoveDelegate(&m_MemberLostDelegate);
    TeamActionManager::GetFreeDeviceConnectedEvent().RemoveDelegate(&m_DeviceConnectedDelegate);
    Screens().ClearPopupButtonCallback(kWaitPopup, kWaitBackButton);
}

BaseTeamMember* QZ11MainMenuComposition::SecondMember() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    GameServices::KorvoGame::TeamRegistry* registry = context ? context->GetTeamRegistry() : nullptr;
    GameServices::Entities::Team* family = registry ? registry->GetTeam() : nullptr;
    if (!family || family->m_Members.size() < 2 || !family->m_Members[1]) {
        AGReport("QZ11MainMenuComposition: player one's family has no second member");
        return nullptr;
    }
    return family->m_Members[1];
}

void QZ11MainMenuComposition::onSinglePlayerClicked() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    if (QZ2011GameContext* context = QZ2011GameContext::Current())
        context->m_TwoPlayers = 0;
    if (BaseTeamMember* member = SecondMember()) {
        member->m_Computer = 1;
        member->m_Active = 1;
        // The match mode makes a computer player for a member with both flags.
        member->m_ComputerPlay = member->m_ComputerPlay2 = 1;
    }
    GetManager().SetNextComposition(this, kDecadePage);
}

void QZ11MainMenuComposition::onDeviceEvent(GameServices::Bridge::DeviceInfos& /*infos*/) {
    OnDeviceChange();
}

void QZ11MainMenuComposition::onDeviceEvent(BaseTeamMember* /*member*/) {
    OnDeviceChange();
}

void QZ11MainMenuComposition::OnDeviceChange() {
    if (!m_WaitingForDevice)
        return;
    Screens().HidePopup(kWaitPopup);
    StartTwoPlayerGame();
}

void QZ11MainMenuComposition::onWaitingBackClicked() {
    PlayButtonSound();
    m_WaitingForDevice = false;
    if (DeviceManager* devices = DeviceManager::Get())
        devices->SetDeviceRange(m_FirstCheckedDevice, m_FirstCheckedDevice);
}

void QZ11MainMenuComposition::StartTwoPlayerGame() {
    DeviceManager* devices = DeviceManager::Get();
    if (!devices) {
        AGReport("QZ11MainMenuComposition: no device manager for a two-player game");
        return;
    }
    for (u32 device = m_FirstCheckedDevice; device < m_RequiredDevices; ++device) {
        if (!devices->IsConnected(i32(device))) {
            m_WaitingForDevice = true;
            Screens().ShowPopup(kWaitPopup);
            return;
        }
    }
    m_WaitingForDevice = false;
    devices->SetDeviceRange(m_RequiredDevices, m_RequiredDevices);
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    if (GameServices::Entities::Character* avatar = profiles->FindAvatarCharacter(profiles->GetAvatarName())) {
        avatar->SetVisible(false);
        avatar->Synchronize = false;
    }
    if (QZ2011GameContext* context = QZ2011GameContext::Current())
        context->m_TwoPlayers = 1;
    if (BaseTeamMember* member = SecondMember()) {
        member->m_Computer = member->m_ComputerPlay = member->m_ComputerPlay2 = 0;
        member->SetActive(true);
    }
    profiles->SetPlayerCount(1);
    GetManager().SetNextComposition(this, kDecadePage);
}

}  // namespace GameShow
