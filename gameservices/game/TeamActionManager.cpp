#include "gameservices/game/TeamActionManager.h"

#include <algorithm>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/IPopupService.h"

namespace GameServices::KorvoGame {

using Bridge::DeviceInfos;
using Entities::BaseTeamMember;

namespace {

// Typed characters: raised by the device system's typed-character event, bound to no action.
constexpr const char* kSoftKey = "softkey";

TString<char> LowerCase(const TString<char>& text) {
    TString<char> lower(text);
    lower.ToLower();
    return lower;
}

}  // namespace

TeamActionManager::TeamActionManager(ActionManager& actions, DeviceManager& devices)
    : m_Actions(actions), m_Devices(devices) {
    m_Devices.GetDeviceDisconnectedEvent().AddDelegate(&m_OnDeviceDisconnected);
    m_Devices.GetDeviceMissingEvent().AddDelegate(&m_OnDeviceMissing);
    m_Devices.GetDeviceFoundEvent().AddDelegate(&m_OnDeviceFound);
    m_DeviceSystem = Bridge::IDeviceSystem::Get();
    if (m_DeviceSystem)
        m_DeviceSystem->GetTypedCharacterEvent().AddDelegate(&m_OnDeviceAction);
    SetInstance(this);
}

TeamActionManager::~TeamActionManager() {
    for (const auto& [key, listeners] : m_Listeners)
        if (listeners.m_Name != kSoftKey)
            m_Actions.UnlistenAction(listeners.m_Name, &m_OnDeviceAction);
    if (m_DeviceSystem)
        m_DeviceSystem->GetTypedCharacterEvent().RemoveDelegate(&m_OnDeviceAction);
    m_Devices.GetDeviceDisconnectedEvent().RemoveDelegate(&m_OnDeviceDisconnected);
    m_Devices.GetDeviceMissingEvent().RemoveDelegate(&m_OnDeviceMissing);
    m_Devices.GetDeviceFoundEvent().RemoveDelegate(&m_OnDeviceFound);
    if (Get() == this)
        SetInstance(nullptr);
}

void TeamActionManager::ListenTeamAction(TeamActionListener* listener, const TString<char>& name) {
    if (!listener)
        return;
    const TString<char> lower = LowerCase(name);
    const u32 key = Crc32Hash(lower.c_str());
    auto it = m_Listeners.find(key);
    if (it == m_Listeners.end()) {
        it = m_Listeners.emplace(key, Listeners{lower, {}}).first;
        if (lower != kSoftKey)
            m_Actions.ListenAction(lower, &m_OnDeviceAction);
    }
    it->second.m_Delegates.push_back(listener);
}

void TeamActionManager::UnlistenTeamAction(TeamActionListener* listener,
                                           const TString<char>& name) {
    const TString<char> lower = LowerCase(name);
    auto it = m_Listeners.find(Crc32Hash(lower.c_str()));
    if (it == m_Listeners.end())
        return;
    std::vector<TeamActionListener*>& delegates = it->second.m_Delegates;
    auto found = std::find(delegates.begin(), delegates.end(), listener);
    if (found == delegates.end())
        return;
    delegates.erase(found);
    if (delegates.empty()) {
        m_Listeners.erase(it);
        if (lower != kSoftKey)
            m_Actions.UnlistenAction(lower, &m_OnDeviceAction);
    }
}

bool TeamActionManager::IsRegistered(u32 key, TeamActionListener* listener) const {
    auto it = m_Listeners.find(key);
    if (it == m_Listeners.end())
        return false;
    const auto& delegates = it->second.m_Delegates;
    return std::find(delegates.begin(), delegates.end(), listener) != delegates.end();
}

void TeamActionManager::Dispatch(u32 key, const TString<char>& name, TeamActionData& data) {
    auto it = m_Listeners.find(key);
    if (it == m_Listeners.end() || it->second.m_Delegates.empty()) {
        AGReport("TeamActionManager - Can not find the action: %s", name.c_str());
        return;
    }
    const std::vector<TeamActionListener*> delegates = it->second.m_Delegates;
    for (TeamActionListener* listener : delegates)
        if (IsRegistered(key, listener))
            listener->Invoke(&data);
}

bool TeamActionManager::SlotOf(i32 deviceId, u32& slot) const {
    if (deviceId < 0)
        return false;
    if (u32(deviceId) >= kMemberSlots) {
        AGReport("Invalid device Id");
        return false;
    }
    slot = u32(deviceId);
    return true;
}

void TeamActionManager::OnDeviceAction(Bridge::sActionData* data) {
    if (!m_Enabled || !data || data->m_DeviceId < 0)
        return;
    const TString<char> lower = LowerCase(data->m_ActionName);
    const bool typed = lower == kSoftKey;
    const u32 key = Crc32Hash(lower.c_str());
    auto it = m_Listeners.find(key);
    if (it == m_Listeners.end() || it->second.m_Delegates.empty()) {
        // Characters are typed whether or not a soft keyboard listens.
        if (!typed)
            AGReport("TeamActionManager - Can not find the action: %s", lower.c_str());
        return;
    }
    u32 slot = 0;
    if (!SlotOf(data->m_DeviceId, slot) || !m_Members[slot])
        return;
    // A typed character's word is its character code.
    const uintptr_t word = typed ? uintptr_t(u32(data->m_KeyCode)) : 0;
    TeamActionData teamData(data, word, m_Members[slot]);
    Dispatch(key, lower, teamData);
}

void TeamActionManager::SimulateTeamAction(TeamActionData* data, const TString<char>& name) {
    if (!m_Enabled)
        return;
    if (!data || !data->m_Member) {
        AGReport("SimulateTeamAction needs a member: %s", name.c_str());
        return;
    }
    const TString<char> lower = LowerCase(name);
    TeamActionData teamData(data->m_ActionData, data->m_Word, data->m_Member);
    Dispatch(Crc32Hash(lower.c_str()), lower, teamData);
}

void TeamActionManager::DisconnectMember(BaseTeamMember* member) {
    if (!member)
        return;
    for (BaseTeamMember*& slot : m_Members) {
        if (slot == member) {
            slot = nullptr;
            member->m_DeviceId = -1;
            return;
        }
    }
    AGReport("This Member is not connected!%s", member->m_Name.c_str());
}

void TeamActionManager::SetMember(i32 deviceId, BaseTeamMember* member) {
    u32 slot = 0;
    if (SlotOf(deviceId, slot))
        m_Members[slot] = member;
}

BaseTeamMember* TeamActionManager::GetMember(i32 deviceId) const {
    if (deviceId < 0 || u32(deviceId) >= kMemberSlots)
        return nullptr;
    return m_Members[deviceId];
}

void TeamActionManager::OnDeviceConnected(DeviceInfos& infos) {
    u32 slot = 0;
    if (!SlotOf(infos.m_DeviceId, slot))
        return;
    if (m_Members[slot])
        s_MemberDeviceReconnected.Fire(infos);
    else
        s_FreeDeviceConnected.Fire(infos);
}

void TeamActionManager::OnDeviceDisconnected(DeviceInfos& infos) {
    u32 slot = 0;
    if (SlotOf(infos.m_DeviceId, slot) && m_Members[slot])
        s_MemberDeviceLost.Fire(m_Members[slot]);
}

void TeamActionManager::OnDeviceMissing(DeviceInfos&) {
    if (m_PopupShown)
        return;
    if (!m_Popups) {
        AGReport("No popup service to show %s", kControllerPopup);
        return;
    }
    IPopup* popup = m_Popups->ShowPopup(kControllerPopup);
    if (!popup)
        return;
    popup->SetDisplayValue(1000);
    popup->SetMessageText(kControllerMessage, Bridge::GetLocalizedTextOr(
        kControllerTextId, "[PlaceHolder]Press the A button to connect the Wii Remote."));
    m_PopupShown = true;
}

void TeamActionManager::OnDeviceFound(DeviceInfos&) {
    m_PopupClosedEvent.Fire(TString<char>());
    if (m_Popups)
        m_Popups->HidePopup(kControllerPopup);
    m_PopupShown = false;
}

}  // namespace GameServices::KorvoGame
